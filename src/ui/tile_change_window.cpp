#include "ui/tile_change_window.h"

#include "core/edit/tile_swap.h"
#include "core/render/palette_build.h"
#include "ui/picture_box.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPushButton>

namespace tessra {

namespace {

constexpr int GroupWidth = 145;

// Image1: two tiles with an arrow between them, pointing both ways for a swap.
QPixmap DrawChangeIcon(bool bothWays) {
    QPixmap icon(32, 32);
    icon.fill(Qt::transparent);
    QPainter painter(&icon);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(0.8, 0.8); // drawn on a 40 x 40 grid
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(QColor(64, 128, 224));
    painter.drawRect(2, 2, 14, 14);
    painter.setBrush(QColor(232, 152, 48));
    painter.drawRect(24, 24, 14, 14);
    painter.setPen(QPen(QColor(40, 40, 40), 2));
    painter.setBrush(Qt::NoBrush);
    QPainterPath arc;
    arc.moveTo(9, 19);
    arc.quadTo(9, 31, 21, 31);
    painter.drawPath(arc);
    painter.setBrush(QColor(40, 40, 40));
    painter.setPen(Qt::NoPen);
    painter.drawPolygon(QPolygonF({QPointF(19, 27), QPointF(24, 31), QPointF(19, 35)}));
    if (bothWays) {
        painter.setPen(QPen(QColor(40, 40, 40), 2));
        painter.setBrush(Qt::NoBrush);
        QPainterPath back;
        back.moveTo(31, 21);
        back.quadTo(31, 9, 19, 9);
        painter.drawPath(back);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(40, 40, 40));
        painter.drawPolygon(QPolygonF({QPointF(21, 5), QPointF(16, 9), QPointF(21, 13)}));
    }
    return icon;
}

// "Swap Texture" for the frame "Swap Texture...".
std::string BoxName(std::string_view caption) {
    while (caption.ends_with('.')) {
        caption.remove_suffix(1);
    }
    return std::string(caption);
}

} // namespace

void DrawTilePreview(const Surface& palette, std::string_view boxText, Surface& preview) {
    constexpr int Size = TileChangeWindow::PreviewSize;
    preview.Resize(Size, Size);
    const std::optional<std::int16_t> tile = TileBoxValue(boxText);
    if (!tile) {
        return;
    }
    const int t = *tile;
    const int row = t >= PaletteColumns ? t / PaletteColumns : 0;
    const int column = t - PaletteColumns * row;
    StretchBlt(preview, 0, 0, Size, Size, palette, TileSize * column, TileSize * row, TileSize,
               TileSize);
}

TileChangeWindow::TileChangeWindow(ToolWindowContext& context, QWidget* parent,
                                   const TileChangeKind& kind)
    : ToolDialog(context, parent, kind.name, QString::fromUtf8(kind.caption), {425, 113},
                 kind.help),
      kind_(kind) {
    BuildGroup(0, "Frame1", kind.frame1, 8);
    BuildGroup(1, "Frame2", kind.frame2, 8 + GroupWidth + 8);

    const int right = 8 + 2 * (GroupWidth + 8);
    cmdSwap = AddButton(this, "cmdSwap", QString::fromUtf8(kind.action), {right, 13, 104, 29});
    cmdCancel = AddButton(this, "cmdCancel", QStringLiteral("&Cancel"), {right, 47, 104, 29});
    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(DrawChangeIcon(kind.bothWays));
    Image1->setGeometry(right + 36, 80, 32, 32);

    connect(cmdSwap, &QPushButton::clicked, this, &TileChangeWindow::cmdSwap_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &TileChangeWindow::cmdCancel_Click);

    // Both previews show their tile from the start.
    cmdCheck_Click(0);
    cmdCheck_Click(1);
}

void TileChangeWindow::BuildGroup(int i, const char* frameName, const char* caption, int left) {
    QGroupBox* frame =
        AddFrame(this, frameName, QString::fromUtf8(caption), {left, 8, GroupWidth, 97});
    txtDoSwap[i] = AddTextBox(frame, "txtDoSwap", QStringLiteral("0"), {8, 22, 57, 21});
    cmdCheck[i] = AddButton(frame, "cmdCheck", QStringLiteral("Check"), {8, 52, 57, 25});
    picTileTexture[i] =
        new PictureBox(QStringLiteral("picTileTexture"), PreviewSize, PreviewSize, frame);
    picTileTexture[i]->move(72, 22);
    picTileTexture[i]->SetSurface(&previews_[i]);
    for (QWidget* control :
         {static_cast<QWidget*>(txtDoSwap[i]), static_cast<QWidget*>(cmdCheck[i]),
          static_cast<QWidget*>(picTileTexture[i])}) {
        control->setProperty("index", i);
    }
    connect(cmdCheck[i], &QPushButton::clicked, this, [this, i] { cmdCheck_Click(i); });
    // Enter in a box checks its tile rather than changing the map.
    connect(txtDoSwap[i], &QLineEdit::returnPressed, this, [this, i] { cmdCheck_Click(i); });
}

void TileChangeWindow::cmdCheck_Click(int i) {
    DrawTilePreview(context_.palette, BoxText(txtDoSwap[i]), previews_[i]);
    picTileTexture[i]->Refresh();
}

void TileChangeWindow::cmdSwap_Click() {
    // Both numbers are checked before any cell changes; a refusal names the
    // box by its frame's caption.
    const Result<TilePair> tiles = ReadTilePair(BoxText(txtDoSwap[0]), BoxText(txtDoSwap[1]),
                                                BoxName(kind_.frame1), BoxName(kind_.frame2));
    if (!tiles) {
        Refuse(tiles.message());
        return;
    }
    kind_.change(context_.state.MapData, tiles.value().A, tiles.value().B);
    outcome_ = tiles.value();
    context_.state.Tag = "SWAP";
    accept();
}

void TileChangeWindow::cmdCancel_Click() {
    context_.state.Tag.clear();
    reject();
}

} // namespace tessra
