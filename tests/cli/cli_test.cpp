#include "cli_run.h"

using namespace tessra;

namespace {

class Cli : public ::testing::Test {
  protected:
    void SetUp() override {
        MapGrid map;
        map(0, 0) = 3, map(1, 0) = 7, map(2, 0) = 5;
        WriteText(map_, WriteProjectBytes({"tiles, one.pcx"}, map));
        WriteText(csv_, "4,5,6,\r\n7,8,9,\r\n");
    }

    TempDir dir_;
    std::string map_ = dir_.File("map.tessra");
    std::string csv_ = dir_.File("in.csv");
    std::string out_ = dir_.File("out file");
};

} // namespace

TEST_F(Cli, UsageAndHelp) {
    for (const char* flag : {"--help", "-h"}) {
        const CliRun help = RunTool({flag});
        EXPECT_EQ(help.status, ExitSuccess);
        for (const char* command :
             {"export-dat", "export", "import-csv", "swap", "replace", "pcx-to-image", "palette",
              "render", "export-tmx", "import-tmx"}) {
            EXPECT_NE(help.out.find(command), std::string::npos) << command;
            const CliRun own = RunTool({command, map_, flag}); // wherever it stands
            EXPECT_EQ(own.status, ExitSuccess) << command;
            EXPECT_EQ(own.out.rfind(std::string("Usage: tessra-cli ") + command, 0), 0u) << own.out;
        }
    }
    for (const auto& args : std::vector<std::vector<std::string>>{
             {}, {"frob"}, {"swap", map_, "1", "2"}, {"export-dat", map_, "1", "1", out_, "x"}}) {
        const CliRun run = RunTool(args);
        EXPECT_EQ(run.status, ExitUsage) << run.err;
        EXPECT_FALSE(run.err.empty());
    }
}

TEST_F(Cli, CommandsWriteTheirFiles) {
    CliRun run = RunTool({"import-csv", csv_, "3", "2", out_, "a.pcx", "b c.pcx"});
    ASSERT_EQ(run.status, ExitSuccess) << run.err;
    EXPECT_EQ(ReadProject(out_).Tilesets, (std::vector<std::string>{"a.pcx", "b c.pcx"}));

    run = RunTool({"export-dat", out_, "3", "2", dir_.File("map.dat")});
    ASSERT_EQ(run.status, ExitSuccess) << run.err;
    EXPECT_EQ(run.out, "File was exported.\n");
    EXPECT_EQ(ReadText(dir_.File("map.dat")), "\x05\x06\x07\x08\x09\x0a");

    ASSERT_EQ(RunTool({"swap", map_, "3", "7", out_}).status, ExitSuccess);
    ASSERT_EQ(RunTool({"replace", map_, "3", "7", map_}).status, ExitSuccess); // in place
    const ProjectData swapped = ReadProject(out_), replaced = ReadProject(map_);
    EXPECT_EQ(replaced.Tilesets, std::vector<std::string>{"tiles, one.pcx"});
    EXPECT_EQ(std::tuple(swapped.MapData(0, 0), swapped.MapData(1, 0), replaced.MapData(1, 0)),
              std::tuple(7, 3, 7));
}

// Each way a command can refuse: the reason on stderr, exit 1, the output untouched.
TEST_F(Cli, RefusalsLeaveTheOutputAlone) {
    WriteText(dir_.File("empty.csv"), "");
    WriteText(dir_.File("short.tessra"), " 0 \r\n 1 \r\n");
    const std::pair<std::vector<std::string>, const char*> cases[] = {
        {{"import-csv", "", "3", "2", out_}, "No CSV file specified"},
        {{"import-csv", dir_.File("none.csv"), "3", "2", out_}, "File not found: "},
        {{"import-csv", dir_.File("empty.csv"), "3", "2", out_}, "File not found: "},
        {{"import-csv", csv_, "3", "3", out_}, "in.csv: "},
        {{"import-csv", csv_, "3", "2", out_, "a.pcx", "a.pcx"}, "already loaded"},
        {{"export-dat", dir_.File("short.tessra"), "2", "2", out_}, "line 2"},
        {{"replace", dir_.File("none.tessra"), "1", "2", out_}, "none.tessra"},
    };
    for (const auto& [args, message] : cases) {
        ExpectRefused(args, message, out_);
    }
}

// A wrong command line, for every command: exit 2, the command's usage on
// stderr and the output untouched. A number is whole and in range or refused,
// never read from its start ("5x" is no 5).
TEST_F(Cli, UsageErrorsExitTwo) {
    const std::string png = dir_.File("o.png");
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"export-dat", map_, "2.5", "1", out_},
         "W must be a whole number from 1 to 256, not '2.5'"},
        {{"export-dat", map_, "2", "257", out_}, "H must be"},
        {{"export", map_, out_, "--bogus", "1"}, "Unknown option or missing value: --bogus"},
        {{"export", map_, out_, "--region"}, "missing value: --region"},
        {{"export", map_, out_, "--name"}, "missing value: --name"},
        {{"export", map_, out_, "--offset", "5x"}, "The offset setting"},
        {{"export", map_, "-", "--format", "c"}, "must be raw or csv to write to standard output"},
        {{"export", map_, out_, "--hardware", "snes", "--tiles", "-"}, "must name a file"},
        {{"export", map_}, "No output file"},
        {{"export", map_, out_, "x"}, "export takes MAP.tessra and OUT, given 3"},
        {{"export", "--list-formats", map_}, "takes no other arguments"},
        {{"import-csv", csv_, "256", "2", out_}, "W must be a whole number from 1 to 255"},
        {{"import-csv", csv_, "3", "2x", out_}, "H must be"},
        {{"import-image", csv_, out_}, "needs --tileset TILES.png"},
        {{"import-image", csv_, out_, "--tiles", png}, "Unknown option"},
        {{"swap", map_, "a", "b", out_}, "A must be a whole number from 0 to 255, not 'a'"},
        {{"swap", map_, "5x", "20", out_}, "A must be"},
        {{"replace", map_, "5", "-1", out_}, "B must be"},
        {{"replace", map_, "5abc", "7", out_}, "A must be"},
        {{"pcx-to-image", csv_, dir_.File("o.gif")}, ".ppm"},
        {{"palette", out_, "--layout=tiles"}, "The layout must be image or metatile, not 'tiles'"},
        {{"palette", out_, "--layout", "metatile", "--attributes", csv_}, "takes no --attributes"},
        {{"palette", "--layout=image"}, "given no file names"},
        {{"render", map_, png, "--zoom"}, "missing value: --zoom"},
        {{"render", map_, png, "--zoom", "4"}, "zoom"},
        {{"render", map_, png, "--scroll", "1;2"}, "scroll"},
        {{"render", map_, png, "--spin"}, "--spin"},
        {{"render", map_, png, out_}, "render takes MAP.tessra and OUT, given 3"},
        {{"export-tmx", map_, out_}, "must end in .tmx or .tmj"},
        {{"import-tmx", map_}, "wrong number of arguments"},
    };
    for (const auto& [args, message] : cases) {
        ExpectRefused(args, message, out_, ExitUsage);
        const CliRun run = RunTool(args);
        EXPECT_NE(run.err.find("Usage: tessra-cli " + args[0] + ' '), std::string::npos) << run.err;
    }
}

// The program's exit statuses; "-" sends the output down standard output,
// byte for byte what the file would hold and nothing else; a failed write
// there is still reported. As an input, "-" reads standard input.
TEST_F(Cli, StandardOutput) {
    const std::string pcx = TESSRA_TEST_DATA "/pcx/pil-p8-25x18.pcx";
    const std::string piped = dir_.File("piped");
    const std::vector<std::pair<std::string, std::string>> commands = {
        // the command with OUT for the output, the file it writes
        {"pcx-to-image '" + pcx + "' OUT", "out.ppm"},
        {"palette OUT '" + pcx + "'", "palette.ppm"},
        {"export-dat '" + map_ + "' 3 1 OUT", "out.dat"},
        {"export-dat - 3 1 OUT <'" + map_ + "'", "in.dat"},
        {"export '" + map_ + "' OUT --region 0,0,3,2 --entry u16be", "out.bin"},
        {"export '" + map_ + "' OUT --region 0,0,3,2 --format csv", "out.csv"},
    };
    const auto run = [](std::string command, const std::string& out, const std::string& to) {
        return RunProgram(command.replace(command.find("OUT"), 3, out), to);
    };
    EXPECT_EQ(RunProgram(""), ExitUsage);
    for (const auto& [command, file] : commands) {
        ASSERT_EQ(run(command, "'" + dir_.File(file) + "'", "/dev/null"), 0) << command;
        ASSERT_EQ(run(command, "-", "'" + piped + "'"), 0) << command;
        EXPECT_EQ(ReadText(piped), ReadText(dir_.File(file))) << command;
        EXPECT_EQ(run(command, "-", "/dev/full"), 1) << command;
    }
    EXPECT_EQ(ReadText(dir_.File("in.dat")), ReadText(dir_.File("out.dat")));
}
