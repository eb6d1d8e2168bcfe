#include "tool_window_fixture.h"
#include "ui/frm_about.h"

#include <QLabel>
#include <QTest>

using namespace tessra;

class AboutTest : public QObject {
    Q_OBJECT

  private slots:
    void theBoxShowsTheVersionAndOnlyTheRedXCloses() {
        QCOMPARE(VersionText(1, 10, 9), QStringLiteral("v1.10 rev 9"));
        ToolWindowFixture f;
        frmAbout window(f.context, nullptr);
        QCOMPARE(Child<QLabel>(window, "lblVersion")->text(), QStringLiteral("v1.0 rev 9"));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTest::mouseClick(&window, Qt::LeftButton, Qt::NoModifier, {200, 200});
        QTest::mouseClick(Child<QLabel>(window, "lblVersion"), Qt::LeftButton);
        QVERIFY(window.isVisible());
        QTest::mouseClick(Child<QLabel>(window, "imgClose"), Qt::LeftButton, Qt::NoModifier,
                          {8, 8});
        QVERIFY(!window.isVisible());
    }
};

QTEST_MAIN(AboutTest)
#include "about_test.moc"
