#include "ui/frm_main.h"

#include <QSettings>

namespace tessra {

namespace {

const QString GeometryKey = QStringLiteral("window/geometry");

} // namespace

void frmMain::RestoreGeometry() {
    const QByteArray saved = QSettings().value(GeometryKey).toByteArray();
    // Nothing saved, or from a screen that is gone: the centred default stays.
    if (!saved.isEmpty()) {
        restoreGeometry(saved);
    }
}

void frmMain::SaveGeometry() const {
    QSettings().setValue(GeometryKey, saveGeometry());
}

} // namespace tessra
