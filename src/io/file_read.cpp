#include "core/base/message_text.h"
#include "io/file_reading.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace tessra {

namespace {

std::string Amount(std::size_t bytes) {
    if (bytes % (1u << 20) == 0) {
        return std::to_string(bytes >> 20) + " MB";
    }
    if (bytes % 1024 == 0) {
        return std::to_string(bytes >> 10) + " KB";
    }
    return std::to_string(bytes) + " bytes";
}

Error TooLarge(const std::string& name, const ReadLimit& limit) {
    return FileFailure("read", name,
                       "it holds more than " + Amount(limit.bytes) + ", the most " + limit.kind +
                           " may hold");
}

// Closes a descriptor when it goes out of scope.
class Descriptor {
  public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }

  private:
    int fd_;
};

// A pipe left non-blocking by whoever shares it: wait for it instead of failing.
bool WaitForInput(int fd) {
    pollfd wanted{fd, POLLIN, 0};
    return ::poll(&wanted, 1, -1) >= 0 || errno == EINTR;
}

} // namespace

const char* KindOf(mode_t mode) {
    if (S_ISDIR(mode)) {
        return "a folder";
    }
    if (S_ISFIFO(mode)) {
        return "a named pipe";
    }
    if (S_ISSOCK(mode)) {
        return "a socket";
    }
    if (S_ISLNK(mode)) {
        return "a symbolic link";
    }
    return "a device";
}

Error FileFailure(const char* doing, const std::string& path, const std::string& reason) {
    return Error{std::string("Cannot ") + doing + " " + Shortened(path) + ": " + reason};
}

Error SystemFailure(const char* doing, const std::string& path, int code) {
    return FileFailure(doing, path, std::strerror(code));
}

std::optional<Error> RefuseName(const char* doing, const std::string& path) {
    if (path.find('\0') != std::string::npos) {
        return FileFailure(doing, path, "the name holds a zero byte");
    }
    return std::nullopt;
}

std::optional<Error> RefuseToRead(const std::string& path, const struct stat& info,
                                  const ReadLimit& limit) {
    if (!S_ISREG(info.st_mode)) {
        return FileFailure("read", path,
                           std::string("it is ") + KindOf(info.st_mode) + ", not a file");
    }
    if (static_cast<std::uint64_t>(info.st_size) > limit.bytes) {
        return TooLarge(path, limit);
    }
    return std::nullopt;
}

std::int64_t ModifiedTime(const struct stat& info) {
    return static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
}

int OpenForReading(const std::string& path) {
    return ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
}

Result<Bytes> ReadToEnd(int fd, const std::string& name, const ReadLimit& limit,
                        const struct stat& before) {
    // A file of /proc says 0 and has content: its size is found by reading.
    const auto expected = static_cast<std::size_t>(before.st_size);
    Bytes data(expected > 0 ? expected + 1 : std::size_t{64} << 10); // + 1 sees growth
    std::size_t size = 0;
    for (;;) {
        if (size == data.size()) {
            data.resize(std::min(2 * size, limit.bytes + 1));
        }
        const ssize_t got = ::read(fd, data.data() + size, data.size() - size);
        if (got < 0) {
            if (errno == EINTR || (errno == EAGAIN && WaitForInput(fd))) {
                continue;
            }
            return SystemFailure("read", name, errno);
        }
        if (got == 0) {
            break;
        }
        size += static_cast<std::size_t>(got);
        if (size > limit.bytes) {
            return TooLarge(name, limit);
        }
    }
    data.resize(size);
    if (expected > 0) {
        struct stat after {};
        if (size != expected || ::fstat(fd, &after) != 0 || after.st_size != before.st_size ||
            ModifiedTime(after) != ModifiedTime(before)) {
            return FileFailure("read", name, "it changed while it was read");
        }
    }
    return data;
}

Result<Bytes> ReadFileBytes(const std::string& path, const ReadLimit& limit) {
    int errorCode = 0;
    return ReadFileBytes(path, limit, errorCode);
}

Result<Bytes> ReadFileBytes(const std::string& path, const ReadLimit& limit, int& errorCode) {
    errorCode = 0;
    if (auto refusal = RefuseName("read", path)) {
        return *refusal;
    }
    // Looked at before it is opened: opening a device can have effects of its own.
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        errorCode = errno;
        return SystemFailure("read", path, errorCode);
    }
    if (auto refusal = RefuseToRead(path, info, limit)) {
        return *refusal;
    }
    const Descriptor file(OpenForReading(path));
    if (file.get() < 0 || ::fstat(file.get(), &info) != 0) {
        errorCode = errno;
        return SystemFailure("read", path, errorCode);
    }
    // Looked at again: something else may have taken the name meanwhile.
    if (auto refusal = RefuseToRead(path, info, limit)) {
        return *refusal;
    }
    return ReadToEnd(file.get(), path, limit, info);
}

Result<Bytes> ReadFileHead(const std::string& path, std::size_t size) {
    const ReadLimit any{SIZE_MAX, "a file"};
    struct stat info {};
    if (auto refusal = RefuseName("read", path)) {
        return *refusal;
    }
    if (::stat(path.c_str(), &info) != 0) {
        return SystemFailure("read", path, errno);
    }
    if (auto refusal = RefuseToRead(path, info, any)) {
        return *refusal;
    }
    const Descriptor file(OpenForReading(path));
    if (file.get() < 0 || ::fstat(file.get(), &info) != 0) {
        return SystemFailure("read", path, errno);
    }
    if (auto refusal = RefuseToRead(path, info, any)) {
        return *refusal;
    }
    Bytes head(size);
    std::size_t got = 0;
    while (got < size) {
        const ssize_t n = ::read(file.get(), head.data() + got, size - got);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            return SystemFailure("read", path, errno);
        }
        if (n == 0) {
            break;
        }
        got += static_cast<std::size_t>(n);
    }
    head.resize(got);
    return head;
}

Result<Bytes> ReadCsvFile(const std::string& path) {
    int errorCode = 0;
    Result<Bytes> bytes = ReadFileBytes(path, CsvFileLimit, errorCode);
    if (!bytes && errorCode != 0) {
        return Bytes{};
    }
    return bytes;
}

Result<Bytes> ReadStandardInput(const ReadLimit& limit) {
    struct stat info {};
    if (::fstat(STDIN_FILENO, &info) != 0) {
        return SystemFailure("read", "standard input", errno);
    }
    // Its size says nothing: it may be a pipe, or a file read from part way.
    info.st_size = 0;
    return ReadToEnd(STDIN_FILENO, "standard input", limit, info);
}

bool FileExists(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0;
}

Status CheckNotAnInput(const std::string& out, std::span<const std::string> inputs) {
    struct stat target {};
    if (out == "-" || RefuseName("write", out) || ::stat(out.c_str(), &target) != 0) {
        return {};
    }
    for (const std::string& input : inputs) {
        struct stat info {};
        if (input != "-" && !RefuseName("read", input) && ::stat(input.c_str(), &info) == 0 &&
            info.st_dev == target.st_dev && info.st_ino == target.st_ino) {
            return FileFailure("write", out,
                               "it is the same file as the input " + Shortened(input) +
                                   ", which it would destroy");
        }
    }
    return {};
}

} // namespace tessra
