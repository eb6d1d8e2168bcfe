#pragma once

#include "core/edit/select_tool.h"
#include "core/edit/tileset_order.h"
#include "core/edit/tool_table.h"
#include "core/export/export_profile.h"
#include "core/model/editor_state.h"
#include "core/model/undo_history.h"
#include "core/render/palette_build.h"
#include "core/render/surface.h"
#include "help/html_help_viewer.h"
#include "ui/tool_window_context.h"

#include <QMainWindow>
#include <QPointF>
#include <array>
#include <memory>
#include <optional>
#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

class QAction;
class QDockWidget;
class QDragEnterEvent;
class QDropEvent;
class QGroupBox;
class QLabel;
class QMenu;
class QRadioButton;
class QTimer;
class QToolButton;

namespace tessra {

class BudgetPanel;
class Dialogs;
class EditField;
class RecoveryStore;
class TilesetWatcher;
struct RecoveryCopy;
class MainStatusBar;
class PaletteGroup;

// The editor's main window: it owns the document and its history and wires the
// map view, the palette group, the zoom and tool selectors and the menus. Every
// command changes the document through a named operation, and one function,
// Refresh, brings the controls up to date from what the command changed.
class frmMain : public QMainWindow {
    Q_OBJECT

  public:
    static constexpr int ClientWidth = 817, ClientHeight = 521;

    explicit frmMain(Dialogs& dialogs, QWidget* parent = nullptr);
    ~frmMain() override;

    EditorState& state() { return state_; }
    const UndoHistory& history() const { return history_; }
    const Surface& palette() const;
    const Surface& view() const;
    const Surface& preview() const;
    const MapSelection& selection() const { return selection_; }

    // Named operations, as buttons, keys, menus and the mouse call them.
    void SelectTile(int tile);
    void SelectTileset(int row);
    void SelectTool(int index);
    // Draws the visible cells of the map and shows them.
    void RedrawMapView();

    // Opens a project (from the dialog, a drop or the command line); a file
    // that cannot be read or is refused leaves the document as it was.
    bool OpenProjectFile(const std::string& path); // the system's bytes

    // The export File > Export Again writes, its output a path from the
    // working folder; none until one is read beside the map or made.
    const std::optional<ExportProfile>& RememberedExport() const { return exportProfile_; }
    // Offers the recovery copies that editors which did not close properly
    // left behind (frm_main_recovery.cpp).
    void OfferRecovery();
    // How often a modified map is copied; 60 seconds unless a test says otherwise.
    void SetRecoveryInterval(int milliseconds);
    QString RecoveryCopyPath() const;

    HTMLHelpViewer HelpViewer;

  protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    // Construction and the refresh (frm_main.cpp).
    void BuildClientArea();
    void Form_Load();
    void CenterOnScreen();
    void ShowError(const QString& text);
    // Brings every control that shows something the change names up to date,
    // and the coordinate readout when one is given.
    void Refresh(const DocumentChange& change, const std::optional<std::string>& readout = {});
    void ReportTilesetProblems(const std::vector<TilesetFailure>& failures,
                               const std::vector<std::string>& notes);
    void UpdateEditMenu();
    // Reads and decodes one tileset picture at a resolved path.
    static Result<Surface> LoadTileset(const std::string& path);

    // Menus, keys and tool windows (frm_main_menu.cpp).
    void BuildMenus();
    void BuildKeyboard();
    // Shows a tool window modally and hands back what it did, for those that say.
    template <class Window, class... Args> auto OpenToolWindow(Args&&... args);
    // A tool window that changes the map: what it changes is one undo step.
    template <class Window, class... Args> void RunMapTool(const char* stepLabel, Args&&... args);
    void mnuNewMap_Click();
    void mnuImportCSV_Click();
    void mnuMapGeneration_Click();
    void mnuShowOverlay_Click();
    void mnuTileUsage_Click();
    void mnuHelpTopics_Click();
    void mnuExit_Click();

    // From a level picture to a map (frm_main_level.cpp).
    void mnuImportPicture_Click();

    // Undo, redo and unsaved work (frm_main_edit.cpp).
    void mnuUndo_Click();
    void mnuRedo_Click();
    // Asks whether to save a modified map first; false when the user cancels
    // or the save does not happen, and the command must stop.
    bool MaySaveChanges();
    // An import made a new map: untitled, without the old file's export, and
    // modified even once undone, since undo brings back the cells and not the file.
    void BecomeUntitled(UndoStep& step, DocumentChange change = {});

    // File menu (frm_main_file.cpp).
    void mnuOpenMap_Click();
    bool mnuSaveMap_Click();
    bool mnuSaveMapAs_Click();
    bool WriteProjectFile(const std::string& path);

    // Exports, Tiled maps and tile attributes (frm_main_export.cpp).
    void mnuExport_Click();
    void mnuExportAgain_Click();
    // Writes the remembered export for the map at mapPath and says so in the
    // status bar; false, after telling the user, when it fails (onSave: the
    // message says the map itself was saved).
    bool WriteRememberedExport(const std::string& mapPath, bool onSave);
    // The export settings kept beside the map at mapPath: read, or written.
    void ReadExportProfile(const std::string& mapPath);
    void KeepExportProfile(const std::string& mapPath);
    // Whether the export on saving the map at mapPath may write where it
    // says: the first time it would write outside the map's folder, the user
    // is asked, and the answer is kept for that map and output.
    bool MayExportOnSave(const std::string& mapPath);
    // Every map of the map's folder exported as its profile says; a failed
    // map chosen in the list is opened.
    void mnuBuildAll_Click();
    void mnuExportTiled_Click();
    void mnuImportTiled_Click();
    void mnuTileAttributes_Click();
    void mnuShowBehaviour_Click();

    // Adding, removing, moving and locating tilesets (frm_main_tilesets.cpp).
    void cmdAddTileset_Click();
    // Dropped pictures join the list as one step; refused ones are named.
    void AddDroppedTilesets(const std::vector<std::string>& paths);
    void EditTileset(TilesetEdit edit);
    void mnuLocateTileset_Click();
    void mnuMakePathsRelative_Click();
    std::vector<int> TileCounts() const;

    // Zoom, tools and the mouse over the map (frm_main_view.cpp).
    void BuildZoomFrame(QWidget* client);
    void BuildToolFrame(QWidget* client);
    void BuildCoordinateFrame(QWidget* client);
    void optScaleMode_Click(int index);
    void optToolSelect_Click(int index);
    void picEditField_MouseDown(int button, double X, double Y);
    void picEditField_MouseMove(int button, double X, double Y);
    void picEditField_MouseUp(int button, double X, double Y);
    // The current tool, or the right button's pick, at a point of the view.
    void UseToolAt(int button, double X, double Y);
    // Whether the Select tool, or a pasted block, takes a pointer event.
    bool SelectionTakes(PointerPhase phase, int button) const;
    // The readout for the pointer where it now stands over the view, or none.
    void ShowCellUnderPointer(std::optional<QPointF> pointer);

    // Selections and the clipboard (frm_main_selection.cpp).
    void SelectToolAt(PointerPhase phase, double X, double Y);
    // The outline, the view for a floating block and the Edit menu's items.
    void ShowSelection(bool view);
    void mnuCut_Click();
    void mnuCopy_Click();
    void mnuPaste_Click();
    void mnuDelete_Click();
    void mnuSelectAll_Click();
    void mnuDeselect_Click();
    void mnuSelectionToStamp_Click();

    // Recovery copies (frm_main_recovery.cpp).
    void StartRecovery();
    void WriteRecoveryCopy();
    void UpdateRecoveryCopy(const DocumentChange& change);
    void RestoreRecoveryCopy(RecoveryCopy copy);

    // File > Open Recent (frm_main_recent.cpp).
    void BuildRecentMenu();
    // Puts the current file first in the list, if it has a name.
    void RememberRecentFile();
    void ShowRecentFiles();
    void mnuRecentFile_Click(const QString& path);

    // Tilesets changed on disk (frm_main_watch.cpp).
    void StartWatchingTilesets();
    void WatchTilesets();
    void TilesetsChangedOnDisk();

    // Where the selected tile is used (frm_main_usage.cpp).
    void BuildTileUsage();
    // The highlight over the view and its count, as the View menu sets them.
    void ShowTileUsage();

    // The export area over the map (frm_main_export_area.cpp).
    void BuildExportArea();
    // The export's region and the bytes it makes, now or once changes pause.
    void ShowExportArea();
    void ShowExportAreaSoon();

    // View > Hardware Budget (frm_main_budget.cpp): the panel follows the
    // map, the attributes and the export settings, counted once the events
    // of the moment are handled.
    void BuildBudgetPanel();
    void ScheduleBudget(const DocumentChange& change);
    void UpdateBudget();

    // Zoom keys (frm_main_zoom.cpp).
    void BuildZoomKeys();

    // Window size and place across runs (frm_main_geometry.cpp).
    void RestoreGeometry();
    void SaveGeometry() const;

    // The status bar (frm_main_status.cpp).
    void BuildStatusBar();
    void ShowPointedCell(double X, double Y);
    // The selected tile, zoom and modified mark, and what a closed step changed.
    void ShowStatus(const DocumentChange& change);

    Dialogs& dialogs_;
    EditorState state_;
    UndoHistory history_;
    std::vector<int> tileCounts_; // of each listed tileset, from the last palette rebuild
    // The list and folder tileCounts_ was counted for: while they stay, a
    // tileset that goes missing keeps its places. Opening a map forgets them.
    std::vector<std::string> countedTilesets_;
    std::string countedFolder_;
    // The tiles as the tilesets draw them, before the attributes flip them in
    // the palette, and the tilesets that failed at the last rebuild.
    Surface tiles_{PaletteWidth, PaletteHeight};
    std::vector<TilesetFailure> tileFailures_;
    std::optional<ExportProfile> exportProfile_;
    Stroke stroke_; // the left-button drag over the map view
    MapSelection selection_;
    std::unordered_set<std::size_t> reported_; // tileset problems told of, while they last

    PaletteGroup* paletteGroup_ = nullptr;
    EditField* editField_ = nullptr;
    MainStatusBar* statusBar_ = nullptr;
    std::unique_ptr<RecoveryStore> recovery_;
    QTimer* recoveryTimer_ = nullptr;
    QTimer* exportAreaTimer_ = nullptr;
    TilesetWatcher* tilesetWatcher_ = nullptr;
    bool reportTilesetFailures_ = true; // false while a change on disk is taken in
    QGroupBox* Frame2 = nullptr;
    QGroupBox* Frame3 = nullptr;
    QGroupBox* Frame4 = nullptr;
    std::array<QRadioButton*, 4> optScaleMode{};
    std::array<QToolButton*, 5> optToolSelect{};
    QLabel* lblMapCoordinate = nullptr;
    QAction* mnuUndo = nullptr;
    QAction* mnuRedo = nullptr;
    QAction* mnuShowGrid = nullptr;
    QAction* mnuShowExportArea = nullptr;
    QAction* mnuShowBehaviour = nullptr;
    QMenu* mnuOpenRecent = nullptr;
    QDockWidget* dockBudget = nullptr;
    BudgetPanel* budgetPanel_ = nullptr;
    QTimer* budgetTimer_ = nullptr;
    bool budgetPlaced_ = false; // the panel has been put beside the window once
    QAction* mnuHighlightTile = nullptr;
};

template <class Window, class... Args> auto frmMain::OpenToolWindow(Args&&... args) {
    // Cleared first, so that no window finds the word of an earlier one.
    state_.Tag.clear();
    ToolWindowContext context{state_, dialogs_, palette(), HelpViewer};
    Window window(context, std::forward<Args>(args)..., this);
    window.exec();
    if constexpr (requires { window.Outcome(); }) {
        return window.Outcome();
    }
}

template <class Window, class... Args>
void frmMain::RunMapTool(const char* stepLabel, Args&&... args) {
    UndoStep step(history_, state_, stepLabel);
    OpenToolWindow<Window>(std::forward<Args>(args)...);
    Refresh(step.Close());
}

} // namespace tessra
