#pragma once

#include "core/export/export_profile.h"
#include "core/export/map_export.h"
#include "ui/tool_dialog.h"

#include <optional>
#include <string>
#include <string_view>

class QCheckBox;
class QLabel;

namespace tessra {

// File > Export...: every export setting, the output files and the bytes
// they will hold. OK writes the export; the main window keeps its settings.
class frmExport : public ToolDialog {
    Q_OBJECT

  public:
    // Starts from `profile` (its files paths from the working folder);
    // mapPath is the map's file, empty while it has none; tiles is the
    // palette picture unflipped, which the tile graphics take.
    frmExport(ToolWindowContext& context, const ExportProfile& profile, std::string mapPath,
              const Surface& tiles, QWidget* parent);

    struct Written {
        ExportProfile profile; // the files as paths from the working folder
        std::string report;    // "Exported 480 bytes to ..."
    };
    // What was written, once OK has written it.
    const std::optional<Written>& Outcome() const { return outcome_; }

  private:
    void BuildSettings();
    void BuildOutput();
    void ShowProfile(const ExportProfile& profile);
    QWidget* Control(std::string_view setting) const;
    std::string ControlText(std::string_view setting) const;
    // Every setting as the controls give it, wrong ones left at their defaults.
    ExportSettings Shape() const;
    // The settings the controls give; those that do not apply keep their defaults.
    Result<ExportSettings> ReadSettings() const;
    // A file as typed: one without a folder is taken from the map's folder,
    // as a profile keeps it.
    std::string PathOf(const std::string& text) const;
    std::string OutputPath() const;
    // The export's result with the settings given, the tiles' pictures read.
    Result<MapExport> Run(const ExportSettings& settings, const std::string& output) const;
    void UpdateControls();
    bool cmdBrowse_Click();
    void BrowseFor(std::string_view setting);
    void cmdOK_Click();

    std::string mapPath_;
    const Surface& tiles_;
    std::string bank_;   // the profile's tile bank, kept as it was
    bool ready_ = false; // the controls are being filled in
    QLineEdit* txtOutput = nullptr;
    QCheckBox* chkExportOnSave = nullptr;
    QLabel* lblSize = nullptr;
    std::optional<Written> outcome_;
};

} // namespace tessra
