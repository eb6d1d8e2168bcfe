#include "../platform/save_faults.h"
#include "core/project_file.h"
#include "platform/file_io.h"
#include "support/fake_dialogs.h"
#include "tool_window_fixture.h"
#include "ui/frm_main.h"
#include "ui/frm_mapfile_generator.h"

#include <QAction>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace tessra;

Q_DECLARE_METATYPE(Fault)

namespace {

void FaultRows() {
    QTest::addColumn<Fault>("fault");
    QTest::newRow("full disk") << Fault::FullDisk;
    QTest::newRow("read-only folder") << Fault::ReadOnlyFolder;
    QTest::newRow("path is a folder") << Fault::Folder;
}

std::filesystem::path Root(const QTemporaryDir& dir) {
    return ToStdString(dir.path());
}

} // namespace

// A save that cannot be done shows a message naming the file, and changes
// nothing on disk: no earlier file touched, no temporary file left behind, no
// device replaced by a file.
class SaveFaultsTest : public QObject {
    Q_OBJECT

  public:
    // The window's recovery copies go to the test folders, not the user's.
    SaveFaultsTest() { QStandardPaths::setTestModeEnabled(true); }

  private slots:
    // The map stays unsaved under its old name. A full disk and a folder are
    // reached by Save As; a read-only folder by saving the map opened from it.
    void mainWindowSave_data() { FaultRows(); }
    void mainWindowSave() {
        QFETCH(Fault, fault);
        QTemporaryDir dir;
        MapGrid map;
        map(0, 0) = 7;
        const std::string project = WriteProjectBytes({}, map);
        std::optional<ReadOnlyFolder> locked;
        const QString target =
            ToQString(PrepareFault(fault, Root(dir), "map.tessra", project, locked));
        const QString opened = locked ? target : dir.filePath("earlier.tessra");
        if (!locked) {
            QFile file(opened);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(project.data(), qint64(project.size()));
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
        {
            // Root would write in a read-only folder anyway.
            std::optional<PermissionsHold> permissions;
            if (fault == Fault::ReadOnlyFolder && !permissions.emplace()) {
                QSKIP("cannot take an unprivileged user's identity");
            }
            if (locked) {
                window.findChild<QAction*>("mnuSaveMap")->trigger();
            } else {
                dialogs.fileAnswers.push_back(target);
                window.findChild<QAction*>("mnuSaveMapAs")->trigger();
            }
        }
        QCOMPARE(dialogs.messages.size(), std::size_t{1});
        const QString text = dialogs.messages[0].text;
        QVERIFY2(text.contains(target), qPrintable(text));
        QVERIFY2(fault != Fault::FullDisk || text.contains(NoSpace), qPrintable(text));
        QCOMPARE(dialogs.messages[0].icon, MessageIcon::Critical);
        QVERIFY(FolderSnapshot(Root(dir)) == before);
        QVERIFY(fault != Fault::FullDisk || IsCharacterDevice(ToStdString(target)));
        QCOMPARE(window.windowTitle(), title);
        QCOMPARE(ToQString(window.state().CurrentFileName), opened);
        QVERIFY(window.history().IsModified());
    }

    // The generator says "Error #" and the file layer's code, and stays open.
    void mapfileGenerator_data() { FaultRows(); }
    void mapfileGenerator() {
        QFETCH(Fault, fault);
        QTemporaryDir dir;
        std::optional<ReadOnlyFolder> locked;
        const QString target =
            ToQString(PrepareFault(fault, Root(dir), "map.dat", "the earlier file", locked));
        const auto before = FolderSnapshot(Root(dir));

        ToolWindowFixture f;
        f.dialogs.fileAnswers = {target};
        frmMapfileGenerator window(f.context, nullptr);
        window.show();
        Child<QLineEdit>(window, "txtMapSizeX")->setText("4");
        Child<QLineEdit>(window, "txtMapSizeY")->setText("4");
        {
            // Root would write in a read-only folder anyway.
            std::optional<PermissionsHold> permissions;
            if (fault == Fault::ReadOnlyFolder && !permissions.emplace()) {
                QSKIP("cannot take an unprivileged user's identity");
            }
            QTest::mouseClick(Child<QPushButton>(window, "cmdGenerate"), Qt::LeftButton);
        }
        QCOMPARE(f.dialogs.messages.size(), std::size_t{1});
        const auto& shown = f.dialogs.messages[0];
        QVERIFY2(QRegularExpression("^Error #[1-9][0-9]*$").match(shown.title).hasMatch(),
                 qPrintable(shown.title));
        QVERIFY2(shown.text.contains(target), qPrintable(shown.text));
        QVERIFY2(fault != Fault::FullDisk || shown.text.contains(NoSpace), qPrintable(shown.text));
        QCOMPARE(shown.icon, MessageIcon::Critical);
        QVERIFY(window.isVisible());
        QVERIFY(FolderSnapshot(Root(dir)) == before);
        QVERIFY(fault != Fault::FullDisk || IsCharacterDevice(ToStdString(target)));
    }
};

QTEST_MAIN(SaveFaultsTest)
#include "save_faults_test.moc"
