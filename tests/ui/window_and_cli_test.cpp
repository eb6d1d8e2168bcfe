#include "core/formats/image_encoders.h"
#include "core/formats/project_file.h"
#include "io/save_faults.h"
#include "main_window_fixture.h"

#include <QAbstractButton>
#include <QProcess>
#include <QScrollBar>

using namespace tessra;

// The window and tessra-cli given the same inputs: the same files, byte for
// byte, and the same refusals, with nothing written.
class WindowAndCliTest : public MainWindowTest {
    Q_OBJECT

    QString cliError_;

    // Runs tessra-cli in the test's folder; its exit status.
    int Cli(const QStringList& args) {
        QProcess cli;
        cli.setWorkingDirectory(dir.path());
        cli.start(QStringLiteral(TESSRA_CLI), args);
        cli.waitForFinished(60000);
        cliError_ = QString::fromUtf8(cli.readAllStandardError());
        return cli.exitStatus() == QProcess::NormalExit ? cli.exitCode() : -1;
    }
    void ExportTiled(const char* name) {
        dialogs.fileAnswers = {Path(name)};
        Trigger(*window, "mnuExportTiled");
    }
    void WritePicture(const Surface& picture, const char* name) {
        const std::vector<std::uint8_t> png = EncodePng(picture);
        Write(name, QByteArray(reinterpret_cast<const char*>(png.data()), qsizetype(png.size())));
    }
    // The files' bytes, then gone; "<none>" for a file not there.
    QStringList Take(const QStringList& names) {
        QStringList taken;
        for (const QString& name : names) {
            QFile file(Path(name));
            taken << (file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readAll().toHex())
                                                     : QStringLiteral("<none>"));
            file.remove();
        }
        return taken;
    }

  private slots:
    // A map in maps/ whose tileset lies in tiles/ and whose tiles 1 to 3 are
    // flipped, its export profile beside it, a CSV and a Tiled map.
    void initTestCase() {
        for (const char* folder : {"maps/out", "tiles", "tiled", "out"}) {
            QDir(dir.path()).mkpath(folder);
        }
        QFile::copy(TESSRA_TEST_DATA "/pcx/pil-p8-128x64.pcx", Path("tiles/a.pcx"));
        for (const char* name : {"map-csv.tmj", "props.tsj", "props.png", "terrain.png"}) {
            QFile::copy(QStringLiteral(TESSRA_TEST_DATA "/tiled/") + name, Path("tiled/") + name);
        }
        MapGrid map;
        for (int i = 0; i < CellCount; ++i) {
            map.data()[i] = std::uint8_t(i % 40);
        }
        Write("maps/level.tessra",
              QByteArray::fromStdString(WriteProjectBytes({"../tiles/a.pcx"}, map)));
        Write("maps/level.attributes.json",
              R"({"tiles": [{"tile": 1, "hflip": 1, "palette": 3}, {"tile": 2, "vflip": 1},
                            {"tile": 3, "hflip": 1, "vflip": 1, "priority": 1}]})");
        Write("maps/level.export.json", R"({"region": "0,0,32,32", "hardware": "gba",
              "format": "c", "output": "out/level.c"})");
        Write("maps/gone.tessra", QByteArray::fromStdString(WriteProjectBytes({"gone.pcx"}, map)));
        for (const char* plain : {"maps/plain.tessra", "maps/damaged.tessra"}) {
            Write(plain, QByteArray::fromStdString(WriteProjectBytes({}, map)));
        }
        Write("maps/damaged.attributes.json", R"({"tiles": [{"tile": 1, "hflip": 2}]})");
        Write("tiled/iso.tmx", R"(<map version="1.10" orientation="isometric" width="1"
              height="1" tilewidth="16" tileheight="16"/>)");
        Write("in.csv", "4,5,6,\r\n7,8,9,\r\n");
    }
    void init() { OpenWindow(); }

    // Each row writes the same files, or is refused for the same reason with
    // nothing on disk changed.
    void sameFilesAndRefusals() {
        const struct {
            const char* name;
            const char* map; // opened first, if any
            std::function<void()> window;
            QStringList cli, outputs;
            QString reason = {}; // of a refusal
        } rows[] = {
            {"export",
             "maps/level.tessra",
             [&] { Trigger(*window, "mnuExportAgain"); },
             {"export", "maps/level.tessra", "--profile", "maps/level.export.json"},
             {"maps/out/level.c", "maps/out/level.h"}},
            {"palette picture",
             "maps/level.tessra",
             [&] { WritePicture(window->palette(), "out/palette.png"); },
             {"palette", "out/palette.png", "tiles/a.pcx", "--attributes",
              "maps/level.attributes.json"},
             {"out/palette.png"}},
            {"render",
             "maps/level.tessra",
             [&] {
                 Child<QAbstractButton>(*window, "optScaleMode", 1)->click();
                 Find<QScrollBar>("scrHoriz")->setValue(3);
                 Find<QScrollBar>("scrVert")->setValue(2);
                 WritePicture(window->view(), "out/view.png");
             },
             {"render", "maps/level.tessra", "out/view.png", "--zoom", "1", "--scroll", "3,2"},
             {"out/view.png"}},
            {"Tiled export",
             "maps/level.tessra",
             [&] { ExportTiled("out/level.tmx"); },
             {"export-tmx", "maps/level.tessra", "out/level.tmx"},
             {"out/level.tmx", "out/level.tiles.png"}},
            {"Tiled import",
             nullptr,
             [&] {
                 dialogs.fileAnswers = {Path("tiled/map-csv.tmj"), Path("out/tiled.tessra")};
                 Trigger(*window, "mnuImportTiled");
                 Trigger(*window, "mnuSaveMapAs");
             },
             {"import-tmx", "tiled/map-csv.tmj", "out/tiled.tessra"},
             {"out/tiled.tessra", "out/tiled.attributes.json"}},
            {"CSV import",
             nullptr,
             [&] {
                 UseToolWindow(*window, "mnuImportCSV", [&](QWidget& w) {
                     Enter(w, {"txtBrowseForFile=" + Path("in.csv"), "txtSizeX=3", "txtSizeY=2",
                               "cmdOK"});
                 });
                 dialogs.fileAnswers = {Path("out/csv.tessra")};
                 Trigger(*window, "mnuSaveMapAs");
             },
             {"import-csv", "in.csv", "3", "2", "out/csv.tessra"},
             {"out/csv.tessra", "out/csv.attributes.json"}},
            {"Tiled export without a tileset",
             "maps/gone.tessra",
             [&] { ExportTiled("out/gone.tmx"); },
             {"export-tmx", "maps/gone.tessra", "out/gone.tmx"},
             {},
             "gone.pcx"},
            {"palette picture of a damaged tileset",
             "maps/gone.tessra",
             [] {},
             {"palette", "out/gone.png", "maps/gone.pcx"},
             {},
             "gone.pcx"},
            {"render with damaged attributes",
             "maps/damaged.tessra",
             [] {},
             {"render", "maps/damaged.tessra", "out/damaged.png"},
             {},
             "maps/damaged.attributes.json: entry 1 of \"tiles\""},
            {"import of an isometric map",
             nullptr,
             [&] {
                 dialogs.fileAnswers = {Path("tiled/iso.tmx")};
                 Trigger(*window, "mnuImportTiled");
             },
             {"import-tmx", "tiled/iso.tmx", "out/iso.tessra"},
             {},
             "the map is isometric"},
        };
        for (const auto& row : rows) {
            init();
            const auto before = FolderSnapshot(FileNameOf(dir.path()));
            if (row.map) { // a damaged map opens, and tells what is wrong
                window->OpenProjectFile(FileNameOf(Path(row.map)));
            }
            row.window();
            if (row.reason.isEmpty()) {
                const QStringList fromWindow = Take(row.outputs);
                QVERIFY2(Cli(row.cli) == 0, qPrintable(row.name + (": " + cliError_)));
                QVERIFY2(fromWindow == Take(row.outputs) && fromWindow[0] != "<none>", row.name);
                continue;
            }
            const QString shown = dialogs.messages.empty() ? "" : dialogs.messages.back().text;
            QVERIFY2(shown.contains(row.reason), qPrintable(row.name + (": " + shown)));
            QVERIFY2(Cli(row.cli) == 1, row.name);
            QVERIFY2(cliError_.contains(row.reason), qPrintable(row.name + (": " + cliError_)));
            QVERIFY2(FolderSnapshot(FileNameOf(dir.path())) == before, row.name);
        }
    }
};

QTEST_MAIN(WindowAndCliTest)
#include "window_and_cli_test.moc"
