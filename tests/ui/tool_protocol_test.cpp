#include "platform/dialogs.h"
#include "ui/frm_main.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>

using namespace tessra;

namespace {

// Chooses a menu item and, once its tool window is up, lets `act` work in it.
void UseToolWindow(frmMain& main, const char* item, std::function<void(QWidget&)> act) {
    QTimer::singleShot(0, &main, [act] {
        QWidget* window = QApplication::activeModalWidget();
        QVERIFY(window != nullptr);
        act(*window);
        if (window->isVisible()) {
            window->close(); // never leave the test waiting on a modal window
        }
    });
    main.findChild<QAction*>(QLatin1String(item))->trigger();
}

void Click(QWidget& window, const char* button) {
    window.findChild<QAbstractButton*>(QLatin1String(button))->click();
}

void Type(QWidget& window, const char* box, const QString& text) {
    window.findChild<QLineEdit*>(QLatin1String(box))->setText(text);
}

} // namespace

// How the main window acts on the word a tool window leaves in Tag.
class ToolProtocolTest : public QObject {
    Q_OBJECT

  private:
    QTemporaryDir dir_;

  private slots:
    void theCloseBoxAfterAnImportLeavesTheTitle() {
        FakeDialogs dialogs;
        frmMain main(dialogs);
        const QString csv = dir_.filePath("map.csv");
        QFile file(csv);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("4,5,6,\r\n");
        file.close();

        UseToolWindow(main, "mnuImportCSV", [&](QWidget& window) {
            Type(window, "txtSizeX", "3");
            Type(window, "txtSizeY", "1");
            Type(window, "txtBrowseForFile", csv);
            Click(window, "cmdOK");
        });
        QCOMPARE(int(main.state().MapData(2, 0)), 7);
        QCOMPARE(main.windowTitle(), QStringLiteral("TESSRA - [Untitled]"));

        const QString saved = dir_.filePath("saved.tessra");
        dialogs.fileAnswers = {saved};
        main.findChild<QAction*>(QStringLiteral("mnuSaveMapAs"))->trigger();
        QCOMPARE(main.windowTitle(), "TESSRA - " + saved);
        main.state().MapData(2, 0) = 1;

        UseToolWindow(main, "mnuImportCSV", [](QWidget& window) { window.close(); });
        QCOMPARE(main.windowTitle(), "TESSRA - " + saved);
        QCOMPARE(int(main.state().MapData(2, 0)), 1);
    }

    void cancelAfterASwapDoesNotRedraw() {
        FakeDialogs dialogs;
        frmMain main(dialogs);
        dialogs.fileAnswers = {QStringLiteral(TESSRA_TEST_DATA "/pcx/magick-p8-128x64.pcx")};
        Click(main, "cmdAddTileset");
        QVERIFY(dialogs.messages.empty());
        const Surface before = main.view();

        UseToolWindow(main, "mnuTileSwapper", [](QWidget& window) {
            window.findChildren<QLineEdit*>(QStringLiteral("txtDoSwap")).at(1)->setText("9");
            Click(window, "cmdSwap");
        });
        QCOMPARE(main.state().Tag, std::string("SWAP"));
        QCOMPARE(int(main.state().MapData(0, 0)), 9);
        const Surface swapped = main.view();
        QVERIFY(!(swapped == before)); // the swap was drawn

        main.state().MapData.Fill(0); // a change that nothing has drawn yet
        UseToolWindow(main, "mnuTileReplace", [](QWidget& window) { Click(window, "cmdCancel"); });
        QCOMPARE(main.state().Tag, std::string());
        QVERIFY(main.view() == swapped);
    }
};

QTEST_MAIN(ToolProtocolTest)
#include "tool_protocol_test.moc"
