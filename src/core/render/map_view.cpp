#include "core/render/map_view.h"

#include "core/render/pack_rgb.h"
#include "core/render/palette_build.h"

#include <algorithm>
#include <cstring>

namespace tessra {
namespace {

// The cells to draw on one axis: first..last, both inclusive (empty if last < first).
struct CellRange {
    int first, last;
};

// Cells 0..lastCell of the loop, less those whose map coordinate leaves 0..255
// and those that start past the view's edge.
CellRange VisibleCells(int scroll, int lastCell, int cellSize, int viewPixels) {
    if (scroll < -viewPixels || scroll >= MapSize) {
        return {0, -1};
    }
    const int first = std::max(0, -scroll);
    const int last = std::min({lastCell, MapSize - 1 - scroll, (viewPixels - 1) / cellSize});
    return {first, last};
}

// One line of a tile, every pixel repeated Scale times.
template <int Scale> void ExpandTileLine(Pixel* out, const Pixel* in) {
    if constexpr (Scale == 1) {
        std::memcpy(out, in, TileSize * sizeof(Pixel));
    } else {
        for (int i = 0; i < TileSize; ++i) {
            for (int j = 0; j < Scale; ++j) {
                out[i * Scale + j] = in[i];
            }
        }
    }
}

// Expands one tile line into a cell that the view's right edge cuts.
template <int Scale> void ExpandCutTileLine(Pixel* out, const Pixel* in, int width) {
    Pixel line[TileSize * Scale];
    ExpandTileLine<Scale>(line, in);
    std::memcpy(out, line, static_cast<std::size_t>(width) * sizeof(Pixel));
}

// Draws cells with an integer enlargement: each tile line is expanded once,
// straight into the view, then copied down to the Scale - 1 lines below it.
// The last column and the bottom row may be cut by the view's edge.
template <int Scale>
void DrawCells(const MapGrid& map, const Surface& palette, CellRange columns, CellRange rows,
               int scrollX, int scrollY, Surface& view) {
    constexpr int cellSize = TileSize * Scale;
    if (columns.last < columns.first) {
        return;
    }
    const int spanLeft = columns.first * cellSize;
    const int spanRight = std::min(view.Width(), (columns.last + 1) * cellSize);
    const std::size_t spanBytes = static_cast<std::size_t>(spanRight - spanLeft) * sizeof(Pixel);
    // A column the right edge cuts is drawn apart, so no line runs past it.
    const int cutWidth = view.Width() - columns.last * cellSize;
    const int wholeLast = cutWidth < cellSize ? columns.last - 1 : columns.last;
    for (int row = rows.first; row <= rows.last; ++row) {
        const std::uint8_t* tiles = map.data() + MapGrid::Index(0, row + scrollY);
        for (int line = 0; line < TileSize; ++line) {
            const int y = row * cellSize + line * Scale;
            if (y >= view.Height()) {
                break;
            }
            Pixel* out = view.Row(y);
            for (int col = columns.first; col <= wholeLast; ++col) {
                const int t = tiles[col + scrollX];
                ExpandTileLine<Scale>(out + col * cellSize,
                                      palette.Row(TileTop(t) + line) + TileLeft(t));
            }
            if (wholeLast < columns.last) {
                const int t = tiles[columns.last + scrollX];
                ExpandCutTileLine<Scale>(out + columns.last * cellSize,
                                         palette.Row(TileTop(t) + line) + TileLeft(t), cutWidth);
            }
            const int repeats = std::min(Scale, view.Height() - y);
            for (int r = 1; r < repeats; ++r) {
                std::memcpy(view.Row(y + r) + spanLeft, out + spanLeft, spanBytes);
            }
        }
    }
}

// The fast copy reads every tile square straight from the palette's rows, so
// a palette smaller than 256 x 256 is first padded with black.
const Surface& FullPalette(const Surface& palette, Surface& padded) {
    if (palette.Width() >= PaletteWidth && palette.Height() >= PaletteHeight) {
        return palette;
    }
    padded.Resize(PaletteWidth, PaletteHeight);
    BitBlt(padded, 0, 0, PaletteWidth, PaletteHeight, palette, 0, 0);
    return padded;
}

} // namespace

const ZoomLevel& ZoomFor(int zoomMode) {
    const bool known = zoomMode >= 0 && zoomMode < static_cast<int>(ZoomTable.size());
    return ZoomTable[known ? zoomMode : 0];
}

ScrollLimits ScrollLimitsFor(int zoomMode, int viewWidth, int viewHeight) {
    const ZoomLevel& zoom = ZoomFor(zoomMode);
    if (viewWidth == ViewWidth && viewHeight == ViewHeight) {
        return {zoom.horizMax, zoom.vertMax, zoom.horizPage, zoom.vertPage};
    }
    const int columns = std::clamp(viewWidth / zoom.cellSize, 1, MapSize);
    const int rows = std::clamp(viewHeight / zoom.cellSize, 1, MapSize);
    return {MapSize - columns, MapSize - rows, columns, rows};
}

ScrollPosition ClampScrollForZoom(ScrollPosition scroll, int zoomMode) {
    const ZoomLevel& zoom = ZoomFor(zoomMode);
    return {ClampScroll(scroll.x, zoom.horizMax), ClampScroll(scroll.y, zoom.vertMax)};
}

void RedrawMapView(const MapGrid& map, const Surface& palette, int zoomMode, int scrollX,
                   int scrollY, Surface& view) {
    if (view.Width() == 0 || view.Height() == 0) {
        view.Resize(ViewWidth, ViewHeight);
    }
    Surface padded;
    const Surface& source = FullPalette(palette, padded);
    const ZoomLevel& zoom = ZoomFor(zoomMode);
    const int width = view.Width(), height = view.Height();
    const CellRange columns = VisibleCells(scrollX, width / zoom.cellSize, zoom.cellSize, width);
    const CellRange rows = VisibleCells(scrollY, height / zoom.cellSize, zoom.cellSize, height);
    switch (zoom.cellSize / TileSize) {
    case 1:
        return DrawCells<1>(map, source, columns, rows, scrollX, scrollY, view);
    case 2:
        return DrawCells<2>(map, source, columns, rows, scrollX, scrollY, view);
    case 4:
        return DrawCells<4>(map, source, columns, rows, scrollX, scrollY, view);
    default:
        return DrawCells<8>(map, source, columns, rows, scrollX, scrollY, view);
    }
}

// A palette smaller than 256 x 256 is padded at every call; the palettes the
// tileset list builds are always whole. A row outside the map draws black.
void DrawWholeMapBand(const MapGrid& map, const Surface& palette, int row, Surface& band) {
    if (band.Width() != WholeMapSide || band.Height() != TileSize) {
        band.Resize(WholeMapSide, TileSize);
    }
    if (row < 0 || row >= MapSize) {
        return band.Clear();
    }
    Surface padded;
    DrawCells<1>(map, FullPalette(palette, padded), {0, MapSize - 1}, {0, 0}, 0, row, band);
}

std::vector<std::uint8_t> PackPalette(const Surface& palette) {
    Surface padded;
    const Surface& whole = FullPalette(palette, padded);
    std::vector<std::uint8_t> packed(3 * PaletteWidth * PaletteHeight);
    for (int y = 0; y < PaletteHeight; ++y) {
        PackRgb(whole.Row(y), PaletteWidth, packed.data() + 3 * PaletteWidth * y);
    }
    return packed;
}

void DrawWholeMapBand(const MapGrid& map, const std::vector<std::uint8_t>& packedPalette, int row,
                      std::uint8_t* out) {
    constexpr std::size_t tileLine = 3 * TileSize, paletteLine = 3 * PaletteWidth;
    if (row < 0 || row >= MapSize) {
        std::memset(out, 0, 3 * WholeMapSide * TileSize);
        return;
    }
    const std::uint8_t* tiles = map.data() + MapGrid::Index(0, row);
    for (int line = 0; line < TileSize; ++line, out += 3 * WholeMapSide) {
        for (int column = 0; column < MapSize; ++column) {
            const int tile = tiles[column];
            const std::uint8_t* square =
                packedPalette.data() + (TileTop(tile) + line) * paletteLine + 3 * TileLeft(tile);
            std::memcpy(out + column * tileLine, square, tileLine);
        }
    }
}

} // namespace tessra
