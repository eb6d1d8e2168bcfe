#include "cli_run.h"
#include "core/export/export_profile.h"
#include "core/formats/tiled/tmx_map.h"
#include "io/bounded_run.h"
#include "io/file_io.h"
#include "io/file_stamp.h"
#include "io/save_faults.h"

#include <fcntl.h>

using namespace tessra;
namespace fs = std::filesystem;

namespace {

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

} // namespace

// Every reader, handed a name that is no file, or too large, or endless
// standard input, refuses at once, in bounded memory, naming it and the reason.
TEST(HostileInput, RefusedAtOnceInBoundedMemory) {
    TempDir dir;
    const std::string out = dir.File("out.ppm"), map = dir.File("map.tessra");
    using Read =
        std::string (*)(const std::string& input, const std::string& out, const std::string& map);
    const struct {
        const char* name;
        std::size_t limit;
        Read read; // what it said
        bool takesStandardInput;
    } readers[] = {
        {"project", ProjectFileLimit.bytes,
         [](auto& in, auto& out, auto&) {
             return RunTool({"export-dat", in, "2", "2", out}).err;
         },
         true},
        {"tileset line", PictureFileLimit.bytes,
         [](auto& in, auto& out, auto& map) {
             WriteText(map, WriteProjectBytes({in}, MapGrid{}));
             return RunTool({"render", map, out, "--zoom", "0"}).err;
         },
         false},
        {"CSV", CsvFileLimit.bytes,
         [](auto& in, auto& out, auto&) {
             return RunTool({"import-csv", in, "2", "2", out}).err;
         },
         true},
        {"PCX", PictureFileLimit.bytes,
         [](auto& in, auto& out, auto&) {
             return RunTool({"pcx-to-image", in, out}).err;
         },
         true},
        {"Tiled map", TiledMapLimit.bytes,
         [](auto& in, auto& out, auto&) {
             return RunTool({"import-tmx", in, out}).err;
         },
         true},
        {"export profile", ExportProfileMaxSize,
         [](auto& in, auto& out, auto& map) {
             WriteText(map, WriteProjectBytes({}, MapGrid{}));
             return RunTool({"export", map, out, "--profile", in}).err;
         },
         false},
        {"stamp", StampFileLimit.bytes,
         [](auto& in, auto&, auto&) { return ReadStampFile(in).message(); }, false},
    };
    ::mkfifo(dir.File("fifo").c_str(), 0600);
    fs::create_directory(dir.File("folder"));
    for (const auto& reader : readers) {
        WriteText(dir.File("large"), ""); // sparse: it takes no room
        fs::resize_file(dir.File("large"), reader.limit + 1);
        const std::pair<std::string, std::string> inputs[] = {
            {"/dev/zero", "Cannot read /dev/zero: it is a device, not a file"},
            {dir.File("fifo"), "Cannot read " + dir.File("fifo") + ": it is a named pipe"},
            {dir.File("folder"), "Cannot read " + dir.File("folder") + ": it is a folder"},
            {dir.File("large"), "Cannot read " + dir.File("large") + ": it holds more than"},
            {"-", "Cannot read standard input: it holds more than"}, // endless
        };
        for (const auto& [input, refusal] : inputs) {
            if (input == "-" && !reader.takesStandardInput) {
                continue;
            }
            // Reading 256 MB of endless input takes seconds on a busy machine:
            // the time limit only catches a reader that never stops.
            const std::string said = RunBounded(
                [&, input = input] {
                    ::dup2(::open("/dev/zero", O_RDONLY), STDIN_FILENO);
                    return reader.read(input, out, map);
                },
                60);
            EXPECT_TRUE(Contains(said, refusal)) << reader.name << ": " << said;
            EXPECT_FALSE(fs::exists(out)) << reader.name << ", " << input;
        }
    }
}

// Tiled maps under the size limit whose values would parse into gigabytes are
// refused before they are parsed; one at the limit of values is parsed within
// the memory cap.
TEST(HostileInput, TiledMapsOfManyValuesStayInBoundedMemory) {
    TempDir dir;
    const std::size_t fill = TiledMapLimit.bytes - 64, most = TiledMostValues;
    const auto Repeated = [](const std::string& unit, std::size_t times) {
        std::string text;
        for (text.reserve(unit.size() * times); times > 0; --times) {
            text += unit;
        }
        return text;
    };
    const struct {
        const char* name;
        std::string text;
        const char* said;
    } cases[] = {
        {"objects.tmj", "{\"a\": [" + Repeated("{},", fill / 3) + "{}]}",
         "more than 2000000 JSON values"},
        {"elements.tmx", "<map>" + Repeated("<a/>", fill / 4) + "</map>",
         "more than 2000000 elements and attributes"},
        {"attributes.tmx", "<map" + Repeated(" a=''", fill / 5) + "/>",
         "more than 2000000 elements and attributes"},
        {"csv.tmx",
         "<map width='2' height='2' tilewidth='16' tileheight='16'><layer width='2' "
         "height='2'><data encoding='csv'>" +
             Repeated("0,", fill / 2 - 100) + "0</data></layer></map>",
         "its data holds more than 4 cells, not 2 x 2"},
        {"edge.tmj", "{\"a\": [" + Repeated("{},", most - 4) + "{}]}", "its tiles are 0 x 0"},
        {"edge.tmx", "<map>" + Repeated("<a/>", most - 2) + "</map>", "its tiles are 0 x 0"},
    };
    for (const auto& c : cases) {
        WriteText(dir.File(c.name), c.text);
        const std::string said = RunBounded(
            [&] {
                return RunTool({"import-tmx", dir.File(c.name), dir.File("o")}).err;
            },
            60);
        EXPECT_TRUE(Contains(said, c.said)) << c.name << ": " << said.substr(0, 300);
        fs::remove(dir.File(c.name));
    }
    EXPECT_FALSE(fs::exists(dir.File("o")));
}

namespace {

class CliFiles : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::copy_file(TESSRA_TEST_DATA "/pcx/pil-p8-40x24.pcx", tiles_);
        MapGrid map;
        map(0, 0) = 1;
        WriteText(map_, WriteProjectBytes({"tiles.pcx"}, map));
        WriteText(csv_, "4,5,6,\r\n7,8,9,\r\n");
    }

    TempDir dir_;
    std::string map_ = dir_.File("map.tessra"), tiles_ = dir_.File("tiles.pcx"),
                csv_ = dir_.File("in.csv");
};

} // namespace

// An output that is one of the inputs, of another kind, would destroy it: it
// is refused under any name. A project written back over itself is allowed.
TEST_F(CliFiles, OutputThatIsAnInputIsRefused) {
    fs::create_symlink(map_, dir_.File("map.bmp"));
    fs::create_symlink(tiles_, dir_.File("tiles.png"));
    fs::create_hard_link(tiles_, dir_.File("tiles.ppm"));
    fs::create_symlink(map_, dir_.File("map.tmx"));
    const std::vector<std::string> cases[] = {
        {"export-dat", map_, "2", "2", map_},
        {"import-csv", csv_, "3", "2", csv_},
        {"pcx-to-image", tiles_, dir_.File("tiles.ppm")},
        {"palette", dir_.File("tiles.png"), tiles_},
        {"render", map_, dir_.File("map.bmp"), "--zoom", "0"},
        {"render", map_, dir_.File("tiles.ppm"), "--zoom", "0"}, // its tileset
        {"export-tmx", map_, dir_.File("map.tmx")},
        {"import-tmx", dir_.File("map.tmx"), map_},
    };
    const auto before = FolderSnapshot(dir_.Path());
    for (const auto& args : cases) {
        const CliRun run = RunTool(args);
        EXPECT_EQ(run.status, ExitRefused) << args[0];
        EXPECT_TRUE(Contains(run.err, "it is the same file as the input")) << run.err;
    }
    EXPECT_EQ(FolderSnapshot(dir_.Path()), before);
    EXPECT_EQ(RunTool({"swap", map_, "1", "2", map_}).status, ExitSuccess);
}

// Names that are not UTF-8 are the system's bytes: read and written as they are.
TEST_F(CliFiles, NamesAreBytes) {
    const std::string latin1 = "\xE9t\xE9"; // "été" in ISO 8859-1
    fs::rename(tiles_, dir_.File(latin1 + ".pcx"));
    WriteText(dir_.File(latin1 + ".tessra"), WriteProjectBytes({latin1 + ".pcx"}, MapGrid{}));
    const std::vector<std::string> commands[] = {
        {"render", dir_.File(latin1 + ".tessra"), dir_.File(latin1 + ".ppm"), "--zoom", "0"},
        {"export-dat", dir_.File(latin1 + ".tessra"), "2", "2", dir_.File(latin1 + ".dat")},
        {"pcx-to-image", dir_.File(latin1 + ".pcx"), dir_.File(latin1 + "-2.ppm")},
    };
    for (const auto& args : commands) {
        const CliRun run = RunTool(args);
        EXPECT_EQ(run.status, ExitSuccess) << run.err;
        EXPECT_TRUE(fs::exists(args[args[0] == "export-dat" ? 4 : 2])) << args[0];
    }
}

// A megabyte of argument or path makes a message of about a hundred bytes of it.
TEST_F(CliFiles, LongValuesMakeShortMessages) {
    const std::string huge(1 << 20, 'x');
    std::vector<std::string> many;
    for (int i = 0; i < 500; ++i) {
        many.push_back("missing" + std::to_string(i) + ".pcx");
    }
    WriteText(dir_.File("many.tessra"), WriteProjectBytes(many, MapGrid{}));
    WriteText(dir_.File("long.tessra"), WriteProjectBytes({huge}, MapGrid{}));
    const std::vector<std::string> cases[] = {
        {huge},
        {"render", map_, dir_.File("o.ppm"), "--zoom", huge},
        {"render", map_, dir_.File("o.ppm"), "--scroll", huge},
        {"render", map_, dir_.File("o.ppm"), "--" + huge},
        {"render", dir_.File("many.tessra"), dir_.File("o.ppm")},
        {"render", dir_.File("long.tessra"), dir_.File("o.ppm")},
        {"export-dat", map_, "2", "2", dir_.File(huge)},
        {"export-dat", dir_.File(huge), "2", "2", dir_.File("o.dat")},
        {"import-csv", csv_, "3", "2", dir_.File("o.tessra"), "a\n" + huge},
        {"pcx-to-image", tiles_, huge},
    };
    for (const auto& args : cases) {
        const CliRun run = RunTool(args);
        EXPECT_NE(run.status, ExitSuccess);
        EXPECT_LT(run.err.size(), 1500u) << run.err.substr(0, 2000);
    }
}
