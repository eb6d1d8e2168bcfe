#include "support/fake_dialogs.h"

namespace tessra {

std::optional<QString> FakeDialogs::NextFile(const FileDialogRequest& request) {
    fileRequests.push_back(request);
    if (fileAnswers.empty()) {
        return std::nullopt;
    }
    // Taken apart rather than copied whole: GCC 12 misreads a copied optional QString.
    const bool chosen = fileAnswers.front().has_value();
    const QString path = fileAnswers.front().value_or(QString());
    fileAnswers.pop_front();
    return chosen ? std::optional<QString>(path) : std::nullopt;
}

std::optional<QString> FakeDialogs::OpenFile(QWidget*, const FileDialogRequest& request) {
    return NextFile(request);
}

std::optional<QString> FakeDialogs::SaveFile(QWidget*, const FileDialogRequest& request) {
    return NextFile(request);
}

void FakeDialogs::Message(QWidget*, const QString& text, const QString& title, MessageIcon icon) {
    messages.push_back({text, title, icon});
}

SaveAnswer FakeDialogs::AskSave(QWidget*, const QString& text, const QString&) {
    questions.push_back(text);
    if (saveAnswers.empty()) {
        return SaveAnswer::Cancel;
    }
    const SaveAnswer answer = saveAnswers.front();
    saveAnswers.pop_front();
    return answer;
}

YesNoAnswer FakeDialogs::AskYesNoCancel(QWidget*, const QString& text, const QString&) {
    questions.push_back(text);
    if (yesNoAnswers.empty()) {
        return YesNoAnswer::Yes;
    }
    const YesNoAnswer answer = yesNoAnswers.front();
    yesNoAnswers.pop_front();
    return answer;
}

RestoreAnswer FakeDialogs::AskRestore(QWidget*, const QString& text, const QString&) {
    questions.push_back(text);
    if (restoreAnswers.empty()) {
        return RestoreAnswer::Later;
    }
    const RestoreAnswer answer = restoreAnswers.front();
    restoreAnswers.pop_front();
    return answer;
}

} // namespace tessra
