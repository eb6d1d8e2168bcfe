#pragma once

#include "io/map_build.h"
#include "ui/tool_dialog.h"

#include <optional>
#include <string>
#include <thread>

class QLabel;
class QProgressBar;
class QPushButton;
class QTreeWidget;

namespace tessra {

// File > Build All: every map of a folder exported as its profile says, as
// tessra-cli build does it, on a thread of its own. A progress bar shows once
// the build takes more than half a second; then the list tells each output
// written, left as it was or failed, failed maps first. A double-click on a
// failed map chooses it, to be opened.
class frmBuildAll : public ToolDialog {
    Q_OBJECT

  public:
    frmBuildAll(ToolWindowContext& context, const std::string& folder, QWidget* parent);
    ~frmBuildAll() override;

    // The failed map chosen, if one was.
    std::optional<std::string> Outcome() const { return chosen_; }
    bool Running() const { return worker_.joinable() && !done_; }

    static constexpr int ProgressDelay = 500; // milliseconds

  protected:
    void reject() override; // not while the build runs

  private:
    void ShowReport(const Result<BuildReport>& report);

    std::string folder_;
    QLabel* lblBuildStatus = nullptr;
    QProgressBar* prgBuild = nullptr;
    QTreeWidget* lstBuildOutputs = nullptr;
    QLabel* lblBuildMessage = nullptr; // the selected failed map's message
    QPushButton* cmdClose = nullptr;
    std::thread worker_;
    bool done_ = false;
    std::optional<std::string> chosen_;
};

} // namespace tessra
