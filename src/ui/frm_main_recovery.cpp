#include "core/formats/recovery_file.h"
#include "io/file_io.h"
#include "platform/dialogs.h"
#include "platform/qt_text.h"
#include "platform/recovery_store.h"
#include "ui/frm_main.h"

#include <QDateTime>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTimer>

namespace tessra {

namespace {

constexpr int RecoveryMilliseconds = 60 * 1000;

std::span<const std::uint8_t> AsBytes(const std::string& text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

QString RestoreQuestion(const RecoveryCopy& copy, const QString& path) {
    // ISO 8601 reads the same in every country; a short form such as 5/1/24 does not.
    const QString when =
        QFileInfo(path).lastModified().toString(QStringLiteral("yyyy-MM-dd HH:mm"));
    const QString map = copy.FileName == UntitledFileName ? QStringLiteral("an untitled map")
                                                          : ShownFileName(copy.FileName);
    return QStringLiteral("TESSRA did not close properly. A recovery copy of %1 from %2 holds "
                          "changes that were not saved.\n\nRestore it? It opens as [Untitled]; "
                          "save it to keep it.")
        .arg(map, when);
}

} // namespace

void frmMain::StartRecovery() {
    recovery_ = std::make_unique<RecoveryStore>(
        QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
    recoveryTimer_ = new QTimer(this);
    recoveryTimer_->setObjectName(QStringLiteral("recoveryTimer"));
    recoveryTimer_->setInterval(RecoveryMilliseconds);
    connect(recoveryTimer_, &QTimer::timeout, this, &frmMain::WriteRecoveryCopy);
    recoveryTimer_->start();
}

void frmMain::SetRecoveryInterval(int milliseconds) {
    recoveryTimer_->start(milliseconds);
}

QString frmMain::RecoveryCopyPath() const {
    return recovery_->path();
}

void frmMain::WriteRecoveryCopy() {
    if (!history_.IsModified()) {
        return recovery_->Remove();
    }
    const std::string bytes = WriteRecoveryBytes(state_.CurrentFileName, state_);
    // A failed copy must not interrupt the work it protects: the next tick tries again.
    (void)recovery_->Write(AsBytes(bytes));
}

void frmMain::UpdateRecoveryCopy(const DocumentChange& change) {
    // Saved, opened, new, or undone back to the saved point: nothing to recover.
    if (change.history && !history_.IsModified()) {
        recovery_->Remove();
    }
}

void frmMain::OfferRecovery() {
    for (const QString& path : recovery_->Abandoned()) {
        const Result<Bytes> bytes = ReadFileBytes(FileNameOf(path), ProjectFileLimit);
        Result<RecoveryCopy> copy =
            bytes ? ParseRecovery(
                        {reinterpret_cast<const char*>(bytes.value().data()), bytes.value().size()},
                        FileNameOf(path))
                  : Result<RecoveryCopy>(bytes);
        if (!copy) {
            // Left in place: it may still be worth something to its owner.
            ShowError(ToQString(copy.message()));
            continue;
        }
        switch (dialogs_.AskRestore(this, RestoreQuestion(copy.value(), path),
                                    QStringLiteral("TESSRA"))) {
        case RestoreAnswer::Restore:
            RestoreRecoveryCopy(std::move(copy).value());
            RecoveryStore::Discard(path);
            return; // one document at a time; the others wait for the next start
        case RestoreAnswer::Discard:
            RecoveryStore::Discard(path);
            break;
        case RestoreAnswer::Later:
            break;
        }
    }
}

void frmMain::RestoreRecoveryCopy(RecoveryCopy copy) {
    static_cast<Document&>(state_) = std::move(copy.Content);
    state_.CurrentFileName = UntitledFileName;
    static_cast<Selection&>(state_) = Selection{};
    history_.Clear();
    history_.MarkModified();
    Refresh(
        {.cells = true, .tilesets = true, .fileName = true, .selection = true, .history = true});
    // Copied at once, so the restored work is safe before the old copy goes.
    WriteRecoveryCopy();
}

} // namespace tessra
