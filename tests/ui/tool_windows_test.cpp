#include "io/save_faults.h"
#include "platform/qt_text.h"
#include "tool_window_fixture.h"
#include "ui/frm_about.h"
#include "ui/frm_import_csv.h"
#include "ui/frm_mapfile_generator.h"
#include "ui/frm_tile_replace.h"
#include "ui/frm_tile_swap.h"
#include "ui/picture_box.h"

#include <QDir>
#include <QLabel>
#include <QTest>
#include <memory>

using namespace tessra;

// The small tool windows that change the whole map or write one file:
// Import CSV, Tile Swap, Tile Replace, Map Generation and About. Unwritable
// paths are tried in save_faults_test.
class ToolWindowsTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;

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
        const QStringList swap{"txtDoSwap#0=1", "txtDoSwap#1=2", "cmdSwap"};
        QTest::newRow("swap") << "swap" << swap << QStringList() << QList<int>{2, 1, 19, 9, 2}
                              << "SWAP"
                              << "" << QByteArray();
        QTest::newRow("replace") << "replace" << swap << QStringList() << QList<int>{2, 2, 19, 9, 2}
                                 << "SWAP"
                                 << "" << QByteArray();
        // The second Browse is cancelled: the path stays; a fraction counts as its whole part.
        QTest::newRow("CSV") << "csv"
                             << QStringList{"cmdBrowse", "cmdBrowse", "txtSizeX=3", "txtSizeY=2.9",
                                            "cmdOK"}
                             << QStringList{"DIR/map.csv", ""} << QList<int>{5, 6, 10, 0, 0}
                             << "LOAD"
                             << "" << QByteArray();
        QTest::newRow("Map Generation: the top-left block")
            << "mapfile" << QStringList{"txtMapSizeX=3", "txtMapSizeY=2", "cmdGenerate"}
            << QStringList{"DIR/block.dat"} << QList<int>{1, 2, 19, 9, 1} << "OLD"
            << "File was exported." << QByteArray("\x01\x02\x03\x11\x12\x13");
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
};

QTEST_MAIN(ToolWindowsTest)
#include "tool_windows_test.moc"
