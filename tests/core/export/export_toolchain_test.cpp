// The C and assembly output, built by the compilers and assemblers that game
// projects use: the bytes they place must be the raw export's, and the sizes
// they read from NAME_SIZE, NAME_WIDTH and NAME_HEIGHT the export's.
#include "core/render/palette_layout.h"
#include "export_fixtures.h"
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
    Settings settings;
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

// Runs a script in the folder: its status, what it printed, or a skip when
// the shell found no such command.
struct ToolRun {
    int status;
    std::string log;
    bool missing;
};

ToolRun RunIn(const TempDir& dir, const std::string& script) {
    const std::string command =
        "cd '" + dir.Path().string() + "' && { " + script + "; } >build.log 2>&1";
    const int status = std::system(command.c_str());
    const bool missing = WIFEXITED(status) && WEXITSTATUS(status) == 127;
    return {status, ReadText(dir.File("build.log")), missing};
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
        ExportSettings settings = Make(variant.settings);
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
        const ToolRun run = RunIn(dir, chain.script);
        if (run.missing) {
            GTEST_SKIP() << run.log << "The tools come with " << chain.package << ".";
        }
        ASSERT_EQ(run.status, 0) << run.log;

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
            const ToolRun run = RunIn(dir, assembler.script);
            if (run.missing) {
                GTEST_SKIP() << assembler.name << " comes with " << assembler.package << ".";
            }
            ASSERT_EQ(run.status, 0) << assembler.name << ", " << name << ":\n" << run.log;
            const std::string out = ReadText(dir.File("out.bin"));
            if (name == "level") {
                expected = out;
            }
            EXPECT_EQ(out, expected) << assembler.name << ", " << name;
        }
    }
}

namespace {

// A map of 16 tiles drawn in four colours a palette, each tile its own
// palette of the console's; mirror images among them where the console flips.
struct Level {
    Surface picture{PaletteWidth, PaletteHeight};
    TileAttributeTable attributes;
    MapGrid map;
};

Level MakeLevel(int palettes, bool flips) {
    Level level;
    for (int t = 0; t < 16; ++t) {
        const auto shade = [t](int i) { return Rgb(60 * i, 40 * (t % 4) + 20 * i, 255 - 60 * i); };
        for (int y = 0; y < TileSize; ++y) {
            for (int x = 0; x < TileSize; ++x) {
                const int i = (x * 7 + y * 3 + t) % 5 % 4;
                level.picture.Set(TileLeft(t) + x, TileTop(t) + y, i == 0 ? Black : shade(i));
            }
        }
        level.attributes[t] = {static_cast<std::uint8_t>(t % palettes), false, flips && t % 3 == 0,
                               flips && t % 5 == 0, 0};
    }
    for (int i = 0; i < CellCount; ++i) {
        level.map.data()[i] = static_cast<std::uint8_t>((i * 7 + i / 256) % 16);
    }
    return level;
}

// The export's files written into the folder, and its raw bytes for the three
// outputs, one after the other.
std::string WriteLevel(const TempDir& dir, const Level& level, ExportSettings settings) {
    ArtInputs art;
    art.Picture = &level.picture;
    settings.Tiles = dir.File("level_tiles.s");
    settings.Palettes = dir.File("level_palettes.s");
    const auto built = ExportMap(level.map, level.attributes, settings, dir.File("level.s"), &art);
    EXPECT_TRUE(built.ok()) << built.message();
    for (const ExportFile& file : built.ok() ? built.value().Files : std::vector<ExportFile>{}) {
        WriteText(file.Path, file.Bytes);
    }
    settings.Format = ExportFormat::Raw; // raw takes no syntax and no name
    settings.Syntax = AsmSyntax::Ca65, settings.Name.clear();
    settings.Tiles = "t.bin", settings.Palettes = "p.bin";
    const auto raw = ExportMap(level.map, level.attributes, settings, "m.bin", &art);
    EXPECT_TRUE(raw.ok());
    const auto& files = raw.value().Files;
    return files.at(0).Bytes + files.at(1).Bytes + files.at(2).Bytes;
}

// An NES program with CHR RAM that loads the three outputs: reset copies the
// palettes to the PPU; the tiles and screens go by address and size.
constexpr const char* NesMain = R"(.include "level.s"
.include "level_tiles.s"
.include "level_palettes.s"
.segment "HEADER"
    .byte "NES", $1A, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0
.segment "CODE"
reset:
    lda #$3F
    sta $2006
    ldx #0
    stx $2006
:   lda level_palettes,x
    sta $2007
    inx
    cpx #level_palettes_SIZE
    bne :-
    jmp reset
nmi:
    rti
sources:
    .word level_tiles, level_tiles_SIZE, level, level_SIZE
.segment "VECTORS"
    .word nmi, reset, nmi
)";

constexpr const char* NesConfig = R"(MEMORY {
    HEADER: start = 0, size = 16, file = %O, fill = yes;
    PRG: start = $8000, size = $8000, file = %O, fill = yes;
}
SEGMENTS {
    HEADER: load = HEADER, type = ro;
    CODE: load = PRG, type = ro;
    RODATA: load = PRG, type = ro;
    VECTORS: load = PRG, type = ro, start = $FFFA;
}
)";

constexpr const char* NesScript = "ca65 -o main.o main.s && ld65 -C nes.cfg -o out.bin main.o";
constexpr const char* GbaMain =
    ".include \"level.s\"\n.include \"level_tiles.s\"\n.include \"level_palettes.s\"\n";
constexpr const char* GbaScript = "arm-none-eabi-as --fatal-warnings -o main.o main.s && "
                                  "arm-none-eabi-objcopy -O binary -j .rodata main.o out.bin";

} // namespace

// The map, tiles and palettes in a program, built without a warning: an NES
// ROM by ca65 and ld65, the bytes in its PRG ROM whole; the GBA's outputs by
// GNU as for ARM with every warning, each array padded to a word, so that
// they follow one another in its read-only data.
TEST(ExportToolchain, ProgramsBuildTheThreeOutputsWithoutWarnings) {
    const Settings gba = {
        {"hardware", "gba"}, {"region", "0,0,30,20"}, {"syntax", "gas"}, {"compress", "lz77"}};
    const struct {
        Settings settings;
        int palettes;
        bool flips;
        const char* main;
        const char* script;
        const char* package;
        std::size_t size; // of the built file; 0: the three outputs' alone
    } cases[] = {
        {{{"hardware", "nes"}, {"region", "16,15,32,30"}},
         4,
         false,
         NesMain,
         NesScript,
         "cc65",
         16 + 0x8000},
        {gba, 16, true, GbaMain, GbaScript, "binutils-arm-none-eabi", 0},
        {gba, 1, true, GbaMain, GbaScript, "binutils-arm-none-eabi", 0},
    };
    for (const auto& c : cases) {
        const TempDir dir;
        Settings texts = c.settings;
        texts.insert(texts.end(), {{"numbering", "unique"}, {"format", "asm"}});
        if (c.palettes == 1) {
            texts.push_back({"bpp", "8"});
        }
        const std::string raw = WriteLevel(dir, MakeLevel(c.palettes, c.flips), Make(texts));
        WriteText(dir.File("main.s"), c.main);
        WriteText(dir.File("nes.cfg"), NesConfig);
        const ToolRun run = RunIn(dir, c.script);
        if (run.missing) {
            GTEST_SKIP() << run.log << "The tools come with " << c.package << ".";
        }
        ASSERT_EQ(run.status, 0) << run.log;
        EXPECT_EQ(run.log, "");
        const std::string out = ReadText(dir.File("out.bin"));
        EXPECT_EQ(out.size(), c.size ? c.size : raw.size()) << c.palettes;
        EXPECT_NE(out.find(raw), std::string::npos) << c.palettes;
    }
}

// A module that imports the sizes, as .import does (absolute), links with no
// word from ld65, whether a size would fit the zero page or needs more than
// 16 bits.
TEST(ExportToolchain, Ca65ImportedSizesLinkWithoutWarnings) {
    for (const char* region : {"3,5,7,9", "0,0,256,256"}) {
        ExportSettings settings;
        ASSERT_TRUE(SetExportSetting(settings, "region", region).ok());
        settings.Format = ExportFormat::Asm;
        const TempDir dir;
        const auto built = ExportMap(PatternMap(240), {}, settings, dir.File("level.s"));
        ASSERT_TRUE(built.ok()) << built.message();
        WriteText(dir.File("level.s"), built.value().Files[0].Bytes);
        WriteText(dir.File("main.s"), ".import level, level_SIZE, level_WIDTH, level_HEIGHT\n"
                                      ".segment \"CODE\"\n"
                                      "    lda #<level_SIZE\n    ldx #>level_SIZE\n"
                                      "    .word level, level_WIDTH, level_HEIGHT\n");
        WriteText(dir.File("rom.cfg"), "MEMORY { ROM: start = $0, size = $20000, file = %O; }\n"
                                       "SEGMENTS { RODATA: load = ROM, type = ro;"
                                       " CODE: load = ROM, type = ro; }\n");
        // ca65 says a size past 16 bits is far; ld65 alone is asked for silence.
        const ToolRun run = RunIn(dir, "ca65 -o level.o level.s 2>/dev/null && ca65 -o main.o "
                                       "main.s && ld65 -C rom.cfg -o out.bin main.o level.o");
        if (run.missing) {
            GTEST_SKIP() << run.log << "ca65 and ld65 come with cc65.";
        }
        ASSERT_EQ(run.status, 0) << run.log;
        EXPECT_EQ(run.log, "") << region;
    }
}
