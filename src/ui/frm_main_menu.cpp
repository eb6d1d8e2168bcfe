#include "core/edit/tool_table.h"
#include "help/help_topics.h"
#include "platform/recovery_store.h"
#include "ui/edit_field.h"
#include "ui/frm_about.h"
#include "ui/frm_import_csv.h"
#include "ui/frm_main.h"
#include "ui/frm_map_shift.h"
#include "ui/frm_mapfile_generator.h"
#include "ui/frm_new_map.h"
#include "ui/frm_rubber_stamp_maker.h"
#include "ui/frm_tile_replace.h"
#include "ui/frm_tile_shift.h"
#include "ui/frm_tile_swap.h"
#include "ui/frm_tile_usage.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QKeySequence>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>
#include <QToolButton>
#include <functional>
#include <utility>

namespace tessra {

namespace {

using Handler = std::function<void(frmMain*)>;

// One menu item; an empty caption makes a separator, a null handler an item
// without an action of its own. Keys are in QKeySequence's portable form,
// several separated by "; ".
struct MenuItem {
    const char* name;
    const char* caption;
    Handler handler;
    const char* keys = "";
};

void AddMenu(frmMain* window, const char* name, const char* caption,
             std::initializer_list<MenuItem> items) {
    QMenu* menu = window->menuBar()->addMenu(QString::fromUtf8(caption));
    menu->setObjectName(QLatin1String(name));
    menu->menuAction()->setObjectName(QLatin1String(name));
    for (const MenuItem& item : items) {
        QAction* action = *item.caption == '\0' ? menu->addSeparator()
                                                : menu->addAction(QString::fromUtf8(item.caption));
        action->setObjectName(QLatin1String(item.name));
        action->setShortcuts(QKeySequence::listFromString(QLatin1String(item.keys)));
        if (item.handler) {
            QObject::connect(action, &QAction::triggered, window,
                             [window, handler = item.handler] { handler(window); });
        }
    }
}

} // namespace

void frmMain::BuildMenus() {
    AddMenu(this, "mnuFile_submenu", "&File",
            {{"mnuNewMap", "&New Map...", &frmMain::mnuNewMap_Click, "Ctrl+N"},
             {"mnuOpenMap", "&Open Map...", &frmMain::mnuOpenMap_Click, "Ctrl+O"},
             {"mnuImportCSV", "&Import CSV...", &frmMain::mnuImportCSV_Click},
             {"mnuImportPicture", "Import &Picture...", &frmMain::mnuImportPicture_Click},
             {"mnuSaveMap", "&Save Map", [](frmMain* w) { w->mnuSaveMap_Click(); }, "Ctrl+S"},
             {"mnuSaveMapAs", "Save Map &As...", [](frmMain* w) { w->mnuSaveMapAs_Click(); },
              "Ctrl+Shift+S"},
             {"mnuMakePathsRelative", "Make Tileset Paths Re&lative",
              &frmMain::mnuMakePathsRelative_Click},
             {"sepFile2", "", nullptr},
             {"mnuImportTiled", "Import Tiled Map...", &frmMain::mnuImportTiled_Click},
             {"mnuExportTiled", "Export Tiled Map...", &frmMain::mnuExportTiled_Click},
             {"mnuExport", "&Export...", &frmMain::mnuExport_Click},
             {"mnuExportAgain", "Export A&gain", &frmMain::mnuExportAgain_Click, "Ctrl+E"},
             {"mnuBuildAll", "Build &All", &frmMain::mnuBuildAll_Click, "Ctrl+B"},
             {"sepFile1", "", nullptr},
             {"mnuExit", "E&xit", &frmMain::mnuExit_Click, "Ctrl+Q"}});
    AddMenu(this, "mnuEdit_submenu", "&Edit",
            {{"mnuUndo", "&Undo", &frmMain::mnuUndo_Click, "Ctrl+Z"},
             {"mnuRedo", "&Redo", &frmMain::mnuRedo_Click, "Ctrl+Y; Ctrl+Shift+Z"},
             {"sepEdit1", "", nullptr},
             {"mnuCut", "Cu&t", &frmMain::mnuCut_Click, "Ctrl+X"},
             {"mnuCopy", "&Copy", &frmMain::mnuCopy_Click, "Ctrl+C"},
             {"mnuPaste", "&Paste", &frmMain::mnuPaste_Click, "Ctrl+V"},
             {"mnuDelete", "&Delete", &frmMain::mnuDelete_Click, "Del"},
             {"sepEdit2", "", nullptr},
             {"mnuSelectAll", "Select &All", &frmMain::mnuSelectAll_Click, "Ctrl+A"},
             {"mnuDeselect", "D&eselect", &frmMain::mnuDeselect_Click, "Esc"},
             {"mnuSelectionToStamp", "Selection to &Stamp", &frmMain::mnuSelectionToStamp_Click}});
    AddMenu(this, "mnuView_submenu", "&View",
            {{"mnuShowGrid", "Show &Grid", &frmMain::mnuShowOverlay_Click},
             {"mnuShowExportArea", "Show &Export Area", &frmMain::mnuShowOverlay_Click},
             {"mnuShowBehaviour", "Show &Behaviour", &frmMain::mnuShowBehaviour_Click}});
    // A command on the menu bar itself, without items.
    QAction* generation = menuBar()->addAction(QStringLiteral("Map &Generation"));
    generation->setObjectName(QStringLiteral("mnuMapGeneration_submenu"));
    connect(generation, &QAction::triggered, this, &frmMain::mnuMapGeneration_Click);
    AddMenu(
        this, "mnuTools_submenu", "&Tools",
        {{"mnuRubberStampBuilder", "Rubber &Stamp Builder",
          [](frmMain* w) { w->OpenToolWindow<frmRubberStampMaker>(); }},
         {"mnuTileSwapper", "Tile &Swap", [](frmMain* w) { w->RunMapTool<frmTileSwap>("Swap"); }},
         {"mnuTileReplace", "Tile &Replace",
          [](frmMain* w) { w->RunMapTool<frmTileReplace>("Replace"); }},
         {"mnuTileShift", "Tile Shi&ft",
          [](frmMain* w) { w->RunMapTool<frmTileShift>("Tile Shift"); }},
         {"mnuMapShift", "&Map Shift", [](frmMain* w) { w->RunMapTool<frmMapShift>("Map Shift"); }},
         {"mnuTileUsage", "Tile &Usage...", &frmMain::mnuTileUsage_Click},
         {"mnuTileAttributes", "Tile &Attributes...", &frmMain::mnuTileAttributes_Click}});
    AddMenu(
        this, "mnuHelp_submenu", "&Help",
        {{"mnuHelpTopics", "Help &Topics", &frmMain::mnuHelpTopics_Click},
         {"sepHelp1", "", nullptr},
         {"mnuAboutTESSRA", "&About TESSRA", [](frmMain* w) { w->OpenToolWindow<frmAbout>(); }}});

    mnuUndo = findChild<QAction*>(QStringLiteral("mnuUndo"));
    mnuRedo = findChild<QAction*>(QStringLiteral("mnuRedo"));
    mnuShowGrid = findChild<QAction*>(QStringLiteral("mnuShowGrid"));
    mnuShowExportArea = findChild<QAction*>(QStringLiteral("mnuShowExportArea"));
    mnuShowBehaviour = findChild<QAction*>(QStringLiteral("mnuShowBehaviour"));
    for (QAction* shown : {mnuShowGrid, mnuShowExportArea, mnuShowBehaviour}) {
        shown->setCheckable(true);
    }
}

void frmMain::BuildKeyboard() {
    auto* contextHelp = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(contextHelp, &QShortcut::activated, this,
            [this] { HelpViewer.ShowTopic(QLatin1String(HelpMainWindowTopic.page)); });
    for (const ToolInfo& tool : ToolTable()) {
        auto* key = new QShortcut(QKeySequence(QString(QLatin1Char(tool.key))), this);
        key->setObjectName(QStringLiteral("keyTool%1").arg(tool.id));
        connect(key, &QShortcut::activated, this, [this, id = tool.id] {
            // A letter typed into a box is text, not a tool.
            if (qobject_cast<QLineEdit*>(QApplication::focusWidget()) == nullptr) {
                SelectTool(id);
            }
        });
    }
}

void frmMain::mnuNewMap_Click() {
    if (!MaySaveChanges()) {
        return;
    }
    UndoStep step(history_, state_, "New Map");
    if (!OpenToolWindow<frmNewMap>()) {
        return;
    }
    DocumentChange change = step.Close();
    // A fresh map has nothing to save until it is changed.
    history_.MarkSaved();
    change.fileName = change.history = true;
    exportProfile_.reset();
    Refresh(change);
}

void frmMain::mnuImportCSV_Click() {
    if (!MaySaveChanges()) {
        return;
    }
    UndoStep step(history_, state_, "Import CSV");
    if (!OpenToolWindow<frmImportCSV>()) {
        return;
    }
    BecomeUntitled(step);
}

void frmMain::mnuMapGeneration_Click() {
    // The export area follows the block last written.
    if (const std::optional<MapFileSize> written = OpenToolWindow<frmMapfileGenerator>()) {
        editField_->SetGenerationArea(written->W, written->H);
    }
}

void frmMain::mnuTileUsage_Click() {
    if (const std::optional<int> tile = OpenToolWindow<frmTileUsage>()) {
        SelectTile(*tile);
    }
}

void frmMain::mnuShowOverlay_Click() {
    ShowExportArea();
    editField_->ShowOverlay(mnuShowGrid->isChecked(), mnuShowExportArea->isChecked());
}

void frmMain::mnuHelpTopics_Click() {
    HelpViewer.ShowContents();
}

void frmMain::mnuExit_Click() {
    close();
}

void frmMain::closeEvent(QCloseEvent* event) {
    if (!MaySaveChanges()) {
        event->ignore();
        return;
    }
    SaveGeometry();
    recovery_->Remove();
    // The help window goes with the main window, so nothing keeps the program running.
    HelpViewer.Unload();
    QMainWindow::closeEvent(event);
}

} // namespace tessra
