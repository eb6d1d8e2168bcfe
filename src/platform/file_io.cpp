#include "platform/file_io.h"

#include <QFile>
#include <QSaveFile>

namespace tessra {

Result<Bytes> ReadFileBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return Error{ToStdString(QStringLiteral("Cannot read %1: %2").arg(path, file.errorString()))};
    }
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        return Error{ToStdString(QStringLiteral("Cannot read %1: %2").arg(path, file.errorString()))};
    }
    return Bytes(data.begin(), data.end());
}

Status WriteFileAtomic(const QString& path, std::span<const std::uint8_t> bytes) {
    int errorCode = 0;
    return WriteFileAtomic(path, bytes, errorCode);
}

Status WriteFileAtomic(const QString& path, std::span<const std::uint8_t> bytes, int& errorCode) {
    QSaveFile file(path);
    errorCode = 0;
    const auto fail = [&] {
        errorCode = static_cast<int>(file.error());
        return Error{ToStdString(QStringLiteral("Cannot write %1: %2").arg(path, file.errorString()))};
    };
    if (!file.open(QIODevice::WriteOnly)) {
        return fail();
    }
    const auto size = static_cast<qint64>(bytes.size());
    if (file.write(reinterpret_cast<const char*>(bytes.data()), size) != size) {
        // Taken before cancelling, which would replace the reason with its own.
        Error error = fail();
        file.cancelWriting();
        return error;
    }
    if (!file.commit()) {
        return fail();
    }
    return {};
}

} // namespace tessra
