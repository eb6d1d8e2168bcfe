#include "help/help_topics.h"
#include "ui/frm_about.h"
#include "ui/frm_import_csv.h"
#include "ui/frm_main.h"
#include "ui/frm_mapfile_generator.h"
#include "ui/frm_rubber_stamp_maker.h"
#include "ui/frm_tile_replace.h"
#include "ui/frm_tile_swap.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>

namespace tessra {

namespace {

using Handler = void (frmMain::*)();

// One menu item; an empty caption makes a separator, a null handler an item
// without an action of its own.
struct MenuItem {
    const char* name;
    const char* caption;
    Handler handler;
};

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
            if (item.handler != nullptr) {
                connect(action, &QAction::triggered, this, item.handler);
            }
        }
    };

    addMenu("mnuFile_submenu", "&File",
            {{"mnuNewMap", "&New Map...", nullptr},
             {"mnuOpenMap", "&Open Map...", &frmMain::mnuOpenMap_Click},
             {"mnuImportCSV", "&Import CSV...", &frmMain::mnuImportCSV_Click},
             {"mnuSaveMap", "&Save Map", &frmMain::mnuSaveMap_Click},
             {"mnuSaveMapAs", "Save Map &As...", &frmMain::mnuSaveMapAs_Click},
             {"sepFile1", "", nullptr},
             {"mnuExit", "E&xit", &frmMain::mnuExit_Click}});

    // A command on the menu bar itself, without items.
    QAction* generation = menuBar()->addAction(QStringLiteral("Map &Generation"));
    generation->setObjectName(QStringLiteral("mnuMapGeneration_submenu"));
    connect(generation, &QAction::triggered, this, &frmMain::mnuMapGeneration_Click);

    addMenu(
        "mnuTools_submenu", "&Tools",
        {{"mnuRubberStampBuilder", "Rubber &Stamp Builder", &frmMain::mnuRubberStampBuilder_Click},
         {"mnuTileSwapper", "Tile &Swap", &frmMain::mnuTileSwapper_Click},
         {"mnuTileReplace", "Tile &Replace", &frmMain::mnuTileReplace_Click},
         {"mnuTileShift", "Tile Shi&ft", nullptr},
         {"mnuMapShift", "&Map Shift", nullptr}});

    addMenu("mnuHelp_submenu", "&Help",
            {{"mnuHelpTopics", "Help &Topics", &frmMain::mnuHelpTopics_Click},
             {"sepHelp1", "", nullptr},
             {"mnuAboutTESSRA", "&About TESSRA", &frmMain::mnuAboutTESSRA_Click}});

    auto* contextHelp = new QShortcut(QKeySequence::HelpContents, this);
    connect(contextHelp, &QShortcut::activated, this,
            [this] { HelpViewer.ShowTopic(QLatin1String(HelpMainWindowTopic.page)); });
}

void frmMain::mnuImportCSV_Click() {
    OpenToolWindow<frmImportCSV>("LOAD");
}

void frmMain::mnuMapGeneration_Click() {
    OpenToolWindow<frmMapfileGenerator>();
}

void frmMain::mnuRubberStampBuilder_Click() {
    OpenToolWindow<frmRubberStampMaker>();
}

void frmMain::mnuTileSwapper_Click() {
    OpenToolWindow<frmTileSwap>("SWAP");
}

void frmMain::mnuTileReplace_Click() {
    OpenToolWindow<frmTileReplace>("SWAP");
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
    // The help window goes with the main window, so nothing keeps the program running.
    HelpViewer.Unload();
    QMainWindow::closeEvent(event);
}

} // namespace tessra
