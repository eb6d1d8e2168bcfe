#include "ui/frm_similar_tiles.h"

#include "platform/qt_text.h"

#include <QGroupBox>
#include <QIcon>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>

namespace tessra {

QIcon SimilarPairIcon(const Surface& palette, const SimilarTiles& pair) {
    const Surface drawn = DrawSimilarPair(palette, pair);
    const QImage picture(reinterpret_cast<const uchar*>(drawn.data()), drawn.Width(),
                         drawn.Height(), QImage::Format_RGBX8888);
    // The same picture when chosen: the marks must keep their colour.
    QIcon icon(QPixmap::fromImage(picture));
    icon.addPixmap(QPixmap::fromImage(picture), QIcon::Selected);
    return icon;
}

frmSimilarTiles::frmSimilarTiles(ToolWindowContext& context, MergeTiles merge, QWidget* parent)
    : ToolDialog(context, parent, "frmSimilarTiles", QStringLiteral("Similar Tiles"), {481, 425},
                 HelpSimilarTilesTopic),
      merge_(std::move(merge)) {
    QGroupBox* frame1 =
        AddFrame(this, "Frame1", QStringLiteral("Pixels That May Differ"), {8, 8, 465, 41});
    txtMaxPixels =
        AddTextBox(frame1, "txtMaxPixels", QString::number(SimilarPixelsDefault), {8, 16, 49, 19});
    cmdList = AddButton(frame1, "cmdList", QStringLiteral("&List"), {64, 16, 65, 19});
    lblPairs = new QLabel(frame1);
    lblPairs->setObjectName(QStringLiteral("lblPairs"));
    lblPairs->setGeometry(136, 16, 321, 19);

    lstPairs = new QListWidget(this);
    lstPairs->setObjectName(QStringLiteral("lstPairs"));
    lstPairs->setGeometry(8, 56, 465, 321);
    lstPairs->setIconSize({SimilarPairWidth, SimilarPairHeight});
    lstPairs->setWordWrap(true);

    cmdMerge = AddButton(this, "cmdMerge", QStringLiteral("&Merge"), {168, 384, 97, 33});
    cmdClose = AddButton(this, "cmdClose", QStringLiteral("&Close"), {272, 384, 97, 33});
    cmdHelp = AddButton(this, "cmdHelp", QStringLiteral("&Help"), {376, 384, 97, 33});

    connect(cmdList, &QPushButton::clicked, this, &frmSimilarTiles::ListPairs);
    connect(txtMaxPixels, &QLineEdit::returnPressed, this, &frmSimilarTiles::ListPairs);
    connect(cmdMerge, &QPushButton::clicked, this, &frmSimilarTiles::cmdMerge_Click);
    connect(lstPairs, &QListWidget::itemDoubleClicked, this, &frmSimilarTiles::cmdMerge_Click);
    connect(lstPairs, &QListWidget::currentRowChanged, this,
            [this](int row) { cmdMerge->setEnabled(row >= 0); });
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdHelp, &QPushButton::clicked, this, &frmSimilarTiles::ShowHelp);
    ListPairs();
}

void frmSimilarTiles::ListPairs() {
    const Result<int> pixels = ReadSimilarPixels(BoxText(txtMaxPixels));
    if (!pixels) {
        Refuse(pixels.message());
        return;
    }
    pairs_ = FindSimilarTiles(context_.palette, context_.state.MapData, pixels.value());
    lstPairs->clear();
    for (const SimilarTiles& pair : pairs_) {
        lstPairs->addItem(new QListWidgetItem(SimilarPairIcon(context_.palette, pair),
                                              ToQString(DescribeSimilarTiles(pair))));
    }
    lblPairs->setText(
        pairs_.empty()       ? QStringLiteral("No two tiles of the map differ in so few pixels.")
        : pairs_.size() == 1 ? QStringLiteral("1 pair")
                             : QStringLiteral("%1 pairs, the closest first").arg(pairs_.size()));
    lstPairs->setCurrentRow(pairs_.empty() ? -1 : 0);
    cmdMerge->setEnabled(!pairs_.empty());
}

void frmSimilarTiles::cmdMerge_Click() {
    const int row = lstPairs->currentRow();
    if (row < 0 || row >= static_cast<int>(pairs_.size())) {
        return;
    }
    merge_(pairs_[static_cast<std::size_t>(row)]);
    ListPairs();
}

} // namespace tessra
