#pragma once

#include "ui/tool_dialog.h"

class QLabel;

namespace tessra {

// "v1.0 rev 9": each number in decimal, neither padded nor cut.
QString VersionText(int major, int minor, int revision);

// The borderless About box: the artwork, the version and a red X that closes it.
class frmAbout : public ToolDialog {
    Q_OBJECT

  public:
    frmAbout(ToolWindowContext& context, QWidget* parent);

  private:
    QLabel* picture_ = nullptr;
    QLabel* imgClose = nullptr;
    QLabel* lblVersion = nullptr;
};

} // namespace tessra
