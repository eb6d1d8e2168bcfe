#include "core/tools.h"
#include "tool_window_fixture.h"
#include "ui/frm_rubber_stamp_maker.h"
#include "ui/picture_box.h"

#include <QComboBox>
#include <QFile>
#include <QMouseEvent>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace tessra;

namespace {

PictureBox* Grid(QWidget& window) {
    return Child<PictureBox>(window, "picStamper");
}
PictureBox* Palette(QWidget& window) {
    return Child<PictureBox>(window, "picTileset");
}
QPoint CellPoint(int i, int j) {
    return {64 * i + 10, 64 * j + 10};
}

void Press(QWidget* target, Qt::MouseButton button, QPoint at) {
    QTest::mousePress(target, button, Qt::NoModifier, at);
    QTest::mouseRelease(target, button, Qt::NoModifier, at);
}

// A move with buttons held, as the drag after a press delivers it.
void Drag(QWidget* target, Qt::MouseButtons held, QPoint at) {
    QMouseEvent move(QEvent::MouseMove, at, target->mapToGlobal(at), Qt::NoButton, held,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(target, &move);
}

Pixel GridPixel(QWidget& window, QPoint at) {
    return Grid(window)->surface()->At(at.x(), at.y());
}

} // namespace

class RubberStampMakerTest : public QObject {
    Q_OBJECT

  private slots:
    void firstOpeningShowsTwoByTwoOfTileZero() {
        ToolWindowFixture f;
        frmRubberStampMaker window(f.context, nullptr);
        QCOMPARE(window.windowTitle(), QStringLiteral("Rubber Stamp Builder"));
        for (const char* name : {"cmbStampX", "cmbStampY"}) {
            auto* list = Child<QComboBox>(window, name);
            QCOMPARE(list->count(), 7);
            QCOMPARE(list->itemText(0), QStringLiteral("2 pix"));
            QCOMPARE(list->itemText(6), QStringLiteral("8 pix"));
            QCOMPARE(list->currentIndex(), 0);
        }
        QCOMPARE(Grid(window)->size(), QSize(128, 128));
        QCOMPARE(GridPixel(window, {0, 0}), ToolWindowFixture::TileColour(0));
        QCOMPARE(GridPixel(window, {127, 127}), ToolWindowFixture::TileColour(0));
        QCOMPARE(Palette(window)->size(), QSize(256, 256));
        QVERIFY(*Palette(window)->surface() == f.palette); // all 16 rows
        QCOMPARE(Child<QWidget>(window, "imgTileSelector")->pos(), QPoint(0, 0));
    }

    void opensOnTheStampAndTheKeptTile() {
        ToolWindowFixture f;
        f.state.StampSizeIndexX = 2;
        f.state.StampSizeIndexY = 1;
        StampCell(f.state.StampData, 3, 2) = 250;
        f.state.StampBuilderTile = 37;
        frmRubberStampMaker window(f.context, nullptr);
        QCOMPARE(Child<QComboBox>(window, "cmbStampX")->currentIndex(), 2);
        QCOMPARE(Child<QComboBox>(window, "cmbStampY")->currentIndex(), 1);
        QCOMPARE(Grid(window)->size(), QSize(256, 192));
        QCOMPARE(GridPixel(window, CellPoint(3, 2)), ToolWindowFixture::TileColour(250));
        QCOMPARE(Child<QWidget>(window, "imgTileSelector")->pos(), QPoint(16 * 5, 16 * 2));
    }

    void sizesHideCellsWithoutClearingThem() {
        ToolWindowFixture f;
        frmRubberStampMaker window(f.context, nullptr);
        window.show();
        auto* listX = Child<QComboBox>(window, "cmbStampX");
        listX->setCurrentIndex(6);
        QCOMPARE(Grid(window)->width(), 512);
        Press(Palette(window), Qt::LeftButton, {16 * 9 + 1, 1}); // tile 9
        Press(Grid(window), Qt::LeftButton, CellPoint(5, 1));
        listX->setCurrentIndex(0);
        QCOMPARE(Grid(window)->width(), 128);
        QCOMPARE(StampCell(f.state.StampBuilderData, 5, 1), 9);
        listX->setCurrentIndex(6);
        QCOMPARE(GridPixel(window, CellPoint(5, 1)), ToolWindowFixture::TileColour(9));
    }

    void leftPaintsAndDragsRightPicks() {
        ToolWindowFixture f;
        frmRubberStampMaker window(f.context, nullptr);
        window.show();
        Press(Palette(window), Qt::RightButton, {16 * 5 + 3, 16 * 2 + 3}); // any button picks
        QCOMPARE(f.state.StampBuilderTile, 37);
        QCOMPARE(Child<QWidget>(window, "imgTileSelector")->pos(), QPoint(80, 32));

        QTest::mousePress(Grid(window), Qt::LeftButton, Qt::NoModifier, CellPoint(0, 0));
        Drag(Grid(window), Qt::LeftButton, CellPoint(3, 0)); // past the visible edge
        Drag(Grid(window), Qt::LeftButton, CellPoint(9, 0)); // past column 7: nothing
        QTest::mouseRelease(Grid(window), Qt::LeftButton, Qt::NoModifier, CellPoint(9, 0));
        QCOMPARE(GridPixel(window, CellPoint(0, 0)), ToolWindowFixture::TileColour(37));
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(StampCell(f.state.StampBuilderData, i, 0), i == 0 || i == 3 ? 37 : 0);
        }

        Press(Palette(window), Qt::LeftButton, {1, 1}); // tile 0
        Press(Grid(window), Qt::RightButton, CellPoint(0, 0));
        QCOMPARE(f.state.StampBuilderTile, 37);
        QCOMPARE(Child<QWidget>(window, "imgTileSelector")->pos(), QPoint(0, 0));
        QCOMPARE(StampCell(f.state.StampBuilderData, 0, 0), 37);
    }

    void cancelKeepsTheStamp() {
        ToolWindowFixture f;
        StampCell(f.state.StampData, 1, 1) = 12;
        const StampCells before = f.state.StampData;
        {
            frmRubberStampMaker window(f.context, nullptr);
            window.show();
            Press(Palette(window), Qt::LeftButton, {16 * 4, 0});
            Press(Grid(window), Qt::LeftButton, CellPoint(1, 1));
            Child<QComboBox>(window, "cmbStampX")->setCurrentIndex(4);
            Child<QPushButton>(window, "cmdCancel")->click();
            QVERIFY(!window.isVisible());
        }
        QVERIFY(f.state.StampData == before);
        QCOMPARE(f.state.StampSizeIndexX, 0);
        frmRubberStampMaker again(f.context, nullptr);
        QCOMPARE(GridPixel(again, CellPoint(1, 1)), ToolWindowFixture::TileColour(12));
    }

    void okMakesTheStampThatRStampWrites() {
        ToolWindowFixture f;
        {
            frmRubberStampMaker window(f.context, nullptr);
            window.show();
            Child<QComboBox>(window, "cmbStampX")->setCurrentIndex(2); // 4 wide
            Child<QComboBox>(window, "cmbStampY")->setCurrentIndex(1); // 3 high
            for (int j = 0; j < 3; ++j) {
                for (int i = 0; i < 4; ++i) {
                    Press(Palette(window), Qt::LeftButton, {16 * (i + 1), 16 * j});
                    Press(Grid(window), Qt::LeftButton, CellPoint(i, j));
                }
            }
            Child<QPushButton>(window, "cmdOK")->click();
            QCOMPARE(window.result(), int(QDialog::Accepted));
        }
        QCOMPARE(StampWidth(f.state), 4);
        QCOMPARE(StampHeight(f.state), 3);

        f.state.MapData.Fill(200);
        QVERIFY(StampAt(f.state.MapData, 10, 20, f.state));
        for (int y = 19; y <= 23; ++y) {
            for (int x = 9; x <= 14; ++x) {
                const bool inside = x >= 10 && x < 14 && y >= 20 && y < 23;
                QCOMPARE(int(f.state.MapData(x, y)), inside ? 16 * (y - 20) + (x - 10) + 1 : 200);
            }
        }
    }

    void stampFileRoundTrip() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("wall.tstamp"));
        ToolWindowFixture f;
        f.dialogs.fileAnswers = {path};
        {
            frmRubberStampMaker window(f.context, nullptr);
            window.show();
            Child<QComboBox>(window, "cmbStampX")->setCurrentIndex(1); // 3 wide, 2 high
            for (int n = 0; n < 6; ++n) {
                Press(Palette(window), Qt::LeftButton, {16 * (n % 3 + 1), 16 * (n / 3)});
                Press(Grid(window), Qt::LeftButton, CellPoint(n % 3, n / 3));
            }
            Child<QPushButton>(window, "cmdSaveStamp")->click();
        }
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("TESSRA-STAMP 1\r\n3 2\r\n1 2 3\r\n17 18 19\r\n"));
        const FileDialogRequest& save = f.dialogs.fileRequests.at(0);
        QCOMPARE(save.title, QStringLiteral("Save Stamp"));
        QCOMPARE(save.filter, QStringLiteral("TESSRA Stamp Files|*.tstamp|All Files|*.*|"));
        QVERIFY(save.overwritePrompt);
        QCOMPARE(save.defaultSuffix, QStringLiteral("tstamp"));

        ToolWindowFixture g;
        StampCell(g.state.StampData, 7, 7) = 99; // hidden, and kept by the load
        g.dialogs.fileAnswers = {path};
        frmRubberStampMaker window(g.context, nullptr);
        window.show();
        Child<QPushButton>(window, "cmdLoadStamp")->click();
        QCOMPARE(g.dialogs.fileRequests.at(0).title, QStringLiteral("Load Stamp"));
        QVERIFY(g.dialogs.messages.empty());
        QCOMPARE(Child<QComboBox>(window, "cmbStampX")->currentIndex(), 1);
        QCOMPARE(Grid(window)->size(), QSize(192, 128));
        QCOMPARE(GridPixel(window, CellPoint(2, 1)), ToolWindowFixture::TileColour(19));
        QCOMPARE(StampCell(g.state.StampData, 2, 1), 0); // until OK
        Child<QPushButton>(window, "cmdOK")->click();
        QCOMPARE(StampWidth(g.state), 3);
        QCOMPARE(StampCell(g.state.StampData, 2, 1), 19);
        QCOMPARE(StampCell(g.state.StampData, 7, 7), 99);
    }

    // A file that cannot be read or written, or is malformed, changes nothing.
    void badStampFilesAreRefused_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("reason");
        QTest::newRow("malformed") << "cmdLoadStamp"
                                   << "bad.tstamp"
                                   << "line 2";
        QTest::newRow("missing") << "cmdLoadStamp"
                                 << "none.tstamp"
                                 << "Cannot read";
        QTest::newRow("unwritable") << "cmdSaveStamp"
                                    << "no/folder/s.tstamp"
                                    << "Cannot write";
    }

    void badStampFilesAreRefused() {
        QFETCH(QString, button);
        QFETCH(QString, file);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        QFile bad(dir.filePath(QStringLiteral("bad.tstamp")));
        QVERIFY(bad.open(QIODevice::WriteOnly));
        bad.write("TESSRA-STAMP 1\r\n9 2\r\n");
        bad.close();
        ToolWindowFixture f;
        f.state.StampSizeIndexY = 3;
        StampCell(f.state.StampData, 1, 4) = 42;
        f.dialogs.fileAnswers = {dir.filePath(file)};
        frmRubberStampMaker window(f.context, nullptr);
        window.show();
        Child<QPushButton>(window, button.toLatin1().constData())->click();
        QCOMPARE(f.dialogs.messages.size(), std::size_t{1});
        const auto& shown = f.dialogs.messages.front();
        QVERIFY2(shown.text.contains(reason), qPrintable(shown.text));
        QCOMPARE(shown.title, QStringLiteral("TESSRA"));
        QCOMPARE(shown.icon, MessageIcon::Critical);
        QVERIFY(f.state.StampBuilderData == f.state.StampData);
        QCOMPARE(Child<QComboBox>(window, "cmbStampY")->currentIndex(), 3);
        QCOMPARE(GridPixel(window, CellPoint(1, 4)), ToolWindowFixture::TileColour(42));
        QVERIFY(window.isVisible());
    }
};

QTEST_MAIN(RubberStampMakerTest)
#include "rubber_stamp_maker_test.moc"
