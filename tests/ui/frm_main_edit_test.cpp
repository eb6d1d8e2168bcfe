#include "core/formats/project_file.h"
#include "main_window_fixture.h"
#include "ui/map_overlay.h"

#include <QLabel>
#include <QMimeData>
#include <QScrollBar>
#include <QUrl>
#include <QWheelEvent>

using namespace tessra;

// Undo and redo, the unsaved-work question, the tileset commands and the view.
class FrmMainEditTest : public MainWindowTest {
    Q_OBJECT

    QByteArray ReadAll(const QString& name) const {
        QFile file(Path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    // A new window with tilesets a and b and tile 5 selected, saved as
    // doc.tessra unless left untitled.
    void Fresh(bool titled = true) {
        OpenWindow();
        AddTileset("a.pcx");
        AddTileset("b.pcx");
        QTest::mouseClick(Find("picTileset"), Qt::LeftButton, {}, {81, 1});
        State().MapData(255, 0) = 7;
        window->RedrawMapView();
        if (titled) {
            dialogs.fileAnswers.push_back(Path("doc.tessra"));
            Trigger(*window, "mnuSaveMapAs");
        }
    }
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
        window->activateWindow(); // back from a tool window
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        QTest::keyClick(window.get(), key, modifiers);
    }
    void Wheel(QPoint angle, Qt::KeyboardModifiers modifiers) {
        QWheelEvent event({100, 100}, View()->mapToGlobal(QPointF(100, 100)), {}, angle,
                          Qt::NoButton, modifiers, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(View(), &event);
    }

  private slots:
    void initTestCase() {
        Write("a.pcx", TilesetPcx(256, 48, 1));  // tiles 0..47
        Write("b.pcx", TilesetPcx(16, 32, 100)); // tiles 48, 49
        Write("c.pcx", TilesetPcx(32, 16, 200)); // tiles 50, 51 once added
        Write("d.pcx", TilesetPcx(16, 16, 210));
        Write("map.csv", "4,5,6,\r\n");
        Write("other.tessra", QByteArray::fromStdString(WriteProjectBytes({}, MapGrid{})));
    }

    void undoAndRedo_data() {
        // The key of a tool to drag with, or a menu item and the input to its window.
        QTest::addColumn<QStringList>("input");
        QTest::addColumn<QString>("refusal");
        const auto row = [](const char* label, const QStringList& input, const char* refusal = "") {
            QTest::newRow(label) << input << QString(refusal);
        };
        row("Draw", {"D"});
        row("Fill", {"F"});
        row("Stamp", {"R"});
        row("Swap", {"mnuTileSwapper", "txtDoSwap#1=9", "cmdSwap"});
        row("Import CSV", {"mnuImportCSV", "txtSizeX=3", "txtSizeY=1",
                           "txtBrowseForFile=" + Path("map.csv"), "cmdOK"});
        row("Import Picture",
            {"mnuImportPicture", "txtPicture=" TESSRA_TEST_DATA "/pcx/pil-p8-128x64.pcx",
             "txtTileset=" + Path("level.tiles.png"), "cmdOK"});
        row("New Map", {"mnuNewMap", "txtFillTile=3", "chkKeepTilesets", "cmdOK"});
        row("Tile Shift", {"mnuTileShift", "txtTo=7", "txtOffset=4", "cmdShift"});
        row("Map Shift", {"mnuMapShift", "txtShiftX=2", "cmdShift"});
        row("refused Tile Shift",
            {"mnuTileShift", "txtFrom=5", "txtTo=9", "txtOffset=250", "cmdShift"},
            "Tile Shift would turn tile 7 into 257; tile numbers run from 0 to 255.");
        // The boxes this program added take whole numbers only, and name the box.
        row("letters for New Map", {"mnuNewMap", "txtFillTile=abc", "cmdOK"},
            "Fill tile must be a tile number from 0 to 255.");
        row("a fraction for Tile Shift", {"mnuTileShift", "txtTo=1.5", "cmdShift"},
            "To must be a tile number from 0 to 255.");
        row("an empty Map Shift box", {"mnuMapShift", "txtShiftY=", "cmdShift"},
            "Y shift must be a whole number from -255 to 255.");
        row("Swap past 255", {"mnuTileSwapper", "txtDoSwap#1=256", "cmdSwap"},
            "With Texture must be a number from 0 to 255.");
    }

    void undoAndRedo() {
        QFETCH(QStringList, input);
        QFETCH(QString, refusal);
        const QString label = QTest::currentDataTag();
        Fresh();
        StampCell(State().StampData, 1, 1) = 9;
        const QString before = Snapshot(*window);
        const Surface viewBefore = window->view();
        const std::size_t steps = window->history().StepCount();
        const QString item = input.takeFirst();
        if (item.size() == 1) {
            Key(Qt::Key(item[0].unicode()));
            SendMouse(View(), QEvent::MouseButtonPress, {40, 40}, Qt::LeftButton, Qt::LeftButton);
            SendMouse(View(), QEvent::MouseMove, {100, 40}, Qt::NoButton, Qt::LeftButton);
            SendMouse(View(), QEvent::MouseButtonRelease, {100, 40}, Qt::LeftButton, {});
        } else {
            QVERIFY(UseToolWindow(*window, qPrintable(item), [&](QWidget& w) { Enter(w, input); }));
        }
        if (!refusal.isEmpty()) { // a message, and nothing to undo
            QCOMPARE(OnlyError(dialogs), refusal);
            QVERIFY(Snapshot(*window) == before && window->history().StepCount() == steps);
            return;
        }
        const QString after = Snapshot(*window);
        const QString title = window->windowTitle();
        const Surface viewAfter = window->view();
        QVERIFY(after != before && !(viewAfter == viewBefore));
        QCOMPARE(Find<QAction>("mnuUndo")->text(), "&Undo " + label);
        // A new map starts unmodified; the one before it no longer matches a save.
        // An imported map is untitled, and stays so when undone: still to be saved.
        const bool fresh = label == "New Map", imported = label.startsWith("Import");
        QCOMPARE(window->history().IsModified(), !fresh);

        Key(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(Snapshot(*window), before);
        QVERIFY(window->view() == viewBefore);
        QCOMPARE(window->windowTitle(), title); // undo never moves the file it saves to
        QCOMPARE(window->history().IsModified(), fresh || imported);
        QCOMPARE(Find<QAction>("mnuRedo")->text(), "&Redo " + label);

        Key(Qt::Key_Y, Qt::ControlModifier);
        QVERIFY(Snapshot(*window) == after && window->view() == viewAfter);
        QVERIFY(!Find<QAction>("mnuRedo")->isEnabled());
        QVERIFY(label != "Map Shift" || State().MapData(1, 0) == 7); // wrapped round
    }

    // Each trigger against Save, Discard, Cancel, and Save on an untitled map
    // whose Save As is cancelled.
    void unsavedWorkPrompt_data() {
        QTest::addColumn<QString>("command"); // a menu item, "close" or "drop"
        QTest::addColumn<int>("answer");      // a SaveAnswer, or 3 for Save As cancelled
        const char* answers[] = {"Save", "Discard", "Cancel", "Save As cancelled"};
        for (const char* command :
             {"mnuNewMap", "mnuOpenMap", "mnuImportCSV", "mnuExit", "close", "drop"}) {
            for (int a = 0; a < 4; ++a) {
                QTest::addRow("%s, %s", command, answers[a]) << QString(command) << a;
            }
        }
    }

    void unsavedWorkPrompt() {
        QFETCH(QString, command);
        QFETCH(int, answer);
        const bool saveAsCancelled = answer == 3;
        Fresh(!saveAsCancelled);
        const QByteArray saved = ReadAll("doc.tessra");
        QTest::mouseClick(View(), Qt::LeftButton, {}, {5, 5});
        dialogs.saveAnswers = {saveAsCancelled ? SaveAnswer::Save : SaveAnswer(answer)};
        if (saveAsCancelled) {
            dialogs.fileAnswers.push_back(std::nullopt);
        }
        dialogs.fileAnswers.push_back(Path("other.tessra"));
        bool toolWindow = false;
        if (command == "close") {
            window->close();
        } else if (command == "drop") {
            QMimeData dropped;
            dropped.setUrls({QUrl::fromLocalFile(Path("other.tessra"))});
            QDropEvent drop({10, 10}, Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
            static_cast<QObject*>(window.get())->event(&drop);
        } else {
            toolWindow = UseToolWindow(*window, qPrintable(command));
        }
        const bool went = toolWindow || !window->isVisible() ||
                          State().CurrentFileName == ToStdString(Path("other.tessra"));
        QVERIFY(dialogs.questions == std::vector<QString>{"Save changes to the current map?"});
        QCOMPARE(went, answer == int(SaveAnswer::Save) || answer == int(SaveAnswer::Discard));
        QCOMPARE(ReadAll("doc.tessra") != saved, answer == int(SaveAnswer::Save));
        QVERIFY(went || (window->history().IsModified() && State().MapData(0, 0) == 5));
        if (State().CurrentFileName == ToStdString(Path("other.tessra"))) { // a new history
            QVERIFY(!window->history().CanUndo() && !Find<QAction>("mnuUndo")->isEnabled());
        }
    }

    // Pictures dropped on the window join the list as one step; one already
    // listed is named and left out.
    void droppedPicturesAreAdded() {
        Fresh();
        QMimeData dropped;
        dropped.setUrls({QUrl::fromLocalFile(Path("c.pcx")), QUrl::fromLocalFile(Path("a.pcx"))});
        QDropEvent drop({10, 10}, Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
        static_cast<QObject*>(window.get())->event(&drop);
        QCOMPARE(State().Tilesets.size(), 3u);
        QVERIFY2(OnlyError(dialogs).contains("a.pcx"), qPrintable(OnlyError(dialogs)));
        Trigger(*window, "mnuUndo");
        QCOMPARE(State().Tilesets.size(), 2u);
    }

    // Each cell keeps its picture when the map is renumbered, and undo gives
    // back the pictures, the selected tile and list entry of before the step,
    // redo those of after it. Locate changes pictures on purpose.
    void tilesetStepsKeepPicturesAndSelection_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("row");
        QTest::addColumn<QPoint>("removed"); // the removed tileset's first and last tile
        QTest::addColumn<int>(
            "renumber"); // the answer to the question: 0 Yes, 1 No, 2 Cancel, -1 none
        QTest::newRow("Del first") << "cmdDelTileset" << 0 << QPoint(0, 47) << 0;
        QTest::newRow("Del middle") << "cmdDelTileset" << 1 << QPoint(48, 49) << 0;
        QTest::newRow("Up") << "cmdMoveUp" << 1 << QPoint(-1, -1) << 0;
        QTest::newRow("Down") << "cmdMoveDown" << 0 << QPoint(-1, -1) << 0;
        QTest::newRow("Up, numbers kept") << "cmdMoveUp" << 2 << QPoint(-1, -1) << 1;
        QTest::newRow("Del, cancelled") << "cmdDelTileset" << 0 << QPoint(-1, -1) << 2;
        QTest::newRow("Add") << "cmdAddTileset" << 1 << QPoint(-1, -1) << -1;
        QTest::newRow("Locate") << "mnuLocateTileset" << 1 << QPoint(-1, -1) << -1;
    }

    void tilesetStepsKeepPicturesAndSelection() {
        QFETCH(QString, command);
        QFETCH(int, row);
        QFETCH(QPoint, removed);
        QFETCH(int, renumber);
        Fresh();
        AddTileset("c.pcx");
        for (int i = 0; i < 32 * 28; ++i) { // every tile, over the visible cells
            State().MapData(i % 32, i / 32) = std::uint8_t(i % 52);
        }
        window->RedrawMapView();
        const Surface before = window->view();
        const MapGrid map = State().MapData;
        dialogs.yesNoAnswers = {YesNoAnswer(std::max(renumber, 0))};
        dialogs.fileAnswers = {Path("d.pcx")};
        Find<QListWidget>("lstTilesets")->setCurrentRow(row);
        const QString beforeStep = Snapshot(*window);
        const Surface preview = window->preview(); // of tile 5
        Use(*window, qPrintable(command));
        QCOMPARE(dialogs.questions.size(), renumber < 0 ? 0u : 1u);
        if (renumber == int(YesNoAnswer::Cancel)) { // the list and the map as they were
            QVERIFY(Snapshot(*window) == beforeStep && window->view() == before);
            return;
        }
        bool same = true;
        for (int i = 0; i < 32 * 28; ++i) {
            const QPoint at(16 * (i % 32) + 8, 16 * (i / 32) + 8);
            const bool gone = i % 52 >= removed.x() && i % 52 <= removed.y();
            const Pixel expected = gone ? window->palette().At(8, 8) : before.At(at.x(), at.y());
            same = same && window->view().At(at.x(), at.y()) == expected;
        }
        QCOMPARE(same || command == "mnuLocateTileset", renumber != int(YesNoAnswer::No));
        QCOMPARE(State().MapData == map, renumber != int(YesNoAnswer::Yes));
        const QString after = Snapshot(*window);
        QVERIFY(after != beforeStep);
        // Renumbered, the selected tile keeps its picture.
        QVERIFY(State().MapData == map || removed.x() >= 0 || window->preview() == preview);
        Key(Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(window->view() == before && Snapshot(*window) == beforeStep);
        Key(Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(Snapshot(*window), after);
    }

    // After Save As, every Save writes that file, whatever undo and redo do,
    // until another file is opened, made or saved as.
    void saveKeepsItsFileThroughUndo() {
        Fresh(false);
        const auto draw = [&](int x) { QTest::mouseClick(View(), Qt::LeftButton, {}, {x, 5}); };
        draw(5);
        dialogs.fileAnswers = {Path("r1.tessra"), Path("r2.tessra")};
        Trigger(*window, "mnuSaveMapAs");
        const QByteArray first = ReadAll("r1.tessra");
        QVERIFY(UseToolWindow(*window, "mnuImportCSV", [&](QWidget& w) {
            Enter(w, {"txtSizeX=3", "txtSizeY=1", "txtBrowseForFile=" + Path("map.csv"), "cmdOK"});
        }));
        QCOMPARE(window->windowTitle(), QStringLiteral("TESSRA - [Untitled]"));
        Trigger(*window, "mnuSaveMapAs");
        Key(Qt::Key_Z, Qt::ControlModifier);
        draw(40);
        Key(Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(window->windowTitle(), "TESSRA - " + Path("r2.tessra"));
        QCOMPARE(ReadAll("r1.tessra"), first);
        QCOMPARE(ReadAll("r2.tessra").toStdString(),
                 WriteProjectBytes(State().Tilesets, State().MapData));
        QVERIFY(State().MapData(2, 0) == 5 && !window->history().IsModified());
    }

    // Paths a project file could not give back as they went in.
    void refusesPathsASaveWouldChange_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("message");
        const QString lineBreak = "A tileset path cannot hold a line break.";
        const QString blank = "A tileset path cannot begin or end with a blank.";
        QTest::newRow("Add, line feed") << "cmdAddTileset"
                                        << "e\n.pcx" << lineBreak;
        QTest::newRow("Add, carriage return") << "cmdAddTileset"
                                              << "e.pcx\r" << lineBreak;
        QTest::newRow("Add, trailing blank") << "cmdAddTileset"
                                             << "e.pcx " << blank;
        QTest::newRow("Locate, line feed") << "mnuLocateTileset"
                                           << "e\n.pcx" << lineBreak;
        QTest::newRow("Locate, leading blank") << "mnuLocateTileset"
                                               << " e.pcx" << blank;
    }

    void refusesPathsASaveWouldChange() {
        QFETCH(QString, command);
        QFETCH(QString, path);
        QFETCH(QString, message);
        Fresh();
        Find<QListWidget>("lstTilesets")->setCurrentRow(1);
        const QString before = Snapshot(*window);
        const std::size_t steps = window->history().StepCount();
        dialogs.fileAnswers = {path.startsWith(' ') ? path : Path(path)};
        Use(*window, qPrintable(command));
        QCOMPARE(OnlyError(dialogs), message);
        QVERIFY(Snapshot(*window) == before && window->history().StepCount() == steps);
    }

    void wheelKeysAndOverlays() {
        Fresh();
        auto* horiz = Find<QScrollBar>("scrHoriz");
        auto* vert = Find<QScrollBar>("scrVert");
        const auto readout = [&] { return Find<QLabel>("lblMapCoordinate")->text(); };
        Wheel({0, -240}, {}); // the readout follows the map under a still pointer
        QCOMPARE(readout(), QStringLiteral("X: 6  Y: 12"));
        Wheel({0, -120}, Qt::ShiftModifier);
        QCOMPARE(QPoint(horiz->value(), vert->value()), QPoint(3, 6));
        QCOMPARE(readout(), QStringLiteral("X: 9  Y: 12"));
        Wheel({0, 120}, Qt::ControlModifier); // zooms in about the cell under the pointer
        QCOMPARE(int(State().ZoomMode), 1);
        QCOMPARE(QPoint(horiz->value(), vert->value()), QPoint(6, 9));
        Child<QAbstractButton>(*window, "optScaleMode", 0)->click();
        QCOMPARE(readout(), QStringLiteral("X: 12  Y: 15"));

        const Surface view = window->view();
        Trigger(*window, "mnuShowGrid");
        Trigger(*window, "mnuShowExportArea");
        const QImage shown = View()->grab().toImage();
        QVERIFY(window->view() == view);                     // drawn on the screen only
        QVERIFY(shown.pixel(32, 40) != shown.pixel(33, 40)); // a grid line at the cell edge

        // At 2x a wheel notch is fewer cells; the export area outlines the
        // region File > Export writes and the block Map Generation wrote,
        // each labelled: 4 x 3 and 8 x 5 cells of 32 pixels, the rest shaded.
        Trigger(*window, "mnuShowGrid");
        Child<QAbstractButton>(*window, "optScaleMode", 1)->click();
        horiz->setValue(0);
        vert->setValue(0);
        Wheel({0, -120}, {});
        QCOMPARE(vert->value(), 1);
        vert->setValue(0);
        dialogs.fileAnswers.push_back(Path("block.dat"));
        QVERIFY(UseToolWindow(*window, "mnuMapGeneration_submenu", [](QWidget& w) {
            Enter(w, {"txtMapSizeX=8", "txtMapSizeY=5", "cmdGenerate"});
        }));
        QVERIFY(UseToolWindow(*window, "mnuExport", [&](QWidget& w) {
            Enter(w, {"txtRegion=6,4,4,3", "txtOutput=" + Path("region.bin"), "cmdOK"});
        }));
        const auto* overlay = Find<MapOverlay>("mapOverlay");
        QCOMPARE(
            ExportRegionText(overlay->settings().exportRegion, overlay->settings().exportBytes),
            QString::fromUtf8("Export 6,4 4 \u00d7 3: 12 bytes"));
        const QImage area = View()->grab().toImage();
        QVERIFY(!overlay->exportLabel().isEmpty() &&
                !overlay->exportLabel().intersects(overlay->generationLabel()));
        const auto shaded = [&](int x, int y) {
            const Pixel p = window->view().At(x, y);
            return area.pixel(x, y) != qRgb(p & 255, p >> 8 & 255, p >> 16 & 255);
        };
        QCOMPARE(QList<bool>({shaded(248, 8), shaded(8, 152), shaded(300, 200), shaded(264, 8),
                              shaded(8, 168)}),
                 QList<bool>({false, false, false, true, true}));
    }
};

QTEST_MAIN(FrmMainEditTest)
#include "frm_main_edit_test.moc"
