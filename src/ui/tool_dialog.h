#pragma once

#include "help/help_topics.h"
#include "ui/tool_window_context.h"

#include <QDialog>
#include <string_view>

class QGroupBox;
class QLineEdit;
class QPushButton;

namespace tessra {

// What every tool window shares: modal over the main window that owns it (only
// over that window, so the help window stays usable), centred on it, of fixed
// size, with messages titled TESSRA and F1 opening its page of the help.
class ToolDialog : public QDialog {
    Q_OBJECT

  public:
    ToolDialog(ToolWindowContext& context, QWidget* parent, const char* name,
               const QString& caption, QSize clientSize, HelpTopic help);

  protected:
    // A refused input: the critical icon, one OK button, the program's title.
    void Refuse(const QString& text);
    void Refuse(std::string_view text);
    void ShowHelp();

    QGroupBox* AddFrame(QWidget* parent, const char* name, const QString& caption, QRect geometry);
    QPushButton* AddButton(QWidget* parent, const char* name, const QString& caption,
                           QRect geometry);
    QLineEdit* AddTextBox(QWidget* parent, const char* name, const QString& text, QRect geometry);

    ToolWindowContext& context_;

  private:
    HelpTopic help_;
};

// The text of a box as core reads it.
std::string BoxText(const QLineEdit* box);

} // namespace tessra
