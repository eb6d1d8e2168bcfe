#include "core/export/export_profile.h"
#include "core/formats/project_file.h"
#include "main_window_fixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTreeWidget>

using namespace tessra;

namespace {

// "box=text" types, "cmb=value" chooses, "chk=true" ticks; anything else is a button.
void Set(QWidget& window, const QStringList& input) {
    for (const QString& step : input) {
        const QStringList part = step.split('=');
        if (auto* combo = Child<QComboBox>(window, qPrintable(part[0]))) {
            combo->setCurrentIndex(combo->findData(part[1]));
        } else if (auto* check = Child<QCheckBox>(window, qPrintable(part[0]))) {
            check->setChecked(part[1] == "true");
        } else {
            Enter(window, {step});
        }
    }
}

QByteArray Read(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<none>");
}

} // namespace

class ExportWindowTest : public MainWindowTest {
    Q_OBJECT

    QString map;

    // Uses File > Export... with the input; true when the window closed by itself.
    bool Export(const QStringList& input, QString* size = nullptr) {
        bool closed = false;
        UseToolWindow(*window, "mnuExport", [&](QWidget& w) {
            Set(w, input);
            if (size) {
                *size = Child<QLabel>(w, "lblSize")->text();
            }
            closed = !w.isVisible();
        });
        return closed;
    }

  private slots:
    void init() {
        OpenWindow();
        map = Path("level.tessra");
        for (const QString name : {"level.export.json", "out.bin", "level.tessra"}) {
            QFile::remove(Path(name));
        }
        State().MapData(0, 0) = 1, State().MapData(1, 0) = 2;
        dialogs.fileAnswers = {map};
        Trigger(*window, "mnuSaveMapAs");
        QVERIFY(!window->history().IsModified());
    }

    // The window's first state follows the defaults, greys out what does not
    // apply, and its size line follows every change or says what is wrong.
    void sizeLineFollowsTheSettings() {
        const struct {
            QStringList input;
            QString size;
        } cases[] = {
            {{}, "65,536 bytes will be written."},
            {{"txtRegion=0,0,32,30", "cmbEntry=u16le"}, "1,920 bytes will be written."},
            {{"txtRegion=0,0,16,15", "cmbHardware=nes"}, "1,024 bytes will be written."},
            {{"txtRegion=0,0,2,2", "cmbFormat=csv"}, "4 bytes will be written, as "},
            {{"txtRegion=0,0,300,1"}, "The region setting must be X,Y,W,H"},
            {{"txtScreen=3,3"}, "The screen setting 3,3 does not divide"},
        };
        for (const auto& c : cases) {
            QString size;
            Export(c.input, &size);
            QVERIFY2(size.startsWith(c.size), qPrintable(size));
        }
        UseToolWindow(*window, "mnuExport", [&](QWidget& w) {
            QCOMPARE(Child<QLineEdit>(w, "txtRegion")->text(), QStringLiteral("0,0,256,256"));
            const auto enabled = [&](const char* name) {
                return Child<QWidget>(w, name)->isEnabled();
            };
            QVERIFY(enabled("txtOffset") && !enabled("cmbNumbering") && !enabled("txtTileBase"));
            QVERIFY(!enabled("cmbSyntax") && !enabled("txtName"));
            Set(w, {"cmbHardware=snes", "cmbFormat=asm"});
            QVERIFY(!enabled("txtOffset") && !enabled("cmbEntry") && enabled("cmbNumbering"));
            QVERIFY(enabled("cmbSyntax") && enabled("txtName"));
            QCOMPARE(Child<QLineEdit>(w, "txtName")->placeholderText(), QStringLiteral("map"));
            // An empty screen box says what it stands for.
            QCOMPARE(Child<QLineEdit>(w, "txtScreen")->placeholderText(), "the region's size");
            Set(w, {"cmbHardware=nes"});
            QCOMPARE(Child<QLineEdit>(w, "txtScreen")->placeholderText(), QStringLiteral("32,30"));
        });
    }

    // OK writes the export and keeps its settings beside the map, output
    // relative; it is no edit. Export Again and each save write it again.
    void writesRemembersAndRepeats() {
        QVERIFY(Export({"txtRegion=0,0,2,1", "txtOutput=out.bin", "cmdOK"}));
        QCOMPARE(Read(Path("out.bin")), QByteArray("\x01\x02", 2));
        const QString said = "Exported 2 bytes to " + Path("out.bin") + '.';
        QCOMPARE(window->statusBar()->currentMessage(), said);
        QVERIFY(Read(Path("level.export.json")).contains("\"output\": \"out.bin\""));
        QVERIFY(!window->history().IsModified() && !window->history().CanUndo());
        QCOMPARE(window->windowTitle(), "TESSRA - " + map);

        State().MapData(0, 0) = 7;
        dialogs.fileRequests.clear();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        window->statusBar()->clearMessage();
        QTest::keyClick(window.get(), Qt::Key_E, Qt::ControlModifier);
        QCOMPARE(Read(Path("out.bin")), QByteArray("\x07\x02", 2));
        QCOMPARE(window->statusBar()->currentMessage(), said);
        QVERIFY(dialogs.fileRequests.empty() && dialogs.messages.empty());

        // The window opens on what it wrote; with export on save, Save writes it too.
        UseToolWindow(*window, "mnuExport", [&](QWidget& w) {
            QCOMPARE(Child<QLineEdit>(w, "txtRegion")->text(), QStringLiteral("0,0,2,1"));
            QCOMPARE(Child<QLineEdit>(w, "txtOutput")->text(), Path("out.bin"));
            Set(w, {"chkExportOnSave=true", "cmdOK"});
        });
        State().MapData(1, 0) = 9;
        Trigger(*window, "mnuSaveMap");
        QCOMPARE(Read(Path("out.bin")), QByteArray("\x07\x09", 2));

        // Opening the map again reads the settings back.
        const ExportProfile kept = *window->RememberedExport();
        OpenWindow();
        QVERIFY(window->OpenProjectFile(FileNameOf(map)));
        QCOMPARE(window->RememberedExport(), std::optional(kept));
        QCOMPARE(kept.Output, ToStdString(Path("out.bin")));
        // Save As takes them along, the output still naming the same file.
        QDir().mkdir(Path("sub"));
        dialogs.fileAnswers = {Path("sub/moved.tessra")};
        Trigger(*window, "mnuSaveMapAs");
        QVERIFY(Read(Path("sub/moved.export.json")).contains("\"output\": \"../out.bin\""));
    }

    // A failed write is told as Save tells it, and the window stays open;
    // the export never replaces the map.
    void refusalsLeaveTheWindowOpen() {
        const struct {
            QStringList input;
            QString message;
        } cases[] = {
            {{"txtOutput=nowhere/out.bin"}, "Cannot write"},
            {{"txtOutput=level.tessra"}, "the same file as the input"},
            {{"txtOffset=x"}, "The offset setting must be"},
        };
        for (const auto& c : cases) {
            dialogs.messages.clear();
            QVERIFY(!Export(c.input + QStringList{"cmdOK"}));
            QVERIFY2(OnlyError(dialogs).contains(c.message), qPrintable(OnlyError(dialogs)));
        }
        QCOMPARE(Read(map).size(), 327685);
        QVERIFY(!QFile::exists(Path("level.export.json")) && !window->RememberedExport());
    }

    // The tile graphics and palettes join the export and its size line; the
    // budget panel follows the attributes and points at a problem's tile.
    void tilesPalettesAndTheBudget() {
        Write("tiles.pcx", TilesetPcx(32, 16, 1));
        AddTileset("tiles.pcx");
        const QStringList input = {"cmbHardware=snes",    "cmbNumbering=unique",
                                   "txtRegion=0,0,2,1",   "txtTiles=tiles.bin",
                                   "txtPalettes=pal.bin", "txtOutput=out.bin"};
        QString size;
        Export(input, &size);
        QCOMPARE(size, QStringLiteral("Map 16 bytes · 2 of 1,024 tiles, 64 bytes · 1 of 8 "
                                      "palettes, 32 bytes"));
        QVERIFY(Export(input + QStringList{"cmdOK"}));
        QCOMPARE(Read(Path("tiles.bin")).size(), 64);
        QVERIFY(Read(Path("level.export.json")).contains("\"tiles\": \"tiles.bin\""));

        Trigger(*window, "mnuHardwareBudget");
        QTRY_COMPARE(Find<QLabel>("lblTiles")->text(), "2 of 1,024 tiles, from tile-base 0");
        window->SelectTile(1);
        UseToolWindow(*window, "mnuTileAttributes", [&](QWidget& w) {
            Set(w, {"txtPalette=9", "cmdOK"});
        });
        auto* problems = Find<QListWidget>("lstProblems");
        QTRY_COMPARE(problems->count(), 1);
        window->SelectTile(0);
        emit problems->itemDoubleClicked(problems->item(0));
        QCOMPARE(State().SelectedTile, 1);
        QVERIFY(Find<QAction>("mnuHighlightTile")->isChecked());
    }

    // A bank the profile names counts first in the panel, and the window,
    // which has no box for it, keeps it.
    void aBankCountsAndStays() {
        Write("tiles.pcx", TilesetPcx(32, 16, 1));
        AddTileset("tiles.pcx");
        Trigger(*window, "mnuSaveMap");
        Write("world.tilebank", "TESSRA tile bank\nconsole snes\nbpp 4\npalette 0 0000 7FFF\n"
                                "tile 0 00000000 00000000 00000000 00000000 00000000 00000000 "
                                "00000000 00000001\n");
        Write("level.export.json", R"({"hardware": "snes", "numbering": "unique",
            "bank": "world.tilebank", "region": "0,0,2,1", "tiles": "tiles.bin",
            "output": "out.bin"})");
        dialogs.fileAnswers = {map};
        Trigger(*window, "mnuOpenMap");
        Trigger(*window, "mnuHardwareBudget");
        QTRY_COMPARE(Find<QLabel>("lblTiles")->text(),
                     "3 of 1,024 tiles, from tile-base 0\n1 of them in the tile bank "
                     "world.tilebank");
        QVERIFY(Export({"cmdOK"}));
        QVERIFY(Read(Path("level.export.json")).contains("\"bank\": \"world.tilebank\""));
        QCOMPARE(Read(Path("tiles.bin")).size(), 3 * 32);
    }

    // A failed export on save is told, and the map is saved all the same.
    void aFailedExportDoesNotUndoTheSave() {
        QVERIFY(Export({"txtOutput=out.bin", "chkExportOnSave=true", "cmdOK"}));
        QVERIFY(QFile::remove(Path("out.bin")) && QDir().mkdir(Path("out.bin")));
        State().MapData(5, 5) = 3;
        dialogs.messages.clear();
        Trigger(*window, "mnuSaveMap");
        QVERIFY(OnlyError(dialogs).contains("out.bin"));
        QVERIFY(OnlyError(dialogs).startsWith("The map was saved, but it was not exported again"));
        QVERIFY(!window->history().IsModified());
        QVERIFY(QDir(Path("out.bin")).removeRecursively());
    }

    // A map from elsewhere may name any file: before an export on save first
    // writes outside the map's folder, the user is asked, shown the whole
    // path, and the answer holds for that map and output. Export Again, asked
    // for, writes without a question.
    void exportOnSaveOutsideTheFolderAsksOnce() {
        QDir().mkdir(Path("maps"));
        for (const char* name : {"maps/a", "maps/b"}) {
            Write(QString(name) + ".tessra", QByteArray::fromStdString(WriteProjectBytes({}, {})));
            Write(QString(name) + ".export.json",
                  R"({"output": "../outside.bin", "exportOnSave": true})");
        }
        const auto save = [&](const char* map, YesNoAnswer answer) {
            QVERIFY(window->OpenProjectFile(FileNameOf(Path(map))));
            State().MapData(0, 0) = 4;
            dialogs.yesNoAnswers = {answer};
            Trigger(*window, "mnuSaveMap");
            QVERIFY(!window->history().IsModified());
        };
        save("maps/a.tessra", YesNoAnswer::No);
        QCOMPARE(dialogs.questions.size(), 1u);
        QVERIFY2(dialogs.questions[0].contains(Path("outside.bin")),
                 qPrintable(dialogs.questions[0]));
        save("maps/a.tessra", YesNoAnswer::Yes);
        QCOMPARE(dialogs.questions.size(), 1u);
        QVERIFY(!QFile::exists(Path("outside.bin")));
        Trigger(*window, "mnuExportAgain");
        QVERIFY(QFile::exists(Path("outside.bin")) && QFile::remove(Path("outside.bin")));

        save("maps/b.tessra", YesNoAnswer::Yes); // another map, asked again
        save("maps/b.tessra", YesNoAnswer::No);
        QCOMPARE(dialogs.questions.size(), 2u);
        QCOMPARE(Read(Path("outside.bin")).size(), 65536);
    }

    // Export Again with nothing to repeat asks; a damaged profile is told,
    // and the map opens without it.
    void withoutAnExportAgainAsks() {
        QVERIFY(UseToolWindow(*window, "mnuExportAgain"));
        Write("level.export.json", "{\"region\": \"0,0,0,0\"}");
        QVERIFY(window->OpenProjectFile(FileNameOf(map)));
        QVERIFY(!window->RememberedExport());
        QCOMPARE(dialogs.messages.size(), 1u);
        QVERIFY(dialogs.messages[0].text.contains("level.export.json"));
        QCOMPARE(dialogs.messages[0].icon, MessageIcon::Warning);
        QCOMPARE(window->windowTitle(), "TESSRA - " + map);
    }

    // A map sent to Tiled comes back cell for cell as one undo step, with the
    // counts the command line tells; one it cannot take changes nothing.
    void tiledMapsGoAndComeBack() {
        dialogs.fileAnswers = {Path("out.tmx")};
        Trigger(*window, "mnuExportTiled");
        QVERIFY(QFile::exists(Path("out.tmx")) && QFile::exists(Path("out.tiles.png")));
        State().MapData(0, 0) = 5;
        dialogs.fileAnswers = {Path("out.tmx")};
        Trigger(*window, "mnuImportTiled");
        QCOMPARE(State().MapData(0, 0), 1);
        QCOMPARE(State().MapData(1, 0), 2);
        QCOMPARE(window->windowTitle(), QStringLiteral("TESSRA - [Untitled]"));
        QCOMPARE(dialogs.messages.size(), 1u);
        QVERIFY(dialogs.messages[0].text.contains("0 cells were empty"));
        Trigger(*window, "mnuUndo");
        QCOMPARE(State().MapData(0, 0), 5);
        QVERIFY(window->history().IsModified()); // the file name is not undone
        QCOMPARE(Find<QLabel>("lblStatusModified")->text(), "Modified");
        // A map that TESSRA cannot take changes nothing.
        Write("iso.tmx", R"(<map orientation="isometric" width="1" height="1" tilewidth="16"
                           tileheight="16"/>)");
        dialogs.fileAnswers = {Path("iso.tmx")};
        Trigger(*window, "mnuImportTiled");
        QCOMPARE(State().MapData(0, 0), 5);
    }

    // Build All lists what the build did, failed maps first; a double-click on
    // one opens it.
    void buildAllListsTheOutputsAndOpensAFailedMap() {
        // A folder of its own: the others hold maps the other cases left.
        QDir().mkpath(Path("all"));
        dialogs.fileAnswers = {Path("all/level.tessra")};
        Trigger(*window, "mnuSaveMapAs");
        Write("all/level.export.json", R"({"output": "out.bin", "region": "0,0,2,1"})");
        Write("all/broken.tessra", QByteArray(Read(map)));
        Write("all/broken.export.json", R"({"output": "broken.bin", "screen": "3,3"})");
        QStringList rows;
        bool barShown = true;
        QVERIFY(UseToolWindow(*window, "mnuBuildAll", [&](QWidget& w) {
            QTRY_VERIFY(Child<QPushButton>(w, "cmdClose")->isEnabled());
            barShown = Child<QProgressBar>(w, "prgBuild")->isVisible();
            auto* list = Child<QTreeWidget>(w, "lstBuildOutputs");
            for (int i = 0; i < list->topLevelItemCount(); ++i) {
                const QTreeWidgetItem* item = list->topLevelItem(i);
                rows << item->text(0) + ' ' + item->text(1);
            }
            const QString message = Child<QLabel>(w, "lblBuildMessage")->text();
            QVERIFY2(message.startsWith("The screen setting 3,3 does not divide"),
                     qPrintable(message));
            const QString status = Child<QLabel>(w, "lblBuildStatus")->text();
            QVERIFY2(status.startsWith("Built 2 maps (1 failed)"), qPrintable(status));
            emit list->itemDoubleClicked(list->topLevelItem(0), 1);
        }));
        QCOMPARE(rows, (QStringList{"Failed broken.tessra", "Written out.bin"}));
        QVERIFY(!barShown); // a quick build shows none
        QCOMPARE(Read(Path("all/out.bin")), QByteArray("\x01\x02"));
        QCOMPARE(window->windowTitle(), "TESSRA - " + Path("all/broken.tessra"));
    }
};

QTEST_MAIN(ExportWindowTest)
#include "export_window_test.moc"
