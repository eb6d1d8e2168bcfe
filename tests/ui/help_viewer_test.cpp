#include "help/help_collection.h"
#include "help/help_topics.h"
#include "help/help_window.h"
#include "help/html_help_viewer.h"
#include "tool_window_fixture.h"
#include "ui/frm_import_csv.h"

#include <QDateTime>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <optional>

using namespace tessra;

namespace {

HelpWindow* WindowOf(const HTMLHelpViewer& viewer) {
    return qobject_cast<HelpWindow*>(viewer.hWndHelp());
}

QString PageOf(const HTMLHelpViewer& viewer) {
    return WindowOf(viewer) ? WindowOf(viewer)->CurrentPage().fileName() : QString();
}

QString TextOf(const HTMLHelpViewer& viewer) {
    return WindowOf(viewer)->Browser()->toPlainText();
}

} // namespace

class HelpViewerTest : public QObject {
    Q_OBJECT

    std::optional<HTMLHelpViewer> viewer;
    QTemporaryDir cache_; // the user's cache, where the engine's copy of the collection goes

  private slots:
    void initTestCase() { qputenv("XDG_CACHE_HOME", QFile::encodeName(cache_.path())); }

    void init() { viewer.emplace().HelpFile(ToolWindowFixture::CollectionFile()); }

    void membersWithNothingOpen() {
        HTMLHelpViewer fresh;
        QVERIFY(fresh.HelpFile().isEmpty());
        fresh.Unload();
        fresh.ShowContents(); // no help file: nothing opens
        QVERIFY(fresh.hWndHelp() == nullptr);
    }

    void contextNumbersOpenTheirPages() {
        viewer->ShowContext(1000);
        QVERIFY(viewer->hWndHelp() != nullptr && viewer->hWndHelp()->isVisible());
        QCOMPARE(PageOf(*viewer), QStringLiteral("index.html"));
        QVERIFY(TextOf(*viewer).contains("tile-map editor"));
        // Every page the windows name exists, and its context number leads to it.
        for (const HelpTopic& topic :
             {HelpContentsTopic,       HelpManualTopic,      HelpMainWindowTopic,
              HelpMapViewTopic,        HelpTilePaletteTopic, HelpProjectFilesTopic,
              HelpDrawTopic,           HelpFloodfillTopic,   HelpStampTopic,
              HelpEraseTopic,          HelpImportCsvTopic,   HelpMapfileGeneratorTopic,
              HelpStampBuilderTopic,   HelpTileSwapTopic,    HelpTileReplaceTopic,
              HelpAboutTopic,          HelpViewerTopic,      HelpUndoTopic,
              HelpKeyboardTopic,       HelpNewMapTopic,      HelpStampFilesTopic,
              HelpTileShiftTopic,      HelpMapShiftTopic,    HelpCommandLineTopic,
              HelpExportTopic,         HelpPngTilesetsTopic, HelpTiledTopic,
              HelpTileUsageTopic,      HelpWindowTopic,      HelpRecoveryTopic,
              HelpTileAttributesTopic, HelpSelectTopic,      HelpBuildTopic}) {
            viewer->ShowTopic(QStringLiteral("index.html"));
            viewer->ShowContext(topic.context);
            QCOMPARE(PageOf(*viewer), QLatin1String(topic.page));
        }
    }

    void unloadAndTheEndCloseTheWindow() {
        viewer->ShowContents();
        QPointer<QWidget> window = viewer->hWndHelp();
        viewer->Unload();
        QVERIFY(!window || !window->isVisible());
        viewer->ShowContents();
        window = viewer->hWndHelp();
        QVERIFY(window && window->isVisible());
        viewer.reset();
        QVERIFY(!window || !window->isVisible());
    }

    void f1OpensTheWindowsPage() {
        ToolWindowFixture f;
        frmImportCSV window(f.context, nullptr);
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QTest::keyClick(&window, Qt::Key_F1);
        QCOMPARE(PageOf(f.help), QLatin1String(HelpImportCsvTopic.page));
    }

    void missingPagesAndFilesSaySo() {
        viewer->ShowContext(4242);
        QVERIFY(TextOf(*viewer).contains("4242"));
        viewer->ShowTopic(QStringLiteral("nowhere.html"));
        QVERIFY(TextOf(*viewer).contains("nowhere.html"));
        viewer->HelpFile(QStringLiteral("/nonexistent/tessra.qhc"));
        viewer->ShowContext(1000);
        QVERIFY(TextOf(*viewer).contains("/nonexistent/tessra.qhc"));
    }

    void theEngineOpensAnUpToDateCopyInTheCache() {
        QTemporaryDir installed, cache;
        const auto write = [](const QString& path, const QByteArray& bytes) {
            QFile file(path);
            return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
        };
        const QString collection = installed.filePath("tessra.qhc");
        QVERIFY(write(collection, "collection") && write(installed.filePath("tessra.qch"), "v1"));
        const QString copy = cache.filePath("help/tessra.qhc");
        QCOMPARE(UserCopyOfCollection(collection, cache.filePath("help")), copy);
        QVERIFY(QFile::exists(cache.filePath("help/tessra.qch")));

        // A newer original, even of the same size, replaces the copy.
        QVERIFY(write(installed.filePath("tessra.qch"), "v2"));
        QFile original(installed.filePath("tessra.qch"));
        QVERIFY(original.open(QIODevice::ReadWrite) &&
                original.setFileTime(QDateTime::currentDateTime().addSecs(60),
                                     QFileDevice::FileModificationTime));
        QCOMPARE(UserCopyOfCollection(collection, cache.filePath("help")), copy);
        QFile copied(cache.filePath("help/tessra.qch"));
        QVERIFY(copied.open(QIODevice::ReadOnly));
        QCOMPARE(copied.readAll(), QByteArray("v2"));

        // Without a usable cache, or an original, the original is opened.
        QCOMPARE(UserCopyOfCollection(collection, collection + "/help"), collection);
        QCOMPARE(UserCopyOfCollection(collection, QString()), collection);
        const QString missing = installed.filePath("missing.qhc");
        QCOMPARE(UserCopyOfCollection(missing, cache.filePath("help")), missing);
    }
};

QTEST_MAIN(HelpViewerTest)
#include "help_viewer_test.moc"
