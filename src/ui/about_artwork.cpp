#include "ui/about_artwork.h"

#include <QFontMetrics>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <array>
#include <cmath>

namespace tessra {

namespace {

constexpr int Tile = 16;
enum TileKind { Water, Sand, Grass, Tree, Path, Wall, KindCount };

// A fixed scatter of values 0..255, so the picture is the same at every opening.
int Scatter(int x, int y) {
    unsigned h = static_cast<unsigned>(x) * 73856093u ^ static_cast<unsigned>(y) * 19349663u;
    h ^= h >> 13;
    h *= 0x5bd1e995u;
    return static_cast<int>((h ^ (h >> 15)) & 0xFFu);
}

void Speckle(QImage& tile, QColor colour, int seed, int threshold) {
    for (int y = 0; y < Tile; ++y) {
        for (int x = 0; x < Tile; ++x) {
            if (Scatter(x + seed, y) < threshold) {
                tile.setPixelColor(x, y, colour);
            }
        }
    }
}

void DrawWater(QPainter& p) {
    p.fillRect(0, 0, Tile, Tile, QColor(38, 92, 178));
    p.setPen(QColor(96, 150, 226));
    p.drawLine(2, 4, 6, 4);
    p.drawLine(9, 10, 13, 10);
    p.setPen(QColor(28, 74, 150));
    p.drawLine(3, 13, 6, 13);
}

void DrawTree(QPainter& p) {
    p.fillRect(7, 10, 3, 6, QColor(104, 66, 30));
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(22, 98, 40));
    p.drawEllipse(QRectF(2, 1, 12, 11));
    p.setBrush(QColor(48, 140, 60));
    p.drawEllipse(QRectF(4, 2.5, 6, 5));
}

void DrawWall(QPainter& p) {
    p.fillRect(0, 0, Tile, Tile, QColor(150, 146, 140));
    p.setPen(QColor(96, 92, 88));
    for (int row = 0; row < 4; ++row) {
        const int y = 4 * row + 3;
        p.drawLine(0, y, Tile - 1, y);
        const int offset = row % 2 == 0 ? 3 : 7;
        p.drawLine(offset, y - 3, offset, y - 1);
        p.drawLine(offset + 8, y - 3, offset + 8, y - 1);
    }
}

} // namespace

QImage DrawArtworkTile(int kind) {
    QImage tile(Tile, Tile, QImage::Format_RGB32);
    switch (kind) {
    case Sand:
        tile.fill(QColor(226, 206, 144));
        Speckle(tile, QColor(198, 174, 112), 5, 30);
        return tile;
    case Grass:
    case Tree:
        tile.fill(QColor(76, 156, 70));
        Speckle(tile, QColor(58, 128, 54), 11, 40);
        break;
    case Path:
        tile.fill(QColor(176, 134, 88));
        Speckle(tile, QColor(150, 110, 70), 17, 36);
        return tile;
    default:
        break;
    }
    QPainter painter(&tile);
    if (kind == Water) {
        DrawWater(painter);
    } else if (kind == Tree) {
        DrawTree(painter);
    } else if (kind != Grass) {
        DrawWall(painter);
    }
    return tile;
}

namespace {

// Which tile a map cell gets: water around an island, a sand rim, grass with
// trees, a path across and a ruined wall.
int TileOfCell(int column, int row) {
    const double dx = (column - 12.5) / 11.0;
    const double dy = (row - 11.0) / 8.0;
    const double reach = std::sqrt(dx * dx + dy * dy) + (Scatter(column, row) - 128) / 1400.0;
    if (reach > 1.0) {
        return Water;
    }
    if (reach > 0.86) {
        return Sand;
    }
    if (row == 14 && column > 4 && column < 22) {
        return Path;
    }
    if (column == 18 && row > 8 && row < 14) {
        return Wall;
    }
    return Scatter(column * 7, row * 3) < 60 ? Tree : Grass;
}

void DrawTitle(QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(12, 20, 44, 190));
    p.drawRoundedRect(QRectF(12, 36, 381, 84), 10, 10);

    // As large as fits left of the version text at x = 280, whatever the font.
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setBold(true);
    font.setLetterSpacing(QFont::AbsoluteSpacing, 2);
    for (int pixels = 58; pixels > 20; pixels -= 2) {
        font.setPixelSize(pixels);
        if (QFontMetrics(font).horizontalAdvance(QStringLiteral("TESSRA")) <= 246) {
            break;
        }
    }
    QPainterPath title;
    title.addText(24, 104, font, QStringLiteral("TESSRA"));
    QLinearGradient gold(0, 54, 0, 104);
    gold.setColorAt(0, QColor(255, 236, 150));
    gold.setColorAt(1, QColor(222, 150, 40));
    p.setPen(QPen(QColor(40, 24, 8), 3));
    p.setBrush(gold);
    p.drawPath(title);

    QFont small(QStringLiteral("DejaVu Sans"));
    small.setPixelSize(12);
    p.setFont(small);
    p.setPen(QColor(220, 228, 255));
    p.drawText(QRect(280, 58, 110, 20), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Tile Map Editor"));
}

void DrawFooter(QPainter& p) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(12, 20, 44, 170));
    p.drawRoundedRect(QRectF(12, 284, 381, 26), 8, 8);
    QFont small(QStringLiteral("DejaVu Sans"));
    small.setPixelSize(11);
    p.setFont(small);
    p.setPen(QColor(220, 228, 255));
    p.drawText(QRect(12, 284, 381, 26), Qt::AlignCenter,
               QStringLiteral("Maps of 256 x 256 tiles for console game projects"));
}

} // namespace

QImage DrawAboutArtwork() {
    std::array<QImage, KindCount> tiles;
    for (int kind = 0; kind < KindCount; ++kind) {
        tiles[kind] = DrawArtworkTile(kind);
    }
    QImage picture(AboutArtworkWidth, AboutArtworkHeight, QImage::Format_RGB32);
    QPainter painter(&picture);
    for (int row = 0; row * Tile < AboutArtworkHeight; ++row) {
        for (int column = 0; column * Tile < AboutArtworkWidth; ++column) {
            painter.drawImage(column * Tile, row * Tile, tiles[TileOfCell(column, row)]);
        }
    }
    DrawTitle(painter);
    DrawFooter(painter);
    return picture;
}

QPixmap DrawCloseIcon() {
    QPixmap icon(16, 16);
    icon.fill(Qt::transparent);
    QPainter painter(&icon);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(90, 0, 0), 5, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(3.5, 3.5), QPointF(12.5, 12.5));
    painter.drawLine(QPointF(12.5, 3.5), QPointF(3.5, 12.5));
    painter.setPen(QPen(QColor(230, 30, 30), 3, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(3.5, 3.5), QPointF(12.5, 12.5));
    painter.drawLine(QPointF(12.5, 3.5), QPointF(3.5, 12.5));
    return icon;
}

} // namespace tessra
