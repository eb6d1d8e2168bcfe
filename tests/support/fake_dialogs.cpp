#include "support/fake_dialogs.h"

namespace tessra {

namespace {

template <class Answer> Answer NextAnswer(std::deque<Answer>& answers, Answer otherwise) {
    if (answers.empty()) {
        return otherwise;
    }
    const Answer answer = answers.front();
    answers.pop_front();
    return answer;
}

} // namespace

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
    return NextAnswer(saveAnswers, SaveAnswer::Cancel);
}

YesNoAnswer FakeDialogs::AskYesNoCancel(QWidget*, const QString& text, const QString&) {
    questions.push_back(text);
    return NextAnswer(yesNoAnswers, YesNoAnswer::Yes);
}

RestoreAnswer FakeDialogs::AskRestore(QWidget*, const QString& text, const QString&) {
    questions.push_back(text);
    return NextAnswer(restoreAnswers, RestoreAnswer::Later);
}

} // namespace tessra
