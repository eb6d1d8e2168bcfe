#include "cli/cli.h"
#include "io/file_document.h"
#include "io/save_faults.h"
#include "io/temp_dir.h"
#include "platform/qt_text.h"
#include "support/fake_dialogs.h"
#include "tool_window_fixture.h"
#include "ui/frm_main.h"
#include "ui/frm_mapfile_generator.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>
#include <sstream>

using namespace tessra;

Q_DECLARE_METATYPE(Fault)

namespace {

namespace fs = std::filesystem;

// A save into the folder that meets the fault; what it said, or "<...>" for
// what went wrong besides.
using Save = std::function<std::string(const fs::path& folder, const SaveFault& fault)>;

std::string ProjectBytes() {
    MapGrid map;
    map(0, 0) = 7;
    return WriteProjectBytes({}, map);
}

// A command of tessra-cli, run in this process; IN names the input file
// beside the output, OUT the output.
Save Command(std::vector<std::string> args) {
    return [args](const fs::path& folder, const SaveFault& fault) {
        std::vector<std::string> named;
        for (const std::string& arg : args) {
            named.push_back(arg == "OUT"           ? fault.Target()
                            : arg.starts_with("@") ? (folder / arg.substr(1)).string()
                                                   : arg);
        }
        std::ostringstream out, err;
        const int status = RunCli(named, out, err);
        return status == ExitRefused ? err.str() : "<exit " + std::to_string(status) + ">";
    };
}

// The main window saves over what it opened, or as a new file where the
// fault has none: the map stays unsaved under its old name.
std::string WindowSave(const fs::path& folder, const SaveFault& fault) {
    FakeDialogs dialogs;
    frmMain window(dialogs);
    window.show();
    const std::string opened =
        fault.HasEarlierFile() ? fault.Target() : (folder / "map.tessra").string();
    if (!window.OpenProjectFile(opened)) {
        return "<not opened>";
    }
    window.state().Attributes[1].Hflip = true;
    QTest::mouseClick(window.findChild<QWidget*>("picEditField"), Qt::LeftButton, {}, {1, 1});
    dialogs.fileAnswers.push_back(ShownFileName(fault.Target()));
    window.findChild<QAction*>(fault.HasEarlierFile() ? "mnuSaveMap" : "mnuSaveMapAs")->trigger();
    const bool kept = window.state().CurrentFileName == opened &&
                      window.windowTitle() == "TESSRA - " + ShownFileName(opened) &&
                      window.history().IsModified() && dialogs.messages.size() == 1 &&
                      dialogs.messages[0].icon == MessageIcon::Critical;
    return kept ? ToStdString(dialogs.messages[0].text) : "<the window changed>";
}

// Map Generation says "Error #" and the system's error number, and stays open.
std::string MapGeneration(const fs::path&, const SaveFault& fault) {
    ToolWindowFixture f;
    f.dialogs.fileAnswers = {ShownFileName(fault.Target())};
    frmMapfileGenerator window(f.context, nullptr);
    window.show();
    Enter(window, {"txtMapSizeX=4", "txtMapSizeY=4", "cmdGenerate"});
    if (f.dialogs.messages.size() != 1) {
        return "<not one message>";
    }
    const auto& shown = f.dialogs.messages[0];
    const bool kept = QRegularExpression("^Error #[1-9][0-9]*$").match(shown.title).hasMatch() &&
                      shown.icon == MessageIcon::Critical && window.isVisible();
    return kept ? ToStdString(shown.text) : "<the window changed>";
}

// Every writer, and everything that writes through it, with the name it
// writes (the image commands choose their format by it).
struct Writer {
    const char* name;
    const char* file;
    Save save;
    bool window = false; // may not take another user's identity
};

const Writer Writers[] = {
    {"MapFiles", "out.tessra",
     [](const fs::path&, const SaveFault& fault) {
         Document document;
         document.Attributes[3].Vflip = true;
         return WriteDocument(fault.Target(), document).message();
     }},
    {"ExportDat", "out.dat", Command({"export-dat", "@map.tessra", "2", "2", "OUT"})},
    {"Export", "out.bin", Command({"export", "@map.tessra", "OUT", "--compress", "lz77"})},
    {"ExportC", "out.c", Command({"export", "@map.tessra", "OUT", "--format", "c"})},
    {"ImportCsv", "out.tessra", Command({"import-csv", "@in.csv", "3", "2", "OUT"})},
    {"ImportImage", "out.tessra",
     Command({"import-image", "@terrain.png", "OUT", "--tileset", "@out.tiles.png"})},
    // replace writes through the same code as swap.
    {"Swap", "out.tessra", Command({"swap", "@map.tessra", "1", "2", "OUT"})},
    {"PcxToImage", "out.ppm", Command({"pcx-to-image", "@in.pcx", "OUT"})},
    {"Palette", "out.png", Command({"palette", "OUT", "@in.pcx"})},
    {"Render", "out.bmp", Command({"render", "@map.tessra", "OUT", "--zoom", "1"})},
    {"ExportTmx", "out.tmx", Command({"export-tmx", "@map.tessra", "OUT"})},
    {"ImportTmx", "out.tessra", Command({"import-tmx", "@map-csv.tmj", "OUT"})},
    {"MainWindow", "saved.tessra", WindowSave, true},
    {"MapGeneration", "map.dat", MapGeneration, true},
};

} // namespace

// A save that cannot be done, wherever it comes from, names the file and the
// cause, and changes nothing on disk: no earlier file touched, no temporary
// file left behind, no device replaced by a file.
class SaveFaultsTest : public QObject {
    Q_OBJECT

  public:
    // The window's recovery copies and settings go to the test folders.
    SaveFaultsTest() { QStandardPaths::setTestModeEnabled(true); }

  private slots:
    void reportedAndNothingLost_data() {
        QTest::addColumn<int>("writer");
        QTest::addColumn<Fault>("kind");
        for (int i = 0; i < int(std::size(Writers)); ++i) {
            for (const Fault kind :
                 {Fault::FullDevice, Fault::FullDisk, Fault::ReadOnlyFolder, Fault::Folder}) {
                if (!Writers[i].window || kind != Fault::ReadOnlyFolder) {
                    QTest::addRow("%s/%s", Writers[i].name, FaultName(kind)) << i << kind;
                }
            }
        }
    }

    void reportedAndNothingLost() {
        QFETCH(int, writer);
        QFETCH(Fault, kind);
        const Writer& w = Writers[writer];
        // The inputs lie beside the output, readable by nobody too: a save in
        // a read-only folder runs as nobody, who may not reach the checkout.
        const TempDir dir;
        WriteText(dir.File("map.tessra"), ProjectBytes());
        WriteText(dir.File("in.csv"), "4,5,6,\r\n7,8,9,\r\n");
        fs::copy_file(TESSRA_TEST_DATA "/pcx/magick-p8-7x5.pcx", dir.File("in.pcx"));
        for (const char* tiled : {"map-csv.tmj", "props.tsj", "props.png", "terrain.png"}) {
            fs::copy_file(TESSRA_TEST_DATA "/tiled/" + std::string(tiled), dir.File(tiled));
        }
        for (const auto& input : fs::directory_iterator(dir.Path())) {
            LetAnyoneRead(input.path());
        }
        const SaveFault fault(kind, dir.Path(), w.file, ProjectBytes());
        if (!fault.Unavailable().empty()) {
            QSKIP(fault.Unavailable().c_str());
        }
        const auto before = FolderSnapshot(dir.Path());
        std::string said;
        {
            std::optional<PermissionsHold> permissions;
            if (fault.NeedsUnprivilegedUser() && !permissions.emplace()) {
                QSKIP("cannot take an unprivileged user's identity");
            }
            const WriteLimits limits;
            said = w.save(dir.Path(), fault);
        }
        QVERIFY2(said.find("Cannot write " + fault.Target() + ": ") != std::string::npos,
                 said.c_str());
        QVERIFY2(!fault.IsFull() || said.find(NoSpace) != std::string::npos, said.c_str());
        QVERIFY(kind != Fault::FullDevice || IsCharacterDevice(fault.Target()));
        QVERIFY(FolderSnapshot(dir.Path()) == before);
    }
};

QTEST_MAIN(SaveFaultsTest)
#include "save_faults_test.moc"
