#include "ui/frm_rubber_stamp_maker.h"

#include "core/formats/stamp_file.h"
#include "io/file_document.h"
#include "io/file_io.h"
#include "io/file_stamp.h"
#include "platform/dialogs.h"
#include "platform/qt_text.h"
#include "ui/picture_box.h"
#include "ui/tile_selector.h"

#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QPainter>
#include <QPushButton>

namespace tessra {

namespace {

constexpr int Margin = 8;
constexpr int GridLeft = Margin + PaletteWidth + Margin;

FileDialogRequest StampFileRequest(const QString& title) {
    FileDialogRequest request;
    request.title = title;
    request.filter = QStringLiteral("TESSRA Stamp Files|*.tstamp|All Files|*.*|");
    return request;
}

// Thin lines between the stamp cells, so that cells of one tile stay apart.
class CellLines final : public QWidget {
  public:
    explicit CellLines(QWidget* parent) : QWidget(parent) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setFixedSize(StampGridSide, StampGridSide);
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setPen(QColor(128, 128, 128, 140));
        for (int at = StampCellPixels; at < StampGridSide; at += StampCellPixels) {
            painter.drawLine(at, 0, at, StampGridSide);
            painter.drawLine(0, at, StampGridSide, at);
        }
    }
};

} // namespace

frmRubberStampMaker::frmRubberStampMaker(ToolWindowContext& context, QWidget* parent)
    : ToolDialog(context, parent, "frmRubberStampMaker", QStringLiteral("Rubber Stamp Builder"),
                 {GridLeft + StampGridSide + Margin, Margin + StampGridSide + Margin},
                 HelpStampBuilderTopic),
      builder_(OpenStampBuilder(context.state, context.palette)) {
    picTileset = new PictureBox(QStringLiteral("picTileset"), PaletteWidth, PaletteHeight, this);
    picTileset->move(Margin, Margin);
    picTileset->SetSurface(&builder_.Palette);
    imgTileSelector = new TileSelector(picTileset);
    PlaceMarker();

    // The stamp grid sits on a sunken area as large as the largest stamp.
    auto* stampArea = new QFrame(this);
    stampArea->setObjectName(QStringLiteral("stampArea"));
    stampArea->setFrameShape(QFrame::StyledPanel);
    stampArea->setFrameShadow(QFrame::Sunken);
    stampArea->setGeometry(GridLeft - 1, Margin - 1, StampGridSide + 2, StampGridSide + 2);
    picStamper =
        new PictureBox(QStringLiteral("picStamper"), StampGridPixels(0), StampGridPixels(0), this);
    picStamper->move(GridLeft, Margin);
    picStamper->SetSurface(&grid_);
    new CellLines(picStamper);

    BuildSizeFrame();
    BuildButtons();
    connect(picTileset, &PictureBox::MouseDown, this, &frmRubberStampMaker::picTileset_MouseDown);
    connect(picStamper, &PictureBox::MouseDown, this, &frmRubberStampMaker::picStamper_MouseDown);
    // A held button keeps painting or picking over every cell passed.
    connect(picStamper, &PictureBox::MouseMove, this, &frmRubberStampMaker::picStamper_MouseDown);

    cmbStampX->setCurrentIndex(builder_.SizeIndexX);
    cmbStampY->setCurrentIndex(builder_.SizeIndexY);
    cmbStampX_Click(builder_.SizeIndexX);
    cmbStampY_Click(builder_.SizeIndexY);
}

void frmRubberStampMaker::BuildSizeFrame() {
    QGroupBox* frame1 = AddFrame(this, "Frame1", QStringLiteral("Stamp Size"),
                                 {Margin, Margin + PaletteHeight + Margin, PaletteWidth, 69});
    QGroupBox* frame2 = AddFrame(frame1, "Frame2", QStringLiteral("X"), {8, 18, 116, 43});
    QGroupBox* frame3 = AddFrame(frame1, "Frame3", QStringLiteral("Y"), {132, 18, 116, 43});
    QStringList sizes;
    for (const std::string& text : StampSizeTexts()) {
        sizes << QString::fromStdString(text);
    }
    const auto addList = [&](QGroupBox* frame, const char* name) {
        auto* list = new QComboBox(frame);
        list->setObjectName(QLatin1String(name));
        list->addItems(sizes);
        list->setGeometry(8, 16, 100, 21);
        return list;
    };
    cmbStampX = addList(frame2, "cmbStampX");
    cmbStampY = addList(frame3, "cmbStampY");
    connect(cmbStampX, &QComboBox::currentIndexChanged, this,
            &frmRubberStampMaker::cmbStampX_Click);
    connect(cmbStampY, &QComboBox::currentIndexChanged, this,
            &frmRubberStampMaker::cmbStampY_Click);
}

void frmRubberStampMaker::BuildButtons() {
    const int top = Margin + PaletteHeight + Margin + 69 + Margin;
    const int width = (PaletteWidth - Margin) / 2;
    const int right = Margin + width + Margin;
    cmdOK = AddButton(this, "cmdOK", QStringLiteral("&OK"), {Margin, top, width, 29});
    cmdCancel = AddButton(this, "cmdCancel", QStringLiteral("&Cancel"), {right, top, width, 29});
    cmdLoadStamp = AddButton(this, "cmdLoadStamp", QStringLiteral("&Load Stamp"),
                             {Margin, top + 37, width, 29});
    cmdSaveStamp = AddButton(this, "cmdSaveStamp", QStringLiteral("&Save Stamp"),
                             {right, top + 37, width, 29});
    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &frmRubberStampMaker::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(cmdLoadStamp, &QPushButton::clicked, this, &frmRubberStampMaker::cmdLoadStamp_Click);
    connect(cmdSaveStamp, &QPushButton::clicked, this, &frmRubberStampMaker::cmdSaveStamp_Click);
}

void frmRubberStampMaker::cmbStampX_Click(int index) {
    if (index < 0) {
        return;
    }
    builder_.SizeIndexX = index;
    picStamper->setFixedWidth(StampGridPixels(index));
    DrawGrid();
}

void frmRubberStampMaker::cmbStampY_Click(int index) {
    if (index < 0) {
        return;
    }
    builder_.SizeIndexY = index;
    picStamper->setFixedHeight(StampGridPixels(index));
    DrawGrid();
}

void frmRubberStampMaker::picTileset_MouseDown(int, double X, double Y) {
    if (PickBuilderTile(context_.state, builder_, X, Y)) {
        PlaceMarker();
    }
}

void frmRubberStampMaker::picStamper_MouseDown(int button, double X, double Y) {
    if (PressStampGrid(context_.state, button, X, Y)) {
        DrawGrid();
    }
}

void frmRubberStampMaker::cmdOK_Click() {
    AcceptStampBuilder(context_.state, builder_);
    accept();
}

// The file replaces the working copy only; OK still decides about the stamp.
void frmRubberStampMaker::cmdLoadStamp_Click() {
    const std::optional<QString> path =
        context_.dialogs.OpenFile(this, StampFileRequest(QStringLiteral("Load Stamp")));
    if (!path) {
        return;
    }
    const Result<StampFile> stamp = ReadStampFile(FileNameOf(*path));
    if (!stamp) {
        Refuse(stamp.message());
        return;
    }
    LoadBuilderStamp(stamp.value(), builder_, context_.state);
    // Setting a list runs its size rule only when the position changes.
    cmbStampX->setCurrentIndex(builder_.SizeIndexX);
    cmbStampY->setCurrentIndex(builder_.SizeIndexY);
    DrawGrid();
}

void frmRubberStampMaker::cmdSaveStamp_Click() {
    FileDialogRequest request = StampFileRequest(QStringLiteral("Save Stamp"));
    request.overwritePrompt = true;
    request.defaultSuffix = QStringLiteral("tstamp");
    const std::optional<QString> path = context_.dialogs.SaveFile(this, request);
    if (!path) {
        return;
    }
    const std::string text = WriteBuilderStamp(builder_, context_.state);
    const auto* first = reinterpret_cast<const std::uint8_t*>(text.data());
    int errorCode = 0;
    if (const Status written = WriteFromMap(FileNameOf(*path), {first, text.size()},
                                            MapFilePath(context_.state), context_.state, errorCode);
        !written) {
        Refuse(written.message());
    }
}

void frmRubberStampMaker::DrawGrid() {
    DrawStampGrid(context_.state.StampBuilderData, builder_.Palette, grid_);
    picStamper->Refresh();
}

void frmRubberStampMaker::PlaceMarker() {
    imgTileSelector->move(TileSize * builder_.Marker.column, TileSize * builder_.Marker.row);
}

} // namespace tessra
