#pragma once

#include "core/editor_state.h"
#include "core/palette.h"
#include "core/surface.h"
#include "help/html_help_viewer.h"
#include "platform/dialogs.h"
#include "ui/tool_window_context.h"

#include <QCoreApplication>
#include <QDir>
#include <QList>
#include <QWidget>

// The shared state a tool window works on, with the dialog fake answering for
// the user and a palette whose tile t is the colour TileColour(t).
struct ToolWindowFixture {
    tessra::EditorState state;
    tessra::FakeDialogs dialogs;
    tessra::Surface palette{tessra::PaletteWidth, tessra::PaletteHeight};
    tessra::HTMLHelpViewer help;
    tessra::ToolWindowContext context{state, dialogs, palette, help};

    static tessra::Pixel TileColour(int t) { return tessra::Rgb(t, 255 - t, 99); }

    ToolWindowFixture() {
        for (int y = 0; y < palette.Height(); ++y) {
            for (int x = 0; x < palette.Width(); ++x) {
                palette.Set(x, y, TileColour(16 * (y / 16) + x / 16));
            }
        }
        help.HelpFile(CollectionFile());
    }

    // The help collection the build places beside the editor.
    static QString CollectionFile() {
        return QDir(QCoreApplication::applicationDirPath())
            .absoluteFilePath(QStringLiteral("../src/app/tessra.qhc"));
    }
};

// A child by objectName; for a control array, the member with that index.
template <class T> T* Child(QWidget& window, const char* name, int index = -1) {
    const QList<T*> found = window.findChildren<T*>(QLatin1String(name));
    for (T* child : found) {
        if (index < 0 || child->property("index").toInt() == index) {
            return child;
        }
    }
    return nullptr;
}
