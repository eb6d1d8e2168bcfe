#include "io/save_faults.h"
#include "main_window_fixture.h"
#include "platform/qt_text.h"
#include "ui/frm_about.h"
#include "ui/frm_import_csv.h"
#include "ui/frm_mapfile_generator.h"
#include "ui/frm_tile_replace.h"
#include "ui/frm_tile_swap.h"
#include "ui/picture_box.h"

#include <QBuffer>
#include <QCheckBox>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QTest>
#include <memory>

using namespace tessra;

namespace {

// Tiles 0..31 of a PNG tileset, each red on its left half and blue on its right.
QByteArray HalvesPng() {
    QImage image(512, 16, QImage::Format_RGB32);
    for (int x = 0; x < image.width(); ++x) {
        for (int y = 0; y < 16; ++y) {
            image.setPixel(x, y, x % 16 < 8 ? qRgb(255, 0, 0) : qRgb(0, 0, 255));
        }
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

} // namespace

// The small tool windows: Import CSV, Tile Swap, Tile Replace, Map
// Generation, Tile Attributes and About, alone and as the main window opens
// them and acts on the word they leave in Tag.
// Unwritable paths are tried in save_faults_test.
class ToolWindowsTest : public MainWindowTest {
    Q_OBJECT

    // "DIR/" stands for the test's folder.
    QString In(QString text) const { return text.replace("DIR/", dir.path() + '/'); }

    // A map with a distinct tile in each of its top-left 3 x 3 cells, tile 1
    // in the last cell and 9 elsewhere, in a saved map's folder; Tag is set,
    // so that what a window leaves there shows.
    void Prepare(ToolWindowFixture& f) const {
        MapGrid& map = f.state.MapData;
        map.Fill(9);
        for (int i = 0; i < 9; ++i) {
            map(i % 3, i / 3) = std::uint8_t(16 * (i / 3) + i % 3 + 1);
        }
        map(255, 255) = 1;
        f.state.CurrentFileName = FileNameOf(dir.filePath("map.tessra"));
        f.state.ProjectFolder = FileNameOf(dir.path());
        f.state.Tilesets = {"tiles.pcx"}; // listed from the map's folder, not the working one
        f.state.Tag = "OLD";
    }
    static std::unique_ptr<QDialog> Open(const QString& name, ToolWindowContext& context) {
        std::unique_ptr<QDialog> window;
        if (name == "csv") {
            window = std::make_unique<frmImportCSV>(context, nullptr);
        } else if (name == "swap") {
            window = std::make_unique<frmTileSwap>(context, nullptr);
        } else if (name == "replace") {
            window = std::make_unique<frmTileReplace>(context, nullptr);
        } else {
            window = std::make_unique<frmMapfileGenerator>(context, nullptr);
        }
        window->show();
        return window;
    }

    void DragInPalette(QPoint from, QPoint to) {
        QWidget* palette = Find("picTileset");
        SendMouse(palette, QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
        SendMouse(palette, QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
    }
    // Tools > Tile Attributes... with the input; the caption it showed.
    QString SetAttributes(const QStringList& input) {
        QString caption;
        UseToolWindow(*window, "mnuTileAttributes", [&](QWidget& w) {
            caption = Child<QLabel>(w, "lblTiles")->text();
            for (const QString& step : input) {
                const QStringList part = step.split('=');
                if (auto* box = Child<QCheckBox>(w, qPrintable(part[0]))) {
                    box->setCheckState(part[1] == "1" ? Qt::Checked : Qt::Unchecked);
                } else {
                    Enter(w, {step});
                }
            }
        });
        return caption;
    }
    // Whether the left half of the tile at the palette's or the view's point is blue.
    static bool Flipped(const Surface& surface, int left, int top) {
        return surface.At(left + 2, top + 2) == Rgb(0, 0, 255);
    }

    // A saved map whose tile 1, at cell (0, 0), is red on the left, blue on the right.
    void OpenHalvesMap() {
        Write("halves.png", HalvesPng());
        QFile::remove(Path("level.attributes.json"));
        AddTileset("halves.png");
        State().MapData(0, 0) = 1;
        window->RedrawMapView();
        dialogs.fileAnswers = {Path("level.tessra")};
        Trigger(*window, "mnuSaveMapAs");
    }

  private slots:
    void initTestCase() {
        WriteFile(dir, "empty.csv", "");
        WriteFile(dir, "short.csv", "1,2,3\r\n");
        WriteFile(dir, "map.csv", "4,5,6,\r\n7,8,9,\r\n");
        QDir(dir.path()).mkdir("folder.csv");
        for (const char* name : {"map.tessra", "map.attributes.json", "tiles.pcx"}) {
            WriteFile(dir, name, name);
        }
    }
    void init() { OpenWindow(); }

    // Each window as its menu item opens it: "control.property=value".
    void windowsOpenInTheirFirstState_data() {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QStringList>("state");
        const auto row = [](const char* item, const QStringList& state) {
            QTest::newRow(item) << QString(item) << state;
        };
        row("mnuMapShift", {"txtFillTile.enabled=false", "optWrap.checked=true", "txtShiftX.text=0",
                            "txtShiftY.text=0"});
        row("mnuTileShift", {"txtFrom.text=0", "txtOffset.text=0"});
        row("mnuNewMap", {"txtFillTile.text=0", "chkKeepTilesets.checked=true"});
        row("mnuImportCSV", {"txtSizeX.text=0", "txtBrowseForFile.text="});
        row("mnuMapGeneration_submenu", {"txtMapSizeX.text="});
        row("mnuRubberStampBuilder", {"cmbStampY.currentIndex=0"});
        row("mnuAboutTESSRA", {"lblVersion.text=v1.0 rev 9"}); // the menu opens it
    }

    void windowsOpenInTheirFirstState() {
        QFETCH(QString, item);
        QFETCH(QStringList, state);
        QStringList shown;
        QVERIFY(UseToolWindow(*window, qPrintable(item), [&](QWidget& w) {
            for (const QString& entry : state) {
                const QStringList part = entry.section('=', 0, 0).split('.');
                const QObject* control = w.findChild<QObject*>(part[0]);
                shown << entry.section('=', 0, 0) + '=' +
                             (control ? control->property(qPrintable(part[1])).toString() : "?");
            }
        }));
        QCOMPARE(shown, state);
    }

    void theCloseBoxAfterAnImportLeavesTheTitle() {
        dialogs.fileAnswers = {Path("saved.tessra"), Path("saved.tessra")};
        Trigger(*window, "mnuSaveMapAs");
        QVERIFY(UseToolWindow(*window, "mnuImportCSV", [&](QWidget& w) {
            Enter(w, {"txtSizeX=3", "txtSizeY=1", "txtBrowseForFile=" + Path("map.csv"), "cmdOK"});
        }));
        QCOMPARE(int(State().MapData(2, 0)), 7);
        QCOMPARE(window->windowTitle(), QStringLiteral("TESSRA - [Untitled]"));
        Trigger(*window, "mnuSaveMapAs");
        State().MapData(2, 0) = 1;
        QVERIFY(UseToolWindow(*window, "mnuImportCSV", [](QWidget& w) { w.close(); }));
        QCOMPARE(window->windowTitle(), "TESSRA - " + Path("saved.tessra"));
        QCOMPARE(int(State().MapData(2, 0)), 1);
    }

    void cancelAfterASwapDoesNotRedraw() {
        dialogs.fileAnswers = {QStringLiteral(TESSRA_TEST_DATA "/pcx/magick-p8-128x64.pcx")};
        Click(*window, "cmdAddTileset");
        const Surface before = window->view();
        QVERIFY(UseToolWindow(*window, "mnuTileSwapper", [](QWidget& w) {
            Enter(w, {"txtDoSwap#1=9", "cmdSwap"});
        }));
        QCOMPARE(State().Tag, std::string("SWAP"));
        const Surface swapped = window->view();
        QVERIFY(!(swapped == before)); // the swap was drawn

        State().MapData.Fill(0); // a change that nothing has drawn yet
        QVERIFY(
            UseToolWindow(*window, "mnuTileReplace", [](QWidget& w) { Click(w, "cmdCancel"); }));
        QCOMPARE(State().Tag, std::string());
        QVERIFY(window->view() == swapped);
    }

    // Cells (0, 0), (1, 0), (2, 1), (3, 0) and (255, 255) after the window's
    // action, the word it leaves in Tag, its message and the file it wrote.
    void actionsChangeTheWholeMap_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QStringList>("input");
        QTest::addColumn<QStringList>("files"); // the file dialogs' answers, "" for Cancel
        QTest::addColumn<QList<int>>("cells");
        QTest::addColumn<QString>("tag");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QByteArray>("written");
        const auto row = [](const char* tag, const char* window, const QStringList& input,
                            const QStringList& files, const QList<int>& cells, const char* word,
                            const char* message = "", const QByteArray& written = {}) {
            QTest::newRow(tag) << QString(window) << input << files << cells << QString(word)
                               << QString(message) << written;
        };
        const QStringList swap{"txtDoSwap#0=1", "txtDoSwap#1=2", "cmdSwap"};
        row("swap", "swap", swap, {}, {2, 1, 19, 9, 2}, "SWAP");
        row("replace", "replace", swap, {}, {2, 2, 19, 9, 2}, "SWAP");
        // The second Browse is cancelled: the path stays; a fraction counts as its whole part.
        row("CSV", "csv", {"cmdBrowse", "cmdBrowse", "txtSizeX=3", "txtSizeY=2.9", "cmdOK"},
            {"DIR/map.csv", ""}, {5, 6, 10, 0, 0}, "LOAD");
        row("Map Generation: the top-left block", "mapfile",
            {"txtMapSizeX=3", "txtMapSizeY=2", "cmdGenerate"}, {"DIR/block.dat"}, {1, 2, 19, 9, 1},
            "OLD", "File was exported.", "\x01\x02\x03\x11\x12\x13");
    }

    void actionsChangeTheWholeMap() {
        QFETCH(QString, window);
        QFETCH(QStringList, input);
        QFETCH(QStringList, files);
        QFETCH(QList<int>, cells);
        QFETCH(QString, tag);
        QFETCH(QString, message);
        QFETCH(QByteArray, written);
        ToolWindowFixture f;
        Prepare(f);
        for (const QString& file : files) {
            f.dialogs.fileAnswers.push_back(file.isEmpty() ? std::nullopt
                                                           : std::optional(In(file)));
        }
        const auto shown = Open(window, f.context);
        Enter(*shown, input);
        const MapGrid& map = f.state.MapData;
        QCOMPARE(QList<int>({map(0, 0), map(1, 0), map(2, 1), map(3, 0), map(255, 255)}), cells);
        QCOMPARE(ToQString(f.state.Tag), tag);
        QVERIFY(shown->result() == QDialog::Accepted && !shown->isVisible());
        if (message.isEmpty()) {
            QVERIFY(f.dialogs.messages.empty());
        } else {
            QCOMPARE(f.dialogs.messages.size(), 1u);
            QCOMPARE(f.dialogs.messages[0].text, message);
            QCOMPARE(f.dialogs.messages[0].icon, MessageIcon::Information);
        }
        if (!written.isEmpty()) {
            QCOMPARE(QByteArray::fromStdString(ReadText(FileNameOf(In(files.back())))), written);
        }
    }

    // Each check refuses before the next is made, and no file dialog opens
    // before the boxes pass; the window stays open, and the map, Tag and the
    // files on disk stay as they were.
    void refusalsChangeNothing_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QStringList>("input");
        QTest::addColumn<QString>("file"); // the file dialog's answer, if it opens
        QTest::addColumn<QString>("message");
        const auto csv = [](const char* tag, const char* x, const char* y, const char* file,
                            const char* message) {
            QTest::newRow(tag) << "csv"
                               << QStringList{QString("txtSizeX=") + x, QString("txtSizeY=") + y,
                                              QString("txtBrowseForFile=") + file, "cmdOK"}
                               << "" << message;
        };
        csv("CSV: X 256 before a bad Y", "256", "300", "", "Illegal X size");
        csv("CSV: Y 300 before the file", "3", "300", "", "Illegal Y size");
        csv("CSV: no file", "3", "2", "", "No CSV file specified");
        csv("CSV: missing file", "3", "2", "DIR/missing.csv", "File not found: DIR/missing.csv");
        csv("CSV: empty file", "3", "2", "DIR/empty.csv", "File not found: DIR/empty.csv");
        csv("CSV: a folder", "3", "2", "DIR/folder.csv",
            "Cannot read DIR/folder.csv: it is a folder, not a file");
        csv("CSV: short file", "3", "2", "DIR/short.csv", "ends after line 1");
        QTest::newRow("replace A 300")
            << "replace" << QStringList{"txtDoSwap#0=300", "txtDoSwap#1=2", "cmdSwap"} << ""
            << "Change Texture must be a number from 0 to 255";
        QTest::newRow("swap B -1")
            << "swap" << QStringList{"txtDoSwap#0=1", "txtDoSwap#1=-1", "cmdSwap"} << ""
            << "With Texture must be a number from 0 to 255";
        const QStringList generate{"txtMapSizeX=3", "txtMapSizeY=2", "cmdGenerate"};
        QTest::newRow("Map Generation: no X")
            << "mapfile" << QStringList{"txtMapSizeX=", "txtMapSizeY=5", "cmdGenerate"} << ""
            << "Illegal X size";
        // Written over one of the map's own files, the export would destroy
        // what the map was made from.
        for (const char* own : {"map.tessra", "map.attributes.json", "tiles.pcx"}) {
            QTest::addRow("Map Generation over %s", own)
                << "mapfile" << generate << QString("DIR/") + own
                << "it is the same file as the input";
        }
    }

    void refusalsChangeNothing() {
        QFETCH(QString, window);
        QFETCH(QStringList, input);
        QFETCH(QString, file);
        QFETCH(QString, message);
        ToolWindowFixture f;
        Prepare(f);
        if (!file.isEmpty()) {
            f.dialogs.fileAnswers = {In(file)};
        }
        const MapGrid before = f.state.MapData;
        const auto files = FolderSnapshot(FileNameOf(dir.path()));
        const auto shown = Open(window, f.context);
        for (QString& step : input) {
            step = In(step);
        }
        Enter(*shown, input);
        QVERIFY2(OnlyError(f.dialogs).contains(In(message)), qPrintable(OnlyError(f.dialogs)));
        QCOMPARE(f.dialogs.fileRequests.size(), file.isEmpty() ? 0u : 1u);
        QVERIFY(shown->isVisible());
        QVERIFY(f.state.MapData == before);
        QCOMPARE(f.state.Tag, std::string("OLD"));
        QVERIFY(FolderSnapshot(FileNameOf(dir.path())) == files);
    }

    // Check shows the tile of each box enlarged: 16 starts the second row, 240
    // lies below the 14th.
    void checkPreviewsTheTileEnlarged() {
        ToolWindowFixture f;
        frmTileSwap window(f.context, nullptr);
        for (int i = 0; i < 2; ++i) {
            const Surface& preview = *Child<PictureBox>(window, "picTileTexture", i)->surface();
            QCOMPARE(preview.At(63, 63), ToolWindowFixture::TileColour(0));
            for (int tile : {16, 240, -1}) { // -1 shows black
                Child<QLineEdit>(window, "txtDoSwap", i)->setText(QString::number(tile));
                Child<QAbstractButton>(window, "cmdCheck", i)->click();
                const Pixel expected = tile < 0 ? Black : ToolWindowFixture::TileColour(tile);
                QVERIFY(preview.At(0, 0) == expected && preview.At(63, 63) == expected);
            }
        }
    }

    void aboutShowsTheVersionAndOnlyTheRedXCloses() {
        QCOMPARE(VersionText(1, 10, 9), QStringLiteral("v1.10 rev 9"));
        ToolWindowFixture f;
        frmAbout window(f.context, nullptr);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTest::mouseClick(&window, Qt::LeftButton, Qt::NoModifier, {200, 200});
        QTest::mouseClick(Child<QLabel>(window, "lblVersion"), Qt::LeftButton);
        QVERIFY(window.isVisible());
        QTest::mouseClick(Child<QLabel>(window, "imgClose"), Qt::LeftButton, Qt::NoModifier,
                          {8, 8});
        QVERIFY(!window.isVisible());
    }
    // A drag across the palette picks a rectangle of tiles; OK sets them as
    // one undo step; flipped tiles are drawn flipped in the palette and the map.
    void attributesSetTheDraggedTilesAsOneStep() {
        OpenHalvesMap();
        DragInPalette({24, 8}, {40, 24});
        QCOMPARE(SetAttributes({"chkHflip=1", "txtBehaviour=9", "cmdOK"}),
                 QStringLiteral("Tiles 1 to 18 (4 tiles)"));
        for (const int tile : {1, 2, 17, 18}) {
            QVERIFY(State().Attributes[tile].Hflip && State().Attributes[tile].Behaviour == 9);
        }
        QVERIFY(!State().Attributes[3].Hflip && !State().Attributes[16].Hflip);
        QVERIFY(Flipped(window->palette(), 16, 0) && !Flipped(window->palette(), 0, 0));
        QVERIFY(Flipped(window->view(), 0, 0));
        QVERIFY(window->history().IsModified());

        Trigger(*window, "mnuUndo");
        QVERIFY(State().Attributes == TileAttributeTable{});
        QVERIFY(!Flipped(window->palette(), 16, 0) && !Flipped(window->view(), 0, 0));
        Trigger(*window, "mnuRedo");
        QVERIFY(Flipped(window->palette(), 16, 0));
    }

    // Where the tiles differ, an empty box keeps each one's value; a value out
    // of range is refused and nothing changes.
    void attributesKeepDifferingValuesAndRefuseBadOnes() {
        OpenHalvesMap();
        State().Attributes[1].Palette = 3;
        DragInPalette({24, 8}, {40, 8});
        SetAttributes({"txtBehaviour=4", "cmdOK"});
        QCOMPARE(State().Attributes[1].Palette, 3);
        QCOMPARE(State().Attributes[2].Palette, 0);
        QCOMPARE(State().Attributes[2].Behaviour, 4);

        const TileAttributeTable before = State().Attributes;
        SetAttributes({"txtPalette=16", "cmdOK"});
        QVERIFY(OnlyError(dialogs).contains("Palette"));
        QVERIFY(State().Attributes == before);
    }
};

QTEST_MAIN(ToolWindowsTest)
#include "tool_windows_test.moc"
