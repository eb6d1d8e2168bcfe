#include "ui/frm_import_csv.h"

#include "core/formats/csv_import.h"
#include "io/file_io.h"
#include "platform/dialogs.h"
#include "platform/qt_text.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace tessra {

frmImportCSV::frmImportCSV(ToolWindowContext& context, QWidget* parent)
    : ToolDialog(context, parent, "frmImportCSV", QStringLiteral("Import CSV"), {481, 177},
                 HelpImportCsvTopic) {
    Label1 = new QLabel(
        QStringLiteral("This feature was added to assist in importing maps created in Mappy. "
                       "Since the CSV data will not contain the map's dimensions, you must "
                       "enter it manually."),
        this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(8, 8, 465, 33);
    Label1->setWordWrap(true);

    QGroupBox* frame1 =
        AddFrame(this, "Frame1", QStringLiteral("Select CSV File"), {8, 40, 465, 41});
    txtBrowseForFile = AddTextBox(frame1, "txtBrowseForFile", {}, {8, 16, 377, 19});
    cmdBrowse = AddButton(frame1, "cmdBrowse", QStringLiteral("&Browse"), {392, 16, 65, 17});

    QGroupBox* frame2 = AddFrame(this, "Frame2", QStringLiteral("X"), {8, 88, 65, 41});
    txtSizeX = AddTextBox(frame2, "txtSizeX", QStringLiteral("0"), {8, 16, 49, 19});
    QGroupBox* frame3 = AddFrame(this, "Frame3", QStringLiteral("Y"), {80, 88, 65, 41});
    txtSizeY = AddTextBox(frame3, "txtSizeY", QStringLiteral("0"), {8, 16, 49, 19});
    AddFrame(this, "Frame4", {}, {152, 88, 321, 41});

    cmdOK = AddButton(this, "cmdOK", QStringLiteral("&OK"), {168, 136, 97, 33});
    cmdCancel = AddButton(this, "cmdCancel", QStringLiteral("&Cancel"), {272, 136, 97, 33});
    cmdHelp = AddButton(this, "cmdHelp", QStringLiteral("&Help"), {376, 136, 97, 33});
    cmdOK->setDefault(true);

    connect(cmdBrowse, &QPushButton::clicked, this, &frmImportCSV::cmdBrowse_Click);
    connect(cmdOK, &QPushButton::clicked, this, &frmImportCSV::cmdOK_Click);
    // Cancel, like Esc and the close box, leaves Tag alone.
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(cmdHelp, &QPushButton::clicked, this, &frmImportCSV::ShowHelp);
}

void frmImportCSV::cmdBrowse_Click() {
    FileDialogRequest request;
    request.title = QStringLiteral("Import CSV");
    request.filter = QStringLiteral("CSV Files|*.csv|All Files|*.*|");
    if (const auto path = context_.dialogs.OpenFile(this, request)) {
        txtBrowseForFile->setText(*path);
    }
}

void frmImportCSV::cmdOK_Click() {
    const Result<CsvImport> imported = ImportCsvFile(
        BoxText(txtSizeX), BoxText(txtSizeY), FileNameOf(txtBrowseForFile->text()), ReadCsvFile);
    if (!imported) {
        Refuse(imported.message());
        return;
    }
    context_.state.MapData = imported.value().map;
    outcome_ = imported.value().size;
    context_.state.Tag = "LOAD";
    accept();
}

} // namespace tessra
