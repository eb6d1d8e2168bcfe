#include "ui/budget_panel.h"

#include "core/export/console_limits.h"
#include "platform/qt_text.h"

#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QPainter>
#include <QProgressBar>
#include <QVBoxLayout>
#include <algorithm>
#include <filesystem>

namespace tessra {

namespace {

constexpr int Swatch = 10, SwatchesShown = 16;

QString Number(std::size_t n) {
    return QLocale(QLocale::English).toString(static_cast<qulonglong>(n));
}

// The sub-palette's first colours side by side, as the console shows them.
QIcon Swatches(const std::vector<ConsoleColour>& colours, const ColourDepth& depth, int shown) {
    QPixmap picture(Swatch * shown, Swatch);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    for (std::size_t i = 0; i < colours.size() && i < static_cast<std::size_t>(shown); ++i) {
        const Pixel shown = depth.Show(colours[i]);
        painter.fillRect(static_cast<int>(i) * Swatch, 0, Swatch - 1, Swatch - 1,
                         QColor(shown & 0xFF, shown >> 8 & 0xFF, shown >> 16 & 0xFF));
    }
    return QIcon(picture);
}

QString Text(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

const char* NumberingName(const ExportSettings& settings) {
    switch (EffectiveNumbering(settings)) {
    case ExportNumbering::Metatile:
        return "metatile";
    case ExportNumbering::Unique:
        return "unique";
    case ExportNumbering::Image:
        break;
    }
    return "image";
}

QLabel* Heading(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

} // namespace

BudgetPanel::BudgetPanel(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("BudgetPanel"));
    setMinimumWidth(240);
    auto* layout = new QVBoxLayout(this);
    lblBudgetConsole = new QLabel(this);
    lblBudgetConsole->setObjectName(QStringLiteral("lblBudgetConsole"));
    lblBudgetConsole->setWordWrap(true);
    layout->addWidget(lblBudgetConsole);

    layout->addWidget(Heading(QStringLiteral("Tiles"), this));
    barTiles = new QProgressBar(this);
    barTiles->setObjectName(QStringLiteral("barTiles"));
    barTiles->setTextVisible(false);
    barTiles->setMaximumHeight(12);
    layout->addWidget(barTiles);
    lblTiles = new QLabel(this);
    lblTiles->setObjectName(QStringLiteral("lblTiles"));
    layout->addWidget(lblTiles);

    layout->addWidget(Heading(QStringLiteral("Palettes"), this));
    lstPalettes = new QListWidget(this);
    lstPalettes->setObjectName(QStringLiteral("lstPalettes"));
    lstPalettes->setSelectionMode(QAbstractItemView::NoSelection);
    layout->addWidget(lstPalettes, 1);

    lblProblems = Heading({}, this);
    lblProblems->setObjectName(QStringLiteral("lblProblems"));
    layout->addWidget(lblProblems);
    lstProblems = new QListWidget(this);
    lstProblems->setObjectName(QStringLiteral("lstProblems"));
    lstProblems->setWordWrap(true);
    lstProblems->setAlternatingRowColors(true);
    lstProblems->setToolTip(QStringLiteral("Double-click a problem to select its tile and "
                                           "highlight its cells"));
    layout->addWidget(lstProblems, 2);
    connect(lstProblems, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        const int tile = item->data(Qt::UserRole).toInt();
        if (tile >= 0) {
            emit ProblemChosen(tile);
        }
    });
}

void BudgetPanel::Show(const HardwareBudget& budget, const ExportSettings& settings) {
    lstPalettes->clear();
    lstProblems->clear();
    const bool counted = budget.Tiles.has_value();
    for (QWidget* part : std::initializer_list<QWidget*>{barTiles, lblTiles, lstPalettes}) {
        part->setEnabled(counted);
    }
    if (!counted) {
        lblBudgetConsole->setText(ToQString(budget.Refusal) +
                                  QStringLiteral(" Choose the hardware in File > Export..."));
        barTiles->setValue(0);
        lblTiles->clear();
        lblProblems->clear();
        return;
    }
    const ConsoleTiles& tiles = *budget.Tiles;
    const ConsoleLimits& console = ConsoleLimitsOf(settings.Hardware);
    lblBudgetConsole->setText(QStringLiteral("%1, %2 bits a pixel, numbering %3, region %4")
                                  .arg(Text(console.name), QString::number(tiles.Bpp),
                                       QLatin1String(NumberingName(settings)),
                                       ToQString(ExportSettingText(settings, "region"))));

    const auto stored = static_cast<int>(tiles.Tiles.size());
    barTiles->setMaximum(std::max(tiles.TileLimit, 1));
    barTiles->setValue(std::clamp(stored, 0, barTiles->maximum()));
    QString count = QStringLiteral("%1 of %2 tiles, from tile-base %3")
                        .arg(Number(tiles.Tiles.size()),
                             Number(static_cast<std::size_t>(std::max(tiles.TileLimit, 0))),
                             QString::number(settings.TileBase));
    // The maps that share a bank share its room: its tiles count first.
    if (!settings.Bank.empty()) {
        count += QStringLiteral("\n%1 of them in the tile bank %2")
                     .arg(Number(static_cast<std::size_t>(tiles.BankTiles)),
                          ShownFileName(std::filesystem::path(settings.Bank).filename().string()));
    }
    lblTiles->setText(count);
    lblTiles->setStyleSheet(stored > tiles.TileLimit ? QStringLiteral("color: darkred")
                                                     : QString());

    // As many swatches as a sub-palette holds, up to 16; 256 colours would not fit.
    const ColourDepth depth(settings.Hardware);
    const int shown = std::min(tiles.Room, SwatchesShown);
    lstPalettes->setIconSize(QSize(Swatch * shown, Swatch));
    for (std::size_t p = 0; p < tiles.Palettes.size(); ++p) {
        const std::size_t used = tiles.Palettes[p].size();
        auto* item = new QListWidgetItem(
            Swatches(tiles.Palettes[p], depth, shown),
            QStringLiteral("%1: %2 of %3").arg(p).arg(used).arg(tiles.Room), lstPalettes);
        if (used > static_cast<std::size_t>(tiles.Room)) {
            item->setForeground(Qt::darkRed);
        }
    }
    lblProblems->setText(
        tiles.Problems.empty()
            ? QStringLiteral("No problems: the export fits the %1.").arg(Text(console.name))
            : QStringLiteral("Problems: %1").arg(tiles.Problems.size()));
    for (const ArtProblem& problem : tiles.Problems) {
        auto* item = new QListWidgetItem(ToQString(problem.Message), lstProblems);
        item->setData(Qt::UserRole, problem.Tile);
    }
}

} // namespace tessra
