#pragma once

#include "core/editor_state.h"
#include "core/palette.h"
#include "core/surface.h"
#include "help/html_help_viewer.h"
#include "ui/tool_window_context.h"

#include <QMainWindow>
#include <array>
#include <string_view>
#include <vector>

class QAbstractButton;
class QButtonGroup;
class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QToolButton;

namespace tessra {

class Dialogs;
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
    const Surface& palette() const { return palette_; }
    const Surface& view() const { return view_; }
    const Surface& preview() const { return preview_; }

    // Draws the visible cells of the map and shows them.
    void RedrawMapView();

    // Shows a tool window modally and acts on the word it leaves in Tag:
    // "LOAD" marks the map untitled and redraws it, "SWAP" redraws it.
    template <class Window> void OpenToolWindow(std::string_view resultWord = {}) {
        // Cleared first, so a window closed with its close box never repeats
        // the command of an earlier one.
        state_.Tag.clear();
        {
            ToolWindowContext context{state_, dialogs_, palette_, HelpViewer};
            Window window(context, this);
            window.exec();
        }
        if (!resultWord.empty() && state_.Tag == resultWord) {
            ActOnToolResult(resultWord);
        }
    }

    HTMLHelpViewer HelpViewer;

  protected:
    void closeEvent(QCloseEvent* event) override;

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
    void mnuImportCSV_Click();
    void mnuMapGeneration_Click();
    void mnuRubberStampBuilder_Click();
    void mnuTileSwapper_Click();
    void mnuTileReplace_Click();
    void mnuHelpTopics_Click();
    void mnuAboutTESSRA_Click();
    void mnuExit_Click();

    // File menu (frm_main_file.cpp).
    void mnuOpenMap_Click();
    void mnuSaveMap_Click();
    void mnuSaveMapAs_Click();
    bool WriteProjectFile(const QString& path);

    // Palette group (frm_main_palette.cpp).
    void BuildPaletteFrame(QWidget* client);
    void cmdAddTileset_Click();
    void cmdDelTileset_Click();
    void MoveTileset(int step);
    void RenumberTiles();
    void lstTilesets_Click();
    void picTileset_MouseUp(int button, double X, double Y);
    std::vector<TilesetFailure> ReloadTilesets();
    void ReportTilesetFailures(const std::vector<TilesetFailure>& failures);
    void FillTilesetList();
    void SetPaletteCaption();

    // Map view, zoom, scrolling and tools (frm_main_view.cpp).
    void BuildMapView(QWidget* client);
    void BuildZoomFrame(QWidget* client);
    void BuildToolFrame(QWidget* client);
    void optScaleMode_Click(int index);
    void optToolSelect_Click(int index);
    void picEditField_MouseDown(int button, double X, double Y);
    void picEditField_MouseMove(int button, double X, double Y);

    Dialogs& dialogs_;
    EditorState state_;
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
};

} // namespace tessra
