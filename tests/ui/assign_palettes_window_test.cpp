#include "tool_window_fixture.h"
#include "ui/frm_assign_palettes.h"

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

using namespace tessra;

// Tiles 1 to 20 each of one colour of its own at the SNES's depth, beside the
// fixture's tile 0, on the map's first row.
class AssignPalettesWindowTest : public QObject {
    Q_OBJECT

    static void Prepare(ToolWindowFixture& f) {
        for (int tile = 1; tile <= 20; ++tile) {
            for (int i = 0; i < 256; ++i) {
                f.palette.Set(16 * (tile % 16) + i % 16, 16 * (tile / 16) + i / 16,
                              Rgb(8 * tile, 0, 0));
            }
            f.state.MapData(tile, 0) = static_cast<std::uint8_t>(tile);
        }
        f.state.Attributes[5].Behaviour = 3;
        f.state.Attributes[99].Palette = 7;
    }

    static QStringList Shown(QWidget& window) {
        QStringList shown{Child<QLabel>(window, "lblResult")->text()};
        auto* list = Child<QListWidget>(window, "lstPalettes");
        for (int row = 0; row < list->count(); ++row) {
            shown << list->item(row)->text();
        }
        return shown;
    }

  private slots:
    // The window packs for the console it starts from and again for each
    // choice; a refusal shows in its place and Assign waits for a packing.
    void packsForTheChosenConsole() {
        ToolWindowFixture f;
        Prepare(f);
        ExportSettings settings;
        settings.Hardware = ExportHardware::Snes;
        frmAssignPalettes window(f.context, settings, f.palette, nullptr);
        window.show();
        QCOMPARE(Child<QComboBox>(window, "cmbConsole")->currentText(),
                 "snes, 4 bits a pixel: 8 sub-palettes of 16 colours");
        QCOMPARE(Shown(window),
                 QStringList({"21 tiles in 2 of 8 sub-palettes, the fewest there can be.",
                              "0: 16 tiles, 16 colours", "1: 5 tiles, 6 colours"}));
        auto* console = Child<QComboBox>(window, "cmbConsole");
        console->setCurrentIndex(console->findText("gb", Qt::MatchStartsWith));
        QVERIFY(Shown(window)[0].startsWith("The tiles need 6 sub-palettes; there is 1."));
        QVERIFY(!Child<QPushButton>(window, "cmdAssign")->isEnabled());
        console->setCurrentIndex(console->findText("snes, 8", Qt::MatchStartsWith));
        Enter(window, {"txtBackdrop=12345G"});
        Child<QLineEdit>(window, "txtBackdrop")->editingFinished();
        QVERIFY(Shown(window)[0].contains("backdrop"));
        QVERIFY(f.dialogs.messages.empty());
    }

    // Assign hands back the attributes with each used tile's sub-palette and
    // the rest as they were.
    void assignGivesEachTileItsSubPalette() {
        ToolWindowFixture f;
        Prepare(f);
        frmAssignPalettes window(f.context, {}, f.palette, nullptr);
        window.show();
        auto* console = Child<QComboBox>(window, "cmbConsole");
        console->setCurrentIndex(console->findText("gba, 4", Qt::MatchStartsWith));
        Click(window, "cmdAssign");
        QVERIFY(!window.isVisible() && window.Outcome());
        const TileAttributeTable& assigned = *window.Outcome();
        QCOMPARE(QList<int>({assigned[15].Palette, assigned[16].Palette, assigned[20].Palette,
                             assigned[99].Palette, assigned[5].Behaviour}),
                 QList<int>({0, 1, 1, 7, 3}));
        QVERIFY(f.state.Attributes[16].Palette == 0); // the main window makes the change
    }
};

QTEST_MAIN(AssignPalettesWindowTest)
#include "assign_palettes_window_test.moc"
