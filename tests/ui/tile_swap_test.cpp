#include "tool_window_fixture.h"
#include "ui/frm_tile_replace.h"
#include "ui/frm_tile_swap.h"
#include "ui/picture_box.h"

#include <QTest>
#include <memory>

using namespace tessra;

class TileSwapTest : public QObject {
    Q_OBJECT

  private slots:
    // Cells (0, 0), (1, 0) and (255, 255) after the action; none when it is refused.
    void actionsChangeTheWholeMapOrNothing_data() {
        QTest::addColumn<bool>("swap");
        QTest::addColumn<QStringList>("input");
        QTest::addColumn<QList<int>>("cells");
        QTest::newRow("swap") << true << QStringList{"3", "7"} << QList<int>{7, 3, 7};
        QTest::newRow("replace") << false << QStringList{"3", "7"} << QList<int>{7, 7, 7};
        QTest::newRow("replace A 300") << false << QStringList{"300", "7"} << QList<int>{};
        QTest::newRow("swap B -1") << true << QStringList{"3", "-1"} << QList<int>{};
    }

    void actionsChangeTheWholeMapOrNothing() {
        QFETCH(bool, swap);
        QFETCH(QStringList, input);
        QFETCH(QList<int>, cells);
        ToolWindowFixture f;
        MapGrid& map = f.state.MapData;
        map(0, 0) = map(255, 255) = 3;
        map(1, 0) = 7;
        const MapGrid before = map;
        f.state.Tag = "LOAD";
        std::unique_ptr<TileChangeWindow> window;
        window.reset(swap ? static_cast<TileChangeWindow*>(new frmTileSwap(f.context, nullptr))
                          : new frmTileReplace(f.context, nullptr));
        window->show();
        Enter(*window, {"txtDoSwap#0=" + input[0], "txtDoSwap#1=" + input[1], "cmdSwap"});
        if (cells.isEmpty()) {
            QVERIFY(!OnlyError(f.dialogs).startsWith('<'));
            QVERIFY(map == before && window->isVisible());
            QCOMPARE(f.state.Tag, std::string("LOAD"));
            return;
        }
        QVERIFY(f.dialogs.messages.empty());
        QCOMPARE(f.state.Tag, std::string("SWAP"));
        QVERIFY(window->result() == QDialog::Accepted && !window->isVisible());
        QCOMPARE(QList<int>({map(0, 0), map(1, 0), map(255, 255)}), cells);
    }

    // Check shows the tile of each box enlarged: 16 starts the second row, 240
    // lies below the 14th.
    void checkPreviewsTheTileEnlarged() {
        ToolWindowFixture f;
        frmTileSwap window(f.context, nullptr);
        for (int i = 0; i < 2; ++i) {
            const Surface& preview = *Child<PictureBox>(window, "picTileTexture", i)->surface();
            QCOMPARE(preview.At(63, 63), ToolWindowFixture::TileColour(0));
            for (int tile : {16, 240, -1}) { // -1 shows black
                Child<QLineEdit>(window, "txtDoSwap", i)->setText(QString::number(tile));
                Child<QAbstractButton>(window, "cmdCheck", i)->click();
                const Pixel expected = tile < 0 ? Black : ToolWindowFixture::TileColour(tile);
                QVERIFY(preview.At(0, 0) == expected && preview.At(63, 63) == expected);
            }
        }
    }
};

QTEST_MAIN(TileSwapTest)
#include "tile_swap_test.moc"
