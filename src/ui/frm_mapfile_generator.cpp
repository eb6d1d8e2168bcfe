#include "ui/frm_mapfile_generator.h"

#include "core/formats/dat_file.h"
#include "io/file_document.h"
#include "io/file_io.h"
#include "platform/dialogs.h"
#include "platform/qt_text.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>

namespace tessra {

namespace {

constexpr int SizeBoxLength = 3;

} // namespace

frmMapfileGenerator::frmMapfileGenerator(ToolWindowContext& context, QWidget* parent)
    : ToolDialog(context, parent, "frmMapfileGenerator", QStringLiteral("Generate Mapfile"),
                 {217, 145}, HelpMapfileGeneratorTopic) {
    QGroupBox* frame3 =
        AddFrame(this, "Frame3", QStringLiteral("Step 1: Enter Size"), {8, 8, 201, 65});
    QGroupBox* frame1 = AddFrame(frame3, "Frame1", QStringLiteral("X"), {8, 18, 89, 41});
    txtMapSizeX = AddTextBox(frame1, "txtMapSizeX", {}, {8, 16, 73, 19});
    QGroupBox* frame2 = AddFrame(frame3, "Frame2", QStringLiteral("Y"), {104, 18, 89, 41});
    txtMapSizeY = AddTextBox(frame2, "txtMapSizeY", {}, {8, 16, 73, 19});
    txtMapSizeX->setMaxLength(SizeBoxLength);
    txtMapSizeY->setMaxLength(SizeBoxLength);

    QGroupBox* frame4 =
        AddFrame(this, "Frame4", QStringLiteral("Step 2: Generate Mapfile"), {8, 80, 201, 57});
    cmdGenerate =
        AddButton(frame4, "cmdGenerate", QStringLiteral("&Generate Mapfile"), {8, 20, 185, 29});
    cmdGenerate->setDefault(true);
    connect(cmdGenerate, &QPushButton::clicked, this, &frmMapfileGenerator::cmdGenerate_Click);
}

void frmMapfileGenerator::cmdGenerate_Click() {
    // A size the grid cannot give is refused before a file is chosen.
    const Result<MapFileSize> size = ReadMapFileSize(BoxText(txtMapSizeX), BoxText(txtMapSizeY));
    if (!size) {
        Refuse(size.message());
        return;
    }
    FileDialogRequest request;
    request.title = QStringLiteral("Export Generated Mapfile");
    request.filter = QStringLiteral("DAT Files|*.dat|All Files|*.*|");
    request.overwritePrompt = true;
    request.defaultSuffix = QStringLiteral("dat");
    const std::optional<QString> path = context_.dialogs.SaveFile(this, request);
    if (!path) {
        return;
    }
    const Bytes bytes = WriteMapFileBytes(context_.state.MapData, size.value().W, size.value().H);
    int errorCode = 0;
    if (const Status written = WriteFromMap(FileNameOf(*path), bytes, MapFilePath(context_.state),
                                            context_.state, errorCode);
        !written) {
        // The system's failures show its error number, as they always have.
        if (errorCode == 0) {
            Refuse(written.message());
        } else {
            context_.dialogs.Message(this, ToQString(written.message()),
                                     QStringLiteral("Error #%1").arg(errorCode),
                                     MessageIcon::Critical);
        }
        return;
    }
    outcome_ = size.value();
    context_.dialogs.Message(this, QStringLiteral("File was exported."), QStringLiteral("TESSRA"),
                             MessageIcon::Information);
    accept();
}

} // namespace tessra
