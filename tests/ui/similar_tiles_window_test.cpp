#include "core/edit/tile_swap.h"
#include "tool_window_fixture.h"
#include "ui/frm_similar_tiles.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

using namespace tessra;

// Tiles 0 to 3 of the fixture's palette, 1 and 2 made copies of 0 but for 2
// and 5 pixels; the map holds 0 mostly, then 1, 2 and 3 in one cell each.
class SimilarTilesWindowTest : public QObject {
    Q_OBJECT

    static void Prepare(ToolWindowFixture& f) {
        for (int tile : {1, 2}) {
            for (int i = 0; i < 256; ++i) {
                f.palette.Set(16 * tile + i % 16, i / 16,
                              i < (tile == 1 ? 2 : 5) ? White : ToolWindowFixture::TileColour(0));
            }
        }
        f.state.MapData(0, 0) = 1;
        f.state.MapData(1, 0) = 2;
        f.state.MapData(2, 0) = 3;
    }

    static QStringList Listed(QWidget& window) {
        QStringList texts;
        auto* list = Child<QListWidget>(window, "lstPairs");
        for (int row = 0; row < list->count(); ++row) {
            texts << list->item(row)->text();
        }
        return texts;
    }

  private slots:
    // The pairs within the box's pixels, closest first; Merge hands the chosen
    // pair to the main window and lists again from what the map then holds.
    void listsAndMergesThroughTheMainWindow() {
        ToolWindowFixture f;
        Prepare(f);
        std::vector<SimilarTiles> merged;
        frmSimilarTiles window(
            f.context,
            [&](const SimilarTiles& pair) {
                merged.push_back(pair);
                ReplaceTiles(f.state.MapData, pair.merged, pair.kept);
            },
            nullptr);
        window.show();
        QCOMPARE(
            Listed(window),
            QStringList({"Tile 1 (1 cell) looks like tile 0 (65533 cells): 2 pixels differ.",
                         "Tile 2 (1 cell) looks like tile 1 (1 cell): 3 pixels differ.",
                         "Tile 2 (1 cell) looks like tile 0 (65533 cells): 5 pixels differ."}));
        Enter(window, {"txtMaxPixels=2", "cmdList"});
        QCOMPARE(Listed(window).size(), 1);
        Click(window, "cmdMerge");
        QCOMPARE(merged.size(), std::size_t(1));
        QCOMPARE(f.state.MapData(0, 0), 0);
        QVERIFY(Listed(window).isEmpty() && !Child<QPushButton>(window, "cmdMerge")->isEnabled());
        QVERIFY(window.isVisible());

        Enter(window, {"txtMaxPixels=257", "cmdList"});
        QCOMPARE(OnlyError(f.dialogs), "Differing pixels must be a whole number from 0 to 256.");
    }
};

QTEST_MAIN(SimilarTilesWindowTest)
#include "similar_tiles_window_test.moc"
