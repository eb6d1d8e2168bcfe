#pragma once

#include "platform/qt_text.h"
#include "tool_window_fixture.h"
#include "ui/frm_main.h"
#include "ui/picture_box.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QListWidget>
#include <QSet>
#include <QSettings>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

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

// The document and its selection as the window shows them: what a refused
// command leaves alone and undo brings back. The title is not in it.
inline QString Snapshot(tessra::frmMain& window) {
    const tessra::EditorState& s = window.state();
    const auto* list = window.findChild<QListWidget*>("lstTilesets");
    const QList<QListWidgetItem*> selected = list->selectedItems();
    const int row = selected.isEmpty() ? -1 : list->row(selected.front());
    QString text = QString::number(list->count()) + '@' + QString::number(row) +
                   window.findChild<QWidget*>("Frame1")->property("title").toString() +
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

// Counts the paint events that reach the watched widgets.
class PaintCounter : public QObject {
  public:
    explicit PaintCounter(const QList<QWidget*>& widgets) {
        for (QWidget* widget : widgets) {
            widget->installEventFilter(this);
        }
    }
    // The names of the widgets painted since the last call, in name order.
    QStringList Painted() {
        QCoreApplication::processEvents();
        QStringList names = std::exchange(painted_, {}).values();
        names.sort();
        return names;
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            painted_.insert(watched->objectName());
        }
        return false;
    }

  private:
    QSet<QString> painted_;
};

// Chooses the menu item, or clicks the button, of that name.
inline void Use(tessra::frmMain& window, const char* name) {
    if (auto* action = window.findChild<QAction*>(QLatin1String(name))) {
        action->trigger();
    } else {
        Click(window, name);
    }
}

// Chooses a menu item and lets `act` work in the modal window it opens, which
// is then closed if still open. Returns whether a modal window opened.
inline bool UseToolWindow(tessra::frmMain& main, const char* item,
                          const std::function<void(QWidget&)>& act = {}) {
    bool shown = false;
    QObject guard; // gone with this call, so the timer never fires into a later one
    QTimer::singleShot(0, &guard, [&] {
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
    Trigger(main, item);
    return shown;
}

// A shown main window answered by the dialog fake, with files in a temporary
// folder. Settings and application data go to a folder of this process's own,
// emptied for each window, so no test sees another's or the user's.
class MainWindowTest : public QObject {
  public:
    MainWindowTest() {
        QStandardPaths::setTestModeEnabled(true);
        QCoreApplication::setOrganizationName(QStringLiteral("tessra-tests"));
        QCoreApplication::setApplicationName(
            QStringLiteral("tessra-%1").arg(QCoreApplication::applicationPid()));
    }
    ~MainWindowTest() override {
        window.reset();
        ForgetSettings();
    }

  protected:
    QTemporaryDir dir;
    tessra::FakeDialogs dialogs;
    std::unique_ptr<tessra::frmMain> window;

    static void ForgetSettings() {
        QSettings settings;
        settings.clear();
        settings.sync();
        QFile::remove(settings.fileName());
        QDir().rmdir(QFileInfo(settings.fileName()).path());
        QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)).removeRecursively();
    }
    void OpenWindow() {
        window.reset();
        ForgetSettings();
        dialogs = tessra::FakeDialogs{};
        window = std::make_unique<tessra::frmMain>(dialogs);
        window->show();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
    }
    QString Path(const QString& name) const { return dir.filePath(name); }
    void Write(const QString& name, const QByteArray& bytes) { WriteFile(dir, name, bytes); }
    template <class T = QWidget> T* Find(const char* name) const {
        return window->findChild<T*>(QLatin1String(name));
    }
    tessra::EditorState& State() { return window->state(); }
    tessra::PictureBox* View() const { return Find<tessra::PictureBox>("picEditField"); }
    void AddTileset(const QString& name) {
        dialogs.fileAnswers.push_back(Path(name));
        Click(*window, "cmdAddTileset");
    }
};
