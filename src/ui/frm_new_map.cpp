#include "ui/frm_new_map.h"

#include "core/edit/map_shift.h"
#include "core/model/new_map.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>

namespace tessra {

frmNewMap::frmNewMap(ToolWindowContext& context, QWidget* parent)
    : ToolDialog(context, parent, "frmNewMap", QStringLiteral("New Map"), {241, 113},
                 HelpNewMapTopic) {
    QGroupBox* frame1 = AddFrame(this, "Frame1", QStringLiteral("Fill Tile"), {8, 8, 89, 41});
    txtFillTile = AddTextBox(frame1, "txtFillTile", QStringLiteral("0"), {8, 16, 73, 19});

    chkKeepTilesets = new QCheckBox(QStringLiteral("&Keep the loaded tilesets"), this);
    chkKeepTilesets->setObjectName(QStringLiteral("chkKeepTilesets"));
    chkKeepTilesets->setGeometry(8, 56, 225, 17);
    chkKeepTilesets->setChecked(true);

    cmdOK = AddButton(this, "cmdOK", QStringLiteral("&OK"), {72, 80, 77, 25});
    cmdCancel = AddButton(this, "cmdCancel", QStringLiteral("&Cancel"), {156, 80, 77, 25});
    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &frmNewMap::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void frmNewMap::cmdOK_Click() {
    const Result<std::uint8_t> fill = ReadTileBox(BoxText(txtFillTile), "Fill tile");
    if (!fill) {
        Refuse(fill.message());
        return;
    }
    outcome_ = NewMapChoice{fill.value(), chkKeepTilesets->isChecked()};
    NewMap(context_.state, *outcome_);
    context_.state.Tag = "NEW";
    accept();
}

} // namespace tessra
