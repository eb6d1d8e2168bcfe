#include "core/formats/project_file.h"
#include "io/file_io.h"
#include "io/save_faults.h"
#include "platform/qt_text.h"
#include "support/fake_dialogs.h"
#include "tool_window_fixture.h"
#include "ui/frm_main.h"
#include "ui/frm_mapfile_generator.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace tessra;

Q_DECLARE_METATYPE(Fault)

namespace {

// The editor saves through the same writer as the command line, whose every
// fault is tried in file_io_test; here, what the windows make of a full disk.
void FaultRows() {
    QTest::addColumn<Fault>("kind");
    QTest::newRow("full device") << Fault::FullDevice;
    QTest::newRow("full disk") << Fault::FullDisk;
}

std::filesystem::path Root(const QTemporaryDir& dir) {
    return FileNameOf(dir.path());
}

} // namespace

// A save that cannot be done shows a message naming the file and the cause,
// and changes nothing on disk: no earlier file touched, no temporary file
// left behind, no device replaced by a file.
class SaveFaultsTest : public QObject {
    Q_OBJECT

  public:
    // The window's recovery copies go to the test folders, not the user's.
    SaveFaultsTest() { QStandardPaths::setTestModeEnabled(true); }

  private slots:
    // The map stays unsaved under its old name. A full device is reached by
    // Save As, a full disk by saving the map opened from there.
    void mainWindowSave_data() { FaultRows(); }
    void mainWindowSave() {
        QFETCH(Fault, kind);
        QTemporaryDir dir;
        MapGrid map;
        map(0, 0) = 7;
        const std::string project = WriteProjectBytes({}, map);
        const SaveFault fault(kind, Root(dir), "map.tessra", project);
        if (!fault.Unavailable().empty()) {
            QSKIP(fault.Unavailable().c_str());
        }
        const QString target = ShownFileName(fault.Target());
        const QString opened = fault.HasEarlierFile() ? target : dir.filePath("earlier.tessra");
        if (!fault.HasEarlierFile()) {
            WriteFileBytes(FileNameOf(opened), project);
        }

        FakeDialogs dialogs;
        frmMain window(dialogs);
        window.show();
        dialogs.fileAnswers.push_back(opened);
        window.findChild<QAction*>("mnuOpenMap")->trigger();
        QTest::mouseClick(window.findChild<QWidget*>("picEditField"), Qt::LeftButton, {}, {1, 1});
        QCOMPARE(int(window.state().MapData(0, 0)), 0); // drawn over with tile 0
        QVERIFY(window.history().IsModified());
        const QString title = window.windowTitle();
        const auto before = FolderSnapshot(Root(dir));
        if (fault.HasEarlierFile()) {
            window.findChild<QAction*>("mnuSaveMap")->trigger();
        } else {
            dialogs.fileAnswers.push_back(target);
            window.findChild<QAction*>("mnuSaveMapAs")->trigger();
        }
        QCOMPARE(dialogs.messages.size(), std::size_t{1});
        const QString text = dialogs.messages[0].text;
        QVERIFY2(text.contains("Cannot write " + target + ": "), qPrintable(text));
        QVERIFY2(text.contains(NoSpace), qPrintable(text));
        QCOMPARE(dialogs.messages[0].icon, MessageIcon::Critical);
        QVERIFY(FolderSnapshot(Root(dir)) == before);
        QVERIFY(kind != Fault::FullDevice || IsCharacterDevice(fault.Target()));
        QCOMPARE(window.windowTitle(), title);
        QCOMPARE(window.state().CurrentFileName, FileNameOf(opened));
        QVERIFY(window.history().IsModified());
    }

    // The generator says "Error #" and the system's error number, and stays open.
    void mapfileGenerator_data() { FaultRows(); }
    void mapfileGenerator() {
        QFETCH(Fault, kind);
        QTemporaryDir dir;
        const SaveFault fault(kind, Root(dir), "map.dat", "the earlier file");
        if (!fault.Unavailable().empty()) {
            QSKIP(fault.Unavailable().c_str());
        }
        const QString target = ShownFileName(fault.Target());
        const auto before = FolderSnapshot(Root(dir));

        ToolWindowFixture f;
        f.dialogs.fileAnswers = {target};
        frmMapfileGenerator window(f.context, nullptr);
        window.show();
        Child<QLineEdit>(window, "txtMapSizeX")->setText("4");
        Child<QLineEdit>(window, "txtMapSizeY")->setText("4");
        QTest::mouseClick(Child<QPushButton>(window, "cmdGenerate"), Qt::LeftButton);
        QCOMPARE(f.dialogs.messages.size(), std::size_t{1});
        const auto& shown = f.dialogs.messages[0];
        QVERIFY2(QRegularExpression("^Error #[1-9][0-9]*$").match(shown.title).hasMatch(),
                 qPrintable(shown.title));
        QVERIFY2(shown.text.contains("Cannot write " + target + ": "), qPrintable(shown.text));
        QVERIFY2(shown.text.contains(NoSpace), qPrintable(shown.text));
        QCOMPARE(shown.icon, MessageIcon::Critical);
        QVERIFY(window.isVisible());
        QVERIFY(FolderSnapshot(Root(dir)) == before);
        QVERIFY(kind != Fault::FullDevice || IsCharacterDevice(fault.Target()));
    }
};

QTEST_MAIN(SaveFaultsTest)
#include "save_faults_test.moc"
