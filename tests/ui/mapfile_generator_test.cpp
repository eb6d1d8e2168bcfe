#include "tool_window_fixture.h"
#include "ui/frm_mapfile_generator.h"

#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace tessra;

namespace {

void Type(QWidget& window, const QString& x, const QString& y) {
    Child<QLineEdit>(window, "txtMapSizeX")->setText(x);
    Child<QLineEdit>(window, "txtMapSizeY")->setText(y);
}

void Generate(QWidget& window) {
    QTest::mouseClick(Child<QPushButton>(window, "cmdGenerate"), Qt::LeftButton);
}

} // namespace

class MapfileGeneratorTest : public QObject {
    Q_OBJECT

  private:
    QTemporaryDir dir_;

  private slots:
    void exportsTheTopLeftBlock() {
        ToolWindowFixture f;
        for (int row = 0; row < 3; ++row) {
            for (int column = 0; column < 3; ++column) {
                f.state.MapData(column, row) = static_cast<std::uint8_t>(16 * row + column + 1);
            }
        }
        const QString path = dir_.filePath(QStringLiteral("block.dat"));
        f.dialogs.fileAnswers = {path};
        frmMapfileGenerator window(f.context, nullptr);
        window.show();
        Type(window, "3", "2");
        Generate(window);

        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("\x01\x02\x03\x11\x12\x13"));
        const FileDialogRequest& request = f.dialogs.fileRequests.at(0);
        QCOMPARE(request.title, QStringLiteral("Export Generated Mapfile"));
        QCOMPARE(request.filter, QStringLiteral("DAT Files|*.dat|All Files|*.*|"));
        QVERIFY(request.overwritePrompt);
        QCOMPARE(f.dialogs.messages.size(), std::size_t{1});
        QCOMPARE(f.dialogs.messages[0].text, QStringLiteral("File was exported."));
        QCOMPARE(f.dialogs.messages[0].title, QStringLiteral("TESSRA"));
        QCOMPARE(f.dialogs.messages[0].icon, MessageIcon::Information);
        QVERIFY(!window.isVisible());
        QCOMPARE(window.result(), int(QDialog::Accepted));
    }

    void sizesOutsideTheGridAreRefusedFirst_data() {
        QTest::addColumn<QString>("x");
        QTest::addColumn<QString>("y");
        const auto row = [](const char* tag, const char* x, const char* y) {
            QTest::newRow(tag) << QString(x) << QString(y);
        };
        row("empty X", "", "5");
        row("past the grid by the exponent", "1e9", "5");
    }

    void sizesOutsideTheGridAreRefusedFirst() {
        QFETCH(QString, x);
        QFETCH(QString, y);
        ToolWindowFixture f;
        f.dialogs.fileAnswers = {dir_.filePath("refused.dat")};
        frmMapfileGenerator window(f.context, nullptr);
        window.show();
        Type(window, x, y);
        Generate(window);
        QVERIFY(f.dialogs.fileRequests.empty());
        QCOMPARE(f.dialogs.messages.size(), std::size_t{1});
        QCOMPARE(f.dialogs.messages[0].title, QStringLiteral("TESSRA"));
        QCOMPARE(f.dialogs.messages[0].icon, MessageIcon::Critical);
        QVERIFY(!QFile::exists(dir_.filePath("refused.dat")));
        QVERIFY(window.isVisible());
    }

    void unwritablePathsShowTheErrorNumber_data() {
        QTest::addColumn<QString>("path");
        QTest::newRow("missing folder") << dir_.filePath("no/such/folder/map.dat");
    }

    void unwritablePathsShowTheErrorNumber() {
        QFETCH(QString, path);
        ToolWindowFixture f;
        f.dialogs.fileAnswers = {path};
        frmMapfileGenerator window(f.context, nullptr);
        window.show();
        Type(window, "2", "2");
        Generate(window);
        QCOMPARE(f.dialogs.messages.size(), std::size_t{1});
        const auto& shown = f.dialogs.messages[0];
        QVERIFY2(QRegularExpression("^Error #[1-9][0-9]*$").match(shown.title).hasMatch(),
                 qPrintable(shown.title));
        QVERIFY(shown.text.contains(path));
        QCOMPARE(shown.icon, MessageIcon::Critical);
        QVERIFY(window.isVisible());
    }
};

QTEST_MAIN(MapfileGeneratorTest)
#include "mapfile_generator_test.moc"
