#include "io/temp_dir.h"
#include "platform/qt_text.h"
#include "tool_window_fixture.h"
#include "ui/frm_mapfile_generator.h"

#include <QTest>

using namespace tessra;

// Unwritable paths are tried in save_faults_test.
class MapfileGeneratorTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;

  private slots:
    void exportsTheTopLeftBlock() {
        ToolWindowFixture f;
        for (int i = 0; i < 9; ++i) {
            f.state.MapData(i % 3, i / 3) = std::uint8_t(16 * (i / 3) + i % 3 + 1);
        }
        f.dialogs.fileAnswers = {dir.filePath("block.dat")};
        frmMapfileGenerator window(f.context, nullptr);
        window.show();
        Enter(window, {"txtMapSizeX=3", "txtMapSizeY=2", "cmdGenerate"});
        QFile file(dir.filePath("block.dat"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("\x01\x02\x03\x11\x12\x13"));
        QCOMPARE(f.dialogs.messages.size(), 1u);
        QCOMPARE(f.dialogs.messages[0].text, QStringLiteral("File was exported."));
        QCOMPARE(f.dialogs.messages[0].icon, MessageIcon::Information);
        QVERIFY(window.result() == QDialog::Accepted && !window.isVisible());
    }

    // Written over one of the map's own files, the export would destroy what
    // the map was made from; a tileset is listed from the map's folder, not
    // the working one.
    void theMapsOwnFilesAreRefused() {
        const char* names[] = {"map.tessra", "map.attributes.json", "tiles.pcx"};
        for (const char* name : names) {
            WriteFile(dir, name, name);
        }
        for (const char* name : names) {
            ToolWindowFixture f;
            f.state.CurrentFileName = FileNameOf(dir.filePath("map.tessra"));
            f.state.ProjectFolder = FileNameOf(dir.path());
            f.state.Tilesets = {"tiles.pcx"};
            f.dialogs.fileAnswers = {dir.filePath(name)};
            frmMapfileGenerator window(f.context, nullptr);
            window.show();
            Enter(window, {"txtMapSizeX=3", "txtMapSizeY=2", "cmdGenerate"});
            QVERIFY2(OnlyError(f.dialogs).contains("it is the same file as the input"),
                     qPrintable(OnlyError(f.dialogs)));
            QVERIFY(window.isVisible());
            QCOMPARE(ReadText(FileNameOf(dir.filePath(name))), name);
        }
    }

    void aBadSizeIsRefusedBeforeTheFileIsAskedFor() {
        ToolWindowFixture f;
        frmMapfileGenerator window(f.context, nullptr);
        window.show();
        Enter(window, {"txtMapSizeX=", "txtMapSizeY=5", "cmdGenerate"});
        QVERIFY(f.dialogs.fileRequests.empty() && window.isVisible());
        QVERIFY(OnlyError(f.dialogs).contains("Illegal X size"));
    }
};

QTEST_MAIN(MapfileGeneratorTest)
#include "mapfile_generator_test.moc"
