#pragma once

#include "platform/dialogs.h"

#include <QString>
#include <deque>
#include <optional>
#include <vector>

namespace tessra {

// Answers dialogs from queues and records every request and message.
class FakeDialogs final : public Dialogs {
  public:
    struct ShownMessage {
        QString text;
        QString title;
        MessageIcon icon;
    };

    // Answers for the next file dialogs, in order; nothing queued means Cancel.
    std::deque<std::optional<QString>> fileAnswers;
    std::deque<SaveAnswer> saveAnswers;       // nothing queued means Cancel
    std::deque<YesNoAnswer> yesNoAnswers;     // nothing queued means Yes
    std::deque<RestoreAnswer> restoreAnswers; // nothing queued means Later

    std::vector<FileDialogRequest> fileRequests;
    std::vector<ShownMessage> messages;
    std::vector<QString> questions;

    std::optional<QString> OpenFile(QWidget* parent, const FileDialogRequest& request) override;
    std::optional<QString> SaveFile(QWidget* parent, const FileDialogRequest& request) override;
    void Message(QWidget* parent, const QString& text, const QString& title,
                 MessageIcon icon) override;
    SaveAnswer AskSave(QWidget* parent, const QString& text, const QString& title) override;
    YesNoAnswer AskYesNoCancel(QWidget* parent, const QString& text, const QString& title) override;
    RestoreAnswer AskRestore(QWidget* parent, const QString& text, const QString& title) override;

  private:
    std::optional<QString> NextFile(const FileDialogRequest& request);
};

} // namespace tessra
