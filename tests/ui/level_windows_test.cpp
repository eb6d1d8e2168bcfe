#include "core/edit/tile_swap.h"
#include "tool_window_fixture.h"
#include "ui/frm_assign_palettes.h"
#include "ui/frm_similar_tiles.h"

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

using namespace tessra;

// The windows of a level made from a picture: Assign Palettes and Similar
// Tiles. The main window's tests take each through its one undo step.
class LevelWindowsTest : public QObject {
    Q_OBJECT

    static QStringList Texts(QWidget& window, const char* list, const char* label = nullptr) {
        QStringList texts;
        if (label) {
            texts << Child<QLabel>(window, label)->text();
        }
        auto* items = Child<QListWidget>(window, list);
        for (int row = 0; row < items->count(); ++row) {
            texts << items->item(row)->text();
        }
        return texts;
    }

  private slots:
    // Tiles 1 to 20 each of a colour of its own beside tile 0: the window
    // packs for the console it starts from and again for each choice; a
    // refusal shows in its place and Assign waits for a packing.
    void assignPacksForTheChosenConsole() {
        ToolWindowFixture f;
        for (int tile = 1; tile <= 20; ++tile) {
            for (int i = 0; i < 256; ++i) {
                f.palette.Set(16 * (tile % 16) + i % 16, 16 * (tile / 16) + i / 16,
                              Rgb(8 * tile, 0, 0));
            }
            f.state.MapData(tile, 0) = static_cast<std::uint8_t>(tile);
        }
        ExportSettings settings;
        settings.Hardware = ExportHardware::Snes;
        frmAssignPalettes window(f.context, settings, f.palette, nullptr);
        window.show();
        auto* console = Child<QComboBox>(window, "cmbConsole");
        QCOMPARE(console->currentText(), "snes, 4 bits a pixel: 8 sub-palettes of 16 colours");
        QCOMPARE(Texts(window, "lstPalettes", "lblResult"),
                 QStringList({"21 tiles in 2 of 8 sub-palettes, the fewest there can be.",
                              "0: 16 tiles, 16 colours", "1: 5 tiles, 6 colours"}));
        console->setCurrentIndex(console->findText("gb", Qt::MatchStartsWith));
        QVERIFY(Child<QLabel>(window, "lblResult")
                    ->text()
                    .startsWith("The tiles need 6 sub-palettes; there is 1."));
        QVERIFY(!Child<QPushButton>(window, "cmdAssign")->isEnabled());
        console->setCurrentIndex(console->findText("snes, 8", Qt::MatchStartsWith));
        Enter(window, {"txtBackdrop=12345G"});
        Child<QLineEdit>(window, "txtBackdrop")->editingFinished();
        QVERIFY(Child<QLabel>(window, "lblResult")->text().contains("backdrop"));
        QVERIFY(f.dialogs.messages.empty());
    }

    // Tiles 1 and 2 copies of tile 0 but for 2 and 5 pixels, in a cell each:
    // the pairs within the box's pixels, closest first; Merge hands the chosen
    // pair to the main window and lists again from what the map then holds.
    void similarListsAndMergesThroughTheMainWindow() {
        ToolWindowFixture f;
        for (int tile : {1, 2}) {
            for (int i = 0; i < 256; ++i) {
                f.palette.Set(16 * tile + i % 16, i / 16,
                              i < (tile == 1 ? 2 : 5) ? White : ToolWindowFixture::TileColour(0));
            }
        }
        f.state.MapData(0, 0) = 1;
        f.state.MapData(1, 0) = 2;
        f.state.MapData(2, 0) = 3;
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
            Texts(window, "lstPairs"),
            QStringList({"Tile 1 (1 cell) looks like tile 0 (65533 cells): 2 pixels differ.",
                         "Tile 2 (1 cell) looks like tile 1 (1 cell): 3 pixels differ.",
                         "Tile 2 (1 cell) looks like tile 0 (65533 cells): 5 pixels differ."}));
        Enter(window, {"txtMaxPixels=2", "cmdList"});
        QCOMPARE(Texts(window, "lstPairs").size(), 1);
        Click(window, "cmdMerge");
        QCOMPARE(merged.size(), std::size_t(1));
        QCOMPARE(f.state.MapData(0, 0), 0);
        QVERIFY(Texts(window, "lstPairs").isEmpty());
        QVERIFY(!Child<QPushButton>(window, "cmdMerge")->isEnabled() && window.isVisible());

        Enter(window, {"txtMaxPixels=257", "cmdList"});
        QCOMPARE(OnlyError(f.dialogs), "Differing pixels must be a whole number from 0 to 256.");
    }
};

QTEST_MAIN(LevelWindowsTest)
#include "level_windows_test.moc"
