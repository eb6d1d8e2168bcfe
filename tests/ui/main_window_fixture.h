#pragma once

#include "core/editor_state.h"
#include "core/surface.h"
#include "platform/file_io.h"
#include "ui/frm_main.h"

#include <QAction>
#include <QApplication>
#include <QByteArray>
#include <QCoreApplication>
#include <QListWidget>
#include <QMouseEvent>
#include <QTimer>
#include <functional>

// Palette colour i of the test tilesets; index 0 is never used, so no tile is black.
inline tessra::Pixel IndexColour(int i) {
    return tessra::Rgb(i, 128, 255 - i);
}

// A tileset whose tile t is filled with colour index first + t: an uncompressed
// 8-bit PCX, every byte a literal, those from 0xC0 up behind a run of one.
inline QByteArray TilesetPcx(int width, int height, int first) {
    QByteArray file(128, '\0');
    auto put16 = [&](int at, int value) {
        file[at] = char(value & 0xFF), file[at + 1] = char(value >> 8);
    };
    file[0] = 0x0A, file[1] = 5, file[2] = 1, file[3] = 8, file[65] = 1;
    put16(8, width - 1), put16(10, height - 1), put16(66, width), put16(68, 1);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int v = first + x / 16 + width / 16 * (y / 16);
            file.append(v >= 0xC0 ? "\xC1" : "").append(char(v));
        }
    }
    file.append(char(0x0C));
    for (int i = 0; i < 256; ++i) {
        const tessra::Pixel c = IndexColour(i);
        file.append(char(c & 0xFF)).append(char(c >> 8 & 0xFF)).append(char(c >> 16 & 0xFF));
    }
    return file;
}

inline void SendMouse(QWidget* widget, QEvent::Type type, QPointF at, Qt::MouseButton button,
                      Qt::MouseButtons held) {
    QMouseEvent event(type, at, widget->mapToGlobal(at), button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &event);
}

// Everything a refused command must leave alone.
inline QString Snapshot(tessra::frmMain& window) {
    const tessra::EditorState& s = window.state();
    QString text = window.windowTitle() + tessra::ToQString(s.CurrentFileName) +
                   QString::number(window.findChild<QListWidget*>("lstTilesets")->count()) +
                   QString::number(qHashBits(s.MapData.data(), tessra::CellCount)) +
                   QString::number(qHashBits(window.palette().data(), 256 * 256 * 4));
    for (const std::string& path : s.Tilesets) {
        text += tessra::ToQString(path) + '|';
    }
    return text;
}

inline void Trigger(tessra::frmMain& window, const char* item) {
    window.findChild<QAction*>(QLatin1String(item))->trigger();
}

// Chooses a menu item and lets `act` work in the modal window it opens, which
// is then closed if still open. Returns whether a modal window opened.
inline bool UseToolWindow(tessra::frmMain& main, const char* item,
                          const std::function<void(QWidget&)>& act = {}) {
    bool shown = false;
    QTimer timer; // gone with this call, so it never fires into a later one
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        if (QWidget* window = QApplication::activeModalWidget()) {
            shown = true;
            if (act) {
                act(*window);
            }
            if (window->isVisible()) {
                window->close();
            }
        }
    });
    timer.start(0);
    Trigger(main, item);
    return shown;
}
