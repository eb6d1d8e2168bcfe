#include "tool_window_fixture.h"
#include "ui/about_artwork.h"
#include "ui/frm_about.h"

#include <QLabel>
#include <QTest>

using namespace tessra;

class AboutTest : public QObject {
    Q_OBJECT

  private slots:
    void versionText_data() {
        QTest::addColumn<int>("minor");
        QTest::addColumn<QString>("text");
        QTest::newRow("the program's") << VersionMinor << "v1.0 rev 9";
        QTest::newRow("two-digit minor") << 10 << "v1.10 rev 9";
    }

    void versionText() {
        QFETCH(int, minor);
        QFETCH(QString, text);
        QCOMPARE(VersionText(VersionMajor, minor, VersionRevision), text);
    }

    void theBoxShowsTheVersionOnItsArtwork() {
        ToolWindowFixture f;
        for (int opening = 0; opening < 2; ++opening) {
            frmAbout window(f.context, nullptr);
            QVERIFY(window.windowFlags() & Qt::FramelessWindowHint);
            QCOMPARE(window.size(), QSize(405, 321));
            auto* version = Child<QLabel>(window, "lblVersion");
            QCOMPARE(version->text(), QStringLiteral("v1.0 rev 9"));
        }
        const QImage artwork = DrawAboutArtwork();
        QCOMPARE(artwork.size(), QSize(405, 320));
        QVERIFY(artwork == DrawAboutArtwork()); // the same picture at every opening
    }

    void onlyTheRedXCloses() {
        ToolWindowFixture f;
        frmAbout window(f.context, nullptr);
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
