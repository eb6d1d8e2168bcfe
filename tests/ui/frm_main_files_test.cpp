#include "main_window_fixture.h"

#include <QFile>

using namespace tessra;

// Recovery copies, the previous version kept on save, recent maps and
// tilesets changed on disk.
class FrmMainFilesTest : public MainWindowTest {
    Q_OBJECT

    // Draws tile 7, which a fresh map does not hold.
    void DrawCell(QPoint cell) {
        State().SelectedTile = 7;
        QTest::mouseClick(View(), Qt::LeftButton, {}, cell * 16 + QPoint(2, 2));
    }
    void SaveAs(const char* name) {
        dialogs.fileAnswers.push_back(Path(name));
        Trigger(*window, "mnuSaveMapAs");
    }
    // The window goes as in a crash: no close, no question, nothing removed.
    void Crash() { window.reset(); }
    void Restart() {
        window = std::make_unique<frmMain>(dialogs);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }

  private slots:
    void init() { OpenWindow(); }

    // A copy follows unsaved changes at the set interval, is offered after a
    // crash, kept by Not Now, opens as [Untitled] with the original name in
    // the question and the whole document, tile attributes too, and goes on
    // save; a discarded one is gone for good, and a clean exit leaves none.
    void copyIsWrittenOfferedAndRemoved() {
        window->SetRecoveryInterval(20);
        const QString copy = window->RecoveryCopyPath();
        SaveAs("map.tessra");
        QTest::qWait(80);
        QVERIFY(!QFile::exists(copy)); // nothing unsaved
        State().Attributes[7] = {3, true, false, true, 40};
        const TileAttributeTable attributes = State().Attributes;
        DrawCell({3, 4});
        QTRY_VERIFY(QFile::exists(copy));

        Crash();
        Restart();
        window->OfferRecovery(); // Not Now
        dialogs.restoreAnswers = {RestoreAnswer::Restore};
        const QString when = QFileInfo(copy).lastModified().toString("yyyy-MM-dd HH:mm");
        window->OfferRecovery();
        QCOMPARE(dialogs.questions.size(), 2u);
        QVERIFY(dialogs.questions.back().contains(Path("map.tessra") + " from " + when));
        QCOMPARE(int(State().MapData(3, 4)), 7);
        QVERIFY(State().Attributes == attributes);
        QCOMPARE(window->windowTitle(), "TESSRA - [Untitled]");
        QVERIFY(!QFile::exists(copy));
        QVERIFY(QFile::exists(window->RecoveryCopyPath())); // the restored work, copied at once

        Crash(); // twice in a row: the restored work is offered again, and discarded
        Restart();
        dialogs.restoreAnswers = {RestoreAnswer::Discard};
        window->OfferRecovery();
        QCOMPARE(int(State().MapData(3, 4)), 0);
        window->OfferRecovery();
        QCOMPARE(dialogs.questions.size(), 3u); // nothing left to offer

        DrawCell({1, 1});
        window->SetRecoveryInterval(20);
        QTRY_VERIFY(QFile::exists(window->RecoveryCopyPath()));
        SaveAs("other.tessra");
        QVERIFY(!QFile::exists(window->RecoveryCopyPath()));
        DrawCell({0, 0});
        QTRY_VERIFY(QFile::exists(window->RecoveryCopyPath()));
        dialogs.saveAnswers = {SaveAnswer::Discard};
        QVERIFY(window->close());
        QVERIFY(!QFile::exists(window->RecoveryCopyPath()));
        Restart();
        const std::size_t asked = dialogs.questions.size();
        window->OfferRecovery();
        QCOMPARE(dialogs.questions.size(), asked);
    }

    // Save keeps what the files held before, the map as NAME.tessra.bak and
    // its attributes beside it, so that the .bak opens whole; a map whose
    // tiles have no attributes gets no attributes file.
    void saveKeepsThePreviousVersion() {
        State().Attributes[2].Behaviour = 9;
        SaveAs("kept.tessra");
        QVERIFY(!QFile::exists(Path("kept.tessra.bak")));
        const QByteArray first = ReadFile(Path("kept.tessra"));
        const QByteArray attributes = ReadFile(Path("kept.attributes.json"));
        QVERIFY(attributes.contains("\"behaviour\": 9"));
        State().Attributes = {};
        DrawCell({2, 2});
        Trigger(*window, "mnuSaveMap");
        QCOMPARE(ReadFile(Path("kept.tessra.bak")), first);
        QCOMPARE(ReadFile(Path("kept.tessra.bak.attributes.json")), attributes);
        QVERIFY(ReadFile(Path("kept.tessra")) != first);
        QVERIFY(!QFile::exists(Path("kept.attributes.json")));
        Trigger(*window, "mnuSaveMap"); // the .bak it went with is gone
        QVERIFY(!QFile::exists(Path("kept.tessra.bak.attributes.json")));
    }

    // Opened and saved maps go first in File > Open Recent, once each, the
    // newest eight; a map dropped on the window or named on the command line
    // too, since they open the same way. One that is gone leaves the list.
    void recentMapsInOrder() {
        for (int i = 0; i < 10; ++i) {
            SaveAs(qPrintable(QStringLiteral("m%1.tessra").arg(i)));
        }
        QVERIFY(window->OpenProjectFile(FileNameOf(Path("m4.tessra"))));
        QStringList expected{"m4", "m9", "m8", "m7", "m6", "m5", "m3", "m2"};
        QCOMPARE(RecentNames(), expected);
        SaveAs("a.tessra");
        QFile::remove(Path("a.tessra"));
        window->findChildren<QAction*>("mnuRecentFile").first()->trigger();
        QCOMPARE(dialogs.messages.size(), 1u);
        expected.pop_back();
        QCOMPARE(RecentNames(), expected);
    }

    // A tileset saved again shows in the palette and the view within a
    // second, without a word; one that goes away is marked in the list and
    // keeps its places, so the tiles after it keep their numbers.
    void tilesetsFollowTheirFiles() {
        Write("w.pcx", TilesetPcx(32, 16, 1));
        Write("v.pcx", TilesetPcx(16, 16, 90));
        AddTileset("w.pcx");
        AddTileset("v.pcx");
        State().MapData(3, 0) = 2; // v's tile
        QCOMPARE(window->view().At(0, 0), IndexColour(1));
        Write("w.pcx", TilesetPcx(32, 16, 50));
        QTRY_COMPARE(window->view().At(0, 0), IndexColour(50));
        QFile::remove(Path("w.pcx"));
        const auto* list = Find<QListWidget>("lstTilesets");
        QTRY_VERIFY(!list->item(0)->icon().isNull());
        QCOMPARE(window->view().At(1, 0), MissingTilePixel(1, 0));
        QCOMPARE(window->view().At(48, 0), IndexColour(90));
        Write("w.pcx", TilesetPcx(32, 16, 60)); // back again
        QTRY_COMPARE(window->view().At(0, 0), IndexColour(60));
        QVERIFY(list->item(0)->icon().isNull());
        QCOMPARE(dialogs.messages.size(), 0u);
    }

    // Make Tileset Paths Relative waits for the map to have a folder; then a
    // whole path beside it becomes relative in one step, the saved file lists
    // it so, and the pictures stay where they were.
    void tilesetPathsMadeRelative() {
        Write("r.pcx", TilesetPcx(16, 16, 1));
        AddTileset("r.pcx");
        const std::vector<std::string> whole = State().Tilesets;
        Trigger(*window, "mnuMakePathsRelative");
        QCOMPARE(dialogs.messages.size(), 1u);
        QVERIFY(dialogs.messages[0].text.startsWith("An untitled map has no folder"));
        QVERIFY(QDir(dir.path()).mkdir("maps"));
        SaveAs("maps/r.tessra");
        Trigger(*window, "mnuMakePathsRelative");
        QCOMPARE(State().Tilesets, std::vector<std::string>{"../r.pcx"});
        QCOMPARE(window->view().At(0, 0), IndexColour(1));
        QVERIFY(window->history().IsModified());
        Trigger(*window, "mnuSaveMap");
        QVERIFY(ReadFile(Path("maps/r.tessra")).contains("\r\n../r.pcx\r\n"));
        Trigger(*window, "mnuUndo");
        QCOMPARE(State().Tilesets, whole);
    }

  private:
    QStringList RecentNames() const {
        QStringList names;
        for (const QAction* item : window->findChildren<QAction*>("mnuRecentFile")) {
            names << QFileInfo(item->text()).baseName();
        }
        return names;
    }
    static QByteArray ReadFile(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
};

QTEST_MAIN(FrmMainFilesTest)
#include "frm_main_files_test.moc"
