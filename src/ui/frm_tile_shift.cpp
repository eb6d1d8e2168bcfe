#include "ui/frm_tile_shift.h"

#include "core/edit/map_shift.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace tessra {

frmTileShift::frmTileShift(ToolWindowContext& context, QWidget* parent)
    : ToolDialog(context, parent, "frmTileShift", QStringLiteral("Tile Shift"), {313, 113},
                 HelpTileShiftTopic) {
    auto* label = new QLabel(QStringLiteral("Adds Offset to every tile from From to To."), this);
    label->setObjectName(QStringLiteral("Label1"));
    label->setGeometry(8, 8, 297, 17);

    const auto addBox = [this](const char* frameName, const char* caption, const char* name,
                               int left) {
        QGroupBox* frame =
            AddFrame(this, frameName, QString::fromUtf8(caption), {left, 28, 89, 41});
        return AddTextBox(frame, name, QStringLiteral("0"), {8, 16, 73, 19});
    };
    txtFrom = addBox("Frame1", "From", "txtFrom", 8);
    txtTo = addBox("Frame2", "To", "txtTo", 112);
    txtOffset = addBox("Frame3", "Offset", "txtOffset", 216);

    cmdShift = AddButton(this, "cmdShift", QStringLiteral("&Shift!"), {144, 80, 77, 25});
    cmdCancel = AddButton(this, "cmdCancel", QStringLiteral("&Cancel"), {228, 80, 77, 25});
    cmdShift->setDefault(true);
    connect(cmdShift, &QPushButton::clicked, this, &frmTileShift::cmdShift_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void frmTileShift::cmdShift_Click() {
    // Every box, and every cell's result, is checked before a cell changes.
    const Result<TileShift> shift =
        ReadTileShift(BoxText(txtFrom), BoxText(txtTo), BoxText(txtOffset));
    if (!shift) {
        Refuse(shift.message());
        return;
    }
    if (const Result<int> changed = ShiftTiles(context_.state.MapData, shift.value()); !changed) {
        Refuse(changed.message());
        return;
    }
    outcome_ = shift.value();
    context_.state.Tag = "SWAP";
    accept();
}

} // namespace tessra
