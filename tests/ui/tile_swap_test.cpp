#include "tool_window_fixture.h"
#include "ui/frm_tile_replace.h"
#include "ui/frm_tile_swap.h"
#include "ui/picture_box.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <algorithm>
#include <array>
#include <memory>

using namespace tessra;

namespace {

std::unique_ptr<TileChangeWindow> Open(bool swap, ToolWindowContext& context) {
    if (swap) {
        return std::make_unique<frmTileSwap>(context, nullptr);
    }
    return std::make_unique<frmTileReplace>(context, nullptr);
}

// A map of 3s, 7s and 5s in stripes, over the whole grid.
void FillStripes(MapGrid& map) {
    for (int y = 0; y < MapSize; ++y) {
        for (int x = 0; x < MapSize; ++x) {
            map(x, y) = static_cast<std::uint8_t>(std::array{3, 7, 5}[(x + y) % 3]);
        }
    }
}

int Count(const MapGrid& map, int tile) {
    return static_cast<int>(std::count(map.data(), map.data() + CellCount, tile));
}

void Type(QWidget& window, const QString& a, const QString& b) {
    Child<QLineEdit>(window, "txtDoSwap", 0)->setText(a);
    Child<QLineEdit>(window, "txtDoSwap", 1)->setText(b);
}

} // namespace

class TileSwapTest : public QObject {
    Q_OBJECT

  private slots:
    // Counts of 3, 7 and 5 after the action; none when the numbers are refused.
    void actionsChangeTheWholeMapOrNothing_data() {
        QTest::addColumn<bool>("swap");
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<QList<int>>("counts");
        const int third = CellCount / 3;
        const auto row = [](const char* tag, bool swap, const char* a, const char* b,
                            QList<int> counts) {
            QTest::newRow(tag) << swap << QString(a) << QString(b) << counts;
        };
        row("swap 3 7", true, "3", "7", {third, third + 1, third});
        row("replace 3 7", false, "3", "7", {0, 2 * third + 1, third});
        row("swap with an absent tile", true, "7", "200", {third + 1, 0, third});
        row("replace A 300", false, "300", "7", {});
        row("swap B -1", true, "3", "-1", {});
        row("swap past 16 bits", true, "70000", "3", {});
    }

    void actionsChangeTheWholeMapOrNothing() {
        QFETCH(bool, swap);
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(QList<int>, counts);
        ToolWindowFixture f;
        FillStripes(f.state.MapData);
        const MapGrid before = f.state.MapData;
        f.state.Tag = "LOAD";
        auto window = Open(swap, f.context);
        window->show();
        Type(*window, a, b);
        QTest::mouseClick(Child<QPushButton>(*window, "cmdSwap"), Qt::LeftButton);
        if (counts.isEmpty()) {
            QCOMPARE(f.dialogs.messages.size(), std::size_t{1});
            QCOMPARE(f.dialogs.messages.front().title, QStringLiteral("TESSRA"));
            QCOMPARE(f.dialogs.messages.front().icon, MessageIcon::Critical);
            QVERIFY(f.state.MapData == before);
            QCOMPARE(f.state.Tag, std::string("LOAD"));
            QVERIFY(window->isVisible());
            return;
        }
        QVERIFY(f.dialogs.messages.empty());
        QCOMPARE(f.state.Tag, std::string("SWAP"));
        QCOMPARE(window->result(), int(QDialog::Accepted));
        QVERIFY(!window->isVisible());
        const MapGrid& map = f.state.MapData;
        QCOMPARE((QList<int>{Count(map, 3), Count(map, 7), Count(map, 5)}), counts);
    }

    void checkPreviewsTheTileEnlarged_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("tile"); // -1 for black
        const auto row = [](const char* text, int tile) {
            QTest::newRow(text) << QString(text) << tile;
        };
        row("2.5", 2);   // halves go to the even neighbour
        row("240", 240); // below the 14th row, on the 16-row palette
        row("-1", -1);
        row("99999", -1);
    }

    void checkPreviewsTheTileEnlarged() {
        QFETCH(QString, text);
        QFETCH(int, tile);
        ToolWindowFixture f;
        frmTileSwap window(f.context, nullptr);
        const Pixel expected = tile < 0 ? Black : ToolWindowFixture::TileColour(tile);
        for (int i = 0; i < 2; ++i) {
            const Surface& preview = *Child<PictureBox>(window, "picTileTexture", i)->surface();
            QCOMPARE(preview.At(63, 63), ToolWindowFixture::TileColour(0));
            Child<QLineEdit>(window, "txtDoSwap", i)->setText(text);
            Child<QPushButton>(window, "cmdCheck", i)->click();
            QCOMPARE(preview.Width(), 64);
            QCOMPARE(preview.At(0, 0), expected);
            QCOMPARE(preview.At(63, 63), expected);
        }
    }
};

QTEST_MAIN(TileSwapTest)
#include "tile_swap_test.moc"
