#include "platform/dialogs.h"
#include "platform/recent_folders.h"

#include <QAbstractButton>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QStringList>

namespace tessra {

QString ToQtFilter(const QString& filter) {
    const QStringList parts = filter.split('|', Qt::SkipEmptyParts);
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        // "*.*" would hide the files that have no extension; patterns come
        // separated by ";" and Qt takes them separated by blanks.
        QString pattern =
            parts[i + 1] == QStringLiteral("*.*") ? QStringLiteral("*") : parts[i + 1];
        entries << QStringLiteral("%1 (%2)").arg(
            parts[i], pattern.replace(QLatin1Char(';'), QLatin1Char(' ')));
    }
    return entries.join(QStringLiteral(";;"));
}

namespace {

std::optional<QString> RunFileDialog(QWidget* parent, const FileDialogRequest& request,
                                     QFileDialog::AcceptMode mode) {
    QSettings settings(QStringLiteral("tessra"), QStringLiteral("tessra"));
    RecentFolders folders(settings);
    const QString folder = folders.FolderFor(request.filter);
    QFileDialog dialog(parent, request.title, folder.isEmpty() ? QDir::homePath() : folder);
    dialog.setAcceptMode(mode);
    dialog.setNameFilter(ToQtFilter(request.filter));
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                       : QFileDialog::AnyFile);
    if (!request.overwritePrompt) {
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    }
    if (!request.defaultSuffix.isEmpty()) {
        dialog.setDefaultSuffix(request.defaultSuffix);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    folders.Remember(request.filter, dialog.selectedFiles().first());
    return dialog.selectedFiles().first();
}

QMessageBox::Icon ToQtIcon(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Critical:
        return QMessageBox::Critical;
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Warning:
        return QMessageBox::Warning;
    case MessageIcon::Question:
        return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

} // namespace

std::optional<QString> QtDialogs::OpenFile(QWidget* parent, const FileDialogRequest& request) {
    return RunFileDialog(parent, request, QFileDialog::AcceptOpen);
}

std::optional<QString> QtDialogs::SaveFile(QWidget* parent, const FileDialogRequest& request) {
    return RunFileDialog(parent, request, QFileDialog::AcceptSave);
}

void QtDialogs::Message(QWidget* parent, const QString& text, const QString& title,
                        MessageIcon icon) {
    QMessageBox box(ToQtIcon(icon), title, text, QMessageBox::Ok, parent);
    box.exec();
}

SaveAnswer QtDialogs::AskSave(QWidget* parent, const QString& text, const QString& title) {
    QMessageBox box(QMessageBox::Warning, title, text,
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, parent);
    box.setDefaultButton(QMessageBox::Save);
    // Access keys, which the system's own captions leave out.
    box.button(QMessageBox::Save)->setText(QStringLiteral("&Save"));
    box.button(QMessageBox::Discard)->setText(QStringLiteral("&Discard"));
    box.button(QMessageBox::Cancel)->setText(QStringLiteral("Cancel"));
    switch (box.exec()) {
    case QMessageBox::Save:
        return SaveAnswer::Save;
    case QMessageBox::Discard:
        return SaveAnswer::Discard;
    default:
        return SaveAnswer::Cancel;
    }
}

YesNoAnswer QtDialogs::AskYesNoCancel(QWidget* parent, const QString& text, const QString& title) {
    QMessageBox box(QMessageBox::Question, title, text,
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, parent);
    box.setDefaultButton(QMessageBox::Yes);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return YesNoAnswer::Yes;
    case QMessageBox::No:
        return YesNoAnswer::No;
    default:
        return YesNoAnswer::Cancel;
    }
}

RestoreAnswer QtDialogs::AskRestore(QWidget* parent, const QString& text, const QString& title) {
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::NoButton, parent);
    QPushButton* restore = box.addButton(QStringLiteral("&Restore"), QMessageBox::AcceptRole);
    QPushButton* discard = box.addButton(QStringLiteral("&Discard"), QMessageBox::DestructiveRole);
    // Closing the box keeps the copy for the next start.
    QPushButton* later = box.addButton(QStringLiteral("&Not Now"), QMessageBox::RejectRole);
    box.setDefaultButton(restore);
    box.setEscapeButton(later);
    box.exec();
    if (box.clickedButton() == restore) {
        return RestoreAnswer::Restore;
    }
    return box.clickedButton() == discard ? RestoreAnswer::Discard : RestoreAnswer::Later;
}

} // namespace tessra
