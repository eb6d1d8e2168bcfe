#pragma once

// The places a save cannot go: a device that is always full, a real full
// disk, a folder the user may not write in, and a path that is a folder.

#include "bounded_run.h"
#include "temp_dir.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <string>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

// While alive, file permissions hold for this process. Root takes nobody's
// identity, in its effective ids only, so that it can turn back afterwards.
class PermissionsHold {
  public:
    PermissionsHold() {
        if (::geteuid() != 0) {
            holds_ = true;
        } else if (::setegid(Nobody) == 0 && ::seteuid(Nobody) == 0) {
            holds_ = switched_ = true;
        } else {
            (void)::setegid(0);
        }
    }
    ~PermissionsHold() {
        if (switched_) {
            (void)::seteuid(0);
            (void)::setegid(0);
        }
    }
    PermissionsHold(const PermissionsHold&) = delete;
    PermissionsHold& operator=(const PermissionsHold&) = delete;

    explicit operator bool() const { return holds_; }

    static constexpr uid_t Nobody = 65534;

  private:
    bool holds_ = false;
    bool switched_ = false;
};

// A save that writes until something fails must fail at a bound, not eat the
// machine: while alive, files this process writes stop at `fileBytes`, and
// (without AddressSanitizer, which reserves terabytes) its memory at what it
// uses now plus `extraMemory`.
class WriteLimits {
  public:
    explicit WriteLimits(rlim_t fileBytes = 64 << 20, rlim_t extraMemory = rlim_t{2} << 30)
        : signal_(std::signal(SIGXFSZ, SIG_IGN)), // a write past the bound fails instead
          file_(Lower(RLIMIT_FSIZE, fileBytes)),
#ifndef TESSRA_TEST_ADDRESS_SANITIZER
          memory_(Lower(RLIMIT_AS, UsedMemory() + extraMemory)) {
#else
          memory_(((void)extraMemory, Lower(RLIMIT_AS, RLIM_INFINITY))) {
#endif
    }
    ~WriteLimits() {
        ::setrlimit(RLIMIT_FSIZE, &file_);
        ::setrlimit(RLIMIT_AS, &memory_);
        std::signal(SIGXFSZ, signal_);
    }
    WriteLimits(const WriteLimits&) = delete;
    WriteLimits& operator=(const WriteLimits&) = delete;

  private:
    // Lowers a limit (never raises it); the limit as it was.
    static rlimit Lower(int resource, rlim_t to) {
        rlimit was{};
        ::getrlimit(resource, &was);
        const rlimit now{std::min({to, was.rlim_cur, was.rlim_max}), was.rlim_max};
        ::setrlimit(resource, &now);
        return was;
    }
    static rlim_t UsedMemory() {
        rlim_t pages = 0;
        std::ifstream("/proc/self/statm") >> pages;
        return pages * static_cast<rlim_t>(::sysconf(_SC_PAGESIZE));
    }

    void (*signal_)(int);
    rlimit file_, memory_;
};

inline bool IsCharacterDevice(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISCHR(info.st_mode);
}

// Everything under a folder: each regular file's contents, and for anything
// else its kind. A failed save must leave this as it was.
inline std::map<std::string, std::string> FolderSnapshot(const std::filesystem::path& folder) {
    namespace fs = std::filesystem;
    std::map<std::string, std::string> entries;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder)) {
        const std::string name = fs::relative(entry.path(), folder).string();
        const fs::file_status status = entry.symlink_status();
        if (fs::is_regular_file(status)) {
            std::ifstream file(entry.path(), std::ios::binary);
            entries[name] = {std::istreambuf_iterator<char>(file),
                             std::istreambuf_iterator<char>()};
        } else {
            entries[name] = "<kind " + std::to_string(static_cast<int>(status.type())) + ">";
        }
    }
    return entries;
}

enum class Fault { FullDevice, FullDisk, ReadOnlyFolder, Folder };

inline const char* FaultName(Fault fault) {
    constexpr const char* names[] = {"FullDevice", "FullDisk", "ReadOnlyFolder", "Folder"};
    return names[static_cast<int>(fault)];
}

// What the system says a full disk is, which the message must pass on.
inline const char* const NoSpace = "No space left on device";

// Readies one fault in `folder` for a save of a file called `name`, and
// undoes what must be undone at the end. Where the fault has a folder of its
// own, an earlier file holding `earlier` waits there to be replaced.
class SaveFault {
  public:
    SaveFault(Fault fault, const std::filesystem::path& folder, const std::string& name,
              const std::string& earlier)
        : fault_(fault), folder_(folder / "fault") {
        namespace fs = std::filesystem;
        switch (fault) {
        case Fault::FullDevice:
            target_ = FullDevice(folder, name);
            break;
        case Fault::FullDisk:
            MakeFullDisk(name, earlier);
            break;
        case Fault::ReadOnlyFolder:
            MakeReadOnlyFolder(name, earlier);
            break;
        case Fault::Folder:
            target_ = (folder / name).string();
            fs::create_directory(target_);
            WriteText((fs::path(target_) / "kept").string(), "kept");
            break;
        }
    }
    ~SaveFault() {
        std::error_code ignored;
        if (mounted_) {
            ::umount2(folder_.c_str(), MNT_DETACH);
        } else if (fault_ == Fault::ReadOnlyFolder) {
            std::filesystem::permissions(folder_, std::filesystem::perms::owner_all,
                                         std::filesystem::perm_options::add, ignored);
        }
    }
    SaveFault(const SaveFault&) = delete;
    SaveFault& operator=(const SaveFault&) = delete;

    // Why the fault cannot be made here; empty when it is ready.
    const std::string& Unavailable() const { return unavailable_; }
    const std::string& Target() const { return target_; }
    // An earlier file stands at the target, for a save over what was opened.
    bool HasEarlierFile() const {
        return fault_ == Fault::FullDisk || fault_ == Fault::ReadOnlyFolder;
    }
    // Root writes in a read-only folder; the save must run as someone else.
    bool NeedsUnprivilegedUser() const { return fault_ == Fault::ReadOnlyFolder; }
    bool IsFull() const { return fault_ == Fault::FullDevice || fault_ == Fault::FullDisk; }

  private:
    // A device that refuses every write for want of space. A node of its own
    // beside the test's files when one can be made, so that a save which
    // wrongly replaced the device could not harm the system's /dev/full.
    static std::string FullDevice(const std::filesystem::path& folder, const std::string& name) {
        const std::string node = (folder / name).string();
        if (::mknod(node.c_str(), S_IFCHR | 0666, ::makedev(1, 7)) == 0) {
            if (const int fd = ::open(node.c_str(), O_WRONLY); fd >= 0) {
                ::close(fd);
                return node;
            }
            ::unlink(node.c_str()); // a file system that refuses devices
        }
        return "/dev/full";
    }

    // A small file system of its own, filled to the last byte.
    void MakeFullDisk(const std::string& name, const std::string& earlier) {
        std::filesystem::create_directory(folder_);
        const std::string options = "mode=0755,size=" + std::to_string(earlier.size() + 65536);
        if (::mount("tessra-test", folder_.c_str(), "tmpfs", MS_NOSUID | MS_NODEV,
                    options.c_str()) != 0) {
            unavailable_ = "a real full disk needs a small tmpfs, which only root may mount";
            return;
        }
        mounted_ = true;
        target_ = (folder_ / name).string();
        WriteText(target_, earlier);
        // The filler writes until the disk is full; the limits stop it should
        // it be writing somewhere bigger by mistake.
        const WriteLimits limits(1 << 20);
        FILE* filler = std::fopen((folder_ / "filler").c_str(), "wb");
        const std::string block(4096, 'f');
        while (filler && std::fwrite(block.data(), 1, block.size(), filler) == block.size() &&
               std::fflush(filler) == 0) {
        }
        const int code = errno;
        if (filler) {
            std::fclose(filler);
        }
        if (code != ENOSPC) {
            unavailable_ = std::string("the small disk did not fill: ") + std::strerror(code);
        }
    }

    // A folder no one may write in, holding a file anyone may write: so a
    // refused save there is the folder's doing.
    void MakeReadOnlyFolder(const std::string& name, const std::string& earlier) {
        namespace fs = std::filesystem;
        // The test's own folder is private; nobody must be able to pass through it.
        fs::permissions(folder_.parent_path(), fs::perms::others_exec, fs::perm_options::add);
        fs::create_directory(folder_);
        target_ = (folder_ / name).string();
        WriteText(target_, earlier);
        fs::permissions(target_, fs::perms(0666));
        fs::permissions(folder_, fs::perms(0555));
    }

    Fault fault_;
    std::filesystem::path folder_;
    std::string target_;
    std::string unavailable_;
    bool mounted_ = false;
};

// Lets nobody read a file the test made, whatever the umask: a test that
// saves as nobody copies its inputs next to it first, as the checkout may
// lie in a folder only its owner can enter.
inline void LetAnyoneRead(const std::filesystem::path& path) {
    std::filesystem::permissions(path, std::filesystem::perms(0644));
}
