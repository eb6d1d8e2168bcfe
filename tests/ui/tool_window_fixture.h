#pragma once

#include "core/model/editor_state.h"
#include "core/render/palette_build.h"
#include "core/render/surface.h"
#include "help/html_help_viewer.h"
#include "support/fake_dialogs.h"
#include "ui/tool_window_context.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QList>
#include <QMouseEvent>
#include <QTemporaryDir>
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
        for (int i = 0; i < palette.Width() * palette.Height(); ++i) {
            const int x = i % palette.Width(), y = i / palette.Width();
            palette.Set(x, y, TileColour(16 * (y / 16) + x / 16));
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

inline void SendMouse(QWidget* widget, QEvent::Type type, QPointF at, Qt::MouseButton button,
                      Qt::MouseButtons held) {
    QMouseEvent event(type, at, widget->mapToGlobal(at), button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &event);
}

inline void Click(QWidget& window, const char* button) {
    Child<QAbstractButton>(window, button)->click();
}

// Works in a window: "box=text" types into a box ("box#1=text" into the member
// of a control array with index 1); anything else is a button to click.
inline void Enter(QWidget& window, const QStringList& input) {
    for (const QString& step : input) {
        const QStringList part = step.split('=');
        const QStringList name = part[0].split('#');
        if (part.size() == 1) {
            Click(window, qPrintable(name[0]));
        } else {
            Child<QLineEdit>(window, qPrintable(name[0]), name.value(1, "-1").toInt())
                ->setText(part[1]);
        }
    }
}

// The text of the only message shown if it is an error box, else what went wrong.
inline QString OnlyError(const tessra::FakeDialogs& dialogs) {
    if (dialogs.messages.size() != 1) {
        return QStringLiteral("<%1 messages>").arg(dialogs.messages.size());
    }
    const auto& shown = dialogs.messages[0];
    const bool error = shown.title == "TESSRA" && shown.icon == tessra::MessageIcon::Critical;
    return error ? shown.text : QStringLiteral("<not an error box>");
}

inline QString WriteFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes) {
    QFile file(dir.filePath(name));
    if (file.open(QIODevice::WriteOnly)) {
        file.write(bytes);
    }
    return file.fileName();
}
