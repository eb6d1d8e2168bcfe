#include "io/file_reading.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <sys/mman.h>
#include <unistd.h>

namespace tessra {

// The mapping that the bus error handler may mend.
struct MappedFile::Guard {
    std::uint8_t* start = nullptr;
    std::size_t length = 0;
    std::uintptr_t pageSize = 0;
    volatile std::sig_atomic_t vanished = 0;
    struct sigaction previous {};
};

namespace {

// A signal handler reaches only process-wide state: the one guarded mapping.
std::atomic<MappedFile::Guard*> guarded{nullptr};

// A read past the end of a file that shrank raises SIGBUS. Within the guarded
// mapping, the pages from there on are replaced by zeros and the read goes
// on; any other bus error is handed back to the action there was before.
void OnBusError(int, siginfo_t* info, void*) {
    MappedFile::Guard* guard = guarded.load();
    auto* address = static_cast<std::uint8_t*>(info->si_addr);
    if (guard && address >= guard->start && address < guard->start + guard->length) {
        const auto page = reinterpret_cast<std::uintptr_t>(address) & ~(guard->pageSize - 1);
        auto* from = reinterpret_cast<std::uint8_t*>(page);
        void* zeros = ::mmap(from, static_cast<std::size_t>(guard->start + guard->length - from),
                             PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0);
        if (zeros != MAP_FAILED) {
            guard->vanished = 1;
            return;
        }
    }
    // The fault repeats under the earlier action.
    if (guard) {
        ::sigaction(SIGBUS, &guard->previous, nullptr);
    } else {
        std::signal(SIGBUS, SIG_DFL);
    }
}

} // namespace

MappedFile::MappedFile() = default;

MappedFile::~MappedFile() {
    Close();
}

void MappedFile::Close() {
    if (guard_) {
        guarded.store(nullptr);
        ::sigaction(SIGBUS, &guard_->previous, nullptr);
        guard_.reset();
    }
    if (mapping_) {
        ::munmap(mapping_, bytes_.size());
        mapping_ = nullptr;
    }
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    copy_.clear();
    bytes_ = {};
}

Status MappedFile::Open(const std::string& path, const ReadLimit& limit) {
    Close();
    path_ = path;
    if (auto refusal = RefuseName("read", path)) {
        return *refusal;
    }
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return SystemFailure("read", path, errno);
    }
    if (auto refusal = RefuseToRead(path, info, limit)) {
        return *refusal;
    }
    fd_ = OpenForReading(path);
    if (fd_ < 0 || ::fstat(fd_, &info) != 0) {
        return SystemFailure("read", path, errno);
    }
    if (auto refusal = RefuseToRead(path, info, limit)) {
        return *refusal;
    }
    size_ = info.st_size;
    modified_ = ModifiedTime(info);

    // Files of /proc say 0 and have content; they are read, as is any file
    // while another mapping holds the guard.
    auto guard = std::make_unique<Guard>();
    MappedFile::Guard* none = nullptr;
    void* mapping = MAP_FAILED;
    if (size_ > 0 && guarded.compare_exchange_strong(none, guard.get())) {
        mapping = ::mmap(nullptr, static_cast<std::size_t>(size_), PROT_READ, MAP_PRIVATE, fd_, 0);
        if (mapping == MAP_FAILED) {
            guarded.store(nullptr);
        }
    }
    if (mapping == MAP_FAILED) {
        Result<Bytes> read = ReadToEnd(fd_, path, limit, info);
        if (!read) {
            return Error{read.message()};
        }
        copy_ = std::move(read.value());
        bytes_ = copy_;
        return {};
    }
    mapping_ = mapping;
    guard->start = static_cast<std::uint8_t*>(mapping);
    guard->length = static_cast<std::size_t>(size_);
    guard->pageSize = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
    struct sigaction action {};
    action.sa_sigaction = OnBusError;
    action.sa_flags = SA_SIGINFO;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGBUS, &action, &guard->previous);
    guard_ = std::move(guard);
    bytes_ = {guard_->start, guard_->length};
    return {};
}

Status MappedFile::CheckUnchanged() const {
    if (!guard_) {
        return {}; // read whole, and checked then
    }
    struct stat after {};
    if (guard_->vanished || ::fstat(fd_, &after) != 0 || after.st_size != size_ ||
        ModifiedTime(after) != modified_) {
        return FileFailure("read", path_, "it changed while it was read");
    }
    return {};
}

} // namespace tessra
