#include "ui/cell_clipboard.h"

#include "core/edit/cell_block_text.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace tessra {

void PutCellsOnClipboard(const CellBlock& block) {
    auto* data = new QMimeData;
    data->setData(QLatin1String(CellBlockMimeType),
                  QByteArray::fromStdString(CellBlockBytes(block)));
    data->setText(QString::fromStdString(CellBlockCsv(block)));
    QGuiApplication::clipboard()->setMimeData(data);
}

Result<CellBlock> CellsOnClipboard() {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (data != nullptr && data->hasFormat(QLatin1String(CellBlockMimeType))) {
        return ReadCellBlockBytes(data->data(QLatin1String(CellBlockMimeType)).toStdString());
    }
    if (data == nullptr || !data->hasText() || data->text().trimmed().isEmpty()) {
        return Error{"The clipboard holds no cells to paste."};
    }
    return ReadCellBlockCsv(data->text().toStdString());
}

} // namespace tessra
