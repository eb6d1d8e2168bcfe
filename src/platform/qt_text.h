#pragma once

// Between Qt's strings and the core's. Text is UTF-8; a file name is the
// system's bytes, which a QString can only show: paths are kept as bytes and
// turned into a QString only for display.

#include <QFile>
#include <QString>
#include <string>

namespace tessra {

inline QString ToQString(const std::string& text) {
    return QString::fromUtf8(text);
}
inline std::string ToStdString(const QString& text) {
    return text.toUtf8().toStdString();
}

// A name from a file dialog, in the system's encoding for file names.
inline std::string FileNameOf(const QString& path) {
    return QFile::encodeName(path).toStdString();
}
// A file name to show.
inline QString ShownFileName(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}

} // namespace tessra
