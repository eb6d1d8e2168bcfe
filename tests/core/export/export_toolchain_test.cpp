// The C and assembly output, built by the compilers and assemblers that game
// projects use: the bytes they place must be the raw export's, and the sizes
// they read from NAME_SIZE, NAME_WIDTH and NAME_HEIGHT the export's.
#include "core/export/map_export.h"
#include "io/temp_dir.h"

#include <gtest/gtest.h>
#include <regex>
#include <sys/wait.h>

using namespace tessra;

namespace {

// One way to build the output. The test writes the export as level.c or
// level.s and a main.c or main.s that includes it and adds a tail, the three
// sizes as 16-bit little-endian words, then runs script in that folder.
// out.bin must then hold the data at dataAt and the tail at tailAt, or right
// after the data where the compiler aligns it to tailAlign.
struct Toolchain {
    const char* name;
    const char* package; // what brings the tools
    ExportFormat format;
    AsmSyntax syntax;
    const char* asmTail; // main.s after including level.s
    std::string script;
    std::size_t dataAt = 0;
    std::size_t tailAt = std::string::npos;
    std::size_t tailAlign = 1;
};

void PrintTo(const Toolchain& chain, std::ostream* out) {
    *out << chain.name;
}

constexpr const char* CMain =
    "#include \"level.c\"\n"
    "const unsigned char tail[] = {level_SIZE & 255, level_SIZE >> 8, level_WIDTH, 0,\n"
    "                              level_HEIGHT, 0};\n";

std::vector<Toolchain> Toolchains() {
    const std::string ld65 =
        "printf 'MEMORY { ROM: start = $8000, size = $8000, file = %%O; }\\n"
        "SEGMENTS { RODATA: load = ROM, type = ro; CODE: load = ROM, type = ro, optional = yes;"
        " DATA: load = ROM, type = rw, optional = yes; BSS: load = ROM, type = bss, optional ="
        " yes; ZEROPAGE: load = ROM, type = zp, optional = yes; }' >rom.cfg && "
        "ld65 -C rom.cfg -o out.bin main.o";
    const std::string sdld = " && sdldz80 -i out.ihx -b _CODE=0 main.rel >/dev/null && "
                             "sdobjcopy -I ihex -O binary out.ihx out.bin";
    const std::string armCopy = " && arm-none-eabi-objcopy -O binary -j .rodata main.o out.bin";
    const auto C = ExportFormat::C;
    const auto Asm = ExportFormat::Asm;
    // clang-format off
    return {
        {"ca65", "cc65", Asm, AsmSyntax::Ca65, ".word level_SIZE, level_WIDTH, level_HEIGHT",
         "ca65 -o main.o main.s && " + ld65},
        {"cc65", "cc65", C, AsmSyntax::Ca65, "",
         "cc65 -o main.s main.c && ca65 -o main.o main.s && " + ld65},
        {"sdas", "sdcc", Asm, AsmSyntax::Sdas, ".area _CODE\n.dw level_SIZE, level_WIDTH, level_HEIGHT",
         "sdasz80 -o main.rel main.s" + sdld},
        {"sdcc", "sdcc", C, AsmSyntax::Ca65, "", "sdcc -mz80 -c main.c -o main.rel" + sdld},
        {"gas_arm", "binutils-arm-none-eabi", Asm, AsmSyntax::Gas,
         ".section .rodata\n.2byte level_SIZE, level_WIDTH, level_HEIGHT",
         "arm-none-eabi-as -o main.o main.s" + armCopy},
        // ARM GCC aligns arrays to words.
        {"gcc_arm", "gcc-arm-none-eabi", C, AsmSyntax::Ca65, "",
         "arm-none-eabi-gcc -c -o main.o main.c" + armCopy, 0, std::string::npos, 4},
        {"gcc", "gcc", C, AsmSyntax::Ca65, "",
         "gcc -std=c99 -pedantic -Werror -c -o main.o main.c && "
         "objcopy -O binary -j .rodata main.o out.bin"},
        // The ROMX section lands in bank 1, at $4000 in the file; the tail in ROM0.
        {"rgbds", "rgbds, which Debian 12 does not package (https://rgbds.gbdev.io)", Asm,
         AsmSyntax::Rgbds, "SECTION \"tail\", ROM0\ndw level_SIZE, level_WIDTH, level_HEIGHT",
         "rgbasm -o main.o main.s && rgblink -o out.bin main.o", 0x4000, 0},
    };
    // clang-format on
}

MapGrid PatternMap(int tiles) {
    MapGrid map;
    for (int i = 0; i < CellCount; ++i) {
        map.data()[i] = static_cast<std::uint8_t>((i * 37 + i / 256) % tiles);
    }
    return map;
}

// Palettes and flips that differ from tile to tile.
TileAttributeTable PatternAttributes() {
    TileAttributeTable table;
    for (int t = 0; t < TileCount; ++t) {
        table[t] = {static_cast<std::uint8_t>(t % 8), t % 3 == 0, t % 5 == 0, t % 7 == 0, 0};
    }
    return table;
}

// One export the tools build: plain, and the Game Boy Color's two arrays of
// one size each, of which the tail gives the first's.
struct Variant {
    int tiles; // the map's tile numbers are 0..tiles - 1
    int width, height;
    std::size_t arrays;
    std::vector<std::pair<const char*, const char*>> settings;
};

const Variant Variants[] = {
    {240, 37, 9, 1, {{"region", "3,5,37,9"}, {"entry", "u16be"}, {"offset", "7"}}},
    {240, 37, 9, 1, {{"region", "3,5,37,9"}, {"entry", "u16be"}, {"compress", "lz77"}}},
    {128, 74, 18, 2, {{"region", "3,5,37,9"}, {"hardware", "gbc"}}},
};

std::string Tail(std::size_t size, int width, int height) {
    const auto word = [](std::size_t v) {
        return std::string{static_cast<char>(v & 255), static_cast<char>(v >> 8)};
    };
    return word(size) + word(static_cast<std::size_t>(width)) +
           word(static_cast<std::size_t>(height));
}

class ExportToolchain : public ::testing::TestWithParam<Toolchain> {};

} // namespace

TEST_P(ExportToolchain, PlacesTheRawBytes) {
    const Toolchain& chain = GetParam();
    const bool c = chain.format == ExportFormat::C;
    const TileAttributeTable attributes = PatternAttributes();
    for (const Variant& variant : Variants) {
        // rgblink may place the two sections in either order.
        if (variant.arrays > 1 && chain.syntax == AsmSyntax::Rgbds && !c) {
            continue;
        }
        const MapGrid map = PatternMap(variant.tiles);
        ExportSettings settings;
        for (const auto& [name, text] : variant.settings) {
            ASSERT_TRUE(SetExportSetting(settings, name, text).ok());
        }
        const std::string what = DescribeExportSettings(settings);
        const auto raw = ExportMap(map, attributes, settings, "level.bin");
        settings.Format = chain.format;
        settings.Syntax = chain.syntax;
        const TempDir dir;
        const auto built =
            ExportMap(map, attributes, settings, dir.File(c ? "level.c" : "level.s"));
        ASSERT_TRUE(raw.ok() && built.ok()) << built.message();
        for (const ExportFile& file : built.value().Files) {
            WriteText(file.Path, file.Bytes);
        }
        const std::string include = chain.syntax == AsmSyntax::Rgbds ? "INCLUDE" : ".include";
        WriteText(dir.File(c ? "main.c" : "main.s"),
                  c ? CMain : include + " \"level.s\"\n" + chain.asmTail + "\n");
        const std::string command =
            "cd '" + dir.Path().string() + "' && { " + chain.script + "; } >build.log 2>&1";
        const int status = std::system(command.c_str());
        const std::string log = ReadText(dir.File("build.log"));
        if (WIFEXITED(status) && WEXITSTATUS(status) == 127) { // the shell found no such command
            GTEST_SKIP() << log << "The tools come with " << chain.package << ".";
        }
        ASSERT_EQ(status, 0) << log;

        // Each array's size is a multiple of four, so no padding comes between them.
        const std::string data = raw.value().Files[0].Bytes;
        const std::string out = ReadText(dir.File("out.bin"));
        const std::size_t tailAt =
            chain.tailAt != std::string::npos
                ? chain.tailAt
                : (data.size() + chain.tailAlign - 1) / chain.tailAlign * chain.tailAlign;
        EXPECT_EQ(out.substr(chain.dataAt, data.size()), data) << what;
        EXPECT_EQ(out.substr(tailAt, 6),
                  Tail(data.size() / variant.arrays, variant.width, variant.height))
            << what;
    }
}

INSTANTIATE_TEST_SUITE_P(Builds, ExportToolchain, ::testing::ValuesIn(Toolchains()),
                         [](const auto& info) { return std::string(info.param.name); });

// A name an assembler would read as a register or a condition is refused;
// every name taken assembles, and code that uses it reads the label: the
// bytes come out as they do for "level". (In the code, @ is the name.)
TEST(ExportToolchain, NamesTakenAreLabelsToTheAssembler) {
    const char* const candidates[] = {"level", "a",   "A",   "b",    "sp",      "SP", "hl", "hli",
                                      "bc",    "ix",  "iyl", "i",    "r",       "z",  "nc", "po",
                                      "m",     "end", "org", "byte", "section", "r0", "pc", "lr",
                                      "d0",    "a7",  "sr",  "ccr",  "word",    "ld", "jp", "ldr",
                                      "text",  "db",  "dw",  "ds",   "area"};
    const std::string sdld = " && sdobjcopy -I ihex -O binary out.ihx out.bin";
    const struct {
        const char* name;
        const char* package;
        AsmSyntax syntax;
        std::string main; // after including level.s
        std::string script;
    } assemblers[] = {
        {"sdasz80", "sdcc", AsmSyntax::Sdas,
         ".area _CODE\n.dw @_SIZE, @_WIDTH, @_HEIGHT, @, _@\nld hl, #@\nld a, (@)\nld (@), a\n"
         "ld bc, (@)\nld ix, #@\njp @\ncall @\n",
         "sdasz80 -o main.rel main.s && sdldz80 -i out.ihx -b _CODE=0x100 main.rel" + sdld},
        {"sdasgb", "sdcc", AsmSyntax::Sdas,
         ".area _CODE\n.dw @_SIZE, @_WIDTH, @_HEIGHT, @, _@\nld hl, #@\nld a, (@)\nld (@), a\n"
         "ld de, #@\nld bc, #@\nld sp, #@\njp @\ncall @\n",
         "sdasgb -o main.rel main.s && sdldgb -i out.ihx -b _CODE=0x100 main.rel" + sdld},
        {"arm-none-eabi-as", "binutils-arm-none-eabi", AsmSyntax::Gas,
         ".section .rodata\n.2byte @_SIZE, @_WIDTH, @_HEIGHT\n.4byte @\n.text\nldr r1, =@\n"
         "ldr r2, =@_SIZE\nadd r5, r5, #@_SIZE\nbl @\nb @\n.thumb\nldr r1, =@\nbl @\n.pool\n",
         "arm-none-eabi-as -o main.o main.s && arm-none-eabi-ld -Ttext=0x8000 -o main.elf main.o "
         "&& arm-none-eabi-objcopy -O binary main.elf out.bin"},
    };
    for (const auto& assembler : assemblers) {
        std::string expected;
        for (const std::string name : candidates) {
            ExportSettings settings;
            settings.Format = ExportFormat::Asm;
            settings.Syntax = assembler.syntax;
            settings.Name = name;
            settings.Region = {0, 0, 2, 2};
            const auto built = ExportMap(PatternMap(4), {}, settings, "level.s");
            if (!built) {
                EXPECT_NE(name, "level") << built.message();
                continue;
            }
            const TempDir dir;
            WriteText(dir.File("level.s"), built.value().Files[0].Bytes);
            WriteText(dir.File("main.s"),
                      ".include \"level.s\"\n" +
                          std::regex_replace(assembler.main, std::regex("@"), name));
            const std::string command =
                "cd '" + dir.Path().string() + "' && { " + assembler.script + "; } >build.log 2>&1";
            const int status = std::system(command.c_str());
            if (WIFEXITED(status) && WEXITSTATUS(status) == 127) {
                GTEST_SKIP() << assembler.name << " comes with " << assembler.package << ".";
            }
            ASSERT_EQ(status, 0) << assembler.name << ", " << name << ":\n"
                                 << ReadText(dir.File("build.log"));
            const std::string out = ReadText(dir.File("out.bin"));
            if (name == "level") {
                expected = out;
            }
            EXPECT_EQ(out, expected) << assembler.name << ", " << name;
        }
    }
}
