#pragma once

#include "core/result.h"

#include <QString>

#include <cstdint>
#include <span>
#include <vector>

namespace tessra {

using Bytes = std::vector<std::uint8_t>;

// Reads a whole file; the error names the file and the reason.
Result<Bytes> ReadFileBytes(const QString& path);

// Writes through a temporary file beside the target, so that a failure leaves
// the old file whole. The error names the file and the reason.
Status WriteFileAtomic(const QString& path, std::span<const std::uint8_t> bytes);
// As above; on failure errorCode receives the file layer's code (a
// QFileDevice::FileError value) for messages that show it, else 0.
Status WriteFileAtomic(const QString& path, std::span<const std::uint8_t> bytes, int& errorCode);

// Turns a path kept in a document (UTF-8) into a QString and back.
inline QString ToQString(const std::string& text) { return QString::fromUtf8(text); }
inline std::string ToStdString(const QString& text) { return text.toUtf8().toStdString(); }

} // namespace tessra
