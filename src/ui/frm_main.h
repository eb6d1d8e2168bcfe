#pragma once

#include "core/editor_state.h"
#include "core/palette.h"
#include "core/surface.h"
#include "core/tileset_order.h"
#include "core/undo_history.h"
#include "help/html_help_viewer.h"
#include "ui/tool_window_context.h"

#include <QMainWindow>
#include <array>
#include <optional>
#include <string>
#include <vector>

class QAction;
class QDragEnterEvent;
class QDropEvent;
class QGroupBox;
class QLabel;
class QRadioButton;
class QToolButton;

namespace tessra {

class Dialogs;
class EditField;
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

    // Named operations, as buttons, keys, menus and the mouse call them.
    void SelectTile(int tile);
    void SelectTileset(int row);
    void SelectTool(int index);
    // Draws the visible cells of the map and shows them.
    void RedrawMapView();

    // Opens a project (from the dialog, a drop or the command line); a file
    // that cannot be read or is refused leaves the document as it was.
    bool OpenProjectFile(const std::string& path); // the system's bytes

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
    void ReportTilesetFailures(const std::vector<TilesetFailure>& failures);
    void UpdateEditMenu();
    // Reads and decodes one tileset picture at a resolved path.
    static Result<Surface> LoadTileset(const std::string& path);

    // Menus, keys and tool windows (frm_main_menu.cpp).
    void BuildMenus();
    void BuildKeyboard();
    // Shows a tool window modally and hands back what it did, for those that say.
    template <class Window> auto OpenToolWindow();
    // A tool window that changes the map: what it changes is one undo step.
    template <class Window> void RunMapTool(const char* stepLabel);
    void mnuNewMap_Click();
    void mnuImportCSV_Click();
    void mnuMapGeneration_Click();
    void mnuShowOverlay_Click();
    void mnuHelpTopics_Click();
    void mnuExit_Click();

    // Undo, redo and unsaved work (frm_main_edit.cpp).
    void mnuUndo_Click();
    void mnuRedo_Click();
    // Asks whether to save a modified map first; false when the user cancels
    // or the save does not happen, and the command must stop.
    bool MaySaveChanges();

    // File menu (frm_main_file.cpp).
    void mnuOpenMap_Click();
    bool mnuSaveMap_Click();
    bool mnuSaveMapAs_Click();
    bool WriteProjectFile(const std::string& path);

    // Adding, removing, moving and locating tilesets (frm_main_tilesets.cpp).
    void cmdAddTileset_Click();
    void EditTileset(TilesetEdit edit);
    void mnuLocateTileset_Click();
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

    Dialogs& dialogs_;
    EditorState state_;
    UndoHistory history_;
    std::vector<int> tileCounts_; // of each listed tileset, from the last palette rebuild

    PaletteGroup* paletteGroup_ = nullptr;
    EditField* editField_ = nullptr;
    QGroupBox* Frame2 = nullptr;
    QGroupBox* Frame3 = nullptr;
    QGroupBox* Frame4 = nullptr;
    std::array<QRadioButton*, 4> optScaleMode{};
    std::array<QToolButton*, 4> optToolSelect{};
    QLabel* lblMapCoordinate = nullptr;
    QAction* mnuUndo = nullptr;
    QAction* mnuRedo = nullptr;
    QAction* mnuShowGrid = nullptr;
    QAction* mnuShowExportArea = nullptr;
};

} // namespace tessra
