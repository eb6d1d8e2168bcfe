#include "core/convert/level_picture.h"

#include "core/base/message_text.h"
#include "core/formats/pcx.h"
#include "core/formats/png.h"
#include "core/formats/tileset_picture.h"
#include "core/render/palette_layout.h"

#include <bit>
#include <cstring>
#include <filesystem>
#include <optional>
#include <utility>
#include <vector>

namespace tessra {

namespace {

constexpr std::size_t CellRowBytes = TileSize * sizeof(Pixel);

std::optional<std::pair<int, int>> SizeOfHeader(std::span<const std::uint8_t> file) {
    if (HasPngSignature(file)) {
        return PngPictureSize(file);
    }
    constexpr std::uint8_t PcxManufacturer = 0x0A;
    if (!file.empty() && file[0] == PcxManufacturer) {
        return PcxPictureSize(file);
    }
    return std::nullopt;
}

// Where a cell's top-left pixel lies and how far apart its rows are.
struct CellPixels {
    const Pixel* top;
    std::size_t stride;

    const Pixel* Row(int y) const { return top + y * stride; }
};

// Four lanes, so that the multiplications do not wait on one another.
std::uint64_t HashCell(const CellPixels& cell) {
    constexpr std::uint64_t Mix = 0x9E3779B97F4A7C15u;
    std::uint64_t lanes[4] = {1, 2, 3, 4};
    for (int y = 0; y < TileSize; ++y) {
        const auto* row = reinterpret_cast<const unsigned char*>(cell.Row(y));
        for (std::size_t at = 0; at < CellRowBytes; at += 4 * sizeof(std::uint64_t)) {
            for (int lane = 0; lane < 4; ++lane) {
                std::uint64_t word;
                std::memcpy(&word, row + at + lane * sizeof word, sizeof word);
                lanes[lane] = std::rotl((lanes[lane] ^ word) * Mix, 29);
            }
        }
    }
    return (lanes[0] ^ std::rotl(lanes[1], 13) ^ std::rotl(lanes[2], 27) ^
            std::rotl(lanes[3], 41)) *
           Mix;
}

bool SameCell(const CellPixels& a, const CellPixels& b) {
    for (int y = 0; y < TileSize; ++y) {
        if (std::memcmp(a.Row(y), b.Row(y), CellRowBytes) != 0) {
            return false;
        }
    }
    return true;
}

} // namespace

Status CheckLevelPictureSize(int width, int height) {
    const auto fits = [](int side) {
        return side > 0 && side % TileSize == 0 && side <= LevelPictureMaxSize;
    };
    if (fits(width) && fits(height)) {
        return {};
    }
    return Error{"The picture is " + std::to_string(width) + " x " + std::to_string(height) +
                 " pixels; a level picture's width and height must be multiples of 16, at most " +
                 std::to_string(LevelPictureMaxSize) + " x " + std::to_string(LevelPictureMaxSize) +
                 "."};
}

Result<Surface> DecodeLevelPicture(std::span<const std::uint8_t> file, std::string_view name) {
    if (const auto size = SizeOfHeader(file)) {
        if (Status fits = CheckLevelPictureSize(size->first, size->second); !fits) {
            return Error{Shortened(name) + ": " + fits.message()};
        }
    }
    if (const std::optional<std::string> note = UndrawnPictureNote(file, Shortened(name))) {
        return Error{*note};
    }
    Result<Surface> picture = DecodeTilesetPicture(file, Shortened(name));
    if (!picture) {
        return picture;
    }
    // A header the size was not read from, which decoding still accepted.
    if (Status fits = CheckLevelPictureSize(picture.value().Width(), picture.value().Height());
        !fits) {
        return Error{Shortened(name) + ": " + fits.message()};
    }
    return picture;
}

Result<LevelCut> CutLevelPicture(const Surface& picture) {
    const int columns = picture.Width() / TileSize;
    const int rows = picture.Height() / TileSize;
    const auto cellAt = [&picture](int column, int row) {
        return CellPixels{picture.Row(row * TileSize) + column * TileSize,
                          static_cast<std::size_t>(picture.Width())};
    };
    // Every distinct cell is counted, so that a refusal can say how many there
    // are; an open-addressing table at most half full holds them.
    struct Distinct {
        std::uint64_t hash;
        int column, row;
    };
    std::vector<Distinct> distinct;
    const std::size_t capacity = std::bit_ceil(std::size_t(2) * columns * rows);
    std::vector<int> slots(capacity, -1);
    std::vector<int> numbers(static_cast<std::size_t>(columns) * rows);
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            const CellPixels cell = cellAt(column, row);
            const std::uint64_t hash = HashCell(cell);
            std::size_t slot = hash & (capacity - 1);
            while (slots[slot] >= 0) {
                const Distinct& seen = distinct[static_cast<std::size_t>(slots[slot])];
                if (seen.hash == hash && SameCell(cell, cellAt(seen.column, seen.row))) {
                    break;
                }
                slot = (slot + 1) & (capacity - 1);
            }
            if (slots[slot] < 0) {
                slots[slot] = static_cast<int>(distinct.size());
                distinct.push_back({hash, column, row});
            }
            numbers[static_cast<std::size_t>(row) * columns + column] = slots[slot];
        }
    }
    const int tiles = static_cast<int>(distinct.size());
    if (tiles > TileCount) {
        return Error{"The picture has " + std::to_string(tiles) +
                     " distinct 16 x 16 cells; a map has " + std::to_string(TileCount) +
                     " tile numbers."};
    }
    LevelCut cut;
    cut.width = picture.Width();
    cut.height = picture.Height();
    cut.tiles = tiles;
    cut.tileset.Resize(PaletteWidth, (tiles + PaletteColumns - 1) / PaletteColumns * TileSize);
    for (int tile = 0; tile < tiles; ++tile) {
        const Distinct& first = distinct[static_cast<std::size_t>(tile)];
        BitBlt(cut.tileset, TileLeft(tile), TileTop(tile), TileSize, TileSize, picture,
               first.column * TileSize, first.row * TileSize);
    }
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            cut.map(column, row) = static_cast<std::uint8_t>(
                numbers[static_cast<std::size_t>(row) * columns + column]);
        }
    }
    return cut;
}

Document LevelDocument(const LevelCut& cut, const std::string& tilesetPath) {
    const std::filesystem::path path(tilesetPath);
    Document document;
    document.MapData = cut.map;
    document.Tilesets = {path.filename().string()};
    document.ProjectFolder = path.parent_path().string();
    return document;
}

std::string DescribeLevelCut(const LevelCut& cut) {
    const int cells = cut.width / TileSize * (cut.height / TileSize);
    return "Cut " + std::to_string(cut.width) + " x " + std::to_string(cut.height) +
           " pixels into " + std::to_string(cells) + (cells == 1 ? " cell: " : " cells: ") +
           std::to_string(cut.tiles) + (cut.tiles == 1 ? " tile." : " tiles.");
}

} // namespace tessra
