#include "core/project_file.h"
#include "main_window_fixture.h"
#include "platform/dialogs.h"
#include "ui/picture_box.h"

#include <QAbstractButton>
#include <QAction>
#include <QFile>
#include <QGroupBox>
#include <QListWidget>
#include <QMenuBar>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

using namespace tessra;

class FrmMainTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    FakeDialogs dialogs;
    std::unique_ptr<frmMain> window;

    QString Path(const QString& name) const { return dir.filePath(name); }
    void Write(const QString& name, const QByteArray& bytes) {
        QFile file(Path(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    template <class T = QWidget> T* Find(const char* name) const {
        return window->findChild<T*>(QLatin1String(name));
    }
    QAbstractButton* Option(const char* name, int index) const {
        return window->findChildren<QAbstractButton*>(QLatin1String(name)).at(index);
    }
    PictureBox* View() const { return Find<PictureBox>("picEditField"); }
    EditorState& State() { return window->state(); }

    void AddTileset(const QString& path) {
        dialogs.fileAnswers.push_back(path);
        QTest::mouseClick(Find<QAbstractButton>("cmdAddTileset"), Qt::LeftButton);
    }
    void Click(QPoint at, Qt::MouseButton button = Qt::LeftButton) {
        QTest::mouseClick(View(), button, {}, at);
    }
    void PickPalette(int tile) {
        QTest::mouseClick(Find("picTileset"), Qt::LeftButton, {},
                          {16 * (tile % 16) + 1, 16 * (tile / 16) + 1});
    }
  private slots:
    void init() {
        dialogs = FakeDialogs{};
        window = std::make_unique<frmMain>(dialogs);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        Write("a.pcx", TilesetPcx(256, 48, 1));  // tiles 0..47
        Write("b.pcx", TilesetPcx(16, 32, 100)); // two tiles
        Write("bad.pcx", "not a picture");
    }

    void startUp() {
        QCOMPARE(window->windowTitle(), QStringLiteral("TESSRA - [Untitled]"));
        QCOMPARE(Find<QGroupBox>("Frame1")->title(), QStringLiteral("Tile Palette: ID 0"));
        QCOMPARE(Find("client")->size(), QSize(817, 521));
        QVERIFY(ToQString(State().AppPath).endsWith('/'));
        QCOMPARE(window->HelpViewer.HelpFile(), ToQString(State().AppPath) + "tessra.qhc");
        QVERIFY(Find<QAbstractButton>("cmdAddTileset")->isEnabled());
        for (const char* name : {"cmdDelTileset", "cmdMoveUp", "cmdMoveDown"}) {
            QVERIFY(!Find(name)->isEnabled());
        }
        QVERIFY(Option("optScaleMode", 0)->isChecked() && Option("optToolSelect", 0)->isChecked());
        QCOMPARE(Option("optToolSelect", 2)->toolTip(), QStringLiteral("R.Stamp"));
        QVERIFY(View()->surface() == nullptr); // not drawn until the first redraw

        const QString menus = QStringLiteral(
            "mnuFile_submenu=&File;mnuNewMap=&New Map...;mnuOpenMap=&Open Map...;"
            "mnuImportCSV=&Import CSV...;mnuSaveMap=&Save Map;mnuSaveMapAs=Save Map &As...;"
            "mnuExit=E&xit;mnuEdit_submenu=&Edit;mnuUndo=&Undo;mnuRedo=&Redo;"
            "mnuView_submenu=&View;mnuShowGrid=Show &Grid;mnuShowExportArea=Show &Export Area;"
            "mnuMapGeneration_submenu=Map &Generation;mnuTools_submenu=&Tools;"
            "mnuRubberStampBuilder=Rubber &Stamp Builder;mnuTileSwapper=Tile &Swap;"
            "mnuTileReplace=Tile &Replace;mnuTileShift=Tile Shi&ft;mnuMapShift=&Map Shift;"
            "mnuHelp_submenu=&Help;mnuHelpTopics=Help &Topics;mnuAboutTESSRA=&About TESSRA");
        for (const QString& entry : menus.split(';')) {
            const QStringList item = entry.split('=');
            QCOMPARE(Find<QAction>(item[0].toLatin1())->text(), item[1]);
        }
        QStringList bar;
        for (const QAction* menu : window->menuBar()->actions()) {
            bar << menu->objectName();
        }
        QCOMPARE(bar.join(','), QStringLiteral("mnuFile_submenu,mnuEdit_submenu,mnuView_submenu,"
                                               "mnuMapGeneration_submenu,mnuTools_submenu,"
                                               "mnuHelp_submenu"));
        QVERIFY(!Find<QAction>("mnuUndo")->isEnabled() && !Find<QAction>("mnuRedo")->isEnabled());
    }

    void zoomAndScroll() {
        auto* horiz = Find<QScrollBar>("scrHoriz");
        auto* vert = Find<QScrollBar>("scrVert");
        const int expected[4][4] = {
            {224, 228, 32, 28}, {240, 242, 16, 14}, {248, 249, 8, 7}, {252, 252, 4, 4}};
        for (int i = 0; i < 4; ++i) {
            Option("optScaleMode", i)->click();
            QCOMPARE(State().ZoomMode, i);
            const int got[4] = {horiz->maximum(), vert->maximum(), horiz->pageStep(),
                                vert->pageStep()};
            QVERIFY(std::equal(got, got + 4, expected[i]));
        }
        horiz->setValue(252);
        vert->setValue(252);
        State().MapData(255, 255) = 9;
        Click({511, 447}); // 8x: the bottom-right pixel is cell (255, 255)
        QCOMPARE(int(State().MapData(255, 255)), 0);
        Option("optScaleMode", 0)->click();
        QCOMPARE(horiz->value(), 224);
        QCOMPARE(vert->value(), 228);
    }

    void toolsPaintTheMapAndTheView() {
        AddTileset(Path("a.pcx"));
        auto tileAt = [&](int px, int py) { return window->view().At(px, py); };
        auto colourOf = [](int tile) { return IndexColour(tile + 1); };

        PickPalette(5); // Draw: a click and a drag with the left button
        Click({20, 5});
        SendMouse(View(), QEvent::MouseButtonPress, {1, 100}, Qt::LeftButton, Qt::LeftButton);
        SendMouse(View(), QEvent::MouseMove, {33, 100}, Qt::NoButton, Qt::LeftButton);
        SendMouse(View(), QEvent::MouseMove, {50, 100}, Qt::NoButton,
                  Qt::LeftButton | Qt::RightButton);
        SendMouse(View(), QEvent::MouseButtonRelease, {50, 100}, Qt::LeftButton, Qt::NoButton);
        QCOMPARE(Find<QWidget>("lblMapCoordinate")->property("text").toString(),
                 QStringLiteral("X: 3  Y: 6"));
        QCOMPARE(int(State().MapData(1, 0)), 5);
        QCOMPARE(int(State().MapData(0, 6)), 5);
        QCOMPARE(int(State().MapData(2, 6)), 5);
        QCOMPARE(int(State().MapData(3, 6)), 0); // both buttons held: nothing
        QCOMPARE(tileAt(20, 5), colourOf(5));
        QCOMPARE(tileAt(5, 5), colourOf(0));

        for (int y = 0; y < 256; ++y) { // Floodfill: a wall at column 10 bounds it
            State().MapData(10, y) = 5;
        }
        PickPalette(7);
        Option("optToolSelect", 1)->click();
        Click({40, 40});
        QCOMPARE(int(State().MapData(9, 255)), 7);
        QCOMPARE(int(State().MapData(11, 0)), 0);
        QCOMPARE(tileAt(0, 0), colourOf(7));

        State().StampSizeIndexX = 1; // R.Stamp: 3 x 2, its zero overwrites too
        StampCells cells{};
        for (int i = 0; i < 6; ++i) {
            StampCell(cells, i % 3, i / 3) = std::int16_t(i == 4 ? 0 : 20 + i);
        }
        State().StampData = cells;
        State().MapData(21, 21) = 9;
        Option("optToolSelect", 2)->click();
        Click({20 * 16 + 1, 20 * 16 + 1});
        QCOMPARE(int(State().MapData(22, 20)), 22);
        QCOMPARE(int(State().MapData(21, 21)), 0);
        QCOMPARE(tileAt(22 * 16, 20 * 16), colourOf(22));

        Option("optToolSelect", 3)->click(); // Erase writes tile 0
        Click({20 * 16 + 1, 20 * 16 + 1});
        QCOMPARE(int(State().MapData(20, 20)), 0);
        QCOMPARE(tileAt(20 * 16, 20 * 16), colourOf(0));

        State().MapData(3, 3) = 37; // the right button picks and selects Draw
        Click({3 * 16 + 2, 3 * 16 + 2}, Qt::RightButton);
        QCOMPARE(State().SelectedTile, 37);
        QCOMPARE(State().CurrentTool, ToolDraw);
        QVERIFY(Option("optToolSelect", 0)->isChecked());
        QCOMPARE(Find("imgTileSelector")->pos(), QPoint(80, 32));
        QCOMPARE(Find<QGroupBox>("Frame1")->title(), QStringLiteral("Tile Palette: ID 37"));
        QCOMPARE(window->preview().At(63, 63), colourOf(37));
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
        AddTileset(Path("a.pcx"));
        QWidget* picture = Find("picTileset");
        QTest::mousePress(picture, Qt::LeftButton, {}, {40, 40});
        QCOMPARE(State().SelectedTile, 0); // the pick waits for the release
        QTest::mouseRelease(picture, Qt::LeftButton, {}, release);
        QTEST(int(State().SelectedTile), "tile");
        QCOMPARE(Find<QGroupBox>("Frame1")->title(),
                 QStringLiteral("Tile Palette: ID %1").arg(State().SelectedTile));
        QFETCH(QPoint, marker);
        QCOMPARE(Find("imgTileSelector")->pos(), marker);
        const bool hasTile = QRect(0, 0, 256, 256).contains(marker) && State().SelectedTile < 48;
        QCOMPARE(window->preview().At(10, 10),
                 hasTile ? IndexColour(State().SelectedTile + 1) : Black);
    }

    void addTilesets() {
        AddTileset(Path("a.pcx"));
        QCOMPARE(dialogs.fileRequests.back().title, QStringLiteral("Import PCX File"));
        QCOMPARE(dialogs.fileRequests.back().filter,
                 QStringLiteral("PCX Files|*.pcx|All Files|*.*|"));
        AddTileset(Path("a.pcx"));
        QCOMPARE(dialogs.messages.size(), 1u);
        QCOMPARE(dialogs.messages[0].text, QStringLiteral("That tileset is already loaded."));
        QCOMPARE(dialogs.messages[0].title, QStringLiteral("TESSRA"));
        QVERIFY(dialogs.messages[0].icon == MessageIcon::Critical);

        PickPalette(40);
        AddTileset(Path("b.pcx"));
        auto* list = Find<QListWidget>("lstTilesets");
        QCOMPARE(list->count(), 2);
        QCOMPARE(State().SelectedTile, 0);
        QCOMPARE(window->palette().At(16 * 1, 16 * 3), IndexColour(101)); // tile 49
        list->setCurrentRow(0);
        QVERIFY(Find("cmdDelTileset")->isEnabled() && Find("cmdMoveDown")->isEnabled());
        QVERIFY(!Find("cmdMoveUp")->isEnabled());
        QCOMPARE(list->toolTip(), Path("a.pcx"));

        AddTileset(Path("bad.pcx")); // refused by the decoder: named, and kept
        QCOMPARE(dialogs.messages.size(), 2u);
        QVERIFY(dialogs.messages[1].text.contains(Path("bad.pcx")));
        QCOMPARE(list->count(), 3);

        AddTileset(Path("gone.pcx")); // missing: marked, its path kept as the text
        QVERIFY(!list->item(3)->icon().isNull());
        QCOMPARE(list->item(3)->text(), Path("gone.pcx"));
        Write("found.pcx", TilesetPcx(16, 16, 7));
        dialogs.fileAnswers.push_back(Path("found.pcx"));
        list->setCurrentRow(3);
        Find<QAction>("mnuLocateTileset")->trigger();
        QCOMPARE(ToQString(State().Tilesets.at(3)), Path("found.pcx"));
        QVERIFY(list->item(3)->icon().isNull());
        QCOMPARE(window->palette().At(TileLeft(50), TileTop(50)), IndexColour(7));
    }

    void saveAndOpenAgain() {
        AddTileset(Path("a.pcx"));
        AddTileset(Path("b.pcx"));
        State().MapData(7, 200) = 49;
        // Save on an untitled map falls back to Save As, which fails here.
        dialogs.fileAnswers.push_back(Path("nowhere/map.tessra"));
        window->findChild<QAction*>("mnuSaveMap")->trigger();
        const FileDialogRequest& request = dialogs.fileRequests.back();
        QCOMPARE(request.title, QStringLiteral("Save TESSRA Map File"));
        QVERIFY(request.overwritePrompt && request.defaultSuffix == "tessra");
        QVERIFY(dialogs.messages.back().text.contains(Path("nowhere/map.tessra")));
        QCOMPARE(window->windowTitle(), QStringLiteral("TESSRA - [Untitled]"));

        dialogs.fileAnswers.push_back(Path("map.tessra"));
        window->findChild<QAction*>("mnuSaveMap")->trigger();
        QCOMPARE(window->windowTitle(), "TESSRA - " + Path("map.tessra"));

        frmMain second(dialogs);
        dialogs.fileAnswers.push_back(Path("map.tessra"));
        second.findChild<QAction*>("mnuOpenMap")->trigger();
        QCOMPARE(dialogs.fileRequests.back().title, QStringLiteral("Open TESSRA Map File"));
        QCOMPARE(Snapshot(second), Snapshot(*window));
    }

    void openTakesRelativePathsFromTheFileFolder() {
        MapGrid map;
        const std::string bytes = WriteProjectBytes({"missing.pcx", "bad.pcx"}, map);
        Write("rel.tessra", QByteArray::fromStdString(bytes));
        dialogs.fileAnswers.push_back(Path("rel.tessra"));
        window->findChild<QAction*>("mnuOpenMap")->trigger();
        QCOMPARE(State().Tilesets.at(1), ToStdString(Path("bad.pcx")));
        QCOMPARE(dialogs.messages.size(), 1u); // one message names both
        QVERIFY(dialogs.messages[0].text.contains(Path("missing.pcx")));
        QVERIFY(dialogs.messages[0].text.contains(Path("bad.pcx")));
    }

    void refusedOpenChangesNothing() {
        AddTileset(Path("a.pcx"));
        State().MapData(1, 1) = 3;
        const std::string bytes = WriteProjectBytes({}, MapGrid{});
        Write("short.tessra", QByteArray::fromStdString(bytes.substr(0, bytes.size() / 2)));
        const QString before = Snapshot(*window);
        dialogs.saveAnswers = {SaveAnswer::Discard, SaveAnswer::Discard};
        for (const char* name : {"short.tessra", "absent.tessra"}) {
            dialogs.fileAnswers.push_back(Path(name));
            window->findChild<QAction*>("mnuOpenMap")->trigger();
            QVERIFY(dialogs.messages.back().text.contains(name));
            QCOMPARE(Snapshot(*window), before);
        }
    }
};

QTEST_MAIN(FrmMainTest)
#include "frm_main_test.moc"
