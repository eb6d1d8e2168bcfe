#include "help/html_help_viewer.h"

#include <QWidget>

namespace tessra {

// Placeholder display members until the help window lands.
HTMLHelpViewer::~HTMLHelpViewer() { Unload(); }
void HTMLHelpViewer::ShowContents() {}
void HTMLHelpViewer::Show() {}
void HTMLHelpViewer::ShowIndex() {}
void HTMLHelpViewer::ShowSearch() {}
void HTMLHelpViewer::ShowContext(long) {}
void HTMLHelpViewer::ShowTopic(const QString&) {}
void HTMLHelpViewer::Unload() {
    if (hWndHelp_) {
        hWndHelp_->close();
    }
}

} // namespace tessra
