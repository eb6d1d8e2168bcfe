#include "ui/frm_assign_palettes.h"

#include "core/export/console_colour.h"
#include "platform/qt_text.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <algorithm>

namespace tessra {

namespace {

constexpr int Swatch = 12, SwatchesWide = 16;

// The sub-palette as the console shows it, the backdrop first where it has
// one. Past 16 entries the swatches narrow to keep the row's width, showing
// the entries in use.
QIcon Swatches(std::vector<ConsoleColour> colours, const ColourDepth& depth,
               std::optional<ConsoleColour> backdrop, int room) {
    if (backdrop) {
        colours.insert(colours.begin(), *backdrop);
    }
    const int used = static_cast<int>(colours.size());
    const int entries = room <= SwatchesWide ? room : std::max(SwatchesWide, used);
    const double wide =
        static_cast<double>(Swatch * SwatchesWide) / std::max(entries, SwatchesWide);
    QPixmap picture(Swatch * SwatchesWide, Swatch);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    for (int i = 0; i < entries; ++i) {
        const QRectF place(i * wide, 0, wide - 1, Swatch - 1);
        if (i < used) {
            const Pixel shown = depth.Show(colours[static_cast<std::size_t>(i)]);
            painter.fillRect(place, QColor(shown & 0xFF, shown >> 8 & 0xFF, shown >> 16 & 0xFF));
        }
        // Outlined, so that a white entry shows, and an empty one in light grey.
        painter.setPen(i < used ? Qt::darkGray : Qt::lightGray);
        painter.drawRect(place.adjusted(0, 0, -1, -1));
    }
    return QIcon(picture);
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
    lstPalettes->setIconSize({Swatch * SwatchesWide, Swatch});

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
    for (int p = 0; p < assignment.palettes; ++p) {
        const auto at = static_cast<std::size_t>(p);
        lstPalettes->addItem(new QListWidgetItem(
            Swatches(assignment.colours[at], depth, assignment.backdrop, 1 << choice.bpp),
            QStringLiteral("%1: %2 tiles, %3 colours")
                .arg(p)
                .arg(assignment.tiles[at])
                .arg(assignment.colours[at].size() + (assignment.backdrop ? 1 : 0))));
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
