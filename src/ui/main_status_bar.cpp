#include "ui/main_status_bar.h"

#include <QLabel>
#include <QLocale>

namespace tessra {

namespace {

constexpr int MessageMilliseconds = 10000;
constexpr int LabelMargin = 4; // pixels each side of a label's text

} // namespace

MainStatusBar::MainStatusBar(QWidget* parent) : QStatusBar(parent) {
    setObjectName(QStringLiteral("statusBar"));
    lblStatusHighlight = AddLabel("lblStatusHighlight");
    lblStatusHighlight->hide();
    lblStatusCell = AddLabel("lblStatusCell");
    lblStatusTile = AddLabel("lblStatusTile");
    lblStatusZoom = AddLabel("lblStatusZoom");
    lblStatusModified = AddLabel("lblStatusModified");
    // Wide enough for the longest texts, so the labels do not jump about.
    const int margins = 2 * LabelMargin;
    lblStatusCell->setMinimumWidth(
        fontMetrics().horizontalAdvance(QStringLiteral("Cell 255, 255: tile 255")) + margins);
    lblStatusModified->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("Modified")) +
                                       margins);
}

QLabel* MainStatusBar::AddLabel(const char* name) {
    // A line between two labels, so that their texts never run together.
    if (!findChildren<QLabel*>().isEmpty()) {
        auto* line = new QFrame(this);
        line->setFrameShape(QFrame::VLine);
        line->setFrameShadow(QFrame::Sunken);
        addPermanentWidget(line);
    }
    auto* label = new QLabel(this);
    label->setObjectName(QLatin1String(name));
    label->setContentsMargins(LabelMargin, 0, LabelMargin, 0);
    addPermanentWidget(label);
    return label;
}

void MainStatusBar::ShowPointedCell(std::optional<PointedCell> cell) {
    lblStatusCell->setText(
        cell ? QStringLiteral("Cell %1, %2: tile %3").arg(cell->x).arg(cell->y).arg(cell->tile)
             : QString());
}

void MainStatusBar::ShowSettings(int selectedTile, const char* zoomCaption, bool modified) {
    lblStatusTile->setText(QStringLiteral("Selected tile %1").arg(selectedTile));
    lblStatusZoom->setText(QStringLiteral("Zoom %1").arg(QLatin1String(zoomCaption)));
    lblStatusModified->setText(modified ? QStringLiteral("Modified") : QString());
}

void MainStatusBar::ShowHighlightCount(std::optional<TileCount> count) {
    lblStatusHighlight->setVisible(count.has_value());
    if (count) {
        lblStatusHighlight->setText(
            QStringLiteral("Tile %1 in %2 %3")
                .arg(count->tile)
                .arg(QLocale(QLocale::English).toString(count->cells))
                .arg(count->cells == 1 ? QStringLiteral("cell") : QStringLiteral("cells")));
    }
}

void MainStatusBar::ShowDone(const QString& text) {
    showMessage(text, MessageMilliseconds);
}

void MainStatusBar::ShowChangedCells(const std::string& stepLabel, int cells) {
    const QString count = QLocale(QLocale::English).toString(cells);
    showMessage(QStringLiteral("%1 changed %2 %3")
                    .arg(QString::fromStdString(stepLabel), count,
                         cells == 1 ? QStringLiteral("cell") : QStringLiteral("cells")),
                MessageMilliseconds);
}

} // namespace tessra
