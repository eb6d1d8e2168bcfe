#include "tool_window_fixture.h"
#include "ui/frm_import_csv.h"

#include <QDir>
#include <QTest>

using namespace tessra;

class ImportCsvTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;

  private slots:
    void initTestCase() {
        WriteFile(dir, "empty.csv", "");
        WriteFile(dir, "short.csv", "1,2,3\r\n");
        WriteFile(dir, "map.csv", "4,5,6,\r\n7,8,9,\r\n");
        QDir(dir.path()).mkdir("folder.csv");
    }

    // Each check refuses before the next is made, and the window stays open.
    void checksRefuseInOrder_data() {
        QTest::addColumn<QStringList>("input");
        QTest::addColumn<QString>("message");
        const auto row = [&](const char* tag, const char* x, const char* y, const char* file,
                             const QString& message) {
            const QString path = *file ? dir.filePath(file) : QString();
            QTest::newRow(tag) << QStringList{QString("txtSizeX=") + x, QString("txtSizeY=") + y,
                                              "txtBrowseForFile=" + path, "cmdOK"}
                               << message.arg(path);
        };
        row("X 256 before a bad Y", "256", "300", "", "Illegal X size");
        row("Y 300 before the file", "3", "300", "", "Illegal Y size");
        row("no file", "3", "2", "", "No CSV file specified");
        row("missing file", "3", "2", "missing.csv", "File not found: %1");
        row("empty file", "3", "2", "empty.csv", "File not found: %1");
        row("a folder", "3", "2", "folder.csv", "Cannot read %1: it is a folder, not a file");
        row("short file", "3", "2", "short.csv", "ends after line 1");
    }

    void checksRefuseInOrder() {
        QFETCH(QStringList, input);
        QFETCH(QString, message);
        ToolWindowFixture f;
        f.state.MapData.Fill(9);
        f.state.Tag = "SWAP";
        frmImportCSV window(f.context, nullptr);
        window.show();
        Enter(window, input);
        QVERIFY2(OnlyError(f.dialogs).contains(message), qPrintable(OnlyError(f.dialogs)));
        QVERIFY(window.isVisible());
        QCOMPARE(f.state.MapData(0, 0), 9);
        QCOMPARE(f.state.Tag, std::string("SWAP"));
    }

    void importFillsTheMapAndSaysLoad() {
        ToolWindowFixture f;
        f.state.MapData.Fill(9);
        f.dialogs.fileAnswers = {dir.filePath("map.csv"), std::nullopt};
        frmImportCSV window(f.context, nullptr);
        window.show();
        Click(window, "cmdBrowse");
        Click(window, "cmdBrowse"); // cancelled: the path stays
        Enter(window, {"txtSizeX=3", "txtSizeY=2.9", "cmdOK"});
        QVERIFY(f.dialogs.messages.empty());
        QVERIFY(window.result() == QDialog::Accepted && !window.isVisible());
        QCOMPARE(f.state.Tag, std::string("LOAD"));
        QCOMPARE(QList<int>({f.state.MapData(0, 0), f.state.MapData(2, 1), f.state.MapData(3, 0),
                             f.state.MapData(0, 2)}),
                 QList<int>({5, 10, 0, 0}));
    }
};

QTEST_MAIN(ImportCsvTest)
#include "import_csv_test.moc"
