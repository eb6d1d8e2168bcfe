#include "cli_run.h"
#include "io/save_fault_check.h"

using namespace tessra;

namespace {

// Every command that writes a file; OUT stands for the output's name, which
// ends in `extension` because the image commands choose their format by it.
struct WritingCommand {
    const char* name;
    std::vector<std::string> args;
    const char* extension;
};

const WritingCommand Commands[] = {
    {"ExportDat", {"export-dat", "MAP", "2", "2", "OUT"}, ".dat"},
    {"Export", {"export", "MAP", "OUT", "--compress", "lz77"}, ".bin"},
    {"ExportC", {"export", "MAP", "OUT", "--format", "c"}, ".c"}, // and its header
    {"ImportCsv", {"import-csv", "CSV", "3", "2", "OUT"}, ".tessra"},
    {"ImportImage", {"import-image", "PNG", "OUT", "--tileset", "OUT.png"}, ".tessra"},
    {"Swap", {"swap", "MAP", "1", "2", "OUT"}, ".tessra"},
    {"Replace", {"replace", "MAP", "1", "2", "OUT"}, ".tessra"},
    {"PcxToImage", {"pcx-to-image", "PCX", "OUT"}, ".ppm"},
    {"Palette", {"palette", "OUT", "PCX"}, ".png"},
    {"Render", {"render", "MAP", "OUT", "--zoom", "1"}, ".bmp"},
    {"ExportTmx", {"export-tmx", "MAP", "OUT"}, ".tmx"},
    {"ImportTmx", {"import-tmx", "TMX", "OUT"}, ".tessra"},
};

class SaveFaults : public ::testing::TestWithParam<std::tuple<WritingCommand, Fault>> {
  protected:
    // The inputs lie beside the output, readable by nobody too: a save in a
    // read-only folder runs as nobody, who may not reach the checkout.
    void SetUp() override {
        MapGrid map;
        map(0, 0) = 1;
        WriteText(dir_.File("map.tessra"), WriteProjectBytes({}, map));
        WriteText(dir_.File("in.csv"), "4,5,6,\r\n7,8,9,\r\n");
        std::filesystem::copy_file(TESSRA_TEST_DATA "/pcx/magick-p8-7x5.pcx", dir_.File("in.pcx"));
        for (const char* tiled : {"map-csv.tmj", "props.tsj", "props.png", "terrain.png"}) {
            std::filesystem::copy_file(TESSRA_TEST_DATA "/tiled/" + std::string(tiled),
                                       dir_.File(tiled));
        }
        for (const auto& input : std::filesystem::directory_iterator(dir_.Path())) {
            LetAnyoneRead(input.path());
        }
    }

    // Runs the command with `out` as its output.
    CliRun Run(const WritingCommand& command, const std::string& out) {
        std::vector<std::string> args;
        for (const std::string& arg : command.args) {
            args.push_back(arg == "OUT"       ? out
                           : arg == "MAP"     ? dir_.File("map.tessra")
                           : arg == "CSV"     ? dir_.File("in.csv")
                           : arg == "PCX"     ? dir_.File("in.pcx")
                           : arg == "TMX"     ? dir_.File("map-csv.tmj")
                           : arg == "PNG"     ? dir_.File("terrain.png")
                           : arg == "OUT.png" ? out + ".png"
                                              : arg);
        }
        return RunTool(args);
    }

    TempDir dir_;
};

} // namespace

// The command fails with the file's name and the cause in its message, and
// nothing on disk changes.
TEST_P(SaveFaults, ReportedAndNothingLost) {
    const auto& [command, kind] = GetParam();
    ExpectSaveFaultReported(kind, dir_.Path(), std::string("out") + command.extension,
                            [&](const std::string& target) {
                                const CliRun run = Run(command, target);
                                EXPECT_EQ(run.status, ExitRefused) << run.err;
                                return run.err;
                            });
}

namespace {

// Short names for the parameters in test listings.
void PrintTo(const WritingCommand& command, std::ostream* out) {
    *out << command.name;
}

std::string CaseName(const ::testing::TestParamInfo<SaveFaults::ParamType>& info) {
    return std::string(std::get<0>(info.param).name) + "_" + FaultName(std::get<1>(info.param));
}

} // namespace

INSTANTIATE_TEST_SUITE_P(EachCommand, SaveFaults,
                         ::testing::Combine(::testing::ValuesIn(Commands),
                                            ::testing::Values(Fault::FullDevice, Fault::FullDisk,
                                                              Fault::ReadOnlyFolder,
                                                              Fault::Folder)),
                         CaseName);
