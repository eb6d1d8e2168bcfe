#include "ui/frm_tile_attributes.h"

#include "core/render/palette_build.h"
#include "core/render/tile_drawing.h"
#include "platform/qt_text.h"
#include "ui/picture_box.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace tessra {

namespace {

constexpr int PreviewSize = 4 * TileSize;
constexpr int BoxLeft = 200; // where the boxes stand right of their captions

QString TilesText(const std::vector<int>& tiles) {
    if (tiles.size() == 1) {
        return QStringLiteral("Tile %1").arg(tiles.front());
    }
    return QStringLiteral("Tiles %1 to %2 (%3 tiles)")
        .arg(tiles.front())
        .arg(tiles.back())
        .arg(tiles.size());
}

// A check box's choice: half checked keeps each tile's own.
std::optional<bool> FlagOf(const QCheckBox* box) {
    if (box->checkState() == Qt::PartiallyChecked) {
        return std::nullopt;
    }
    return box->isChecked();
}

} // namespace

frmTileAttributes::frmTileAttributes(ToolWindowContext& context, std::vector<int> tiles,
                                     QWidget* parent)
    : ToolDialog(context, parent, "frmTileAttributes", QStringLiteral("Tile Attributes"),
                 {280, 176}, HelpTileAttributesTopic),
      tiles_(std::move(tiles)), shared_(SharedTileAttributes(context.state.Attributes, tiles_)),
      preview_(PreviewSize, PreviewSize) {
    auto* caption = new QLabel(TilesText(tiles_), this);
    caption->setObjectName(QStringLiteral("lblTiles"));
    caption->setGeometry(8, 8, 264, 17);
    picPreview = new PictureBox(QStringLiteral("picPreview"), PreviewSize, PreviewSize, this);
    picPreview->move(8, 32);
    picPreview->SetSurface(&preview_);

    txtPalette = AddNumberBox("txtPalette", "&Palette (0 to 15):", 32, shared_.Palette);
    txtBehaviour = AddNumberBox("txtBehaviour", "&Behaviour (0 to 255):", 56, shared_.Behaviour);
    chkPriority = AddFlag("chkPriority", "P&riority", 82, shared_.Priority);
    chkHflip = AddFlag("chkHflip", "Flip &horizontally", 102, shared_.Hflip);
    chkVflip = AddFlag("chkVflip", "Flip &vertically", 122, shared_.Vflip);
    connect(chkHflip, &QCheckBox::stateChanged, this, &frmTileAttributes::ShowPreview);
    connect(chkVflip, &QCheckBox::stateChanged, this, &frmTileAttributes::ShowPreview);

    QPushButton* ok = AddButton(this, "cmdOK", QStringLiteral("OK"), {116, 148, 76, 22});
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &frmTileAttributes::cmdOK_Click);
    QPushButton* cancel =
        AddButton(this, "cmdCancel", QStringLiteral("Cancel"), {198, 148, 76, 22});
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    ShowPreview();
}

QLineEdit* frmTileAttributes::AddNumberBox(const char* name, const char* caption, int y,
                                           const std::optional<std::uint8_t>& value) {
    auto* label = new QLabel(QString::fromUtf8(caption), this);
    label->setGeometry(84, y + 2, BoxLeft - 84, 17);
    QLineEdit* box =
        AddTextBox(this, name, value ? QString::number(*value) : QString(), {BoxLeft, y, 72, 20});
    box->setMaxLength(3);
    if (!value) {
        box->setPlaceholderText(QStringLiteral("(differ)"));
    }
    label->setBuddy(box);
    return box;
}

QCheckBox* frmTileAttributes::AddFlag(const char* name, const char* caption, int y,
                                      const std::optional<bool>& value) {
    auto* box = new QCheckBox(QString::fromUtf8(caption), this);
    box->setObjectName(QLatin1String(name));
    box->setGeometry(84, y, 188, 18);
    box->setTristate(!value.has_value());
    box->setCheckState(!value ? Qt::PartiallyChecked : (*value ? Qt::Checked : Qt::Unchecked));
    return box;
}

Result<std::optional<std::uint8_t>> frmTileAttributes::ReadBox(QLineEdit* box, const char* caption,
                                                               int limit) const {
    const QString text = box->text().trimmed();
    if (text.isEmpty() && tiles_.size() > 1) {
        return std::optional<std::uint8_t>();
    }
    bool whole = false;
    const int value = text.toInt(&whole);
    if (!whole || value < 0 || value > limit) {
        return Error{ToStdString(QStringLiteral("The %1 box takes a whole number from 0 to %2.")
                                     .arg(QLatin1String(caption))
                                     .arg(limit))};
    }
    return std::optional<std::uint8_t>(static_cast<std::uint8_t>(value));
}

void frmTileAttributes::ShowPreview() {
    // The palette shows each tile as its flips draw it; flipping that again by
    // the change asked for gives the tile as it will look.
    const int tile = tiles_.front();
    const TileAttributes& now = context_.state.Attributes[tile];
    const bool hflip = FlagOf(chkHflip).value_or(now.Hflip) != now.Hflip;
    const bool vflip = FlagOf(chkVflip).value_or(now.Vflip) != now.Vflip;
    Surface tileSquare(TileSize, TileSize);
    DrawTileFlipped(tileSquare, 0, 0, context_.palette, TileLeft(tile), TileTop(tile), hflip,
                    vflip);
    StretchBlt(preview_, 0, 0, PreviewSize, PreviewSize, tileSquare, 0, 0, TileSize, TileSize);
    picPreview->Refresh();
}

void frmTileAttributes::cmdOK_Click() {
    const auto palette = ReadBox(txtPalette, "Palette", TileAttributePaletteLimit);
    const auto behaviour = ReadBox(txtBehaviour, "Behaviour", 255);
    for (const auto* read : {&palette, &behaviour}) {
        if (!*read) {
            Refuse(read->message());
            return;
        }
    }
    const TileAttributeEdit edit{palette.value(), FlagOf(chkPriority), FlagOf(chkHflip),
                                 FlagOf(chkVflip), behaviour.value()};
    ApplyTileAttributeEdit(context_.state.Attributes, tiles_, edit);
    accept();
}

} // namespace tessra
