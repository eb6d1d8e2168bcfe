#include "core/map_file.h"
#include "help/help_topics.h"
#include "platform/qt_text.h"
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

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QKeySequence>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>
#include <QToolButton>
#include <array>
#include <functional>

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

// The tool keys, in tool order: Draw, Floodfill, R.Stamp, Erase.
constexpr std::array<Qt::Key, 4> ToolKeys{Qt::Key_D, Qt::Key_F, Qt::Key_S, Qt::Key_E};

} // namespace

void frmMain::BuildMenus() {
    auto addMenu = [this](const char* name, const char* caption,
                          std::initializer_list<MenuItem> items) {
        QMenu* menu = menuBar()->addMenu(QString::fromUtf8(caption));
        menu->setObjectName(QLatin1String(name));
        menu->menuAction()->setObjectName(QLatin1String(name));
        for (const MenuItem& item : items) {
            QAction* action = *item.caption == '\0'
                                  ? menu->addSeparator()
                                  : menu->addAction(QString::fromUtf8(item.caption));
            action->setObjectName(QLatin1String(item.name));
            action->setShortcuts(QKeySequence::listFromString(QLatin1String(item.keys)));
            if (item.handler) {
                connect(action, &QAction::triggered, this,
                        [this, handler = item.handler] { handler(this); });
            }
        }
    };

    addMenu("mnuFile_submenu", "&File",
            {{"mnuNewMap", "&New Map...", &frmMain::mnuNewMap_Click, "Ctrl+N"},
             {"mnuOpenMap", "&Open Map...", &frmMain::mnuOpenMap_Click, "Ctrl+O"},
             {"mnuImportCSV", "&Import CSV...", &frmMain::mnuImportCSV_Click},
             {"mnuSaveMap", "&Save Map", [](frmMain* w) { w->mnuSaveMap_Click(); }, "Ctrl+S"},
             {"mnuSaveMapAs", "Save Map &As...", [](frmMain* w) { w->mnuSaveMapAs_Click(); },
              "Ctrl+Shift+S"},
             {"sepFile1", "", nullptr},
             {"mnuExit", "E&xit", &frmMain::mnuExit_Click}});

    addMenu("mnuEdit_submenu", "&Edit",
            {{"mnuUndo", "&Undo", &frmMain::mnuUndo_Click, "Ctrl+Z"},
             {"mnuRedo", "&Redo", &frmMain::mnuRedo_Click, "Ctrl+Y; Ctrl+Shift+Z"}});
    mnuUndo = findChild<QAction*>(QStringLiteral("mnuUndo"));
    mnuRedo = findChild<QAction*>(QStringLiteral("mnuRedo"));

    addMenu("mnuView_submenu", "&View",
            {{"mnuShowGrid", "Show &Grid", &frmMain::UpdateOverlay},
             {"mnuShowExportArea", "Show &Export Area", &frmMain::UpdateOverlay}});
    mnuShowGrid = findChild<QAction*>(QStringLiteral("mnuShowGrid"));
    mnuShowExportArea = findChild<QAction*>(QStringLiteral("mnuShowExportArea"));
    mnuShowGrid->setCheckable(true);
    mnuShowExportArea->setCheckable(true);

    // A command on the menu bar itself, without items.
    QAction* generation = menuBar()->addAction(QStringLiteral("Map &Generation"));
    generation->setObjectName(QStringLiteral("mnuMapGeneration_submenu"));
    connect(generation, &QAction::triggered, this, &frmMain::mnuMapGeneration_Click);

    addMenu(
        "mnuTools_submenu", "&Tools",
        {{"mnuRubberStampBuilder", "Rubber &Stamp Builder", &frmMain::mnuRubberStampBuilder_Click},
         {"mnuTileSwapper", "Tile &Swap", &frmMain::mnuTileSwapper_Click},
         {"mnuTileReplace", "Tile &Replace", &frmMain::mnuTileReplace_Click},
         {"mnuTileShift", "Tile Shi&ft", &frmMain::mnuTileShift_Click},
         {"mnuMapShift", "&Map Shift", &frmMain::mnuMapShift_Click}});

    addMenu("mnuHelp_submenu", "&Help",
            {{"mnuHelpTopics", "Help &Topics", &frmMain::mnuHelpTopics_Click},
             {"sepHelp1", "", nullptr},
             {"mnuAboutTESSRA", "&About TESSRA", &frmMain::mnuAboutTESSRA_Click}});
}

void frmMain::BuildKeyboard() {
    auto* contextHelp = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(contextHelp, &QShortcut::activated, this,
            [this] { HelpViewer.ShowTopic(QLatin1String(HelpMainWindowTopic.page)); });
    for (int i = 0; i < static_cast<int>(ToolKeys.size()); ++i) {
        auto* key = new QShortcut(QKeySequence(ToolKeys[i]), this);
        key->setObjectName(QStringLiteral("keyTool%1").arg(i));
        connect(key, &QShortcut::activated, this, [this, i] { SelectTool(i); });
    }
}

void frmMain::SelectTool(int index) {
    // A letter typed into a box is text, not a tool.
    if (qobject_cast<QLineEdit*>(QApplication::focusWidget()) != nullptr) {
        return;
    }
    optToolSelect[index]->setChecked(true);
}

void frmMain::mnuNewMap_Click() {
    if (!MaySaveChanges()) {
        return;
    }
    OpenToolWindow<frmNewMap>("NEW", "New Map");
    if (state_.Tag == "NEW") {
        // A fresh map has nothing to save until it is changed.
        history_.MarkSaved();
        UpdateEditMenu();
    }
}

void frmMain::mnuImportCSV_Click() {
    if (!MaySaveChanges()) {
        return;
    }
    OpenToolWindow<frmImportCSV>("LOAD", "Import CSV");
}

void frmMain::mnuMapGeneration_Click() {
    state_.Tag.clear();
    ToolWindowContext context{state_, dialogs_, palette_, HelpViewer};
    frmMapfileGenerator window(context, this);
    if (window.exec() != QDialog::Accepted) {
        return;
    }
    // The export area follows the block last written.
    const auto box = [&window](const char* name) {
        return BoxText(window.findChild<QLineEdit*>(QLatin1String(name)));
    };
    if (const Result<MapFileSize> size = ReadMapFileSize(box("txtMapSizeX"), box("txtMapSizeY"))) {
        exportWidth_ = size.value().W;
        exportHeight_ = size.value().H;
        UpdateOverlay();
    }
}

void frmMain::mnuRubberStampBuilder_Click() {
    OpenToolWindow<frmRubberStampMaker>();
}

void frmMain::mnuTileSwapper_Click() {
    OpenToolWindow<frmTileSwap>("SWAP", "Swap");
}

void frmMain::mnuTileReplace_Click() {
    OpenToolWindow<frmTileReplace>("SWAP", "Replace");
}

void frmMain::mnuTileShift_Click() {
    OpenToolWindow<frmTileShift>("SWAP", "Tile Shift");
}

void frmMain::mnuMapShift_Click() {
    OpenToolWindow<frmMapShift>("SWAP", "Map Shift");
}

void frmMain::mnuAboutTESSRA_Click() {
    OpenToolWindow<frmAbout>();
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
    // The help window goes with the main window, so nothing keeps the program running.
    HelpViewer.Unload();
    QMainWindow::closeEvent(event);
}

} // namespace tessra
