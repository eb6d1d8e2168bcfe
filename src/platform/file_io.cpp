#include "platform/file_io.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <unistd.h>

namespace tessra {

namespace {

// "Cannot read PATH: reason" or "Cannot write PATH: reason".
Error FileError(const char* doing, const QString& path, const QFileDevice& file) {
    return Error{ToStdString(
        QStringLiteral("Cannot %1 %2: %3").arg(QLatin1String(doing), path, file.errorString()))};
}

// A device or a pipe is written in place: renaming a temporary file over it
// would put an ordinary file where the device was (as root, even in /dev).
bool IsDeviceOrPipe(const QString& path) {
    const QFileInfo info(path); // follows links, as the write would
    return info.exists() && !info.isFile() && !info.isDir();
}

} // namespace

Result<Bytes> ReadFileBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return FileError("read", path, file);
    }
    // A pipe, a device or a file of /proc: the size is not known beforehand.
    if (file.isSequential() || file.size() == 0) {
        const QByteArray data = file.readAll();
        if (file.error() != QFileDevice::NoError) {
            return FileError("read", path, file);
        }
        return Bytes(data.begin(), data.end());
    }
    // Read straight into the result: one copy of the file, not two.
    Bytes data(static_cast<std::size_t>(file.size()));
    const qint64 got = file.read(reinterpret_cast<char*>(data.data()), file.size());
    if (got < 0) {
        return FileError("read", path, file);
    }
    data.resize(static_cast<std::size_t>(got));
    return data;
}

Status WriteFileAtomic(const QString& path, std::span<const std::uint8_t> bytes) {
    int errorCode = 0;
    return WriteFileAtomic(path, bytes, errorCode);
}

Status WriteFileAtomic(const QString& path, std::span<const std::uint8_t> bytes, int& errorCode) {
    AtomicFileWriter writer(path);
    writer.Write(bytes);
    return writer.Commit(errorCode);
}

AtomicFileWriter::AtomicFileWriter(const QString& path) : path_(path) {
    atomic_ = !IsDeviceOrPipe(path);
    if (atomic_) {
        file_ = std::make_unique<QSaveFile>(path);
    } else {
        file_ = std::make_unique<QFile>(path);
    }
    const QIODevice::OpenMode mode =
        atomic_ ? QIODevice::WriteOnly : QIODevice::WriteOnly | QIODevice::Unbuffered;
    if (!file_->open(mode)) {
        Fail();
    }
}

std::unique_ptr<AtomicFileWriter> AtomicFileWriter::ToStandardOutput() {
    std::unique_ptr<AtomicFileWriter> writer(new AtomicFileWriter);
    writer->path_ = QStringLiteral("standard output");
    writer->atomic_ = false;
    auto file = std::make_unique<QFile>();
    const bool opened = file->open(STDOUT_FILENO, QIODevice::WriteOnly | QIODevice::Unbuffered,
                                   QFileDevice::DontCloseHandle);
    writer->file_ = std::move(file);
    if (!opened) {
        writer->Fail();
    }
    return writer;
}

// QSaveFile removes its temporary file when dropped uncommitted.
AtomicFileWriter::~AtomicFileWriter() = default;

void AtomicFileWriter::Fail() {
    // Taken before cancelling, which would replace the reason with its own.
    errorCode_ = static_cast<int>(file_->error());
    error_ = FileError("write", path_, *file_);
    if (atomic_) {
        static_cast<QSaveFile&>(*file_).cancelWriting();
    }
}

void AtomicFileWriter::Write(std::span<const std::uint8_t> bytes) {
    const auto size = static_cast<qint64>(bytes.size());
    if (!error_ && file_->write(reinterpret_cast<const char*>(bytes.data()), size) != size) {
        Fail();
    }
}

Status AtomicFileWriter::Commit(int& errorCode) {
    if (!error_ && atomic_ && !static_cast<QSaveFile&>(*file_).commit()) {
        Fail();
    }
    errorCode = error_ ? errorCode_ : 0;
    if (error_) {
        return *error_;
    }
    if (!atomic_) {
        file_->close(); // a QSaveFile closes itself in commit
    }
    return {};
}

Status AtomicFileWriter::Commit() {
    int errorCode = 0;
    return Commit(errorCode);
}

} // namespace tessra
