#include "core/base/message_text.h"
#include "io/file_reading.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <sys/file.h>
#include <sys/random.h>
#include <unistd.h>
#include <utility>

namespace tessra {

namespace {

constexpr std::string_view TemporaryMark = ".tessra-tmp-";
constexpr std::size_t RandomLength = 6;
constexpr int MostLinks = 40; // as the system allows before ELOOP

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// ".NAME.tessra-tmp-", the name cut so that the whole fits the system's limit.
std::string TemporaryPrefix(const std::string& name) {
    const std::size_t room = NAME_MAX - 1 - TemporaryMark.size() - RandomLength;
    return "." + name.substr(0, room) + std::string(TemporaryMark);
}

std::string RandomSuffix() {
    constexpr std::string_view letters =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    unsigned char random[RandomLength] = {};
    if (::getrandom(random, sizeof random, 0) != static_cast<ssize_t>(sizeof random)) {
        for (std::size_t i = 0; i < RandomLength; ++i) {
            random[i] = static_cast<unsigned char>(::getpid() >> i) ^ static_cast<unsigned char>(i);
        }
    }
    std::string suffix;
    for (const unsigned char byte : random) {
        suffix += letters[byte % letters.size()];
    }
    return suffix;
}

bool WriteAll(int fd, const std::uint8_t* data, std::size_t size) {
    while (size > 0) {
        const ssize_t done = ::write(fd, data, size);
        if (done < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        data += done;
        size -= static_cast<std::size_t>(done);
    }
    return true;
}

// Makes the rename itself survive a crash.
void SyncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// Temporary files of this name that a killed save left behind: only regular
// files of the user's own that no writer holds locked are removed, so that a
// save running at the same time keeps its own.
void RemoveStaleTemporaries(const std::string& folder, const std::string& name) {
    DIR* entries = ::opendir(folder.c_str());
    if (!entries) {
        return;
    }
    const std::string prefix = TemporaryPrefix(name);
    const int at = ::dirfd(entries);
    while (const dirent* entry = ::readdir(entries)) {
        const std::string_view found = entry->d_name;
        if (found.size() != prefix.size() + RandomLength || !found.starts_with(prefix)) {
            continue;
        }
        const int fd =
            ::openat(at, entry->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        struct stat info {
        }, named{};
        if (fd >= 0 && ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) &&
            info.st_uid == ::geteuid() && ::flock(fd, LOCK_EX | LOCK_NB) == 0 &&
            ::fstatat(at, entry->d_name, &named, AT_SYMLINK_NOFOLLOW) == 0 &&
            named.st_ino == info.st_ino && named.st_dev == info.st_dev) {
            ::unlinkat(at, entry->d_name, 0);
        }
        if (fd >= 0) {
            ::close(fd);
        }
    }
    ::closedir(entries);
}

// Creates the temporary file, locked for as long as it is written: the lock
// tells another save's clean-up that it is no leftover. One that such a
// clean-up removed between its creation and the lock is made again.
int CreateTemporary(const std::string& prefix, mode_t mode, std::string& temporary) {
    for (;;) {
        temporary = prefix + RandomSuffix();
        const int fd =
            ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, mode);
        if (fd < 0) {
            if (errno == EEXIST) {
                continue;
            }
            return -1;
        }
        int locked;
        while ((locked = ::flock(fd, LOCK_EX)) != 0 && errno == EINTR) {
        }
        // A file system without locks writes as before.
        struct stat info {};
        if (locked != 0 || ::fstat(fd, &info) != 0 || info.st_nlink > 0) {
            return fd;
        }
        ::close(fd);
    }
}

// Where a save of `path` lands, following symbolic links: the final name and
// what is there now (nothing, when info.st_mode is 0).
struct Destination {
    std::string path;
    struct stat info {};
};

Result<Destination> FindDestination(const std::string& path) {
    Destination at{path};
    for (int links = 0;; ++links) {
        if (::lstat(at.path.c_str(), &at.info) != 0) {
            if (errno != ENOENT) {
                return SystemFailure("write", path, errno);
            }
            if (links > 0) {
                return FileFailure("write", path,
                                   "it is a symbolic link to " + Shortened(at.path) +
                                       ", which does not exist");
            }
            at.info = {};
            return at;
        }
        if (!S_ISLNK(at.info.st_mode)) {
            return at;
        }
        // In a shared folder, another user's link must not choose what is replaced.
        if (at.info.st_uid != ::geteuid() && at.info.st_uid != 0) {
            return FileFailure("write", path,
                               "it is a symbolic link that belongs to another user, so the file "
                               "it points to is not replaced");
        }
        if (links == MostLinks) {
            return SystemFailure("write", path, ELOOP);
        }
        std::string target(static_cast<std::size_t>(at.info.st_size) + PATH_MAX, '\0');
        const ssize_t length = ::readlink(at.path.c_str(), target.data(), target.size());
        if (length < 0) {
            return SystemFailure("write", path, errno);
        }
        target.resize(static_cast<std::size_t>(length));
        at.path = target.starts_with('/') ? target : FolderOf(at.path) + "/" + target;
    }
}

} // namespace

AtomicFileWriter::AtomicFileWriter(std::string path, Durability durability)
    : path_(std::move(path)), durability_(durability) {
    Open();
}

std::unique_ptr<AtomicFileWriter> AtomicFileWriter::ToStandardOutput() {
    std::unique_ptr<AtomicFileWriter> writer(new AtomicFileWriter);
    writer->path_ = "standard output";
    writer->fd_ = STDOUT_FILENO;
    writer->closeFd_ = false;
    return writer;
}

AtomicFileWriter::~AtomicFileWriter() {
    Discard();
}

void AtomicFileWriter::Open() {
    if (auto refusal = RefuseName("write", path_)) {
        error_ = *refusal;
        return;
    }
    Result<Destination> destination = FindDestination(path_);
    if (!destination) {
        error_ = Error{destination.message()};
        return;
    }
    const Destination& at = destination.value();
    target_ = at.path;
    const mode_t kind = at.info.st_mode & S_IFMT;
    if (kind == S_IFDIR) {
        Fail(EISDIR);
        return;
    }
    // A device or a pipe is written in place: a file renamed over it would
    // take its place (as root, even in /dev).
    if (kind != 0 && kind != S_IFREG) {
        fd_ = ::open(target_.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
        if (fd_ < 0) {
            Fail(errno);
        }
        return;
    }
    const std::string prefix = FolderOf(target_) + "/" + TemporaryPrefix(NameOf(target_));
    // A new file gets the usual bits (0666 less the umask); a replaced one its own.
    fd_ = CreateTemporary(prefix, kind == 0 ? 0666 : 0600, temporary_);
    if (fd_ < 0) {
        const int code = errno;
        temporary_.clear();
        Fail(code);
        return;
    }
    if (kind == S_IFREG) {
        // Only root can give the file back to another owner; the bits come
        // after, as a change of owner clears set-user-ID.
        if (at.info.st_uid != ::geteuid() || at.info.st_gid != ::getegid()) {
            (void)::fchown(fd_, at.info.st_uid, at.info.st_gid);
        }
        ::fchmod(fd_, at.info.st_mode & 07777);
    }
}

void AtomicFileWriter::Fail(int code) {
    errorCode_ = code;
    error_ = SystemFailure("write", path_, code);
    Discard();
}

void AtomicFileWriter::Discard() {
    if (fd_ >= 0 && closeFd_) {
        ::close(fd_);
    }
    fd_ = -1;
    if (!temporary_.empty()) {
        ::unlink(temporary_.c_str());
        temporary_.clear();
    }
    ReleaseLock();
}

void AtomicFileWriter::ReleaseLock() {
    if (lock_ >= 0) {
        ::close(std::exchange(lock_, -1));
    }
}

void AtomicFileWriter::Write(std::span<const std::uint8_t> bytes) {
    if (!error_ && !WriteAll(fd_, bytes.data(), bytes.size())) {
        Fail(errno);
    }
}

Status AtomicFileWriter::Prepare() {
    if (!error_ && fd_ >= 0 && closeFd_) {
        const bool replaces = !temporary_.empty();
        if (replaces && durability_ == Durability::Document && ::fsync(fd_) != 0) {
            Fail(errno);
        } else if (replaces && (lock_ = ::dup(fd_)) < 0) {
            Fail(errno);
        } else if (::close(std::exchange(fd_, -1)) != 0) {
            // Closing tells of what the system could not write; the lock
            // stays with the copy until the rename.
            Fail(errno);
        }
    }
    if (error_) {
        return *error_;
    }
    return {};
}

Status AtomicFileWriter::Commit(int& errorCode) {
    if (Prepare() && !temporary_.empty()) {
        if (::rename(temporary_.c_str(), target_.c_str()) != 0) {
            Fail(errno);
        } else {
            temporary_.clear();
            ReleaseLock();
            if (durability_ == Durability::Document) {
                SyncFolder(FolderOf(target_));
            }
            RemoveStaleTemporaries(FolderOf(target_), NameOf(target_));
        }
    }
    errorCode = error_ ? errorCode_ : 0;
    if (error_) {
        return *error_;
    }
    return {};
}

Status AtomicFileWriter::Commit() {
    int errorCode = 0;
    return Commit(errorCode);
}

Status WriteFileAtomic(const std::string& path, std::span<const std::uint8_t> bytes,
                       Durability durability) {
    int errorCode = 0;
    return WriteFileAtomic(path, bytes, durability, errorCode);
}

Status WriteFileAtomic(const std::string& path, std::span<const std::uint8_t> bytes,
                       Durability durability, int& errorCode) {
    AtomicFileWriter writer(path, durability);
    writer.Write(bytes);
    return writer.Commit(errorCode);
}

} // namespace tessra
