#include "core/edit/cell_block_text.h"
#include "main_window_fixture.h"
#include "ui/map_overlay.h"

#include <QAbstractButton>
#include <QClipboard>
#include <QMimeData>

using namespace tessra;

// The Select tool, the clipboard commands and Selection to Stamp, through
// the keys, the menu and the mouse over the map view at 1x (16 pixels a cell).
class SelectionTest : public MainWindowTest {
    Q_OBJECT

    void Fresh() {
        OpenWindow();
        AddTileset("a.pcx");
        for (int y = 0; y < MapSize; ++y) {
            for (int x = 0; x < MapSize; ++x) {
                State().MapData(x, y) = std::uint8_t((x + 10 * y) % 47 + 1);
            }
        }
        window->RedrawMapView();
    }
    QPoint At(const QString& text) const {
        const QStringList xy = text.split(',');
        return {xy[0].toInt(), xy[1].toInt()};
    }
    // One action: a key ("S", "Ctrl+X", "Esc"), "drag x,y x,y", "hover x,y",
    // "click x,y" or "text ..." for the clipboard.
    void Do(const QString& action) {
        const QString word = action.section(' ', 0, 0);
        QString rest = action.section(' ', 1);
        if (word == "drag" || word == "click") {
            const QPoint from = At(rest.section(' ', 0, 0));
            const QPoint to = At(rest.section(' ', -1));
            SendMouse(View(), QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
            SendMouse(View(), QEvent::MouseMove, (from + to) / 2, Qt::NoButton, Qt::LeftButton);
            SendMouse(View(), QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
            SendMouse(View(), QEvent::MouseButtonRelease, to, Qt::LeftButton, {});
        } else if (word == "hover") {
            SendMouse(View(), QEvent::MouseMove, At(rest), Qt::NoButton, {});
        } else if (word == "text") {
            QGuiApplication::clipboard()->setText(rest.replace("\\t", "\t").replace("\\n", "\n"));
        } else {
            const QKeySequence keys(action);
            QTest::keyClick(window.get(), Qt::Key(keys[0].key()), keys[0].keyboardModifiers());
        }
    }
    // "x,y=tile" for each cell named.
    QString Cells(const QStringList& names) {
        QStringList cells;
        for (const QString& name : names) {
            const QPoint cell = At(name.section('=', 0, 0));
            cells << name.section('=', 0, 0) + '=' +
                         QString::number(State().MapData(cell.x(), cell.y()));
        }
        return cells.join(' ');
    }

  private slots:
    void initTestCase() { Write("a.pcx", TilesetPcx(256, 48, 1)); }

    // Each command on the cells of a drag from cell 2,2 to 6,3: what it
    // makes of them, and the one undo step it is, taken back and made again.
    void commandsAreOneStepEach_data() {
        QTest::addColumn<QStringList>("actions");
        QTest::addColumn<QString>("label"); // of the step; none for no step
        QTest::addColumn<QStringList>("cells");
        const QString select = "drag 40,40 100,60";
        QTest::newRow("Cut") << QStringList{"S", select, "Ctrl+X"} << "Cut"
                             << QStringList{"2,2=0", "6,3=0", "7,3=38"};
        QTest::newRow("Delete") << QStringList{"S", select, "Del"} << "Delete"
                                << QStringList{"2,2=0", "6,3=0", "1,2=22"};
        QTest::newRow("Move, dragged inside the selection")
            << QStringList{"S", select, "drag 50,50 130,50"} << "Move"
            << QStringList{"2,2=0", "7,2=23", "11,3=37", "12,3=43"};
        QTest::newRow("Paste, put down where clicked")
            << QStringList{"S", select, "Ctrl+C", "Ctrl+V", "hover 200,200", "click 200,200"}
            << "Paste" << QStringList{"12,12=23", "16,13=37", "2,2=23"};
        QTest::newRow("Paste from a spreadsheet, with any tool")
            << QStringList{"D", "text 1\\t2\\n3\\t4\\n", "Ctrl+V", "hover 8,8", "click 8,8"}
            << "Paste" << QStringList{"0,0=1", "1,1=4", "2,0=3"};
        QTest::newRow("Escape drops a paste")
            << QStringList{"S", select, "Ctrl+C", "Ctrl+V", "hover 200,200", "Esc", "click 200,200"}
            << "" << QStringList{"12,12=39"};
        QTest::newRow("Select All, Delete")
            << QStringList{"Ctrl+A", "Del"} << "Delete" << QStringList{"0,0=0", "255,255=0"};
    }

    void commandsAreOneStepEach() {
        QFETCH(QStringList, actions);
        QFETCH(QString, label);
        QFETCH(QStringList, cells);
        Fresh();
        const MapGrid before = State().MapData;
        const Surface viewBefore = window->view();
        const std::size_t steps = window->history().StepCount();
        for (const QString& action : actions) {
            Do(action);
        }
        QCOMPARE(Cells(cells), cells.join(' '));
        QCOMPARE(window->history().StepCount(), steps + (label.isEmpty() ? 0 : 1));
        if (label.isEmpty()) {
            QVERIFY(State().MapData == before && window->view() == viewBefore);
            return;
        }
        QCOMPARE(Find<QAction>("mnuUndo")->text(), "&Undo " + label);
        const MapGrid after = State().MapData;
        const Surface viewAfter = window->view();
        Do("Ctrl+Z");
        QVERIFY(State().MapData == before && window->view() == viewBefore);
        Do("Ctrl+Y");
        QVERIFY(State().MapData == after && window->view() == viewAfter);
    }

    // The selection shows in marching ants; the clipboard carries it in our
    // own kind and as CSV text; a pasted block shows where it would land
    // before it is put down.
    void antsClipboardAndPreview() {
        Fresh();
        Do("S");
        QVERIFY(Child<QAbstractButton>(*window, "optToolSelect", ToolSelect)->isChecked());
        Do("drag 100,60 40,40");
        const auto* overlay = Find<MapOverlay>("mapOverlay");
        QCOMPARE(overlay->settings().selection, QRect(2, 2, 5, 2));
        const int phase = overlay->antsPhase();
        QTRY_VERIFY(overlay->antsPhase() > phase);

        Do("Ctrl+C");
        const QMimeData* data = QGuiApplication::clipboard()->mimeData();
        QCOMPARE(data->text(), QStringLiteral("23,24,25,26,27\n33,34,35,36,37\n"));
        QCOMPARE(ReadCellBlockBytes(data->data(CellBlockMimeType).toStdString()).value(),
                 CopyCells(State().MapData, {2, 2, 5, 2}));

        Do("Ctrl+V");
        Do("hover 200,200");
        QCOMPARE(overlay->settings().selection, QRect(12, 12, 5, 2));
        QCOMPARE(window->view().At(200, 200),
                 window->palette().At(TileLeft(23) + 8, TileTop(23) + 8));
        QCOMPARE(int(State().MapData(12, 12)), 39); // not yet down

        Do("Esc");
        Do("Esc");
        QVERIFY(overlay->settings().selection.isEmpty());
        QVERIFY(!Find<QAction>("mnuCut")->isEnabled() && !Find<QAction>("mnuCopy")->isEnabled());
    }

    // A stamp of the selected cells, or a refusal naming the selection's size;
    // clipboard text that is no block of tile numbers is refused the same way.
    void stampAndRefusals() {
        Fresh();
        Do("S");
        Do("drag 40,40 100,60");
        Trigger(*window, "mnuSelectionToStamp");
        QCOMPARE(std::tuple(StampWidth(State()), StampHeight(State())), std::tuple(5, 2));
        QCOMPARE(int(StampCell(State().StampData, 4, 1)), 37);
        QVERIFY(Child<QAbstractButton>(*window, "optToolSelect", ToolStamp)->isChecked());
        QVERIFY(dialogs.messages.empty());

        Do("Ctrl+A");
        Trigger(*window, "mnuSelectionToStamp");
        QCOMPARE(OnlyError(dialogs), QString::fromUtf8("A stamp is 2 to 8 cells each way; the "
                                                       "selection is 256 \u00d7 256 cells."));
        dialogs.messages.clear();
        Do("text 1,2\\n3,x");
        Do("Ctrl+V");
        QCOMPARE(OnlyError(dialogs), QStringLiteral("The clipboard holds no block of tile "
                                                    "numbers: line 2, value 2 (\"x\") is not a "
                                                    "tile number from 0 to 255."));
        QVERIFY(!window->selection().floating); // nothing to put down
    }
};

QTEST_MAIN(SelectionTest)
#include "selection_test.moc"
