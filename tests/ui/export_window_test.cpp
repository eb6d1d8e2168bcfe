#include "core/export/export_profile.h"
#include "main_window_fixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
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
        });
    }

    // OK writes the export and keeps its settings beside the map, output
    // relative; it is no edit. Export Again and each save write it again.
    void writesRemembersAndRepeats() {
        QVERIFY(Export({"txtRegion=0,0,2,1", "txtOutput=out.bin", "cmdOK"}));
        QCOMPARE(Read(Path("out.bin")), QByteArray("\x01\x02", 2));
        QVERIFY(Read(Path("level.export.json")).contains("\"output\": \"out.bin\""));
        QVERIFY(!window->history().IsModified() && !window->history().CanUndo());
        QCOMPARE(window->windowTitle(), "TESSRA - " + map);

        State().MapData(0, 0) = 7;
        dialogs.fileRequests.clear();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        QTest::keyClick(window.get(), Qt::Key_E, Qt::ControlModifier);
        QCOMPARE(Read(Path("out.bin")), QByteArray("\x07\x02", 2));
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

    // A failed export on save is told, and the map is saved all the same.
    void aFailedExportDoesNotUndoTheSave() {
        QVERIFY(Export({"txtOutput=out.bin", "chkExportOnSave=true", "cmdOK"}));
        QVERIFY(QFile::remove(Path("out.bin")) && QDir().mkdir(Path("out.bin")));
        State().MapData(5, 5) = 3;
        dialogs.messages.clear();
        Trigger(*window, "mnuSaveMap");
        QVERIFY(OnlyError(dialogs).contains("out.bin"));
        QVERIFY(!window->history().IsModified());
        QVERIFY(QDir(Path("out.bin")).removeRecursively());
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
    // counts the command line tells; a map Tiled made that TESSRA cannot take
    // is refused and changes nothing.
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

        Write("iso.tmx", "<map version=\"1.10\" orientation=\"isometric\" width=\"1\" "
                         "height=\"1\" tilewidth=\"16\" tileheight=\"16\"/>");
        dialogs.messages.clear();
        dialogs.fileAnswers = {Path("iso.tmx")};
        Trigger(*window, "mnuImportTiled");
        QVERIFY2(OnlyError(dialogs).contains("isometric"), qPrintable(OnlyError(dialogs)));
        QCOMPARE(State().MapData(0, 0), 5);
    }

    // Build All lists what the build did, failed maps first; a double-click on
    // one opens it.
    void buildAllListsTheOutputsAndOpensAFailedMap() {
        Write("level.export.json", R"({"output": "out.bin", "region": "0,0,2,1"})");
        Write("broken.tessra", QByteArray(Read(map)));
        Write("broken.export.json", R"({"output": "broken.bin", "screen": "3,3"})");
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
            QVERIFY(
                Child<QLabel>(w, "lblBuildStatus")->text().startsWith("Built 2 maps (1 failed)"));
            emit list->itemDoubleClicked(list->topLevelItem(0), 1);
        }));
        QCOMPARE(rows, (QStringList{"Failed broken.tessra", "Written out.bin"}));
        QVERIFY(!barShown); // a quick build shows none
        QCOMPARE(Read(Path("out.bin")), QByteArray("\x01\x02"));
        QCOMPARE(window->windowTitle(), "TESSRA - " + Path("broken.tessra"));
    }
};

QTEST_MAIN(ExportWindowTest)
#include "export_window_test.moc"
