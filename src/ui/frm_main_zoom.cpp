#include "core/render/map_view.h"
#include "ui/edit_field.h"
#include "ui/frm_main.h"

#include <QShortcut>
#include <algorithm>

namespace tessra {

namespace {

constexpr int LastZoomMode = static_cast<int>(ZoomTable.size()) - 1;

} // namespace

void frmMain::BuildZoomKeys() {
    // Ctrl++ is Ctrl+= on most keyboards; both zoom in, as in other editors.
    const struct {
        const char* name;
        const char* keys;
        int step; // 0: back to 1x
    } keys[] = {{"keyZoomIn", "Ctrl++", 1},
                {"keyZoomInEquals", "Ctrl+=", 1},
                {"keyZoomOut", "Ctrl+-", -1},
                {"keyZoomReset", "Ctrl+0", 0}};
    for (const auto& [name, sequence, step] : keys) {
        auto* key = new QShortcut(QKeySequence(QLatin1String(sequence)), this);
        key->setObjectName(QLatin1String(name));
        connect(key, &QShortcut::activated, this, [this, step] {
            const int zoomMode =
                step == 0 ? 0 : std::clamp(state_.ZoomMode + step, 0, LastZoomMode);
            editField_->ZoomAboutCentre(zoomMode);
        });
    }
}

} // namespace tessra
