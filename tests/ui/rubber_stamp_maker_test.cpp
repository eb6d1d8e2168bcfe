#include "core/edit/tool_table.h"
#include "io/temp_dir.h"
#include "platform/qt_text.h"
#include "tool_window_fixture.h"
#include "ui/frm_rubber_stamp_maker.h"
#include "ui/picture_box.h"

#include <QComboBox>
#include <QTest>

using namespace tessra;

namespace {

PictureBox* Grid(QWidget& window) {
    return Child<PictureBox>(window, "picStamper");
}
QComboBox* SizeList(QWidget& window, char axis) {
    return Child<QComboBox>(window, axis == 'X' ? "cmbStampX" : "cmbStampY");
}
QPoint CellPoint(int i, int j) {
    return {64 * i + 10, 64 * j + 10};
}
Pixel GridPixel(QWidget& window, int i, int j) {
    return Grid(window)->surface()->At(CellPoint(i, j).x(), CellPoint(i, j).y());
}
QPoint SelectorPos(QWidget& window) {
    return Child<QWidget>(window, "imgTileSelector")->pos();
}

void Press(QWidget* target, QPoint at, Qt::MouseButton button = Qt::LeftButton) {
    QTest::mousePress(target, button, Qt::NoModifier, at);
    QTest::mouseRelease(target, button, Qt::NoModifier, at);
}

// Picks a tile from the palette and puts it in a cell of the stamp.
void Put(QWidget& window, int tile, int i, int j) {
    Press(Child<PictureBox>(window, "picTileset"), {16 * (tile % 16) + 1, 16 * (tile / 16) + 1});
    Press(Grid(window), CellPoint(i, j));
}

// Fills the top-left w x h cells, cell (i, j) with tile 16 * j + i + 1.
void Build(QWidget& window, int w, int h) {
    for (int n = 0; n < w * h; ++n) {
        Put(window, 16 * (n / w) + n % w + 1, n % w, n / w);
    }
}

} // namespace

class RubberStampMakerTest : public QObject {
    Q_OBJECT

  private slots:
    void opensPaintsPicksAndHidesCells() {
        ToolWindowFixture f;
        f.state.StampBuilderTile = 37;
        frmRubberStampMaker window(f.context, nullptr);
        window.show();
        QCOMPARE(Grid(window)->size(), QSize(128, 128));
        QVERIFY(*Child<PictureBox>(window, "picTileset")->surface() == f.palette); // all 16 rows
        QCOMPARE(SelectorPos(window), QPoint(80, 32)); // on the kept tile

        // A drag paints every cell it passes, hidden ones too.
        SendMouse(Grid(window), QEvent::MouseButtonPress, CellPoint(0, 0), Qt::LeftButton,
                  Qt::LeftButton);
        SendMouse(Grid(window), QEvent::MouseMove, CellPoint(3, 0), Qt::NoButton, Qt::LeftButton);
        QCOMPARE(GridPixel(window, 0, 0), ToolWindowFixture::TileColour(37));
        QCOMPARE(StampCell(f.state.StampBuilderData, 3, 0), 37);
        Press(Child<PictureBox>(window, "picTileset"), {33, 1}, Qt::RightButton); // any button
        QCOMPARE(f.state.StampBuilderTile, 2);
        Press(Grid(window), CellPoint(0, 0), Qt::RightButton);
        QCOMPARE(f.state.StampBuilderTile, 37);
        QCOMPARE(SelectorPos(window), QPoint(32, 0)); // the marker stays

        SizeList(window, 'X')->setCurrentIndex(6);
        QCOMPARE(Grid(window)->width(), 512);
        Put(window, 9, 5, 1);
        SizeList(window, 'X')->setCurrentIndex(0);
        QCOMPARE(Grid(window)->width(), 128);
        QCOMPARE(StampCell(f.state.StampBuilderData, 5, 1), 9);
        SizeList(window, 'X')->setCurrentIndex(6);
        QCOMPARE(GridPixel(window, 5, 1), ToolWindowFixture::TileColour(9));
    }

    // A 4 x 3 stamp built and accepted is what R.Stamp writes; Cancel keeps the
    // 2 x 2 stamp from before.
    void okMakesTheStampThatRStampWrites_data() {
        QTest::addColumn<bool>("ok");
        QTest::newRow("OK") << true;
        QTest::newRow("Cancel") << false;
    }

    void okMakesTheStampThatRStampWrites() {
        QFETCH(bool, ok);
        ToolWindowFixture f;
        StampCell(f.state.StampData, 1, 1) = 12;
        {
            frmRubberStampMaker window(f.context, nullptr);
            window.show();
            SizeList(window, 'X')->setCurrentIndex(2);
            SizeList(window, 'Y')->setCurrentIndex(1);
            Build(window, 4, 3);
            Click(window, ok ? "cmdOK" : "cmdCancel");
            QVERIFY(!window.isVisible());
        }
        f.state.MapData.Fill(200);
        QVERIFY(StampAt(f.state.MapData, 10, 20, f.state));
        const QSize size = ok ? QSize(4, 3) : QSize(2, 2);
        for (int y = 19; y <= 23; ++y) {
            for (int x = 9; x <= 14; ++x) {
                const int i = x - 10, j = y - 20;
                const int built = ok ? 16 * j + i + 1 : (i == 1 && j == 1 ? 12 : 0);
                QCOMPARE(int(f.state.MapData(x, y)),
                         QRect(QPoint(), size).contains(i, j) ? built : 200);
            }
        }
    }

    void stampFileRoundTrip() {
        QTemporaryDir dir;
        ToolWindowFixture f;
        StampCell(f.state.StampData, 7, 7) = 99; // hidden, and kept by the load
        f.dialogs.fileAnswers = {dir.filePath("wall.tstamp"), dir.filePath("wall.tstamp")};
        frmRubberStampMaker window(f.context, nullptr);
        window.show();
        SizeList(window, 'X')->setCurrentIndex(1); // 3 wide, 2 high
        Build(window, 3, 2);
        Click(window, "cmdSaveStamp");
        Put(window, 0, 1, 1); // the size stays, so only the load itself redraws
        Click(window, "cmdLoadStamp");
        QVERIFY(f.dialogs.messages.empty());
        QCOMPARE(Grid(window)->size(), QSize(192, 128));
        QCOMPARE(GridPixel(window, 1, 1), ToolWindowFixture::TileColour(18));
        QCOMPARE(StampCell(f.state.StampData, 2, 1), 0); // until OK
        Click(window, "cmdOK");
        QCOMPARE(QList<int>({StampWidth(f.state), StampCell(f.state.StampData, 2, 1),
                             StampCell(f.state.StampData, 7, 7)}),
                 QList<int>({3, 19, 99}));
    }

    // A file that cannot be read or written, or is malformed, changes nothing.
    void badStampFilesAreRefused_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("reason");
        const auto row = [](const char* tag, const char* button, const char* file,
                            const char* reason) {
            QTest::newRow(tag) << QString(button) << QString(file) << QString(reason);
        };
        row("malformed", "cmdLoadStamp", "bad.tstamp", "line 2");
        row("missing", "cmdLoadStamp", "none.tstamp", "Cannot read");
        row("unwritable", "cmdSaveStamp", "no/folder/s.tstamp", "Cannot write");
        row("a tileset", "cmdSaveStamp", "tiles.pcx", "it is the same file as the input");
    }

    void badStampFilesAreRefused() {
        QFETCH(QString, button);
        QFETCH(QString, file);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        WriteFile(dir, "bad.tstamp", "TESSRA-STAMP 1\r\n9 2\r\n");
        WriteFile(dir, "tiles.pcx", "the tileset");
        ToolWindowFixture f;
        // Listed from the map's folder, not the working one.
        f.state.Tilesets = {"tiles.pcx"};
        f.state.ProjectFolder = FileNameOf(dir.path());
        f.state.StampSizeIndexY = 3;
        StampCell(f.state.StampData, 1, 4) = 42;
        f.dialogs.fileAnswers = {dir.filePath(file)};
        frmRubberStampMaker window(f.context, nullptr);
        window.show();
        Click(window, qPrintable(button));
        QVERIFY2(OnlyError(f.dialogs).contains(reason), qPrintable(OnlyError(f.dialogs)));
        QVERIFY(f.state.StampBuilderData == f.state.StampData);
        QCOMPARE(SizeList(window, 'Y')->currentIndex(), 3); // as the stamp was opened
        QCOMPARE(Grid(window)->size(), QSize(128, 320));
        QCOMPARE(GridPixel(window, 1, 4), ToolWindowFixture::TileColour(42));
        QVERIFY(window.isVisible());
        QCOMPARE(ReadText(FileNameOf(dir.filePath("tiles.pcx"))), "the tileset");
    }
};

QTEST_MAIN(RubberStampMakerTest)
#include "rubber_stamp_maker_test.moc"
