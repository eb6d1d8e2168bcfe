#pragma once

#include "core/result.h"

#include <QString>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

class QFileDevice;

namespace tessra {

using Bytes = std::vector<std::uint8_t>;

// Reads a whole file; the error names the file and the reason.
Result<Bytes> ReadFileBytes(const QString& path);

// Writes through a temporary file beside the target, so that a failure leaves
// the old file whole. The error names the file and the reason. A device or a
// pipe (/dev/null, /dev/full) is written directly, and stays what it was.
Status WriteFileAtomic(const QString& path, std::span<const std::uint8_t> bytes);
// As above; on failure errorCode receives the file layer's code (a
// QFileDevice::FileError value) for messages that show it, else 0.
Status WriteFileAtomic(const QString& path, std::span<const std::uint8_t> bytes, int& errorCode);

// WriteFileAtomic a piece at a time, for output too large to hold whole: the
// target is replaced only by Commit, and a writer dropped without it leaves
// the target as it was.
class AtomicFileWriter {
  public:
    explicit AtomicFileWriter(const QString& path);
    ~AtomicFileWriter();
    // Standard output, written as it comes, like a pipe.
    static std::unique_ptr<AtomicFileWriter> ToStandardOutput();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    // After a failure, later pieces are dropped and Commit reports the first.
    void Write(std::span<const std::uint8_t> bytes);
    Status Commit(int& errorCode);
    Status Commit();

  private:
    AtomicFileWriter() = default;
    void Fail();

    QString path_;
    std::unique_ptr<QFileDevice> file_;
    bool atomic_ = true;
    std::optional<Error> error_;
    int errorCode_ = 0;
};

// Turns a path kept in a document (UTF-8) into a QString and back.
inline QString ToQString(const std::string& text) {
    return QString::fromUtf8(text);
}
inline std::string ToStdString(const QString& text) {
    return text.toUtf8().toStdString();
}

} // namespace tessra
