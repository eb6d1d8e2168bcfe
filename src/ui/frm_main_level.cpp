#include "core/edit/tile_swap.h"
#include "ui/frm_assign_palettes.h"
#include "ui/frm_import_picture.h"
#include "ui/frm_main.h"
#include "ui/frm_similar_tiles.h"

namespace tessra {

void frmMain::mnuImportPicture_Click() {
    if (!MaySaveChanges()) {
        return;
    }
    UndoStep step(history_, state_, "Import Picture");
    if (!OpenToolWindow<frmImportPicture>()) {
        return;
    }
    BecomeUntitled(step);
}

void frmMain::mnuSimilarTiles_Click() {
    // Each merge is a step of its own, taken while the window stays open.
    OpenToolWindow<frmSimilarTiles>([this](const SimilarTiles& pair) {
        UndoStep step(history_, state_, "Merge Tiles");
        ReplaceTiles(state_.MapData, static_cast<std::uint8_t>(pair.merged),
                     static_cast<std::uint8_t>(pair.kept));
        Refresh(step.Close());
    });
}

void frmMain::mnuAssignPalettes_Click() {
    const ExportSettings settings = exportProfile_ ? exportProfile_->Settings : ExportSettings{};
    if (const std::optional<TileAttributeTable> assigned =
            OpenToolWindow<frmAssignPalettes>(settings, tiles_)) {
        UndoStep step(history_, state_, "Assign Palettes");
        state_.Attributes = *assigned;
        Refresh(step.Close());
    }
}

} // namespace tessra
