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
#include <string_view>
#include <vector>

class QAbstractButton;
class QAction;
class QButtonGroup;
class QDragEnterEvent;
class QDropEvent;
class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QToolButton;
class QWheelEvent;

namespace tessra {

class Dialogs;
class MapOverlay;
class PictureBox;

// The editor's main window: the map view with its scroll bars, zoom and tool
// selectors, the tile palette with the tileset list, and the menus. It owns
// the document and the pictures; core does the work behind every handler.
class frmMain : public QMainWindow {
    Q_OBJECT

  public:
    static constexpr int ClientWidth = 817, ClientHeight = 521;

    explicit frmMain(Dialogs& dialogs, QWidget* parent = nullptr);
    ~frmMain() override;

    EditorState& state() { return state_; }
    const UndoHistory& history() const { return history_; }
    const Surface& palette() const { return palette_; }
    const Surface& view() const { return view_; }
    const Surface& preview() const { return preview_; }

    // Draws the visible cells of the map and shows them.
    void RedrawMapView();

    // Opens a project (from the dialog, a drop or the command line); a file
    // that cannot be read or is refused leaves the document as it was.
    bool OpenProjectFile(const std::string& path); // the system's bytes

    // Shows a tool window modally and acts on the word it leaves in Tag:
    // "LOAD" marks the map untitled and redraws it, "SWAP" redraws it, "NEW"
    // also rebuilds the palette. What the window changes is one undo step,
    // named by stepLabel; a window that changes nothing leaves no step.
    template <class Window>
    void OpenToolWindow(std::string_view resultWord = {}, const char* stepLabel = nullptr) {
        // Cleared first, so a window closed with its close box never repeats
        // the command of an earlier one.
        state_.Tag.clear();
        history_.EndStep(state_);
        if (stepLabel != nullptr) {
            history_.BeginStep(state_, stepLabel);
        }
        {
            ToolWindowContext context{state_, dialogs_, palette_, HelpViewer};
            Window window(context, this);
            window.exec();
        }
        if (!resultWord.empty() && state_.Tag == resultWord) {
            ActOnToolResult(resultWord);
        }
        if (stepLabel != nullptr) {
            history_.EndStep(state_);
            UpdateEditMenu();
        }
    }

    HTMLHelpViewer HelpViewer;

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    // Construction (frm_main.cpp).
    void BuildClientArea();
    void Form_Load();
    void SetTitle();
    void CenterOnScreen();
    void ShowError(const QString& text);
    void ActOnToolResult(std::string_view word);

    // Menus and tool windows (frm_main_menu.cpp).
    void BuildMenus();
    void mnuNewMap_Click();
    void mnuImportCSV_Click();
    void mnuMapGeneration_Click();
    void mnuRubberStampBuilder_Click();
    void mnuTileSwapper_Click();
    void mnuTileReplace_Click();
    void mnuTileShift_Click();
    void mnuMapShift_Click();
    void mnuHelpTopics_Click();
    void mnuAboutTESSRA_Click();
    void mnuExit_Click();
    void BuildKeyboard();
    void SelectTool(int index);

    // Undo, redo and unsaved work (frm_main_edit.cpp).
    void mnuUndo_Click();
    void mnuRedo_Click();
    void ActOnHistoryMove(const HistoryMove& move);
    void UpdateEditMenu();
    // Asks whether to save a modified map first; false when the user cancels
    // or the save does not happen, and the command must stop.
    bool MaySaveChanges();

    // File menu (frm_main_file.cpp).
    void mnuOpenMap_Click();
    bool mnuSaveMap_Click();
    bool mnuSaveMapAs_Click();
    bool WriteProjectFile(const std::string& path);

    // Palette group (frm_main_palette.cpp).
    void BuildPaletteFrame(QWidget* client);
    void cmdAddTileset_Click();
    void lstTilesets_Click();
    void picTileset_MouseUp(int button, double X, double Y);
    std::vector<TilesetFailure> ReloadTilesets();
    static Result<Surface> LoadTilesetPicture(const std::string& path);
    void ReportTilesetFailures(const std::vector<TilesetFailure>& failures);
    void FillTilesetList();
    void SetPaletteCaption();
    void RebuildPalette(int selectRow);

    // Removing, moving and locating tilesets (frm_main_tilesets.cpp).
    void BuildTilesetCommands();
    void EditTileset(TilesetEdit edit);
    void mnuLocateTileset_Click();
    void MarkMissingTilesets();

    // Map view, zoom, scrolling and tools (frm_main_view.cpp).
    void BuildMapView(QWidget* client);
    void BuildZoomFrame(QWidget* client);
    void BuildToolFrame(QWidget* client);
    void optScaleMode_Click(int index);
    void optToolSelect_Click(int index);
    void picEditField_MouseDown(int button, double X, double Y);
    void picEditField_MouseMove(int button, double X, double Y);
    void picEditField_MouseUp(int button, double X, double Y);

    // Wheel, overlays and the View menu (frm_main_overlay.cpp).
    void BuildOverlay();
    void picEditField_Wheel(QWheelEvent* event);
    void ZoomAround(int zoomMode, QPointF at);
    void UpdateOverlay();

    Dialogs& dialogs_;
    EditorState state_;
    UndoHistory history_;
    // The block Map Generation wrote last, shown by "Show Export Area".
    int exportWidth_ = MapSize, exportHeight_ = MapSize;
    QPoint wheelRest_; // wheel angle not yet turned into whole steps
    Surface palette_;
    Surface view_;
    Surface preview_;

    PictureBox* picEditField = nullptr;
    QScrollBar* scrHoriz = nullptr;
    QScrollBar* scrVert = nullptr;
    QGroupBox* Frame1 = nullptr;
    QGroupBox* Frame2 = nullptr;
    QGroupBox* Frame3 = nullptr;
    QGroupBox* Frame4 = nullptr;
    std::array<QRadioButton*, 4> optScaleMode{};
    std::array<QToolButton*, 4> optToolSelect{};
    QLabel* lblMapCoordinate = nullptr;
    PictureBox* picTileTexture = nullptr;
    QListWidget* lstTilesets = nullptr;
    QPushButton* cmdAddTileset = nullptr;
    QPushButton* cmdDelTileset = nullptr;
    QPushButton* cmdMoveUp = nullptr;
    QPushButton* cmdMoveDown = nullptr;
    PictureBox* picTileset = nullptr;
    QWidget* imgTileSelector = nullptr;
    MapOverlay* overlay_ = nullptr;
    QAction* mnuUndo = nullptr;
    QAction* mnuRedo = nullptr;
    QAction* mnuShowGrid = nullptr;
    QAction* mnuShowExportArea = nullptr;
    QAction* mnuLocateTileset = nullptr;
};

} // namespace tessra
