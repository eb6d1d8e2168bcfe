#include "main_window_fixture.h"

#include <QBuffer>
#include <QCheckBox>
#include <QImage>
#include <QLabel>

using namespace tessra;

namespace {

// Tiles 0..31 of a PNG tileset, each red on its left half and blue on its right.
QByteArray HalvesPng() {
    QImage image(512, 16, QImage::Format_RGB32);
    for (int x = 0; x < image.width(); ++x) {
        for (int y = 0; y < 16; ++y) {
            image.setPixel(x, y, x % 16 < 8 ? qRgb(255, 0, 0) : qRgb(0, 0, 255));
        }
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

} // namespace

class TileAttributesWindowTest : public MainWindowTest {
    Q_OBJECT

    QString map;

    void DragInPalette(QPoint from, QPoint to) {
        QWidget* palette = Find("picTileset");
        SendMouse(palette, QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
        SendMouse(palette, QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
    }
    // Tools > Tile Attributes... with the input; the caption it showed.
    QString SetAttributes(const QStringList& input) {
        QString caption;
        UseToolWindow(*window, "mnuTileAttributes", [&](QWidget& w) {
            caption = Child<QLabel>(w, "lblTiles")->text();
            for (const QString& step : input) {
                const QStringList part = step.split('=');
                if (auto* box = Child<QCheckBox>(w, qPrintable(part[0]))) {
                    box->setCheckState(part[1] == "1" ? Qt::Checked : Qt::Unchecked);
                } else {
                    Enter(w, {step});
                }
            }
        });
        return caption;
    }
    // Whether the left half of the tile at the palette's or the view's point is blue.
    static bool Flipped(const Surface& surface, int left, int top) {
        return surface.At(left + 2, top + 2) == Rgb(0, 0, 255);
    }

  private slots:
    void init() {
        OpenWindow();
        map = Path("level.tessra");
        Write("halves.png", HalvesPng());
        QFile::remove(Path("level.attributes.json"));
        AddTileset("halves.png");
        State().MapData(0, 0) = 1;
        window->RedrawMapView();
        dialogs.fileAnswers = {map};
        Trigger(*window, "mnuSaveMapAs");
    }

    // A drag across the palette picks a rectangle of tiles; OK sets them as
    // one undo step; flipped tiles are drawn flipped in the palette and the map.
    void setsTheDraggedTilesAsOneStep() {
        DragInPalette({24, 8}, {40, 24});
        QCOMPARE(SetAttributes({"chkHflip=1", "txtBehaviour=9", "cmdOK"}),
                 QStringLiteral("Tiles 1 to 18 (4 tiles)"));
        for (const int tile : {1, 2, 17, 18}) {
            QVERIFY(State().Attributes[tile].Hflip && State().Attributes[tile].Behaviour == 9);
        }
        QVERIFY(!State().Attributes[3].Hflip && !State().Attributes[16].Hflip);
        QVERIFY(Flipped(window->palette(), 16, 0) && !Flipped(window->palette(), 0, 0));
        QVERIFY(Flipped(window->view(), 0, 0));
        QVERIFY(window->history().IsModified());

        Trigger(*window, "mnuUndo");
        QVERIFY(State().Attributes == TileAttributeTable{});
        QVERIFY(!Flipped(window->palette(), 16, 0) && !Flipped(window->view(), 0, 0));
        Trigger(*window, "mnuRedo");
        QVERIFY(Flipped(window->palette(), 16, 0));
    }

    // Where the tiles differ, an empty box keeps each one's value; a value out
    // of range is refused and nothing changes.
    void differingValuesAreKeptAndBadOnesRefused() {
        State().Attributes[1].Palette = 3;
        DragInPalette({24, 8}, {40, 8});
        SetAttributes({"txtBehaviour=4", "cmdOK"});
        QCOMPARE(State().Attributes[1].Palette, 3);
        QCOMPARE(State().Attributes[2].Palette, 0);
        QCOMPARE(State().Attributes[2].Behaviour, 4);

        const TileAttributeTable before = State().Attributes;
        SetAttributes({"txtPalette=16", "cmdOK"});
        QVERIFY(OnlyError(dialogs).contains("Palette"));
        QVERIFY(State().Attributes == before);
    }
};

QTEST_MAIN(TileAttributesWindowTest)
#include "tile_attributes_window_test.moc"
