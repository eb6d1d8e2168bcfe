#include "help/help_window.h"
#include "tool_window_fixture.h"
#include "ui/frm_import_csv.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace tessra;

class ImportCsvTest : public QObject {
    Q_OBJECT

  private:
    QTemporaryDir dir_;

    QString WriteFile(const QString& name, const QByteArray& bytes) {
        const QString path = dir_.filePath(name);
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
        return path;
    }

    static void Fill(frmImportCSV& window, const QString& x, const QString& y,
                     const QString& path) {
        Child<QLineEdit>(window, "txtSizeX")->setText(x);
        Child<QLineEdit>(window, "txtSizeY")->setText(y);
        Child<QLineEdit>(window, "txtBrowseForFile")->setText(path);
    }

  private slots:
    void checksRefuseInOrder_data() {
        QTest::addColumn<QString>("x");
        QTest::addColumn<QString>("y");
        QTest::addColumn<QString>("file"); // "-" for none, "?" for a missing one
        QTest::addColumn<QString>("message");
        const auto row = [](const char* tag, const char* x, const char* y, const char* file,
                            const char* message) {
            QTest::newRow(tag) << QString(x) << QString(y) << QString(file) << QString(message);
        };
        row("X 256 before a bad Y", "256", "300", "-", "Illegal X size");
        row("Y 300 before the file", "3", "300", "-", "Illegal Y size");
        row("no file", "3", "2", "-", "No CSV file specified");
        row("missing file", "3", "2", "?", "File not found: ");
        row("empty file", "3", "2", "empty.csv", "File not found: ");
        row("short file", "3", "2", "short.csv", "ends after line 1");
    }

    void checksRefuseInOrder() {
        QFETCH(QString, x);
        QFETCH(QString, y);
        QFETCH(QString, file);
        QFETCH(QString, message);
        WriteFile("empty.csv", "");
        WriteFile("short.csv", "1,2,3\r\n");
        const QString path = file == "-"   ? QString()
                             : file == "?" ? dir_.filePath("missing.csv")
                                           : dir_.filePath(file);
        ToolWindowFixture f;
        f.state.MapData.Fill(9);
        f.state.Tag = "SWAP";
        frmImportCSV window(f.context, nullptr);
        window.show();
        Fill(window, x, y, path);
        QTest::mouseClick(Child<QPushButton>(window, "cmdOK"), Qt::LeftButton);

        QCOMPARE(f.dialogs.messages.size(), std::size_t{1});
        const auto& shown = f.dialogs.messages.front();
        QVERIFY2(shown.text.contains(message, Qt::CaseInsensitive), qPrintable(shown.text));
        if (message.startsWith("File not found")) {
            QCOMPARE(shown.text, message + path);
        }
        QCOMPARE(shown.title, QStringLiteral("TESSRA"));
        QCOMPARE(shown.icon, MessageIcon::Critical);
        QVERIFY(window.isVisible());
        QCOMPARE(f.state.MapData(0, 0), 9);
        QCOMPARE(f.state.Tag, std::string("SWAP"));
    }

    void importFillsTheMapAndSaysLoad() {
        ToolWindowFixture f;
        f.state.MapData.Fill(9);
        frmImportCSV window(f.context, nullptr);
        window.show();
        Fill(window, "3", "2.9", WriteFile("map.csv", "4,5,6,\r\n7,8,9,\r\n"));
        QTest::mouseClick(Child<QPushButton>(window, "cmdOK"), Qt::LeftButton);

        QVERIFY(f.dialogs.messages.empty());
        QCOMPARE(window.result(), int(QDialog::Accepted));
        QVERIFY(!window.isVisible());
        QCOMPARE(f.state.Tag, std::string("LOAD"));
        const int expected[2][3] = {{5, 6, 7}, {8, 9, 10}};
        for (int y = 0; y < 2; ++y) {
            for (int x = 0; x < 3; ++x) {
                QCOMPARE(int(f.state.MapData(x, y)), expected[y][x]);
            }
        }
        QCOMPARE(int(f.state.MapData(3, 0)), 0);
        QCOMPARE(int(f.state.MapData(0, 2)), 0);
    }

    void browseFillsThePath() {
        ToolWindowFixture f;
        f.dialogs.fileAnswers = {QStringLiteral("/maps/level.csv"), std::nullopt};
        frmImportCSV window(f.context, nullptr);
        auto* browse = Child<QPushButton>(window, "cmdBrowse");
        browse->click();
        browse->click(); // cancelled: the path stays
        QCOMPARE(Child<QLineEdit>(window, "txtBrowseForFile")->text(),
                 QStringLiteral("/maps/level.csv"));
        QCOMPARE(f.dialogs.fileRequests.front().title, QStringLiteral("Import CSV"));
        QCOMPARE(f.dialogs.fileRequests.front().filter,
                 QStringLiteral("CSV Files|*.csv|All Files|*.*|"));
    }

    void helpOpensTheImportPage() {
        ToolWindowFixture f;
        frmImportCSV window(f.context, nullptr);
        Child<QPushButton>(window, "cmdHelp")->click();
        auto* help = qobject_cast<HelpWindow*>(f.help.hWndHelp());
        QVERIFY(help != nullptr);
        QCOMPARE(help->CurrentPage().fileName(), QStringLiteral("import_csv.html"));
    }
};

QTEST_MAIN(ImportCsvTest)
#include "import_csv_test.moc"
