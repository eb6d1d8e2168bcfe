#include "core/render/map_view.h"
#include "ui/edit_field.h"
#include "ui/frm_main.h"

#include <QAction>
#include <QMenu>
#include <algorithm>

namespace tessra {

namespace {

constexpr int LastZoomMode = static_cast<int>(ZoomTable.size()) - 1;

} // namespace

void frmMain::BuildZoomKeys() {
    // On the View menu, so that the keys show. Ctrl++ is Ctrl+= on most
    // keyboards; both zoom in, as in other editors.
    auto* view = findChild<QMenu*>(QStringLiteral("mnuView_submenu"));
    view->addSeparator();
    const struct {
        const char* name;
        const char* caption;
        const char* keys;
        int step; // 0: back to 1x
    } items[] = {{"mnuZoomIn", "Zoom &In", "Ctrl++; Ctrl+=", 1},
                 {"mnuZoomOut", "Zoom &Out", "Ctrl+-", -1},
                 {"mnuZoomReset", "Zoom &1x", "Ctrl+0", 0}};
    for (const auto& [name, caption, keys, step] : items) {
        QAction* item = view->addAction(QString::fromUtf8(caption));
        item->setObjectName(QLatin1String(name));
        item->setShortcuts(QKeySequence::listFromString(QLatin1String(keys)));
        connect(item, &QAction::triggered, this, [this, step] {
            const int zoomMode =
                step == 0 ? 0 : std::clamp(state_.ZoomMode + step, 0, LastZoomMode);
            editField_->ZoomAboutCentre(zoomMode);
        });
    }
}

} // namespace tessra
