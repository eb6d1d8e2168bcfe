#include "core/model/tile_attributes.h"
#include "platform/qt_text.h"
#include "tool_window_fixture.h"
#include "ui/frm_import_picture.h"

#include <QDir>
#include <QLabel>
#include <QTest>

using namespace tessra;

class ImportPictureTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    const QString level = QStringLiteral(TESSRA_TEST_DATA "/pcx/pil-p8-128x64.pcx");

    static QString Shown(QWidget& window) {
        QStringList lines;
        for (const char* label : {"lblSize", "lblCells", "lblTiles"}) {
            lines << Child<QLabel>(window, label)->text();
        }
        return lines.join('|');
    }

  private slots:
    // What the picture makes shows before OK; a refusal shows there too, and
    // OK then repeats it and leaves the document and the disk alone.
    void refusalsChangeNothing_data() {
        QTest::addColumn<QStringList>("input");
        QTest::addColumn<QString>("message");
        const QString odd = QStringLiteral(TESSRA_TEST_DATA "/pcx/pil-p8-25x18.pcx");
        QTest::newRow("no picture") << QStringList{"cmdOK"} << "No level picture specified";
        QTest::newRow("a size not of whole cells")
            << QStringList{"txtPicture=" + odd, "cmdOK"} << "The picture is 25 x 18 pixels";
        QTest::newRow("no tileset") << QStringList{"txtPicture=" + level, "txtTileset=", "cmdOK"}
                                    << "No tileset picture specified";
        QTest::newRow("the tileset over the picture")
            << QStringList{"txtPicture=" + level, "txtTileset=" + level, "cmdOK"}
            << "same file as the input";
    }

    void refusalsChangeNothing() {
        QFETCH(QStringList, input);
        QFETCH(QString, message);
        ToolWindowFixture f;
        f.state.MapData.Fill(9);
        f.state.Tilesets = {"a.pcx"};
        frmImportPicture window(f.context, nullptr);
        window.show();
        Enter(window, input);
        QVERIFY2(OnlyError(f.dialogs).contains(message), qPrintable(OnlyError(f.dialogs)));
        QVERIFY(window.isVisible() && !window.Outcome());
        QCOMPARE(f.state.MapData(0, 0), 9);
        QCOMPARE(f.state.Tilesets, std::vector<std::string>{"a.pcx"});
        QVERIFY(QDir(dir.path()).isEmpty());
        QVERIFY(!QFile::exists(QStringLiteral(TESSRA_TEST_DATA "/pcx/pil-p8-128x64.tiles.png")));
    }

    // The browsed picture is cut at once, its tileset named beside it unless
    // one is given; OK writes the tileset and makes the map a new one of it.
    void importMakesANewMapOfThePicture() {
        ToolWindowFixture f;
        f.state.MapData.Fill(9);
        f.state.Tilesets = {"a.pcx"};
        f.state.Attributes[3].Palette = 2;
        f.state.SelectedTile = 7;
        f.dialogs.fileAnswers = {level, dir.filePath("tiles.png")};
        frmImportPicture window(f.context, nullptr);
        window.show();
        Click(window, "cmdBrowsePicture");
        QCOMPARE(Shown(window), "Size: 128 x 64 pixels, 8 x 4 cells|Distinct cells: 32|Tiles: 32 "
                                "of 256, in a tileset picture of 256 x 32 pixels");
        QCOMPARE(Child<QLineEdit>(window, "txtTileset")->text(),
                 QStringLiteral(TESSRA_TEST_DATA "/pcx/pil-p8-128x64.tiles.png"));
        Click(window, "cmdBrowseTileset");
        Click(window, "cmdOK");
        QVERIFY(f.dialogs.messages.empty());
        QVERIFY(window.Outcome() && !window.isVisible());
        QCOMPARE(f.state.Tilesets, std::vector<std::string>{"tiles.png"});
        QCOMPARE(f.state.ProjectFolder, FileNameOf(dir.path()));
        QCOMPARE(QList<int>({f.state.MapData(7, 0), f.state.MapData(0, 1), f.state.MapData(8, 0)}),
                 QList<int>({7, 8, 0}));
        QVERIFY(f.state.Attributes == TileAttributeTable{} && f.state.SelectedTile == 0);
        QCOMPARE(QImage(dir.filePath("tiles.png")).size(), QSize(256, 32));
    }
};

QTEST_MAIN(ImportPictureTest)
#include "import_picture_test.moc"
