#include "../platform/bounded_run.h"
#include "../platform/save_faults.h"
#include "../platform/temp_dir.h"
#include "cli/cli.h"
#include "core/project_file.h"
#include "platform/file_io.h"
#include "platform/file_stamp.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sstream>

using namespace tessra;
namespace fs = std::filesystem;

namespace {

struct CliRun {
    int status;
    std::string err;
};

CliRun RunTool(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    const int status = RunCli(args, out, err);
    return {status, err.str()};
}

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// The inputs a user or another program can hand over, and how each reader
// must answer: at once, in bounded memory, naming the input and the reason.
enum class Source { EndlessDevice, Fifo, Folder, TooLarge, EndlessStandardInput };
enum class Reader { Project, TilesetLine, Csv, Pcx, Stamp };

const char* SourceName(Source source) {
    constexpr const char* names[] = {"EndlessDevice", "Fifo", "Folder", "TooLarge",
                                     "EndlessStandardInput"};
    return names[static_cast<int>(source)];
}

const char* ReaderName(Reader reader) {
    constexpr const char* names[] = {"Project", "TilesetLine", "Csv", "Pcx", "Stamp"};
    return names[static_cast<int>(reader)];
}

std::size_t LimitOf(Reader reader) {
    switch (reader) {
    case Reader::Project:
        return ProjectFileLimit.bytes;
    case Reader::Csv:
        return CsvFileLimit.bytes;
    case Reader::Stamp:
        return StampFileLimit.bytes;
    default:
        return PictureFileLimit.bytes;
    }
}

class HostileInput : public ::testing::TestWithParam<std::tuple<Source, Reader>> {
  protected:
    // The name to hand over, made ready, and what the message must say about it.
    std::pair<std::string, std::string> Prepare(Source source, Reader reader) {
        switch (source) {
        case Source::EndlessDevice:
            return {"/dev/zero", "it is a device, not a file"};
        case Source::Fifo:
            ::mkfifo(dir_.File("fifo").c_str(), 0600);
            return {dir_.File("fifo"), "it is a named pipe, not a file"};
        case Source::Folder:
            fs::create_directory(dir_.File("folder"));
            return {dir_.File("folder"), "it is a folder, not a file"};
        case Source::TooLarge: // sparse: it takes no room
            WriteText(dir_.File("large"), "");
            fs::resize_file(dir_.File("large"), LimitOf(reader) + 1);
            return {dir_.File("large"), "it holds more than"};
        case Source::EndlessStandardInput:
            break;
        }
        return {"-", "Cannot read standard input: it holds more than"};
    }

    // Reads `input` as `reader` does; what it said.
    std::string Read(Reader reader, const std::string& input) {
        const std::string out = dir_.File("out.ppm");
        switch (reader) {
        case Reader::Project:
            return RunTool({"export-dat", input, "2", "2", out}).err;
        case Reader::TilesetLine:
            WriteText(dir_.File("map.tessra"), WriteProjectBytes({input}, MapGrid{}));
            return RunTool({"render", dir_.File("map.tessra"), out, "--zoom", "0"}).err;
        case Reader::Csv:
            return RunTool({"import-csv", input, "2", "2", out}).err;
        case Reader::Pcx:
            return RunTool({"pcx-to-image", input, out}).err;
        case Reader::Stamp:
            break;
        }
        return ReadStampFile(input).message();
    }

    TempDir dir_;
};

} // namespace

TEST_P(HostileInput, RefusedAtOnceInBoundedMemory) {
    const Source source = std::get<0>(GetParam());
    const Reader reader = std::get<1>(GetParam());
    const auto [input, reason] = Prepare(source, reader);
    const std::string said = RunBounded(
        [&, input = input] {
            ::dup2(::open("/dev/zero", O_RDONLY), STDIN_FILENO);
            return Read(reader, input);
        },
        {.seconds = 10, .memoryBytes = rlim_t{1} << 30});
    EXPECT_TRUE(Contains(said, input == "-" ? reason : "Cannot read " + input + ": " + reason))
        << said;
    EXPECT_FALSE(fs::exists(dir_.File("out.ppm")));
}

std::string CaseName(const ::testing::TestParamInfo<HostileInput::ParamType>& info) {
    return std::string(SourceName(std::get<0>(info.param))) + "_" +
           ReaderName(std::get<1>(info.param));
}

INSTANTIATE_TEST_SUITE_P(EachFile, HostileInput,
                         ::testing::Combine(::testing::Values(Source::EndlessDevice, Source::Fifo,
                                                              Source::Folder, Source::TooLarge),
                                            ::testing::Values(Reader::Project, Reader::TilesetLine,
                                                              Reader::Csv, Reader::Pcx,
                                                              Reader::Stamp)),
                         CaseName);
// Standard input is offered where a command reads one file.
INSTANTIATE_TEST_SUITE_P(StandardInput, HostileInput,
                         ::testing::Combine(::testing::Values(Source::EndlessStandardInput),
                                            ::testing::Values(Reader::Project, Reader::Csv,
                                                              Reader::Pcx)),
                         CaseName);

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
    const std::vector<std::string> cases[] = {
        {"export-dat", map_, "2", "2", map_},
        {"import-csv", csv_, "3", "2", csv_},
        {"pcx-to-image", tiles_, dir_.File("tiles.ppm")},
        {"palette", dir_.File("tiles.png"), tiles_},
        {"render", map_, dir_.File("map.bmp"), "--zoom", "0"},
        {"render", map_, dir_.File("tiles.ppm"), "--zoom", "0"}, // its tileset
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

// "-" as an input reads standard input, as a file would be read.
TEST_F(CliFiles, StandardInput) {
    const std::string said = RunBounded([&] {
        ::dup2(::open(map_.c_str(), O_RDONLY), STDIN_FILENO);
        const CliRun run = RunTool({"export-dat", "-", "2", "1", dir_.File("map.dat")});
        return run.err + ReadText(dir_.File("map.dat"));
    });
    EXPECT_EQ(said, std::string("\x01\x00", 2));
}
