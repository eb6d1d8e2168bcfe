#include "ui/tool_dialog.h"

#include "help/html_help_viewer.h"
#include "platform/dialogs.h"
#include "platform/qt_text.h"

#include <QGroupBox>
#include <QKeySequence>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>

namespace tessra {

namespace {

constexpr const char* ProgramTitle = "TESSRA";
constexpr int DialogFontPixels = 11;

} // namespace

ToolDialog::ToolDialog(ToolWindowContext& context, QWidget* parent, const char* name,
                       const QString& caption, QSize clientSize, HelpTopic help)
    : QDialog(parent), context_(context), help_(help) {
    setObjectName(QLatin1String(name));
    setWindowTitle(caption);
    setWindowModality(Qt::WindowModal);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setWindowFlag(Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(clientSize);
    // The layouts are measured in pixels for an 11-pixel dialog font.
    QFont dialogFont = font();
    dialogFont.setPixelSize(DialogFontPixels);
    setFont(dialogFont);
    auto* helpKey = new QShortcut(QKeySequence::HelpContents, this);
    connect(helpKey, &QShortcut::activated, this, &ToolDialog::ShowHelp);
}

void ToolDialog::Refuse(const QString& text) {
    context_.dialogs.Message(this, text, QLatin1String(ProgramTitle), MessageIcon::Critical);
}

void ToolDialog::Refuse(std::string_view text) {
    Refuse(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

void ToolDialog::ShowHelp() {
    context_.help.ShowTopic(QLatin1String(help_.page));
}

QGroupBox* ToolDialog::AddFrame(QWidget* parent, const char* name, const QString& caption,
                                QRect geometry) {
    auto* frame = new QGroupBox(caption, parent);
    frame->setObjectName(QLatin1String(name));
    frame->setGeometry(geometry);
    return frame;
}

QPushButton* ToolDialog::AddButton(QWidget* parent, const char* name, const QString& caption,
                                   QRect geometry) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(geometry);
    // Enter acts only where a window names a default button.
    button->setAutoDefault(false);
    return button;
}

QLineEdit* ToolDialog::AddTextBox(QWidget* parent, const char* name, const QString& text,
                                  QRect geometry) {
    auto* box = new QLineEdit(text, parent);
    box->setObjectName(QLatin1String(name));
    box->setGeometry(geometry);
    return box;
}

std::string BoxText(const QLineEdit* box) {
    return ToStdString(box->text());
}

} // namespace tessra
