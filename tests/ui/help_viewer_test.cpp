#include "help/help_topics.h"
#include "help/help_window.h"
#include "help/html_help_viewer.h"
#include "tool_window_fixture.h"
#include "ui/frm_import_csv.h"
#include "ui/frm_rubber_stamp_maker.h"

#include <QFileInfo>
#include <QHelpSearchEngine>
#include <QHelpSearchResult>
#include <QHelpSearchResultWidget>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>

using namespace tessra;

namespace {

HelpWindow* WindowOf(const HTMLHelpViewer& viewer) {
    return qobject_cast<HelpWindow*>(viewer.hWndHelp());
}

QString PageOf(const HTMLHelpViewer& viewer) {
    HelpWindow* window = WindowOf(viewer);
    return window ? window->CurrentPage().fileName() : QString();
}

} // namespace

class HelpViewerTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() {
        QVERIFY2(QFileInfo::exists(ToolWindowFixture::CollectionFile()),
                 "the build places the help collection beside the editor");
    }

    void helpFileRoundTrip() {
        HTMLHelpViewer viewer;
        QVERIFY(viewer.HelpFile().isEmpty());
        const QString path = QStringLiteral("/opt/tessra dir/tessra.qhc");
        viewer.HelpFile(path);
        QCOMPARE(viewer.HelpFile(), path);
    }

    void unloadWithNothingOpen() {
        HTMLHelpViewer viewer;
        viewer.Unload();
        QVERIFY(viewer.hWndHelp() == nullptr);
        viewer.ShowContents(); // no help file: nothing opens
        QVERIFY(viewer.hWndHelp() == nullptr);
    }

    void contextNumbersOpenTheirPages() {
        HTMLHelpViewer viewer;
        viewer.HelpFile(ToolWindowFixture::CollectionFile());
        viewer.ShowContext(1000);
        QVERIFY(viewer.hWndHelp() != nullptr);
        QVERIFY(viewer.hWndHelp()->isVisible());
        QCOMPARE(PageOf(viewer), QStringLiteral("index.html"));
        QVERIFY(WindowOf(viewer)->Browser()->toPlainText().contains("tile-map editor"));
    }

    // Every page the windows name exists, and its context number leads to it.
    void everyTopicOpensByNameAndNumber() {
        HTMLHelpViewer viewer;
        viewer.HelpFile(ToolWindowFixture::CollectionFile());
        for (const HelpTopic& topic :
             {HelpContentsTopic,     HelpManualTopic,      HelpMainWindowTopic,
              HelpMapViewTopic,      HelpTilePaletteTopic, HelpProjectFilesTopic,
              HelpDrawTopic,         HelpFloodfillTopic,   HelpStampTopic,
              HelpEraseTopic,        HelpImportCsvTopic,   HelpMapfileGeneratorTopic,
              HelpStampBuilderTopic, HelpTileSwapTopic,    HelpTileReplaceTopic,
              HelpAboutTopic,        HelpViewerTopic,      HelpUndoTopic,
              HelpKeyboardTopic,     HelpNewMapTopic,      HelpStampFilesTopic,
              HelpTileShiftTopic,    HelpMapShiftTopic,    HelpCommandLineTopic}) {
            const QString page = QLatin1String(topic.page);
            viewer.ShowTopic(QStringLiteral("index.html"));
            viewer.ShowTopic(page);
            QCOMPARE(PageOf(viewer), page);
            viewer.ShowTopic(QStringLiteral("index.html"));
            viewer.ShowContext(topic.context);
            QCOMPARE(PageOf(viewer), page);
        }
    }

    void tabsAndTheStartPage() {
        HTMLHelpViewer viewer;
        // A name with another extension means the collection beside it.
        viewer.HelpFile(QFileInfo(ToolWindowFixture::CollectionFile()).path() + "/tessra.chm");
        viewer.ShowIndex();
        QCOMPARE(WindowOf(viewer)->Tabs()->currentIndex(), int(HelpWindow::IndexTab));
        QCOMPARE(PageOf(viewer), QStringLiteral("index.html"));
        viewer.ShowSearch();
        QCOMPARE(WindowOf(viewer)->Tabs()->currentIndex(), int(HelpWindow::SearchTab));
        viewer.ShowTopic(QStringLiteral("tile_swap.html"));
        viewer.ShowContents();
        QCOMPARE(WindowOf(viewer)->Tabs()->currentIndex(), int(HelpWindow::ContentsTab));
        QCOMPARE(PageOf(viewer), QStringLiteral("tile_swap.html"));
        viewer.Show();
        QCOMPARE(PageOf(viewer), QStringLiteral("index.html"));
    }

    void searchFindsPagesByTheirWords() {
        HTMLHelpViewer viewer;
        viewer.HelpFile(ToolWindowFixture::CollectionFile());
        viewer.ShowSearch();
        auto* results = WindowOf(viewer)->findChild<QHelpSearchResultWidget*>();
        QVERIFY(results != nullptr);
        QHelpSearchEngine* engine = WindowOf(viewer)->findChild<QHelpSearchEngine*>();
        QVERIFY(engine != nullptr);
        QSignalSpy indexed(engine, &QHelpSearchEngine::indexingFinished);
        QVERIFY(indexed.wait(20000));
        QSignalSpy searched(engine, &QHelpSearchEngine::searchingFinished);
        engine->search(QStringLiteral("Mappy"));
        QVERIFY(searched.wait(20000));
        QStringList pages;
        for (const QHelpSearchResult& hit : engine->searchResults(0, engine->searchResultCount())) {
            pages << hit.url().fileName();
        }
        QVERIFY2(pages.contains(QStringLiteral("import_csv.html")), qPrintable(pages.join(' ')));
        QVERIFY(!pages.contains(QStringLiteral("tool_erase.html")));
    }

    void unloadAndTheEndCloseTheWindow() {
        QPointer<QWidget> window;
        {
            HTMLHelpViewer viewer;
            viewer.HelpFile(ToolWindowFixture::CollectionFile());
            viewer.ShowContents();
            window = viewer.hWndHelp();
            QVERIFY(window && window->isVisible());
            viewer.Unload();
            QVERIFY(!window || !window->isVisible());
            viewer.Unload(); // a second time finds nothing to close
            viewer.ShowContents();
            window = viewer.hWndHelp();
            QVERIFY(window && window->isVisible());
        }
        QVERIFY(!window || !window->isVisible());
    }

    // F1 in a tool window opens the page about that window.
    void f1OpensTheWindowsPage() {
        ToolWindowFixture f;
        const auto check = [&](QDialog&& window, const char* page) {
            window.show();
            window.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&window));
            QTest::keyClick(&window, Qt::Key_F1);
            QCOMPARE(PageOf(f.help), QLatin1String(page));
        };
        check(frmImportCSV(f.context, nullptr), HelpImportCsvTopic.page);
        check(frmRubberStampMaker(f.context, nullptr), HelpStampBuilderTopic.page);
    }

    void missingPagesAndFilesSaySo() {
        HTMLHelpViewer viewer;
        viewer.HelpFile(ToolWindowFixture::CollectionFile());
        const auto shows = [&](const QString& text) {
            return WindowOf(viewer)->Browser()->toPlainText().contains(text);
        };
        viewer.ShowContext(4242);
        QVERIFY(shows("4242"));
        viewer.ShowTopic(QStringLiteral("nowhere.html"));
        QVERIFY(shows("nowhere.html"));
        viewer.HelpFile(QStringLiteral("/nonexistent/tessra.qhc"));
        viewer.ShowContext(1000);
        QVERIFY(shows("/nonexistent/tessra.qhc"));
    }
};

QTEST_MAIN(HelpViewerTest)
#include "help_viewer_test.moc"
