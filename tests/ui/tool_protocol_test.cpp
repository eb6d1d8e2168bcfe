#include "main_window_fixture.h"

using namespace tessra;

// How the main window acts on the word a tool window leaves in Tag.
class ToolProtocolTest : public MainWindowTest {
    Q_OBJECT

  private slots:
    void init() { OpenWindow(); }

    // Each window as its menu item opens it: "control.property=value".
    void windowsOpenInTheirFirstState_data() {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QStringList>("state");
        const auto row = [](const char* item, const QStringList& state) {
            QTest::newRow(item) << QString(item) << state;
        };
        row("mnuMapShift", {"txtFillTile.enabled=false", "optWrap.checked=true", "txtShiftX.text=0",
                            "txtShiftY.text=0"});
        row("mnuTileShift", {"txtFrom.text=0", "txtOffset.text=0"});
        row("mnuNewMap", {"txtFillTile.text=0", "chkKeepTilesets.checked=true"});
        row("mnuImportCSV", {"txtSizeX.text=0", "txtBrowseForFile.text="});
        row("mnuMapGeneration_submenu", {"txtMapSizeX.text="});
        row("mnuRubberStampBuilder", {"cmbStampY.currentIndex=0"});
        row("mnuAboutTESSRA", {"lblVersion.text=v1.0 rev 9"}); // the menu opens it
    }

    void windowsOpenInTheirFirstState() {
        QFETCH(QString, item);
        QFETCH(QStringList, state);
        QStringList shown;
        QVERIFY(UseToolWindow(*window, qPrintable(item), [&](QWidget& w) {
            for (const QString& entry : state) {
                const QStringList part = entry.section('=', 0, 0).split('.');
                const QObject* control = w.findChild<QObject*>(part[0]);
                shown << entry.section('=', 0, 0) + '=' +
                             (control ? control->property(qPrintable(part[1])).toString() : "?");
            }
        }));
        QCOMPARE(shown, state);
    }

    void theCloseBoxAfterAnImportLeavesTheTitle() {
        Write("map.csv", "4,5,6,\r\n");
        dialogs.fileAnswers = {Path("saved.tessra"), Path("saved.tessra")};
        Trigger(*window, "mnuSaveMapAs");
        QVERIFY(UseToolWindow(*window, "mnuImportCSV", [&](QWidget& w) {
            Enter(w, {"txtSizeX=3", "txtSizeY=1", "txtBrowseForFile=" + Path("map.csv"), "cmdOK"});
        }));
        QCOMPARE(int(State().MapData(2, 0)), 7);
        QCOMPARE(window->windowTitle(), QStringLiteral("TESSRA - [Untitled]"));
        Trigger(*window, "mnuSaveMapAs");
        State().MapData(2, 0) = 1;
        QVERIFY(UseToolWindow(*window, "mnuImportCSV", [](QWidget& w) { w.close(); }));
        QCOMPARE(window->windowTitle(), "TESSRA - " + Path("saved.tessra"));
        QCOMPARE(int(State().MapData(2, 0)), 1);
    }

    void cancelAfterASwapDoesNotRedraw() {
        dialogs.fileAnswers = {QStringLiteral(TESSRA_TEST_DATA "/pcx/magick-p8-128x64.pcx")};
        Click(*window, "cmdAddTileset");
        const Surface before = window->view();
        QVERIFY(UseToolWindow(*window, "mnuTileSwapper", [](QWidget& w) {
            Enter(w, {"txtDoSwap#1=9", "cmdSwap"});
        }));
        QCOMPARE(State().Tag, std::string("SWAP"));
        const Surface swapped = window->view();
        QVERIFY(!(swapped == before)); // the swap was drawn

        State().MapData.Fill(0); // a change that nothing has drawn yet
        QVERIFY(
            UseToolWindow(*window, "mnuTileReplace", [](QWidget& w) { Click(w, "cmdCancel"); }));
        QCOMPARE(State().Tag, std::string());
        QVERIFY(window->view() == swapped);
    }
};

QTEST_MAIN(ToolProtocolTest)
#include "tool_protocol_test.moc"
