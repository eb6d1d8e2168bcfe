#pragma once

// The line painters of the four drawn PCX kinds, used by DecodePCX.

#include "core/formats/pcx.h"
#include "core/formats/pcx_run_length.h"
#include "core/render/surface.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace tessra {

struct PcxGeometry {
    int width;
    int height;
    std::size_t bytesPerLine;
};

// The 256 colours of the last 768 bytes of a file; bytes before the start of a
// shorter file read 0.
std::array<Pixel, 256> EndPalette(std::span<const std::uint8_t> file);

// Each painter paints every pixel of every line into the rows `lines` gives.
void PaintPalette256(PcxRunReader& reader, const PcxGeometry& geometry,
                     const std::array<Pixel, 256>& colours, PcxLineSink& lines);
void PaintMonochrome(PcxRunReader& reader, const PcxGeometry& geometry, PcxLineSink& lines);
void PaintColour16(PcxRunReader& reader, const PcxGeometry& geometry,
                   const std::array<std::uint8_t, 48>& colorMap, PcxLineSink& lines);
void PaintTrueColour(PcxRunReader& reader, const PcxGeometry& geometry, PcxLineSink& lines);

} // namespace tessra
