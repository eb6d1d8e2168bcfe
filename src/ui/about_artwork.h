#pragma once

#include <QImage>
#include <QPixmap>

namespace tessra {

inline constexpr int AboutArtworkWidth = 405, AboutArtworkHeight = 320;

// The About box's picture: a small island map laid from tiles the program draws
// itself, under the name TESSRA.
QImage DrawAboutArtwork();

// One 16 x 16 tile of the artwork: 0 water, 1 sand, 2 grass, 3 tree, 4 path, 5 wall.
QImage DrawArtworkTile(int kind);

// The 16 x 16 red X that closes the About box.
QPixmap DrawCloseIcon();

} // namespace tessra
