#include "ui/frm_assign_palettes.h"

#include "core/export/console_colour.h"
#include "platform/qt_text.h"

#include <QComboBox>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>

namespace tessra {

namespace {

constexpr int Swatch = 12;

// The sub-palette's colours as the console shows them, the backdrop first.
QIcon Swatches(const std::vector<ConsoleColour>& colours, const ColourDepth& depth,
               ConsoleColour backdrop, int room) {
    QImage picture(Swatch * room, Swatch, QImage::Format_RGB32);
    picture.fill(Qt::white);
    for (int i = 0; i <= static_cast<int>(colours.size()) && i < room; ++i) {
        const Pixel shown =
            depth.Show(i == 0 ? backdrop : colours[static_cast<std::size_t>(i - 1)]);
        for (int y = 1; y < Swatch - 1; ++y) {
            for (int x = 1; x < Swatch - 1; ++x) {
                picture.setPixel(i * Swatch + x, y,
                                 qRgb(shown & 0xFF, shown >> 8 & 0xFF, shown >> 16 & 0xFF));
            }
        }
    }
    return QIcon(QPixmap::fromImage(picture));
}

} // namespace

frmAssignPalettes::frmAssignPalettes(ToolWindowContext& context, const ExportSettings& settings,
                                     const Surface& tiles, QWidget* parent)
    : ToolDialog(context, parent, "frmAssignPalettes", QStringLiteral("Assign Palettes"),
                 {481, 385}, HelpAssignPalettesTopic),
      tiles_(tiles) {
    QGroupBox* frame1 = AddFrame(this, "Frame1", QStringLiteral("Console"), {8, 8, 465, 41});
    cmbConsole = new QComboBox(frame1);
    cmbConsole->setObjectName(QStringLiteral("cmbConsole"));
    cmbConsole->setGeometry(8, 14, 449, 21);
    for (const ConsoleDepthChoice& choice : choices_) {
        cmbConsole->addItem(ToQString(choice.label));
    }
    QGroupBox* frame2 =
        AddFrame(this, "Frame2", QStringLiteral("Backdrop (RRGGBB)"), {8, 56, 465, 41});
    txtBackdrop = AddTextBox(frame2, "txtBackdrop", {}, {8, 16, 89, 19});
    txtBackdrop->setPlaceholderText(QStringLiteral("tile 0's corner"));
    auto* note = new QLabel(QStringLiteral("Entry 0 of every sub-palette; empty: "
                                           "tile 0's top-left pixel."),
                            frame2);
    note->setGeometry(104, 16, 353, 19);

    lblResult = new QLabel(this);
    lblResult->setObjectName(QStringLiteral("lblResult"));
    lblResult->setGeometry(8, 104, 465, 33);
    lblResult->setWordWrap(true);
    lstPalettes = new QListWidget(this);
    lstPalettes->setObjectName(QStringLiteral("lstPalettes"));
    lstPalettes->setGeometry(8, 140, 465, 197);
    lstPalettes->setIconSize({Swatch * 16, Swatch});

    cmdAssign = AddButton(this, "cmdAssign", QStringLiteral("&Assign"), {168, 344, 97, 33});
    cmdCancel = AddButton(this, "cmdCancel", QStringLiteral("&Cancel"), {272, 344, 97, 33});
    cmdHelp = AddButton(this, "cmdHelp", QStringLiteral("&Help"), {376, 344, 97, 33});
    cmdAssign->setDefault(true);

    for (std::size_t i = 0; i < choices_.size(); ++i) {
        if (choices_[i].hardware == settings.Hardware &&
            choices_[i].bpp == EffectiveBpp(settings)) {
            cmbConsole->setCurrentIndex(static_cast<int>(i));
        }
    }
    if (settings.Backdrop) {
        txtBackdrop->setText(
            QString::fromStdString(HexColourText(PixelOfHex(*settings.Backdrop))).mid(1));
    }
    connect(cmbConsole, &QComboBox::currentIndexChanged, this, &frmAssignPalettes::Pack);
    connect(txtBackdrop, &QLineEdit::editingFinished, this, &frmAssignPalettes::Pack);
    connect(cmdAssign, &QPushButton::clicked, this, &frmAssignPalettes::cmdAssign_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(cmdHelp, &QPushButton::clicked, this, &frmAssignPalettes::ShowHelp);
    Pack();
}

void frmAssignPalettes::Pack() {
    lstPalettes->clear();
    const ConsoleDepthChoice& choice =
        choices_[static_cast<std::size_t>(cmbConsole->currentIndex())];
    ExportSettings settings;
    settings.Hardware = choice.hardware;
    settings.Bpp = choice.bpp;
    if (Status backdrop = SetExportSetting(settings, "backdrop", BoxText(txtBackdrop)); !backdrop) {
        packed_ = Error{backdrop.message()};
    } else {
        packed_ =
            AssignPalettes(context_.state.MapData, context_.state.Attributes, settings, tiles_);
    }
    cmdAssign->setEnabled(packed_.ok());
    if (!packed_) {
        lblResult->setText(ToQString(packed_.message()));
        return;
    }
    const PaletteAssignment& assignment = packed_.value();
    lblResult->setText(ToQString(DescribePaletteAssignment(assignment)));
    const ColourDepth depth(choice.hardware);
    ArtInputs inputs;
    inputs.Picture = &tiles_;
    const ConsoleColour backdrop = BackdropColour(settings, inputs, depth);
    for (int p = 0; p < assignment.palettes; ++p) {
        const auto at = static_cast<std::size_t>(p);
        lstPalettes->addItem(
            new QListWidgetItem(Swatches(assignment.colours[at], depth, backdrop, 1 << choice.bpp),
                                QStringLiteral("%1: %2 tiles, %3 colours")
                                    .arg(p)
                                    .arg(assignment.tiles[at])
                                    .arg(assignment.colours[at].size() + 1)));
    }
}

void frmAssignPalettes::cmdAssign_Click() {
    Pack();
    if (!packed_) {
        Refuse(packed_.message());
        return;
    }
    outcome_ = packed_.value().attributes;
    accept();
}

} // namespace tessra
