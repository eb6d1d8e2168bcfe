#include "io/file_reading.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace tessra {

namespace {

std::int64_t ChangedTime(const struct stat& info) {
    return static_cast<std::int64_t>(info.st_ctim.tv_sec) * 1000000000 + info.st_ctim.tv_nsec;
}

} // namespace

std::optional<FileIdentity> IdentifyFile(const std::string& path) {
    struct stat info {};
    if (RefuseName("read", path) || ::stat(path.c_str(), &info) != 0) {
        return std::nullopt;
    }
    return FileIdentity{
        static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino),
        static_cast<std::int64_t>(info.st_size), ModifiedTime(info), ChangedTime(info)};
}

bool FileHolds(const std::string& path, std::span<const std::uint8_t> bytes) {
    if (RefuseName("read", path)) {
        return false;
    }
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        return false;
    }
    struct stat info {};
    bool same = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) &&
                static_cast<std::uint64_t>(info.st_size) == bytes.size();
    // Compared a block at a time, so that a large output costs no copy of itself.
    std::uint8_t block[64 * 1024];
    std::size_t at = 0;
    while (same && at < bytes.size()) {
        const ssize_t got = ::read(fd, block, std::min(sizeof block, bytes.size() - at));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        same = got > 0 && std::memcmp(block, bytes.data() + at, static_cast<std::size_t>(got)) == 0;
        at += got > 0 ? static_cast<std::size_t>(got) : 0;
    }
    // A file that grew while it was read is not the same.
    same = same && ::read(fd, block, 1) == 0;
    ::close(fd);
    return same;
}

} // namespace tessra
