#pragma once

#include <QString>
#include <optional>

class QWidget;

namespace tessra {

// What a file dialog is asked for. The filter is written as pairs of
// "name|pattern|", e.g. "PCX Files|*.pcx|All Files|*.*|".
struct FileDialogRequest {
    QString title;
    QString filter;
    bool overwritePrompt = false;
    QString defaultSuffix; // added to a name typed without an extension
};

enum class MessageIcon { Critical, Information, Warning, Question };
enum class SaveAnswer { Save, Discard, Cancel };
enum class YesNoAnswer { Yes, No, Cancel };
enum class RestoreAnswer { Restore, Discard, Later };

// The seam between the windows and the system's dialogs and message boxes.
// Tests substitute FakeDialogs to answer them.
class Dialogs {
  public:
    virtual ~Dialogs() = default;

    // The chosen path, or nothing when the user cancels.
    virtual std::optional<QString> OpenFile(QWidget* parent, const FileDialogRequest& request) = 0;
    virtual std::optional<QString> SaveFile(QWidget* parent, const FileDialogRequest& request) = 0;

    // A message box with one OK button.
    virtual void Message(QWidget* parent, const QString& text, const QString& title,
                         MessageIcon icon) = 0;

    // "Save changes?" with Save, Discard and Cancel.
    virtual SaveAnswer AskSave(QWidget* parent, const QString& text, const QString& title) = 0;

    // A question with Yes, No and Cancel; Yes is the default.
    virtual YesNoAnswer AskYesNoCancel(QWidget* parent, const QString& text,
                                       const QString& title) = 0;

    // "Restore the recovery copy?" with Restore, Discard and Not Now.
    virtual RestoreAnswer AskRestore(QWidget* parent, const QString& text,
                                     const QString& title) = 0;
};

// Turns "name|pattern|name|pattern|" into Qt's "name (pattern);;name (pattern)";
// several patterns of one name, "*.pcx;*.png", become "*.pcx *.png".
QString ToQtFilter(const QString& filter);

class QtDialogs final : public Dialogs {
  public:
    std::optional<QString> OpenFile(QWidget* parent, const FileDialogRequest& request) override;
    std::optional<QString> SaveFile(QWidget* parent, const FileDialogRequest& request) override;
    void Message(QWidget* parent, const QString& text, const QString& title,
                 MessageIcon icon) override;
    SaveAnswer AskSave(QWidget* parent, const QString& text, const QString& title) override;
    YesNoAnswer AskYesNoCancel(QWidget* parent, const QString& text, const QString& title) override;
    RestoreAnswer AskRestore(QWidget* parent, const QString& text, const QString& title) override;
};

} // namespace tessra
