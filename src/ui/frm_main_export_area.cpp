#include "core/export/map_export.h"
#include "ui/edit_field.h"
#include "ui/frm_main.h"

#include <QAction>
#include <QTimer>

namespace tessra {

namespace {

// A change of the cells changes a compressed export's size: it is made again
// once the changes pause, not on every cell of a drag.
constexpr int ExportAreaMilliseconds = 200;

} // namespace

void frmMain::BuildExportArea() {
    exportAreaTimer_ = new QTimer(this);
    exportAreaTimer_->setSingleShot(true);
    exportAreaTimer_->setInterval(ExportAreaMilliseconds);
    connect(exportAreaTimer_, &QTimer::timeout, this, &frmMain::ShowExportArea);
}

void frmMain::ShowExportAreaSoon() {
    if (mnuShowExportArea->isChecked()) {
        exportAreaTimer_->start();
    }
}

void frmMain::ShowExportArea() {
    exportAreaTimer_->stop();
    if (!mnuShowExportArea->isChecked()) {
        return;
    }
    // What File > Export writes: the remembered export, or the window's defaults.
    const ExportSettings settings = exportProfile_ ? exportProfile_->Settings : ExportSettings{};
    const ExportRegion& region = settings.Region;
    const Result<MapExport> made = ExportMap(state_.MapData, state_.Attributes, settings, "map");
    editField_->SetExportRegion(QRect(region.X, region.Y, region.W, region.H),
                                made ? static_cast<qint64>(made.value().DataSize) : -1);
}

} // namespace tessra
