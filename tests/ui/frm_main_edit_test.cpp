#include "core/project_file.h"
#include "main_window_fixture.h"
#include "platform/dialogs.h"
#include "ui/map_overlay.h"
#include "ui/picture_box.h"

#include <QAbstractButton>
#include <QFile>
#include <QLineEdit>
#include <QMimeData>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <QWheelEvent>
#include <memory>

using namespace tessra;

namespace {

void Click(QWidget& window, const char* button) {
    window.findChild<QAbstractButton*>(QLatin1String(button))->click();
}

// Works in a tool window: "box=text" types into a box ("box#1=text" into the
// second box of that name); anything else is a button to click.
void Enter(QWidget& window, const QStringList& input) {
    for (const QString& step : input) {
        const QStringList part = step.split('=');
        const QStringList name = part[0].split('#');
        if (part.size() == 1) {
            Click(window, qPrintable(name[0]));
        } else {
            window.findChildren<QLineEdit*>(name[0]).at(name.value(1).toInt())->setText(part[1]);
        }
    }
}

enum Command { NewMapCommand, OpenCommand, ImportCommand, ExitCommand, CloseCommand, DropCommand };
// The prompt's answers, and Save on an untitled map whose Save As is cancelled.
enum Answer { SaveIt, DiscardIt, CancelIt, SaveAsCancelled };

} // namespace

// Undo and redo, the unsaved-work question, the tileset commands and the view.
class FrmMainEditTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    FakeDialogs dialogs;
    std::unique_ptr<frmMain> window;

    QString Path(const QString& name) const { return dir.filePath(name); }
    void Write(const QString& name, const QByteArray& bytes) {
        QFile file(Path(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QByteArray ReadAll(const QString& name) const {
        QFile file(Path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    EditorState& State() { return window->state(); }
    PictureBox* View() const { return window->findChild<PictureBox*>("picEditField"); }
    QAction* Action(const char* name) const { return window->findChild<QAction*>(name); }

    // A new window with tilesets a and b and tile 5 selected, saved as
    // doc.tessra unless left untitled.
    void Fresh(bool titled = true) {
        dialogs = FakeDialogs{};
        window = std::make_unique<frmMain>(dialogs);
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        for (const char* name : {"a.pcx", "b.pcx"}) {
            dialogs.fileAnswers.push_back(Path(name));
            Click(*window, "cmdAddTileset");
        }
        QTest::mouseClick(window->findChild<QWidget*>("picTileset"), Qt::LeftButton, {}, {81, 1});
        State().MapData(255, 0) = 7;
        window->RedrawMapView();
        if (titled) {
            dialogs.fileAnswers.push_back(Path("doc.tessra"));
            Trigger(*window, "mnuSaveMapAs");
        }
    }
    void Press(QPoint at, QPoint dragTo) {
        SendMouse(View(), QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
        SendMouse(View(), QEvent::MouseMove, dragTo, Qt::NoButton, Qt::LeftButton);
        SendMouse(View(), QEvent::MouseButtonRelease, dragTo, Qt::LeftButton, Qt::NoButton);
    }
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
        window->activateWindow(); // back from a tool window
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        QTest::keyClick(window.get(), key, modifiers);
    }
    void Wheel(QPoint angle, Qt::KeyboardModifiers modifiers) {
        QWheelEvent event({100, 100}, View()->mapToGlobal(QPointF(100, 100)), {}, angle,
                          Qt::NoButton, modifiers, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(View(), &event);
    }

  private slots:
    void initTestCase() {
        Write("a.pcx", TilesetPcx(256, 48, 1));  // tiles 0..47
        Write("b.pcx", TilesetPcx(16, 32, 100)); // tiles 48, 49
        Write("c.pcx", TilesetPcx(32, 16, 200)); // tiles 50, 51 once added
        Write("map.csv", "4,5,6,\r\n");
        Write("other.tessra", QByteArray::fromStdString(WriteProjectBytes({}, MapGrid{})));
    }

    void undoAndRedo_data() {
        QTest::addColumn<QString>("item"); // a menu item, or the key of a tool to drag with
        QTest::addColumn<QStringList>("input");
        QTest::addColumn<QString>("refusal");
        const auto row = [](const char* label, const char* item, const QStringList& input,
                            const char* refusal = "") {
            QTest::newRow(label) << QString(item) << input << QString(refusal);
        };
        row("Draw", "D", {});
        row("Fill", "F", {});
        row("Stamp", "S", {});
        row("Swap", "mnuTileSwapper", {"txtDoSwap#1=9", "cmdSwap"});
        row("Import CSV", "mnuImportCSV",
            {"txtSizeX=3", "txtSizeY=1", "txtBrowseForFile=" + Path("map.csv"), "cmdOK"});
        row("New Map", "mnuNewMap", {"txtFillTile=3", "chkKeepTilesets", "cmdOK"});
        row("Tile Shift", "mnuTileShift", {"txtTo=7", "txtOffset=4", "cmdShift"});
        row("Map Shift", "mnuMapShift", {"txtShiftX=2", "cmdShift"});
        row("refused Tile Shift", "mnuTileShift",
            {"txtFrom=5", "txtTo=9", "txtOffset=250", "cmdShift"},
            "Tile Shift would turn tile 7 into 257; tile numbers run from 0 to 255.");
    }

    void undoAndRedo() {
        QFETCH(QString, item);
        QFETCH(QStringList, input);
        QFETCH(QString, refusal);
        const QString label = QTest::currentDataTag();
        Fresh();
        StampCell(State().StampData, 1, 1) = 9;
        const QString before = Snapshot(*window);
        const Surface viewBefore = window->view();
        const std::size_t steps = window->history().StepCount();
        if (item.size() == 1) {
            Key(Qt::Key(item[0].unicode()));
            Press({40, 40}, {100, 40});
        } else {
            QVERIFY(UseToolWindow(*window, qPrintable(item), [&](QWidget& w) { Enter(w, input); }));
        }
        if (!refusal.isEmpty()) { // a message, and nothing to undo
            QCOMPARE(dialogs.messages.size(), 1u);
            QCOMPARE(dialogs.messages[0].text, refusal);
            QVERIFY(dialogs.messages[0].icon == MessageIcon::Critical &&
                    dialogs.messages[0].title == "TESSRA");
            QCOMPARE(Snapshot(*window), before);
            QCOMPARE(window->history().StepCount(), steps);
            return;
        }
        const QString after = Snapshot(*window);
        const Surface viewAfter = window->view();
        QVERIFY(after != before && !(viewAfter == viewBefore));
        QCOMPARE(Action("mnuUndo")->text(), "&Undo " + label);
        // A new map starts unmodified; the one before it no longer matches a save.
        const bool fresh = label == "New Map";
        QCOMPARE(window->history().IsModified(), !fresh);

        Key(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(Snapshot(*window), before);
        QVERIFY(window->view() == viewBefore);
        QCOMPARE(window->history().IsModified(), fresh);
        QCOMPARE(Action("mnuRedo")->text(), "&Redo " + label);

        Key(Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(Snapshot(*window), after);
        QVERIFY(window->view() == viewAfter);
        QVERIFY(!Action("mnuRedo")->isEnabled());
        QVERIFY(label != "Map Shift" || State().MapData(1, 0) == 7); // wrapped round
    }

    void unsavedWorkPrompt_data() {
        QTest::addColumn<int>("command");
        QTest::addColumn<int>("answer");
        const char* commands[] = {"New", "Open", "Import CSV", "Exit", "close", "drop"};
        const char* answers[] = {"Save", "Discard", "Cancel", "Save As cancelled"};
        for (int c = NewMapCommand; c <= DropCommand; ++c) {
            for (int a = SaveIt; a <= SaveAsCancelled; ++a) {
                QTest::addRow("%s, %s", commands[c], answers[a]) << c << a;
            }
        }
    }

    void unsavedWorkPrompt() {
        QFETCH(int, command);
        QFETCH(int, answer);
        Fresh(answer != SaveAsCancelled);
        const QByteArray saved = ReadAll("doc.tessra");
        QTest::mouseClick(View(), Qt::LeftButton, {}, {5, 5});
        dialogs.saveAnswers = {answer == SaveAsCancelled ? SaveAnswer::Save
                               : answer == SaveIt        ? SaveAnswer::Save
                               : answer == DiscardIt     ? SaveAnswer::Discard
                                                         : SaveAnswer::Cancel};
        if (answer == SaveAsCancelled) {
            dialogs.fileAnswers.push_back(std::nullopt);
        }
        dialogs.fileAnswers.push_back(Path("other.tessra"));

        QMimeData dropped;
        dropped.setUrls({QUrl::fromLocalFile(Path("other.tessra"))});
        QDropEvent drop({10, 10}, Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
        bool went = false;
        switch (command) {
        case NewMapCommand:
            went = UseToolWindow(*window, "mnuNewMap");
            break;
        case ImportCommand:
            went = UseToolWindow(*window, "mnuImportCSV");
            break;
        case ExitCommand:
        case CloseCommand:
            command == ExitCommand ? Trigger(*window, "mnuExit") : void(window->close());
            went = !window->isVisible();
            break;
        default:
            command == OpenCommand ? Trigger(*window, "mnuOpenMap")
                                   : void(static_cast<QObject*>(window.get())->event(&drop));
            went = State().CurrentFileName == ToStdString(Path("other.tessra"));
        }
        QVERIFY(dialogs.questions == std::vector<QString>{"Save changes to the current map?"});
        QCOMPARE(went, answer == SaveIt || answer == DiscardIt);
        QCOMPARE(ReadAll("doc.tessra") != saved, answer == SaveIt);
        QVERIFY(went || (window->history().IsModified() && State().MapData(0, 0) == 5));
    }

    void tilesetEditsKeepEveryPicture_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("removedFirst"); // the removed tileset's tiles, or none
        QTest::addColumn<int>("removedLast");
        QTest::addColumn<bool>("renumber");
        QTest::newRow("Del first") << "cmdDelTileset" << 0 << 0 << 47 << true;
        QTest::newRow("Del middle") << "cmdDelTileset" << 1 << 48 << 49 << true;
        QTest::newRow("Up") << "cmdMoveUp" << 1 << -1 << -1 << true;
        QTest::newRow("Down") << "cmdMoveDown" << 0 << -1 << -1 << true;
        QTest::newRow("Up, numbers kept") << "cmdMoveUp" << 2 << -1 << -1 << false;
    }

    void tilesetEditsKeepEveryPicture() {
        QFETCH(QString, button);
        QFETCH(int, row);
        QFETCH(int, removedFirst);
        QFETCH(int, removedLast);
        QFETCH(bool, renumber);
        Fresh();
        dialogs.fileAnswers.push_back(Path("c.pcx"));
        Click(*window, "cmdAddTileset");
        for (int y = 0; y < 28; ++y) {
            for (int x = 0; x < 32; ++x) {
                State().MapData(x, y) = std::uint8_t((x + 32 * y) % 52);
            }
        }
        window->RedrawMapView();
        const Surface before = window->view();
        const MapGrid map = State().MapData;
        dialogs.yesNoAnswers = {renumber};

        auto* list = window->findChild<QListWidget*>("lstTilesets");
        list->setCurrentRow(row);
        Click(*window, button.toLatin1().constData());
        QCOMPARE(dialogs.questions.size(), 1u);
        const int selected = list->currentRow();
        QCOMPARE(window->findChild<QWidget*>("cmdMoveUp")->isEnabled(), selected > 0);
        QCOMPARE(window->findChild<QWidget*>("cmdMoveDown")->isEnabled(),
                 selected >= 0 && selected < list->count() - 1);

        bool same = true;
        for (int y = 0; y < 28; ++y) {
            for (int x = 0; x < 32; ++x) {
                const int tile = map(x, y);
                const bool removed = tile >= removedFirst && tile <= removedLast;
                const Pixel expected =
                    removed ? window->palette().At(8, 8) : before.At(16 * x + 8, 16 * y + 8);
                same = same && window->view().At(16 * x + 8, 16 * y + 8) == expected;
            }
        }
        QCOMPARE(same, renumber);
        QCOMPARE(State().MapData == map, !renumber);

        Trigger(*window, "mnuUndo");
        QVERIFY(window->view() == before);
        QVERIFY(State().MapData == map);
    }

    void wheelKeysAndOverlays() {
        Fresh();
        auto* horiz = window->findChild<QScrollBar*>("scrHoriz");
        auto* vert = window->findChild<QScrollBar*>("scrVert");
        Wheel({0, -240}, {});
        Wheel({0, -120}, Qt::ShiftModifier);
        QCOMPARE(QPoint(horiz->value(), vert->value()), QPoint(3, 6));
        Wheel({0, 120}, Qt::ControlModifier); // zooms in about the cell under the pointer
        QCOMPARE(int(State().ZoomMode), 1);
        QCOMPARE(QPoint(horiz->value(), vert->value()), QPoint(6, 9));

        const Surface view = window->view();
        Trigger(*window, "mnuShowGrid");
        Trigger(*window, "mnuShowExportArea");
        const QImage shown = View()->grab().toImage();
        QVERIFY(window->view() == view);                     // drawn on the screen only
        QVERIFY(shown.pixel(32, 40) != shown.pixel(33, 40)); // a grid line at the cell edge
        auto* overlay = window->findChild<MapOverlay*>("mapOverlay");
        QCOMPARE(overlay->settings().exportWidth, 256);

        dialogs.fileAnswers.push_back(Path("map.dat"));
        UseToolWindow(*window, "mnuMapGeneration_submenu", [](QWidget& w) {
            Enter(w, {"txtMapSizeX=10", "txtMapSizeY=20", "cmdGenerate"});
        });
        QCOMPARE(overlay->settings().exportWidth, 10);
        QCOMPARE(overlay->settings().exportHeight, 20);
        QCOMPARE(ExportAreaText(256, 256), QStringLiteral("256 x 256 = 65,536 bytes"));
    }
};

QTEST_MAIN(FrmMainEditTest)
#include "frm_main_edit_test.moc"
