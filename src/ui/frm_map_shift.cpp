#include "ui/frm_map_shift.h"

#include "core/edit/map_shift.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace tessra {

frmMapShift::frmMapShift(ToolWindowContext& context, QWidget* parent)
    : ToolDialog(context, parent, "frmMapShift", QStringLiteral("Map Shift"), {265, 145},
                 HelpMapShiftTopic) {
    QGroupBox* frame1 = AddFrame(this, "Frame1", QStringLiteral("X"), {8, 8, 81, 41});
    txtShiftX = AddTextBox(frame1, "txtShiftX", QStringLiteral("0"), {8, 16, 65, 19});
    QGroupBox* frame2 = AddFrame(this, "Frame2", QStringLiteral("Y"), {96, 8, 81, 41});
    txtShiftY = AddTextBox(frame2, "txtShiftY", QStringLiteral("0"), {8, 16, 65, 19});

    QGroupBox* frame3 = AddFrame(this, "Frame3", QStringLiteral("Edges"), {8, 56, 249, 49});
    optWrap = new QRadioButton(QStringLiteral("&Wrap around"), frame3);
    optWrap->setObjectName(QStringLiteral("optWrap"));
    optWrap->setGeometry(8, 18, 97, 19);
    optWrap->setChecked(true);
    optFill = new QRadioButton(QStringLiteral("&Fill with tile"), frame3);
    optFill->setObjectName(QStringLiteral("optFill"));
    optFill->setGeometry(112, 18, 89, 19);
    txtFillTile = AddTextBox(frame3, "txtFillTile", QStringLiteral("0"), {200, 18, 41, 19});
    txtFillTile->setEnabled(false);
    connect(optFill, &QRadioButton::toggled, txtFillTile, &QLineEdit::setEnabled);

    cmdShift = AddButton(this, "cmdShift", QStringLiteral("&Shift!"), {96, 112, 77, 25});
    cmdCancel = AddButton(this, "cmdCancel", QStringLiteral("&Cancel"), {180, 112, 77, 25});
    cmdShift->setDefault(true);
    connect(cmdShift, &QPushButton::clicked, this, &frmMapShift::cmdShift_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void frmMapShift::cmdShift_Click() {
    const Result<MapShift> shift = ReadMapShift(BoxText(txtShiftX), BoxText(txtShiftY),
                                                optWrap->isChecked(), BoxText(txtFillTile));
    if (!shift) {
        Refuse(shift.message());
        return;
    }
    ShiftMap(context_.state.MapData, shift.value());
    outcome_ = shift.value();
    context_.state.Tag = "SWAP";
    accept();
}

} // namespace tessra
