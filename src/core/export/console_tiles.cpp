#include "core/export/console_tiles.h"

#include "core/export/console_limits.h"
#include "core/export/export_layout.h"
#include "core/render/palette_layout.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>

namespace tessra {

namespace {

constexpr int Quarter = TileSize / 2;

struct IndicesHash {
    std::size_t operator()(const TileIndices& tile) const {
        return std::hash<std::string_view>{}(
            std::string_view(reinterpret_cast<const char*>(tile.data()), tile.size()));
    }
};

// Which stored tile shows a tile's quarter, and how it is mirrored there.
struct Stored {
    int number = 0;
    bool hflip = false, vflip = false;
};

// The 64 pixels of one quarter, row by row; outside the picture black.
std::array<Pixel, 64> QuarterPixels(const Surface& picture, int tile, int quarter) {
    std::array<Pixel, 64> pixels{};
    const int left = TileLeft(tile) + Quarter * (quarter % 2);
    const int top = TileTop(tile) + Quarter * (quarter / 2);
    for (int y = 0; y < Quarter; ++y) {
        for (int x = 0; x < Quarter; ++x) {
            pixels[8 * y + x] =
                picture.Contains(left + x, top + y) ? picture.At(left + x, top + y) : Black;
        }
    }
    return pixels;
}

std::string Ordinal(std::size_t n) {
    const std::size_t tens = n % 100, units = n % 10;
    const char* suffix = tens >= 11 && tens <= 13 ? "th"
                         : units == 1             ? "st"
                         : units == 2             ? "nd"
                         : units == 3             ? "rd"
                                                  : "th";
    return std::to_string(n) + suffix;
}

std::string TileAndQuarter(int tile, int quarter) {
    return "Tile " + std::to_string(tile) + ", " + QuarterName(quarter) + ",";
}

std::string Lowered(std::string text) {
    text[0] = static_cast<char>(text[0] - 'A' + 'a');
    return text;
}

// The tiles of the region, each once.
std::array<bool, TileCount> UsedTiles(const MapGrid& map, const ExportRegion& region) {
    std::array<bool, TileCount> used{};
    for (int y = region.Y; y < region.Y + region.H; ++y) {
        const std::uint8_t* row = map.data() + MapGrid::Index(region.X, y);
        for (int i = 0; i < region.W; ++i) {
            used[row[i]] = true;
        }
    }
    return used;
}

// Each used tile's source quarters (tile * 4 + quarter) in the order the
// written entries first show them.
std::vector<int> FirstUseOrder(const MapGrid& map, const TileAttributeTable& attributes,
                               const ExportSettings& settings,
                               const std::array<bool, TileCount>& used) {
    const ExportRegion& region = settings.Region;
    const auto total = static_cast<std::size_t>(4 * std::count(used.begin(), used.end(), true));
    std::vector<int> order;
    order.reserve(total);
    std::array<bool, 4 * TileCount> seen{};
    VisitInWrittenOrder(2 * region.W, 2 * region.H, EffectiveScreen(settings), settings.Order,
                        [&](int x, int y) {
                            const int tile = map(region.X + x / 2, region.Y + y / 2);
                            const TileAttributes& a = attributes[tile];
                            const int dx = a.Hflip ? 1 - x % 2 : x % 2;
                            const int dy = a.Vflip ? 1 - y % 2 : y % 2;
                            const int key = 4 * tile + 2 * dy + dx;
                            if (!seen[key]) {
                                seen[key] = true;
                                order.push_back(key);
                            }
                            return order.size() < total;
                        });
    return order;
}

// The 8 x 8 tiles of image or metatile numbering from 0 to the highest an
// entry names, as tile * 4 + quarter, or -1 where no entry names it.
std::vector<int> NumberedOrder(ExportNumbering numbering, const std::array<bool, TileCount>& used) {
    int highest = -1;
    for (int tile = 0; tile < TileCount; ++tile) {
        for (int q = 0; used[tile] && q < 4; ++q) {
            highest = std::max(highest, QuarterTileNumber(numbering, tile, q % 2, q / 2));
        }
    }
    std::vector<int> order(static_cast<std::size_t>(highest + 1), -1);
    for (int number = 0; number <= highest; ++number) {
        const TileQuarter at = QuarterOfTileNumber(numbering, number);
        if (used[at.tile]) {
            order[number] = 4 * at.tile + at.quarter;
        }
    }
    return order;
}

class TileBuilder {
  public:
    TileBuilder(const TileAttributeTable& attributes, const ExportSettings& settings,
                const ArtInputs& inputs, ConsoleTiles& out)
        : attributes_(attributes), settings_(settings), inputs_(inputs),
          spec_(ConsoleLimitsOf(settings.Hardware)), depth_(settings.Hardware, inputs.NesPalette),
          out_(out) {}

    // Problems of the tiles' attributes; true for a tile refused.
    void CheckAttributes(const std::array<bool, TileCount>& used) {
        for (int tile = 0; tile < TileCount; ++tile) {
            if (!used[tile]) {
                continue;
            }
            const TileAttributes& a = attributes_[tile];
            std::string problem = HardwareTileProblem(settings_, tile, a);
            if (problem.empty() && out_.Bpp == 8 && a.Palette != 0) {
                problem = "has palette " + std::to_string(a.Palette) + ", but at bpp 8 the " +
                          std::string(spec_.name) +
                          " has one palette of 256 colours; set the palette in tile " +
                          std::to_string(tile) + "'s attributes to 0.";
            }
            if (!problem.empty()) {
                refused_[tile] = true;
                out_.Problems.push_back({"Tile " + std::to_string(tile) + " " + problem, tile});
            }
        }
    }

    // The sub-palettes before any tile: the backdrop alone, or fixed by the
    // palette file, or on the Game Boy every colour by brightness.
    void StartPalettes(const std::vector<int>& order) {
        ConsoleColour backdrop = BackdropColour(settings_, inputs_, depth_);
        const std::vector<Pixel>& file = inputs_.PaletteFile;
        if (!bank_.Palettes.empty() && file.empty() && settings_.Hardware != ExportHardware::Gb) {
            const ConsoleColour kept = bank_.Palettes[0][0];
            if (settings_.Backdrop && kept != backdrop) {
                out_.Problems.push_back({"The backdrop setting gives " +
                                         HexColourText(depth_.Show(backdrop)) + ", but the " +
                                         BankName() + "'s backdrop is " +
                                         HexColourText(depth_.Show(kept)) +
                                         "; maps that share a bank share their backdrop."});
            }
            backdrop = kept;
        }
        out_.Palettes.assign(static_cast<std::size_t>(out_.PaletteLimit), {backdrop});
        if (!file.empty()) {
            fixed_ = true;
            for (int p = 0; p < out_.PaletteLimit; ++p) {
                for (int i = 1; i < out_.Room; ++i) {
                    const std::size_t at = static_cast<std::size_t>(p * out_.Room + i);
                    if (at < file.size()) {
                        out_.Palettes[p].push_back(depth_.Reduce(file[at]));
                    }
                }
            }
            CheckBankAgainstFile();
        } else if (settings_.Hardware == ExportHardware::Gb) {
            fixed_ = true;
            out_.Palettes[0] = GameBoyShades(order);
        } else {
            for (std::size_t p = 0; p < bank_.Palettes.size() && p < out_.Palettes.size(); ++p) {
                out_.Palettes[p] = bank_.Palettes[p];
            }
        }
        highestPalette_ = static_cast<int>(bank_.Palettes.size()) - 1;
    }

    // The bank's tiles, stored first with their numbers.
    void StartTiles() {
        for (const TileIndices& tile : bank_.Tiles) {
            stored_.emplace(tile, static_cast<int>(out_.Tiles.size()));
            out_.Tiles.push_back(tile);
        }
        out_.BankTiles = static_cast<int>(out_.Tiles.size());
    }

    // A bank of another console or depth cannot take the map's tiles: it is
    // then left out, so that the problems found are the map's own.
    void UseBank() {
        const TileBank* bank = inputs_.Bank.get();
        if (bank == nullptr) {
            return;
        }
        usingBank_ = true;
        if (bank->Hardware == ExportHardware::None) {
            return;
        }
        if (bank->Hardware != settings_.Hardware || bank->Bpp != out_.Bpp) {
            out_.Problems.push_back({"The " + BankName() + " holds " +
                                     std::string(ConsoleLimitsOf(bank->Hardware).name) +
                                     " tiles at bpp " + std::to_string(bank->Bpp) +
                                     ", but this export is " + std::string(spec_.name) +
                                     " at bpp " + std::to_string(out_.Bpp) +
                                     "; maps that share a bank share the hardware and bpp."});
            usingBank_ = false;
            return;
        }
        bank_ = *bank;
        usingBank_ = true;
        bank_.Palettes.resize(
            std::min(bank_.Palettes.size(), static_cast<std::size_t>(out_.PaletteLimit)));
    }

    // The stored tile of one source quarter, or nothing when it is refused.
    std::optional<TileIndices> Indices(int key) {
        const int tile = key / 4, quarter = key % 4;
        if (refused_[tile]) {
            return std::nullopt;
        }
        const int p = attributes_[tile].Palette;
        std::vector<ConsoleColour>& palette = out_.Palettes[p];
        const std::array<Pixel, 64> pixels = QuarterPixels(*inputs_.Picture, tile, quarter);
        // Each pixel's colour as one of the quarter's few, in the order they appear.
        std::array<std::uint8_t, 64> local{};
        std::vector<ConsoleColour> distinct;
        std::vector<Pixel> firstPixel;
        for (int i = 0; i < 64; ++i) {
            if (i > 0 && pixels[i] == pixels[i - 1]) {
                local[i] = local[i - 1];
                continue;
            }
            const ConsoleColour colour = depth_.Reduce(pixels[i]);
            const auto at = std::find(distinct.begin(), distinct.end(), colour);
            local[i] = static_cast<std::uint8_t>(at - distinct.begin());
            if (at == distinct.end()) {
                distinct.push_back(colour);
                firstPixel.push_back(pixels[i]);
            }
        }
        if (fixed_) {
            for (std::size_t c = 0; c < distinct.size(); ++c) {
                if (std::find(palette.begin(), palette.end(), distinct[c]) == palette.end()) {
                    NotInFile(tile, quarter, p, firstPixel[c]);
                    return std::nullopt;
                }
            }
        } else if (!AddColours(tile, quarter, p, distinct)) {
            return std::nullopt;
        }
        highestPalette_ = std::max(highestPalette_, p);
        std::array<std::uint8_t, 64> index{};
        for (std::size_t c = 0; c < distinct.size(); ++c) {
            index[c] = static_cast<std::uint8_t>(
                std::find(palette.begin(), palette.end(), distinct[c]) - palette.begin());
        }
        TileIndices indices{};
        for (int i = 0; i < 64; ++i) {
            indices[i] = index[local[i]];
        }
        return indices;
    }

    // With unique numbering: the stored tile that shows `indices`, storing it
    // when neither it nor (where the console flips) a mirror image is stored.
    Stored Store(int key, const TileIndices& indices) {
        if (const auto at = stored_.find(indices); at != stored_.end()) {
            return {at->second};
        }
        for (const auto& [h, v] : {std::pair(true, false), {false, true}, {true, true}}) {
            if (!spec_.flips) {
                break;
            }
            if (const auto at = stored_.find(FlippedIndices(indices, h, v)); at != stored_.end()) {
                return {at->second, h, v};
            }
        }
        const int number = static_cast<int>(out_.Tiles.size());
        out_.Tiles.push_back(indices);
        stored_.emplace(indices, number);
        if (number == out_.TileLimit) {
            pastLimit_ = key;
        }
        return {number};
    }

    void Finish(bool unique) {
        for (std::size_t i = 0; i < overflows_.size(); ++i) {
            const auto [p, at] = overflows_[i];
            out_.Problems[at].Message += std::to_string(out_.Palettes[p].size()) + "; " +
                                         Lowered(overflowTile_[i]) + " brings the " +
                                         Ordinal(static_cast<std::size_t>(out_.Room) + 1) + ".";
        }
        out_.Palettes.resize(static_cast<std::size_t>(std::max(highestPalette_, 0) + 1));
        const int stored = static_cast<int>(out_.Tiles.size());
        if (unique && usingBank_) {
            FinishBank();
        } else if (unique && stored > out_.TileLimit) {
            out_.Problems.push_back(
                {"Numbering unique stores " + std::to_string(stored) +
                     " 8 x 8 tiles from tile-base " + std::to_string(settings_.TileBase) +
                     ", but the " + std::string(spec_.name) + " map holds tiles 0 to " +
                     std::to_string(spec_.tileLimit - 1) + "; " +
                     Lowered(TileAndQuarter(pastLimit_ / 4, pastLimit_ % 4)) + " is the " +
                     Ordinal(static_cast<std::size_t>(out_.TileLimit) + 1) + ".",
                 pastLimit_ / 4, pastLimit_ % 4});
        }
    }

  private:
    std::string BankName() const {
        return "tile bank " + (inputs_.BankName.empty() ? std::string("given") : inputs_.BankName);
    }

    // With a palette file, the bank's colours are the file's, in its order.
    void CheckBankAgainstFile() {
        for (std::size_t p = 0; p < bank_.Palettes.size(); ++p) {
            const std::vector<ConsoleColour>& kept = bank_.Palettes[p];
            const std::vector<ConsoleColour>& file = out_.Palettes[p];
            for (std::size_t i = 0; i < kept.size(); ++i) {
                if (i >= file.size() || file[i] != kept[i]) {
                    out_.Problems.push_back(
                        {"Palette " + std::to_string(p) + " of the " + BankName() + " has colour " +
                             HexColourText(depth_.Show(kept[i])) + " at entry " +
                             std::to_string(i) + ", but the palette file has " +
                             (i < file.size() ? HexColourText(depth_.Show(file[i])) : "none") +
                             " there; a bank keeps its colours' numbers.",
                         -1, -1, static_cast<int>(p)});
                    return;
                }
            }
        }
    }

    void FinishBank() {
        const int stored = static_cast<int>(out_.Tiles.size());
        if (stored <= out_.TileLimit) {
            return;
        }
        const std::string limit = "the " + std::string(spec_.name) + " map names tiles 0 to " +
                                  std::to_string(spec_.tileLimit - 1) + " and tile-base is " +
                                  std::to_string(settings_.TileBase);
        if (out_.BankTiles > out_.TileLimit) {
            out_.Problems.push_back({"The " + BankName() + " holds " +
                                     std::to_string(out_.BankTiles) + " 8 x 8 tiles, but " + limit +
                                     "."});
            return;
        }
        out_.Problems.push_back(
            {"The " + BankName() + " would hold " + std::to_string(stored) + " 8 x 8 tiles, but " +
                 limit + "; this map adds " + std::to_string(stored - out_.BankTiles) + ", and " +
                 Lowered(TileAndQuarter(pastLimit_ / 4, pastLimit_ % 4)) + " is the " +
                 Ordinal(static_cast<std::size_t>(out_.TileLimit) + 1) + ".",
             pastLimit_ / 4, pastLimit_ % 4});
    }

    std::string Room(int palette) const {
        if (settings_.Hardware == ExportHardware::Gb) {
            return "the gb has " + std::to_string(out_.Room) + " shades";
        }
        return "palette " + std::to_string(palette) + " has room for " + std::to_string(out_.Room) +
               " with the backdrop";
    }

    // Adds the colours a tile brings to its growing sub-palette; false when
    // the tile alone needs more than the room.
    bool AddColours(int tile, int quarter, int p, const std::vector<ConsoleColour>& distinct) {
        std::vector<ConsoleColour>& palette = out_.Palettes[p];
        const bool hasBackdrop =
            std::find(distinct.begin(), distinct.end(), palette[0]) != distinct.end();
        const std::size_t needs = distinct.size() + (hasBackdrop ? 0 : 1);
        if (needs > static_cast<std::size_t>(out_.Room)) {
            out_.Problems.push_back({TileAndQuarter(tile, quarter) + " needs " +
                                         std::to_string(needs) + " colours; " + Room(p) + ".",
                                     tile, quarter, p});
            return false;
        }
        for (const ConsoleColour colour : distinct) {
            if (std::find(palette.begin(), palette.end(), colour) != palette.end()) {
                continue;
            }
            palette.push_back(colour);
            if (palette.size() == static_cast<std::size_t>(out_.Room) + 1) {
                overflows_.emplace_back(p, out_.Problems.size());
                const bool kept = static_cast<std::size_t>(p) < bank_.Palettes.size() &&
                                  bank_.Palettes[p].size() > 1;
                out_.Problems.push_back(
                    {"Palette " + std::to_string(p) + " has room for " + std::to_string(out_.Room) +
                         " colours with the backdrop, but its tiles " +
                         (kept ? "and the " + BankName() + "'s colours " : std::string()) +
                         "together need ",
                     tile, quarter, p});
                overflowTile_.push_back(TileAndQuarter(tile, quarter));
            }
        }
        return true;
    }

    void NotInFile(int tile, int quarter, int p, Pixel pixel) {
        const int first = p * out_.Room;
        out_.Problems.push_back({TileAndQuarter(tile, quarter) + " has colour " +
                                     HexColourText(pixel) + ", which palette " + std::to_string(p) +
                                     " of the palette file does not hold (the backdrop and the "
                                     "file's colours " +
                                     std::to_string(first + 1) + " to " +
                                     std::to_string(first + out_.Room - 1) + ").",
                                 tile, quarter, p});
    }

    // Every colour of the tiles to be stored, lightest first, so that the
    // shades follow brightness; past four, the tile that brings the fifth is named.
    std::vector<ConsoleColour> GameBoyShades(const std::vector<int>& order) {
        // A bank's colours keep their numbers; the palette byte gives each its shade.
        std::vector<ConsoleColour> colours =
            bank_.Palettes.empty() ? std::vector<ConsoleColour>{} : bank_.Palettes[0];
        const auto kept = static_cast<std::ptrdiff_t>(colours.size());
        for (const int key : order) {
            if (key < 0 || refused_[key / 4]) {
                continue;
            }
            for (const Pixel pixel : QuarterPixels(*inputs_.Picture, key / 4, key % 4)) {
                const ConsoleColour colour = depth_.Reduce(pixel);
                if (std::find(colours.begin(), colours.end(), colour) != colours.end()) {
                    continue;
                }
                colours.push_back(colour);
                if (colours.size() == static_cast<std::size_t>(out_.Room) + 1) {
                    gbFifth_ = key;
                }
            }
        }
        if (gbFifth_ >= 0) {
            out_.Problems.push_back(
                {"The gb has " + std::to_string(out_.Room) +
                     " shades, but the tiles together use " + std::to_string(colours.size()) +
                     " colours; " + Lowered(TileAndQuarter(gbFifth_ / 4, gbFifth_ % 4)) +
                     " brings the " + Ordinal(static_cast<std::size_t>(out_.Room) + 1) + ".",
                 gbFifth_ / 4, gbFifth_ % 4, 0});
        }
        std::stable_sort(
            colours.begin() + kept, colours.end(), [](ConsoleColour a, ConsoleColour b) {
                const std::uint32_t ba = Brightness(PixelOfHex(a)), bb = Brightness(PixelOfHex(b));
                return ba != bb ? ba > bb : a < b;
            });
        return colours;
    }

    const TileAttributeTable& attributes_;
    const ExportSettings& settings_;
    const ArtInputs& inputs_;
    const ConsoleLimits& spec_;
    const ColourDepth depth_;
    ConsoleTiles& out_;
    TileBank bank_; // the bank the map joins, or empty
    bool usingBank_ = false;
    std::array<bool, TileCount> refused_{};
    bool fixed_ = false;
    int highestPalette_ = -1;
    int pastLimit_ = 0;
    int gbFifth_ = -1;
    std::vector<std::pair<int, std::size_t>> overflows_; // palette, its problem
    std::vector<std::string> overflowTile_;
    std::unordered_map<TileIndices, int, IndicesHash> stored_;
};

} // namespace

const char* QuarterName(int quarter) {
    constexpr std::array<const char*, 4> Names = {"top left", "top right", "bottom left",
                                                  "bottom right"};
    return Names[static_cast<std::size_t>(quarter)];
}

std::vector<ConsoleColour> QuarterColours(const Surface& picture, int tile, int quarter,
                                          const ColourDepth& depth) {
    std::vector<ConsoleColour> colours;
    for (const Pixel pixel : QuarterPixels(picture, tile, quarter)) {
        const ConsoleColour colour = depth.Reduce(pixel);
        if (std::find(colours.begin(), colours.end(), colour) == colours.end()) {
            colours.push_back(colour);
        }
    }
    return colours;
}

ConsoleColour BackdropColour(const ExportSettings& settings, const ArtInputs& inputs,
                             const ColourDepth& depth) {
    if (!inputs.PaletteFile.empty()) {
        return depth.Reduce(inputs.PaletteFile.front());
    }
    if (settings.Backdrop) {
        return depth.Reduce(PixelOfHex(*settings.Backdrop));
    }
    const Surface& picture = *inputs.Picture;
    return depth.Reduce(picture.Contains(0, 0) ? picture.At(0, 0) : Black);
}

ConsoleTiles MakeConsoleTiles(const MapGrid& map, const TileAttributeTable& attributes,
                              const ExportSettings& settings, const ArtInputs& inputs) {
    const ConsoleLimits& console = ConsoleLimitsOf(settings.Hardware);
    ConsoleTiles out;
    out.Bpp = EffectiveBpp(settings);
    out.Room = SubPaletteRoom(out.Bpp);
    out.PaletteLimit = SubPaletteCount(console, out.Bpp);
    out.TileLimit = console.tileLimit - settings.TileBase;

    const bool unique = EffectiveNumbering(settings) == ExportNumbering::Unique;
    const std::array<bool, TileCount> used = UsedTiles(map, settings.Region);
    TileBuilder builder(attributes, settings, inputs, out);
    builder.CheckAttributes(used);
    if (unique) {
        builder.UseBank();
    }
    const std::vector<int> order = unique ? FirstUseOrder(map, attributes, settings, used)
                                          : NumberedOrder(EffectiveNumbering(settings), used);
    builder.StartPalettes(order);
    builder.StartTiles();

    std::array<Stored, 4 * TileCount> shown{};
    for (const int key : order) {
        const std::optional<TileIndices> indices = key < 0 ? std::nullopt : builder.Indices(key);
        if (!unique) {
            out.Tiles.push_back(indices.value_or(TileIndices{}));
        } else if (indices) {
            shown[key] = builder.Store(key, *indices);
        }
    }
    builder.Finish(unique);

    if (unique) {
        out.Named.assign(out.Tiles.size(), false);
    }
    for (int tile = 0; unique && tile < TileCount; ++tile) {
        const TileAttributes& a = attributes[tile];
        for (int q = 0; q < 4; ++q) {
            const int dx = a.Hflip ? 1 - q % 2 : q % 2, dy = a.Vflip ? 1 - q / 2 : q / 2;
            const Stored& s = shown[4 * tile + 2 * dy + dx];
            out.Unique[tile][q] = {s.number + settings.TileBase, a.Hflip != s.hflip,
                                   a.Vflip != s.vflip};
            if (used[tile] && !out.Named.empty()) {
                out.Named[static_cast<std::size_t>(s.number)] = true;
            }
        }
    }
    return out;
}

TileBank GrownBank(const ConsoleTiles& tiles, ExportHardware hardware) {
    return {hardware, tiles.Bpp, tiles.Tiles, tiles.Palettes};
}

void RenumberTiles(ConsoleTiles& tiles, const std::vector<int>& numbers, int tileBase) {
    for (auto& entries : tiles.Unique) {
        for (QuarterEntry& entry : entries) {
            const auto at = static_cast<std::size_t>(entry.number - tileBase);
            if (at < numbers.size() && numbers[at] >= 0) {
                entry.number = numbers[at] + tileBase;
            }
        }
    }
}

HardwareBudget CountHardwareBudget(const MapGrid& map, const TileAttributeTable& attributes,
                                   const ExportSettings& settings, const ArtInputs& inputs) {
    if (settings.Hardware == ExportHardware::None) {
        return {"The export settings name no hardware (snes, gba, md, gbc, nes or gb), so "
                "there are no console tiles to count.",
                std::nullopt};
    }
    if (Status checked = CheckExportSettings(settings); !checked) {
        return {checked.message(), std::nullopt};
    }
    return {{}, MakeConsoleTiles(map, attributes, settings, inputs)};
}

std::vector<std::uint8_t> ConsoleTileBytes(const ConsoleTiles& tiles, ExportHardware hardware) {
    std::vector<std::uint8_t> out;
    out.reserve(tiles.Tiles.size() * static_cast<std::size_t>(TileByteCount(tiles.Bpp)));
    for (const TileIndices& tile : tiles.Tiles) {
        AppendTileBytes(out, hardware, tiles.Bpp, tile);
    }
    return out;
}

} // namespace tessra
