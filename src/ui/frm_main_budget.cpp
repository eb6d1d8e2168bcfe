#include "io/file_export.h"
#include "ui/budget_panel.h"
#include "ui/frm_main.h"

#include <QAction>
#include <QDockWidget>
#include <QMenu>
#include <QScreen>
#include <QSignalBlocker>
#include <QTimer>
#include <algorithm>

namespace tessra {

namespace {

// Right of the window where the screen has room, else over its right edge.
void PlaceBesideWindow(QWidget& panel, const QWidget& window) {
    const QSize size(300, window.height());
    const QRect frame = window.frameGeometry();
    QRect place(QPoint(frame.right() + 1, frame.top()), size);
    if (const QScreen* screen = window.screen()) {
        const QRect room = screen->availableGeometry();
        place.moveRight(std::min(place.right(), room.right()));
        place.moveTop(std::max(place.top(), room.top()));
    }
    panel.setGeometry(place);
}

} // namespace

void frmMain::BuildBudgetPanel() {
    dockBudget = new QDockWidget(QStringLiteral("Hardware Budget"), this);
    dockBudget->setObjectName(QStringLiteral("dockBudget"));
    budgetPanel_ = new BudgetPanel(dockBudget);
    dockBudget->setWidget(budgetPanel_);
    addDockWidget(Qt::RightDockWidgetArea, dockBudget);
    dockBudget->hide();

    auto* show = new QAction(QStringLiteral("Hardware &Budget"), this);
    show->setObjectName(QStringLiteral("mnuHardwareBudget"));
    show->setCheckable(true);
    findChild<QMenu*>(QStringLiteral("mnuView_submenu"))->addAction(show);
    // It first floats beside the window, which keeps its size; dragged onto
    // the window's edge it docks there.
    connect(show, &QAction::toggled, this, [this](bool shown) {
        if (shown && !budgetPlaced_) {
            budgetPlaced_ = true;
            dockBudget->setFloating(true);
            PlaceBesideWindow(*dockBudget, *this);
        }
        dockBudget->setVisible(shown);
    });

    // Edits in a burst (a stroke, a fill) are counted once, when they are done.
    budgetTimer_ = new QTimer(this);
    budgetTimer_->setSingleShot(true);
    budgetTimer_->setInterval(0);
    connect(budgetTimer_, &QTimer::timeout, this, &frmMain::UpdateBudget);
    connect(dockBudget, &QDockWidget::visibilityChanged, this, [this, show](bool visible) {
        if (visible) {
            budgetTimer_->start();
        }
        // Closed by its own button, or docked and undocked.
        if (!visible && !dockBudget->isHidden()) {
            return;
        }
        const QSignalBlocker quiet(show);
        show->setChecked(visible);
    });
    connect(budgetPanel_, &BudgetPanel::ProblemChosen, this, [this](int tile) {
        mnuHighlightTile->setChecked(true);
        SelectTile(tile);
    });
}

void frmMain::ScheduleBudget(const DocumentChange& change) {
    // The map, the attributes and the tilesets count, and an opened map
    // brings its own export settings; the selection does not.
    if ((change.cells || change.tilesets || change.fileName) && dockBudget->isVisible()) {
        budgetTimer_->start();
    }
}

void frmMain::UpdateBudget() {
    const ExportSettings settings = exportProfile_.value_or(ExportProfile{}).Settings;
    const Result<ArtInputs> art = ReadArtInputs(settings, &tiles_);
    budgetPanel_->Show(
        art ? CountHardwareBudget(state_.MapData, state_.Attributes, settings, art.value())
            : HardwareBudget{art.message(), std::nullopt},
        settings);
}

} // namespace tessra
