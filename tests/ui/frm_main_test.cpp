#include "io/file_document.h"
#include "main_window_fixture.h"
#include "platform/recent_folders.h"

#include <QGroupBox>
#include <QMenuBar>
#include <QMessageBox>
#include <QScrollBar>
#include <QSettings>
#include <QToolButton>
#include <fstream>

using namespace tessra;

class FrmMainTest : public MainWindowTest {
    Q_OBJECT

    QAbstractButton* Option(const char* name, int index) const {
        return Child<QAbstractButton>(*window, name, index);
    }
    QString PaletteCaption() const { return Find<QGroupBox>("Frame1")->title(); }
    void ClickView(QPoint at, Qt::MouseButton button = Qt::LeftButton) {
        QTest::mouseClick(View(), button, {}, at);
    }
    void PickPalette(int tile) {
        QTest::mouseClick(Find("picTileset"), Qt::LeftButton, {},
                          {16 * (tile % 16) + 1, 16 * (tile / 16) + 1});
    }
    void Open(const char* name) {
        dialogs.fileAnswers.push_back(Path(name));
        Trigger(*window, "mnuOpenMap");
    }

  private slots:
    void initTestCase() {
        Write("a.pcx", TilesetPcx(256, 48, 1));  // tiles 0..47
        Write("b.pcx", TilesetPcx(16, 32, 100)); // two tiles
        Write("bad.pcx", "not a picture");
    }
    void init() { OpenWindow(); }

    void startUp() {
        QCOMPARE(window->windowTitle(), QStringLiteral("TESSRA - [Untitled]"));
        QCOMPARE(PaletteCaption(), QStringLiteral("Tile Palette: ID 0"));
        QCOMPARE(window->HelpViewer.HelpFile(), ToQString(State().AppPath) + "tessra.qhc");
        for (const char* name :
             {"cmdDelTileset", "cmdMoveUp", "cmdMoveDown", "mnuUndo", "mnuRedo"}) {
            QVERIFY(!Find<QObject>(name)->property("enabled").toBool());
        }
        QVERIFY(Option("optScaleMode", 0)->isChecked() && Option("optToolSelect", 0)->isChecked());
        QStringList tools; // captions under the icons
        for (int i = 0; i < 5; ++i) {
            const auto* button = Child<QToolButton>(*window, "optToolSelect", i);
            const bool fits =
                button->fontMetrics().horizontalAdvance(button->text()) <= button->width() - 8;
            tools << button->text() +
                         (button->toolButtonStyle() == Qt::ToolButtonTextUnderIcon
                              ? ""
                              : " without its caption") +
                         (fits ? "" : " cut");
        }
        QCOMPARE(tools.join(' '), QStringLiteral("Draw Floodfill R.Stamp Erase Select"));
        // Each menu in order with its items, as the tests find them by name.
        QStringList shown;
        for (const QAction* menu : window->menuBar()->actions()) {
            shown << menu->objectName() + '=' + menu->text() + ':';
            for (const QAction* item : menu->menu() ? menu->menu()->actions() : QList<QAction*>()) {
                // A shortcut shows beside its item.
                const QString keys = item->shortcut().toString();
                shown << (item->isSeparator() ? QString()
                                              : item->objectName() + '=' + item->text() +
                                                    (keys.isEmpty() ? "" : '[' + keys + ']'));
            }
        }
        shown.removeAll({});
        QCOMPARE(shown.join(' '),
                 "mnuFile_submenu=&File: mnuNewMap=&New Map...[Ctrl+N] "
                 "mnuOpenMap=&Open Map...[Ctrl+O] "
                 "mnuOpenRecent_submenu=Open &Recent "
                 "mnuImportCSV=&Import CSV... mnuImportPicture=Import &Picture... "
                 "mnuSaveMap=&Save Map[Ctrl+S] mnuSaveMapAs=Save Map &As...[Ctrl+Shift+S] "
                 "mnuMakePathsRelative=Make Tileset Paths Re&lative "
                 "mnuImportTiled=Import Tiled Map... mnuExportTiled=Export Tiled Map... "
                 "mnuExport=&Export... mnuExportAgain=Export A&gain[Ctrl+E] "
                 "mnuBuildAll=Build &All[Ctrl+B] mnuExit=E&xit[Ctrl+Q] "
                 "mnuEdit_submenu=&Edit: mnuUndo=&Undo[Ctrl+Z] mnuRedo=&Redo[Ctrl+Y] "
                 "mnuCut=Cu&t[Ctrl+X] mnuCopy=&Copy[Ctrl+C] mnuPaste=&Paste[Ctrl+V] "
                 "mnuDelete=&Delete[Del] mnuSelectAll=Select &All[Ctrl+A] "
                 "mnuDeselect=D&eselect[Esc] mnuSelectionToStamp=Selection to &Stamp "
                 "mnuView_submenu=&View: mnuShowGrid=Show &Grid "
                 "mnuShowExportArea=Show &Export Area mnuShowBehaviour=Show &Behaviour "
                 "mnuHighlightTile=Highlight Selected Tile mnuHardwareBudget=Hardware &Budget "
                 "mnuZoomIn=Zoom &In[Ctrl++] mnuZoomOut=Zoom &Out[Ctrl+-] "
                 "mnuZoomReset=Zoom &1x[Ctrl+0] "
                 "mnuMapGeneration_submenu=Map &Generation: "
                 "mnuTools_submenu=&Tools: mnuRubberStampBuilder=Rubber &Stamp Builder "
                 "mnuTileSwapper=Tile &Swap mnuTileReplace=Tile &Replace "
                 "mnuTileShift=Tile Shi&ft mnuMapShift=&Map Shift mnuTileUsage=Tile &Usage... "
                 "mnuTileAttributes=Tile &Attributes... mnuHelp_submenu=&Help: "
                 "mnuHelpTopics=Help &Topics mnuAboutTESSRA=&About TESSRA");
    }

    void zoomAndScroll() {
        auto* horiz = Find<QScrollBar>("scrHoriz");
        auto* vert = Find<QScrollBar>("scrVert");
        Option("optScaleMode", 3)->click(); // 8x shows 4 x 4 cells
        horiz->setValue(252);
        vert->setValue(252);
        State().MapData(255, 255) = 9;
        ClickView({511, 447}); // the bottom-right pixel is cell (255, 255)
        QCOMPARE(int(State().MapData(255, 255)), 0);
        Option("optScaleMode", 0)->click();
        QCOMPARE(QPoint(horiz->value(), vert->value()), QPoint(224, 228));
        QCOMPARE(QPoint(horiz->pageStep(), vert->pageStep()), QPoint(32, 28));
    }

    void toolsPaintTheMapAndTheView() {
        AddTileset("a.pcx");
        const auto cell = [&](int x, int y) { // the cell's tile, if the view shows it there
            const int tile = State().MapData(x, y);
            return window->view().At(16 * x, 16 * y) == IndexColour(tile + 1) ? tile : -1;
        };
        PickPalette(5); // Draw: a click and a drag with the left button
        ClickView({20, 5});
        SendMouse(View(), QEvent::MouseButtonPress, {1, 100}, Qt::LeftButton, Qt::LeftButton);
        SendMouse(View(), QEvent::MouseMove, {33, 100}, Qt::NoButton, Qt::LeftButton);
        SendMouse(View(), QEvent::MouseMove, {50, 100}, Qt::NoButton,
                  Qt::LeftButton | Qt::RightButton); // both buttons held: nothing
        SendMouse(View(), QEvent::MouseButtonRelease, {50, 100}, Qt::LeftButton, Qt::NoButton);
        QCOMPARE(QList<int>({cell(1, 0), cell(0, 6), cell(2, 6), cell(3, 6)}),
                 QList<int>({5, 5, 5, 0}));
        // A fast drag paints the whole line, and stops where it leaves the view.
        SendMouse(View(), QEvent::MouseButtonPress, {8, 200}, Qt::LeftButton, Qt::LeftButton);
        for (const QPointF at : {QPointF(200, 200), QPointF(700, 200), QPointF(900, 200)}) {
            SendMouse(View(), QEvent::MouseMove, at, Qt::NoButton, Qt::LeftButton);
        }
        SendMouse(View(), QEvent::MouseButtonRelease, {900, 200}, Qt::LeftButton, Qt::NoButton);
        QCOMPARE(QList<int>({cell(0, 12), cell(6, 12), cell(31, 12), int(State().MapData(32, 12)),
                             int(State().MapData(56, 12))}),
                 QList<int>({5, 5, 5, 0, 0}));

        PickPalette(7);
        Option("optToolSelect", 1)->click(); // Floodfill
        ClickView({40, 40});
        QCOMPARE(QList<int>({cell(9, 9), cell(1, 0)}), QList<int>({7, 5}));

        State().StampSizeIndexX = 1; // R.Stamp: 3 x 2
        for (int i = 0; i < 6; ++i) {
            StampCell(State().StampData, i % 3, i / 3) = std::int16_t(20 + i);
        }
        Option("optToolSelect", 2)->click();
        ClickView({20 * 16 + 1, 20 * 16 + 1});
        QCOMPARE(QList<int>({cell(20, 20), cell(22, 21), cell(23, 20)}), QList<int>({20, 25, 7}));
        Option("optToolSelect", 3)->click(); // Erase writes tile 0
        ClickView({20 * 16 + 1, 20 * 16 + 1});
        QCOMPARE(cell(20, 20), 0);

        State().MapData(3, 3) = 37; // the right button picks and selects Draw
        ClickView({3 * 16 + 2, 3 * 16 + 2}, Qt::RightButton);
        QCOMPARE(State().SelectedTile, 37);
        QVERIFY(State().CurrentTool == ToolDraw && Option("optToolSelect", 0)->isChecked());
        QCOMPARE(PaletteCaption(), QStringLiteral("Tile Palette: ID 37"));
    }

    // What each command changes is painted on the screen, and shows its picture.
    void commandsRepaintWhatTheyChange_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QStringList>("painted");
        const QStringList view{"picEditField"}, pick{"picTileTexture", "picTileset"}; // the marker
        QTest::newRow("draw") << "draw" << view;
        QTest::newRow("zoom") << "zoom" << view;
        QTest::newRow("scroll") << "scroll" << view;
        QTest::newRow("undo") << "mnuUndo" << view;
        QTest::newRow("pick") << "pick" << pick;
        QTest::newRow("add") << "cmdAddTileset"
                             << QStringList{"picEditField", "picTileTexture", "picTileset"};
    }

    void commandsRepaintWhatTheyChange() {
        QFETCH(QString, command);
        QFETCH(QStringList, painted);
        AddTileset("a.pcx");
        PickPalette(3);
        ClickView({40, 40}, Qt::LeftButton);
        PaintCounter counter({View(), Find("picTileset"), Find("picTileTexture")});
        counter.Painted();
        dialogs.fileAnswers = {Path("b.pcx")};
        if (command == "draw") {
            PickPalette(4);
            counter.Painted();
            ClickView({60, 40});
        } else if (command == "zoom") {
            Option("optScaleMode", 2)->click();
        } else if (command == "scroll") {
            Find<QScrollBar>("scrVert")->setValue(9);
        } else if (command == "pick") {
            PickPalette(5);
        } else {
            Use(*window, qPrintable(command));
        }
        QCOMPARE(counter.Painted(), painted);
        const auto shows = [](QWidget* box, const Surface& surface) {
            const Pixel p = surface.At(31, 31);
            return box->grab().toImage().pixel(31, 31) ==
                   qRgb(p & 255, p >> 8 & 255, p >> 16 & 255);
        };
        QVERIFY(shows(View(), window->view()) && shows(Find("picTileTexture"), window->preview()));
    }

    void palettePick_data() {
        QTest::addColumn<QPoint>("release");
        QTest::addColumn<int>("tile");
        QTest::addColumn<QPoint>("marker");
        QTest::newRow("left edge") << QPoint(0, 20) << 16 << QPoint(0, 16);
        QTest::newRow("before the picture") << QPoint(-7, -3) << 0 << QPoint(0, 0);
        QTest::newRow("last visible square") << QPoint(255, 223) << 223 << QPoint(240, 208);
        QTest::newRow("released outside") << QPoint(300, 10) << 18 << QPoint(288, 0);
    }

    void palettePick() {
        QFETCH(QPoint, release);
        QFETCH(int, tile);
        QFETCH(QPoint, marker);
        AddTileset("a.pcx");
        QTest::mousePress(Find("picTileset"), Qt::LeftButton, {}, {40, 40});
        QCOMPARE(State().SelectedTile, 0); // the pick waits for the release
        QTest::mouseRelease(Find("picTileset"), Qt::LeftButton, {}, release);
        QCOMPARE(State().SelectedTile, tile);
        QCOMPARE(PaletteCaption(), QStringLiteral("Tile Palette: ID %1").arg(tile));
        QCOMPARE(Find("imgTileSelector")->pos(), marker);
        const bool hasTile = QRect(0, 0, 256, 256).contains(marker) && tile < 48;
        QCOMPARE(window->preview().At(10, 10), hasTile ? IndexColour(tile + 1) : Black);
    }

    void addTilesets() {
        AddTileset("a.pcx");
        AddTileset("a.pcx");
        QCOMPARE(OnlyError(dialogs), QStringLiteral("That tileset is already loaded."));

        PickPalette(40);
        AddTileset("b.pcx");
        auto* list = Find<QListWidget>("lstTilesets");
        QVERIFY(list->count() == 2 && State().SelectedTile == 0);
        QCOMPARE(window->palette().At(16 * 1, 16 * 3), IndexColour(101)); // tile 49
        list->setCurrentRow(0);
        QVERIFY(Find("cmdDelTileset")->isEnabled() && Find("cmdMoveDown")->isEnabled() &&
                !Find("cmdMoveUp")->isEnabled());

        AddTileset("bad.pcx"); // refused by the decoder: named, kept and marked
        QVERIFY(dialogs.messages.back().text.contains(Path("bad.pcx")) && list->count() == 3);
        QVERIFY(!list->item(2)->icon().isNull() && list->item(2)->toolTip().contains("not a PCX"));
        list->setCurrentRow(2);
        QVERIFY(Find<QAction>("mnuLocateTileset")->isEnabled());

        const std::size_t told = dialogs.messages.size();
        AddTileset("gone.pcx"); // missing: marked; the list shows names, the tips paths
        QCOMPARE(dialogs.messages.size(), told + 1); // bad.pcx is not told of again
        QVERIFY(!dialogs.messages.back().text.contains(Path("bad.pcx")));
        QVERIFY(!list->item(3)->icon().isNull() && !list->item(2)->icon().isNull());
        QCOMPARE(list->item(3)->text() + ' ' + list->item(0)->text(),
                 QStringLiteral("gone.pcx a.pcx"));
        QCOMPARE(list->item(0)->toolTip(), Path("a.pcx"));
        Write("found.pcx", TilesetPcx(16, 16, 7));
        list->setCurrentRow(3);
        QVERIFY(!Find("cmdMoveDown")->isEnabled() && Find("cmdMoveUp")->isEnabled());
        dialogs.fileAnswers.push_back(Path("found.pcx"));
        Trigger(*window, "mnuLocateTileset");
        QCOMPARE(ToQString(State().Tilesets.at(3)), Path("found.pcx"));
        QVERIFY(list->item(3)->icon().isNull());
        QCOMPARE(window->palette().At(TileLeft(50), TileTop(50)), IndexColour(7));
    }

    // A picture that loads but loses tiles or colours is told of once, by name.
    void picturesThatLoseTilesAreToldOf() {
        QByteArray odd = TilesetPcx(32, 16, 3);
        odd[3] = 2; // 2 bits per pixel: read, sized, and left black
        Write("odd.pcx", odd);
        Write("big.pcx", TilesetPcx(256, 240, 1)); // 240 tiles
        AddTileset("odd.pcx");
        QCOMPARE(dialogs.messages.size(), 1u);
        QVERIFY(dialogs.messages[0].icon == MessageIcon::Warning &&
                dialogs.messages[0].text.startsWith(Path("odd.pcx") + " is a PCX picture of 2 "
                                                                      "bits x 1 plane"));
        AddTileset("big.pcx");
        AddTileset("a.pcx"); // 48 tiles, 14 of which fit
        QCOMPARE(dialogs.messages.size(), 2u);
        QCOMPARE(dialogs.messages[1].text,
                 "The palette holds 256 tiles; 34 tiles were left out: 34 from " + Path("a.pcx") +
                     ".");
        Write("text.pcx", QByteArray(200, 'x')); // no picture: refused, not said to be black
        AddTileset("text.pcx");
        QVERIFY(dialogs.messages.size() == 3 && dialogs.messages[2].icon == MessageIcon::Critical);
    }

    // "All Files" shows files without an extension; each kind of file has its
    // own folder, kept in the settings; the questions have access keys and Cancel.
    void systemDialogs() {
        QCOMPARE(ToQtFilter("PCX Files|*.pcx|All Files|*.*|"),
                 QStringLiteral("PCX Files (*.pcx);;All Files (*)"));
        QSettings settings(Path("settings.ini"), QSettings::IniFormat);
        RecentFolders folders(settings);
        const QString pcx = "PCX Files|*.pcx|All Files|*.*|", csv = "CSV Files|*.csv|";
        QDir(dir.path()).mkdir("tiles");
        folders.Remember(pcx, Path("tiles/a.pcx"));
        QCOMPARE(folders.FolderFor(pcx), Path("tiles"));
        QCOMPARE(folders.FolderFor(csv), QString());

        QtDialogs system;
        QStringList buttons;
        const auto cancel = [&buttons] { // notes the buttons, then clicks Cancel
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            for (QAbstractButton* shown : box->buttons()) {
                buttons << shown->text();
            }
            box->button(QMessageBox::Cancel)->click();
        };
        QTimer::singleShot(0, cancel);
        QCOMPARE(system.AskSave(window.get(), "Save?", "TESSRA"), SaveAnswer::Cancel);
        QTimer::singleShot(0, cancel);
        QCOMPARE(system.AskYesNoCancel(window.get(), "Renumber?", "TESSRA"), YesNoAnswer::Cancel);
        buttons.sort();
        QCOMPARE(buttons.join(' '), QStringLiteral("&Discard &No &Save &Yes Cancel Cancel"));
    }

    void saveAndOpenAgain() {
        AddTileset("a.pcx");
        AddTileset("b.pcx");
        State().MapData(7, 200) = 49;
        dialogs.fileAnswers.push_back(std::nullopt); // an untitled map asks for a name
        Trigger(*window, "mnuSaveMap");
        QVERIFY(dialogs.fileRequests.back().overwritePrompt && dialogs.messages.empty());
        QCOMPARE(window->windowTitle(), QStringLiteral("TESSRA - [Untitled]"));

        dialogs.fileAnswers.push_back(Path("map.tessra"));
        Trigger(*window, "mnuSaveMap");
        QCOMPARE(window->windowTitle(), "TESSRA - " + Path("map.tessra"));
        frmMain second(dialogs);
        dialogs.fileAnswers.push_back(Path("map.tessra"));
        Trigger(second, "mnuOpenMap");
        QCOMPARE(Snapshot(second), Snapshot(*window));
    }

    // Paths stay as the file gives them, so Open then Save writes the same
    // bytes; relative ones are taken from the file's folder, "\\" as a separator.
    // A name that is not UTF-8 is the system's bytes, found as they are.
    void openKeepsRelativePathsAndSavesThemBack() {
        QDir(dir.path()).mkdir("sub");
        Write("sub/a.pcx", TilesetPcx(16, 16, 9));
        const std::string latin1 = "\xE9t\xE9.pcx"; // "été" in ISO 8859-1
        std::ofstream(FileNameOf(dir.path()) + "/" + latin1, std::ios::binary)
            << TilesetPcx(16, 16, 9).toStdString();
        const QByteArray bytes = QByteArray::fromStdString(
            WriteProjectBytes({"missing.pcx", "bad.pcx", "sub\\a.pcx", latin1}, MapGrid{}));
        Write("rel.tessra", bytes);
        AddTileset("a.pcx");
        PickPalette(5);
        dialogs.saveAnswers = {SaveAnswer::Discard};
        Open("rel.tessra"); // tile 0 and no list entry chosen, as for a new map
        QVERIFY(State().SelectedTile == 0 && State().SelectedTileset == -1);
        QCOMPARE(State().Tilesets.at(2), std::string("sub\\a.pcx"));
        QCOMPARE(State().Tilesets.at(3), latin1);
        QVERIFY(Find<QListWidget>("lstTilesets")->item(3)->icon().isNull());
        QCOMPARE(window->palette().At(0, 0), IndexColour(9));
        // One message names both failures.
        const QString error = OnlyError(dialogs);
        QVERIFY(error.contains(Path("missing.pcx")) && error.contains(Path("bad.pcx")));
        Trigger(*window, "mnuSaveMap");
        QFile saved(Path("rel.tessra"));
        QVERIFY(saved.open(QIODevice::ReadOnly) && saved.readAll() == bytes);
        // Saved into sub, the relative paths are written from there: the
        // tiles stay, and the file opens with them.
        dialogs.fileAnswers.push_back(Path("sub/moved.tessra"));
        Trigger(*window, "mnuSaveMapAs");
        QCOMPARE(window->palette().At(0, 0), IndexColour(9));
        QCOMPARE(
            ReadProjectFile(FileNameOf(Path("sub/moved.tessra"))).value().Tilesets,
            (std::vector<std::string>{"../missing.pcx", "../bad.pcx", "a.pcx", "../" + latin1}));
    }

    // A map whose project or attributes cannot be read is not opened; the
    // one that was open stays.
    void refusedOpenChangesNothing() {
        AddTileset("a.pcx");
        State().MapData(1, 1) = 3;
        const std::string bytes = WriteProjectBytes({}, MapGrid{});
        Write("short.tessra", QByteArray::fromStdString(bytes.substr(0, bytes.size() / 2)));
        Write("picture.tessra", TilesetPcx(16, 16, 1)); // not a project: told so
        Write("damaged.tessra", QByteArray::fromStdString(bytes));
        Write("damaged.attributes.json", "{\"tiles\": [");
        const QString before = Snapshot(*window) + window->windowTitle();
        dialogs.saveAnswers = {4, SaveAnswer::Discard};
        for (const char* name :
             {"damaged.tessra", "short.tessra", "absent.tessra", "picture.tessra"}) {
            Open(name);
            QVERIFY(dialogs.messages.back().text.contains(QString(name).section('.', 0, 0)));
            QCOMPARE(Snapshot(*window) + window->windowTitle(), before);
        }
        QVERIFY(dialogs.messages.back().text.contains("not a TESSRA project file"));
    }
};

QTEST_MAIN(FrmMainTest)
#include "frm_main_test.moc"
