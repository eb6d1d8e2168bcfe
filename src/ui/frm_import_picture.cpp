#include "ui/frm_import_picture.h"

#include "core/model/tileset_paths.h"
#include "io/file_io.h"
#include "io/file_level.h"
#include "platform/dialogs.h"
#include "platform/qt_text.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <filesystem>

namespace tessra {

namespace {

QLabel* AddLabel(QWidget* parent, const char* name, QRect geometry) {
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(geometry);
    return label;
}

// The tileset picture a level picture gets unless the user names another:
// beside it, LEVEL.tiles.png.
QString DefaultTilesetPath(const QString& picture) {
    const std::filesystem::path path(FileNameOf(picture));
    return ShownFileName((path.parent_path() / path.stem()).string() + ".tiles.png");
}

} // namespace

frmImportPicture::frmImportPicture(ToolWindowContext& context, QWidget* parent)
    : ToolDialog(context, parent, "frmImportPicture", QStringLiteral("Import Picture"), {481, 241},
                 HelpPictureToMapTopic) {
    Label1 = new QLabel(QStringLiteral("Cuts a level picture into 16 x 16 cells: equal cells "
                                       "become one tile. The tiles go to the tileset picture, 16 "
                                       "a row, and the map becomes a new, untitled map."),
                        this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(8, 8, 465, 33);
    Label1->setWordWrap(true);

    QGroupBox* frame1 =
        AddFrame(this, "Frame1", QStringLiteral("Level Picture (PNG or PCX)"), {8, 44, 465, 41});
    txtPicture = AddTextBox(frame1, "txtPicture", {}, {8, 16, 377, 19});
    cmdBrowsePicture =
        AddButton(frame1, "cmdBrowsePicture", QStringLiteral("&Browse"), {392, 16, 65, 17});
    QGroupBox* frame2 =
        AddFrame(this, "Frame2", QStringLiteral("Tileset Picture (PNG)"), {8, 92, 465, 41});
    txtTileset = AddTextBox(frame2, "txtTileset", {}, {8, 16, 377, 19});
    cmdBrowseTileset =
        AddButton(frame2, "cmdBrowseTileset", QStringLiteral("B&rowse"), {392, 16, 65, 17});
    QGroupBox* frame3 =
        AddFrame(this, "Frame3", QStringLiteral("What It Makes"), {8, 140, 465, 57});
    lblSize = AddLabel(frame3, "lblSize", {8, 16, 449, 13});
    lblSize->setWordWrap(true);
    lblSize->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblCells = AddLabel(frame3, "lblCells", {8, 29, 449, 13});
    lblTiles = AddLabel(frame3, "lblTiles", {8, 42, 449, 13});

    cmdOK = AddButton(this, "cmdOK", QStringLiteral("&OK"), {168, 204, 97, 33});
    cmdCancel = AddButton(this, "cmdCancel", QStringLiteral("&Cancel"), {272, 204, 97, 33});
    cmdHelp = AddButton(this, "cmdHelp", QStringLiteral("&Help"), {376, 204, 97, 33});
    cmdOK->setDefault(true);

    connect(cmdBrowsePicture, &QPushButton::clicked, this,
            &frmImportPicture::cmdBrowsePicture_Click);
    connect(cmdBrowseTileset, &QPushButton::clicked, this,
            &frmImportPicture::cmdBrowseTileset_Click);
    connect(txtPicture, &QLineEdit::editingFinished, this, &frmImportPicture::PictureChosen);
    connect(cmdOK, &QPushButton::clicked, this, &frmImportPicture::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(cmdHelp, &QPushButton::clicked, this, &frmImportPicture::ShowHelp);
    Analyse();
}

void frmImportPicture::cmdBrowsePicture_Click() {
    FileDialogRequest request;
    request.title = QStringLiteral("Import Picture");
    request.filter = QStringLiteral("Pictures|*.png;*.pcx|All Files|*.*|");
    if (const auto path = context_.dialogs.OpenFile(this, request)) {
        txtPicture->setText(*path);
        PictureChosen();
    }
}

void frmImportPicture::cmdBrowseTileset_Click() {
    FileDialogRequest request;
    request.title = QStringLiteral("Save Tileset Picture");
    request.filter = QStringLiteral("PNG Pictures|*.png|");
    request.overwritePrompt = true;
    request.defaultSuffix = QStringLiteral("png");
    if (const auto path = context_.dialogs.SaveFile(this, request)) {
        txtTileset->setText(*path);
    }
}

void frmImportPicture::PictureChosen() {
    Analyse();
    if (cut_ && txtTileset->text().isEmpty()) {
        txtTileset->setText(DefaultTilesetPath(txtPicture->text()));
    }
}

void frmImportPicture::Analyse() {
    const std::string path = FileNameOf(txtPicture->text());
    if (analysed_ == path) {
        return;
    }
    analysed_ = path;
    lblSize->clear();
    lblCells->clear();
    lblTiles->clear();
    if (path.empty()) {
        cut_ = Error{"No level picture specified"};
        lblSize->setText(QStringLiteral("Choose a level picture."));
        return;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const Result<Surface> picture = LoadLevelPicture(path);
    cut_ = picture ? CutLevelPicture(picture.value()) : Result<LevelCut>(picture);
    QApplication::restoreOverrideCursor();
    // A refusal takes the room of all three lines.
    lblSize->setGeometry(8, 16, 449, cut_ ? 13 : 39);
    if (!cut_) {
        lblSize->setText(ToQString(cut_.message()));
        return;
    }
    const LevelCut& cut = cut_.value();
    lblSize->setText(QStringLiteral("Size: %1 x %2 pixels, %3 x %4 cells")
                         .arg(cut.width)
                         .arg(cut.height)
                         .arg(cut.width / 16)
                         .arg(cut.height / 16));
    lblCells->setText(QStringLiteral("Distinct cells: %1").arg(cut.tiles));
    lblTiles->setText(QStringLiteral("Tiles: %1 of %2, in a tileset picture of %3 x %4 pixels")
                          .arg(cut.tiles)
                          .arg(TileCount)
                          .arg(cut.tileset.Width())
                          .arg(cut.tileset.Height()));
}

void frmImportPicture::cmdOK_Click() {
    Analyse();
    if (!cut_) {
        Refuse(cut_.message());
        return;
    }
    const std::string tileset = FileNameOf(txtTileset->text());
    if (tileset.empty()) {
        Refuse(QStringLiteral("No tileset picture specified"));
        return;
    }
    const std::string picture = FileNameOf(txtPicture->text());
    if (Status free = CheckNotAnInput(tileset, {&picture, 1}); !free) {
        Refuse(free.message());
        return;
    }
    if (Status path = CheckTilesetPath(ListedName(tileset)); !path) {
        Refuse(path.message());
        return;
    }
    if (Status written = WriteTilesetPicture(tileset, cut_.value().tileset); !written) {
        Refuse(written.message());
        return;
    }
    // Listed from its own folder, so that the map keeps it relative wherever it is saved.
    static_cast<Document&>(context_.state) = LevelDocument(cut_.value(), tileset);
    static_cast<Selection&>(context_.state) = Selection{};
    imported_ = true;
    accept();
}

} // namespace tessra
