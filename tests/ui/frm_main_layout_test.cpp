#include "core/render/map_view.h"
#include "main_window_fixture.h"
#include "ui/map_overlay.h"

#include <QHeaderView>
#include <QLabel>
#include <QScrollBar>
#include <QStatusBar>
#include <QTableWidget>
#include <QWheelEvent>

using namespace tessra;

class FrmMainLayoutTest : public MainWindowTest {
    Q_OBJECT

    QScrollBar* Bar(const char* name) const { return Find<QScrollBar>(name); }
    QPoint Scroll() const { return {Bar("scrHoriz")->value(), Bar("scrVert")->value()}; }
    // The scroll bars' maxima and page steps, across then down.
    QList<int> Limits() const {
        return {Bar("scrHoriz")->maximum(), Bar("scrVert")->maximum(), Bar("scrHoriz")->pageStep(),
                Bar("scrVert")->pageStep()};
    }
    QString Places() const {
        const QSize client = Find("client")->size();
        QStringList places{QStringLiteral("client %1x%2").arg(client.width()).arg(client.height())};
        for (const char* name : {"editField", "picEditField", "scrHoriz", "scrVert", "Frame1",
                                 "Frame2", "Frame3", "Frame4"}) {
            const QRect r = Find(name)->geometry();
            places << QString::asprintf("%s %d,%d %dx%d", name, r.x(), r.y(), r.width(),
                                        r.height());
        }
        return places.join(QStringLiteral("; "));
    }
    // Resizes the window so that its client area has this size.
    void ResizeClient(QSize size) {
        window->resize(window->size() + size - Find("client")->size());
        QTRY_COMPARE(Find("client")->size(), size);
    }
    void CtrlWheel(QPointF at, int notches) {
        QWheelEvent event(at, View()->mapToGlobal(at), {}, {0, 120 * notches}, Qt::NoButton,
                          Qt::ControlModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(View(), &event);
    }
    QString StatusText(const char* label) const { return Find<QLabel>(label)->text(); }

  private slots:
    void initTestCase() { Write("a.pcx", TilesetPcx(256, 48, 1)); }
    void init() { OpenWindow(); }

    // The first size lays every control where it always was; the window can
    // grow, and then the view takes the room while the frames keep to the
    // right and bottom edges, and its scroll bars count whole cells.
    void growsAroundTheView() {
        const QString first = "client 817x521; editField 0,0 529x465; picEditField 0,0 512x448; "
                              "scrHoriz 0,448 512x17; scrVert 512,0 17x448; Frame1 536,96 273x353; "
                              "Frame2 8,472 169x41; Frame3 536,0 273x89; Frame4 184,472 145x41";
        QCOMPARE(Places(), first);
        QVERIFY(window->minimumSize() != window->maximumSize());
        for (int zoomMode = 0; zoomMode < 4; ++zoomMode) {
            Option(zoomMode)->click();
            const ZoomLevel& zoom = ZoomTable[zoomMode];
            QCOMPARE(Limits(),
                     QList<int>({zoom.horizMax, zoom.vertMax, zoom.horizPage, zoom.vertPage}));
        }

        ResizeClient({1600, 1000});
        QCOMPARE(Places(), "client 1600x1000; editField 0,0 1312x944; "
                           "picEditField 0,0 1295x927; scrHoriz 0,927 1295x17; "
                           "scrVert 1295,0 17x927; Frame1 1319,96 273x353; "
                           "Frame2 8,951 169x41; Frame3 1319,0 273x89; Frame4 184,951 145x41");
        QCOMPARE(window->view().Width(), 1295);
        QCOMPARE(window->view().Height(), 927);
        // Whole cells: 1295 / 16 = 80 columns, 927 / 16 = 57 rows, and so on.
        const QList<QList<int>> limits{
            {176, 199, 80, 57}, {216, 228, 40, 28}, {236, 242, 20, 14}, {246, 249, 10, 7}};
        AddTileset("a.pcx");
        window->SelectTile(3); // the tools reach the whole view, past its first size
        QTest::mouseClick(View(), Qt::LeftButton, {}, {1000, 800});
        const int cellSize = ZoomFor(State().ZoomMode).cellSize;
        QCOMPARE(int(State().MapData(1000 / cellSize, 800 / cellSize)), 3);
        for (int zoomMode = 3; zoomMode >= 0; --zoomMode) {
            Option(zoomMode)->click();
            QCOMPARE(Limits(), limits[zoomMode]);
            // At the maxima the last whole column and row show cell 255.
            Bar("scrHoriz")->setValue(Bar("scrHoriz")->maximum());
            Bar("scrVert")->setValue(Bar("scrVert")->maximum());
            const int size = ZoomTable[zoomMode].cellSize;
            State().MapData(255, 255) = 42;
            window->RedrawMapView();
            const QPoint last(limits[zoomMode][2] * size - 1, limits[zoomMode][3] * size - 1);
            QCOMPARE(window->view().At(last.x(), last.y()), IndexColour(43));
        }

        // Size and place come back at the next start.
        ResizeClient({1000, 700});
        dialogs.saveAnswers = {SaveAnswer::Discard};
        QVERIFY(window->close());
        OpenWindowKeepingSettings();
        QCOMPARE(Find("client")->size(), QSize(1000, 700));
    }

    // Ctrl and the wheel zoom about the cell under the pointer; the keys zoom
    // about the view's centre, and Ctrl+0 goes back to 1x. The option buttons follow.
    void zoomKeepsTheCellInPlace() {
        ResizeClient({1200, 800});
        Bar("scrHoriz")->setValue(100);
        Bar("scrVert")->setValue(90);
        const QPointF at(200, 150);
        const auto cellAt = [&](QPointF p) {
            const int size = ZoomFor(State().ZoomMode).cellSize;
            return QPoint(Scroll().x() + int(p.x()) / size, Scroll().y() + int(p.y()) / size);
        };
        const QPoint under = cellAt(at);
        for (const int notches : {1, 1, 1, -2}) {
            CtrlWheel(at, notches);
            QCOMPARE(cellAt(at), under);
        }
        QCOMPARE(State().ZoomMode, 1);
        QVERIFY(Option(1)->isChecked());

        const QPointF centre(window->view().Width() / 2.0, window->view().Height() / 2.0);
        const QPoint middle = cellAt(centre);
        const struct {
            const char* keys;
            int zoomMode;
        } steps[] = {{"Ctrl++", 2}, {"Ctrl+=", 3}, {"Ctrl+=", 3}, {"Ctrl+-", 2}, {"Ctrl+0", 0}};
        for (const auto& [keys, zoomMode] : steps) {
            QTest::keySequence(window.get(), QKeySequence(QLatin1String(keys)));
            QCOMPARE(State().ZoomMode, zoomMode);
            QVERIFY(Option(zoomMode)->isChecked());
            QVERIFY(qAbs(cellAt(centre).x() - middle.x()) <= 1);
            QVERIFY(qAbs(cellAt(centre).y() - middle.y()) <= 1);
        }
    }

    // The status bar: the cell under the pointer and its tile, the selection,
    // the zoom, unsaved changes and what a map-wide command changed.
    void statusBarSaysWhatIsGoingOn() {
        AddTileset("a.pcx");
        State().MapData(2, 3) = 9;
        SendMouse(View(), QEvent::MouseMove, {2 * 16 + 5, 3 * 16 + 5}, Qt::NoButton, Qt::NoButton);
        QCOMPARE(StatusText("lblStatusCell"), "Cell 2, 3: tile 9");
        QCOMPARE(StatusText("lblStatusTile") + '|' + StatusText("lblStatusZoom") + '|' +
                     StatusText("lblStatusModified"),
                 "Selected tile 0|Zoom 1x|Modified");
        QTest::mouseClick(Find("picTileset"), Qt::LeftButton, {}, {16 * 4 + 1, 1});
        Child<QAbstractButton>(*window, "optToolSelect", 1)->click(); // Floodfill
        QTest::mouseClick(View(), Qt::LeftButton, {}, {100, 100});
        QCOMPARE(window->statusBar()->currentMessage(), "Fill changed 65,535 cells");
        QCOMPARE(StatusText("lblStatusTile"), "Selected tile 4");
        // The still pointer's cell follows every change of the map.
        QCOMPARE(StatusText("lblStatusCell"), "Cell 6, 6: tile 4");
        QTest::keyClick(window.get(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(StatusText("lblStatusCell"), "Cell 6, 6: tile 0");
        Option(2)->click();
        QCOMPARE(StatusText("lblStatusZoom"), "Zoom 4x");
    }

    // The cell under the pointer, or the stamp's footprint, is outlined over
    // the view, grid or not, and the view's own picture never holds it.
    void previewFollowsThePointer() {
        AddTileset("a.pcx");
        const auto* overlay = Find<MapOverlay>("mapOverlay");
        const QByteArray before(reinterpret_cast<const char*>(window->view().data()),
                                window->view().Width() * window->view().Height() * 4);
        Bar("scrHoriz")->setValue(10);
        const auto move = [&](QPoint at) {
            SendMouse(View(), QEvent::MouseMove, at, Qt::NoButton, Qt::NoButton);
            return overlay->settings().preview;
        };
        QCOMPARE(move({2 * 16 + 1, 3 * 16 + 1}), QRect(12, 3, 1, 1));
        QVERIFY(overlay->isVisible());
        State().StampSizeIndexX = 1; // 3 x 2
        Child<QAbstractButton>(*window, "optToolSelect", 2)->click();
        QCOMPARE(move({5, 5}), QRect(10, 0, 3, 2));
        Bar("scrHoriz")->setValue(224); // cut at the map's edge, as the stamp is
        QCOMPARE(move({31 * 16 + 1, 5}), QRect(255, 0, 1, 2));
        Bar("scrHoriz")->setValue(0);
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(window->view().data()), before.size()),
                 before);
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(View(), &leave);
        QVERIFY(overlay->settings().preview.isEmpty() && overlay->isHidden());
        QCOMPARE(StatusText("lblStatusCell"), QString());
    }

    // Highlight Selected Tile outlines the visible cells that hold it and
    // counts them all; Tile Usage lists every tile, sortable, and a
    // double-click selects one.
    void whereIsThisTileUsed() {
        AddTileset("a.pcx");
        for (const QPoint cell : {QPoint(1, 1), QPoint(3, 2), QPoint(200, 200)}) {
            State().MapData(cell.x(), cell.y()) = 5;
        }
        window->SelectTile(5);
        Trigger(*window, "mnuHighlightTile");
        const auto* overlay = Find<MapOverlay>("mapOverlay");
        const auto highlighted = [&] {
            QList<QPoint> cells;
            for (const QPoint& cell : overlay->settings().highlight) {
                cells << cell;
            }
            return cells;
        };
        QCOMPARE(highlighted(), QList<QPoint>({{1, 1}, {3, 2}}));
        QCOMPARE(StatusText("lblStatusHighlight"), "Tile 5 in 3 cells");
        // A gap between one label's text and the next one's.
        SendMouse(View(), QEvent::MouseMove, {5, 5}, Qt::NoButton, Qt::NoButton);
        QCoreApplication::processEvents(); // the labels laid out
        const auto* count = Find<QLabel>("lblStatusHighlight");
        const auto* cell = Find<QLabel>("lblStatusCell");
        const int textEnd = count->x() + count->contentsRect().left() +
                            count->fontMetrics().horizontalAdvance(count->text());
        QVERIFY2(cell->x() + cell->contentsRect().left() - textEnd >= 8,
                 qPrintable(QString::number(cell->x() + cell->contentsRect().left() - textEnd)));
        QTest::mouseClick(View(), Qt::LeftButton, {}, {4 * 16 + 1, 1});
        QCOMPARE(highlighted(), QList<QPoint>({{4, 0}, {1, 1}, {3, 2}}));
        QCOMPARE(StatusText("lblStatusHighlight"), "Tile 5 in 4 cells");

        window->SelectTile(0);
        QStringList rows;
        QVERIFY(UseToolWindow(*window, "mnuTileUsage", [&](QWidget& usage) {
            auto* table = usage.findChild<QTableWidget*>("lstTileUsage");
            QHeaderView* header = table->horizontalHeader(); // the most used first
            QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                              {header->sectionViewportPosition(1) + 10, 5});
            for (const int row : {0, 1, 2, 255}) {
                rows << table->item(row, 0)->text() + ':' + table->item(row, 1)->text();
            }
            emit table->cellDoubleClicked(1, 1);
        }));
        QCOMPARE(rows, QStringList({"0:65532", "5:4", "1:0", "255:0"}));
        QCOMPARE(State().SelectedTile, 5);
        Trigger(*window, "mnuHighlightTile");
        QVERIFY(overlay->settings().highlight.empty() && Find("lblStatusHighlight")->isHidden());
    }

  private:
    QAbstractButton* Option(int zoomMode) const {
        return Child<QAbstractButton>(*window, "optScaleMode", zoomMode);
    }
    void OpenWindowKeepingSettings() {
        window = std::make_unique<frmMain>(dialogs);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }
};

QTEST_MAIN(FrmMainLayoutTest)
#include "frm_main_layout_test.moc"
