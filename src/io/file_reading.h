#pragma once

// What the readers of file_io.h share; not for use outside the file layer.

#include "io/file_io.h"

#include <string>
#include <sys/stat.h>

namespace tessra {

// What a file that is not a regular one is, for a refusal: "a folder",
// "a named pipe", "a symbolic link" (seen by lstat), or else "a device".
const char* KindOf(mode_t mode);

// "Cannot DOING PATH: REASON", the path shortened.
Error FileFailure(const char* doing, const std::string& path, const std::string& reason);
// The same with the system's words for an error number.
Error SystemFailure(const char* doing, const std::string& path, int code);

// A name with a zero byte in it would reach the system cut short, naming
// another file: it is refused.
std::optional<Error> RefuseName(const char* doing, const std::string& path);

// A refusal for a file that is no regular file, or is above the limit.
std::optional<Error> RefuseToRead(const std::string& path, const struct stat& info,
                                  const ReadLimit& limit);

// Reads an open file to its end, under the limit. A file whose size was known
// (above 0 in `before`) must end at that size, with the same time, or it
// changed while it was read.
Result<Bytes> ReadToEnd(int fd, const std::string& name, const ReadLimit& limit,
                        const struct stat& before);

// The file's modification time in nanoseconds.
std::int64_t ModifiedTime(const struct stat& info);

// Opens a file to read it, without blocking on a pipe or taking a terminal.
int OpenForReading(const std::string& path);

} // namespace tessra
