#pragma once

#include "core/model/editor_state.h"
#include "core/render/surface.h"

namespace tessra {

class Dialogs;
class HTMLHelpViewer;

// What every tool window works on: the shared document, the dialog seam, the
// main window's palette picture and the help viewer.
struct ToolWindowContext {
    EditorState& state;
    Dialogs& dialogs;
    const Surface& palette;
    HTMLHelpViewer& help;
};

} // namespace tessra
