#pragma once

// The places a save cannot go: a full disk, a folder the user may not write
// in, and a path that is a folder.

#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <ostream>
#include <string>
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

  private:
    static constexpr uid_t Nobody = 65534;
    bool holds_ = false;
    bool switched_ = false;
};

// A device that refuses every write for want of space. A node of its own
// beside the test's files when one can be made, so that a save which wrongly
// replaced the device could not harm the system's /dev/full; else that one.
inline std::string FullDevice(const std::filesystem::path& folder, const std::string& name) {
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

// A folder no one may write in, holding a file anyone may write: so a refused
// save there is the folder's doing. Writable again when done, so that it can
// be removed.
class ReadOnlyFolder {
  public:
    ReadOnlyFolder(const std::filesystem::path& folder, const std::string& fileName,
                   const std::string& contents)
        : folder_(folder) {
        namespace fs = std::filesystem;
        // The test's own folder is private; nobody must be able to pass through it.
        fs::permissions(folder.parent_path(), fs::perms::others_exec, fs::perm_options::add);
        fs::create_directory(folder);
        const std::string path = File(fileName);
        if (FILE* file = std::fopen(path.c_str(), "wb")) {
            std::fwrite(contents.data(), 1, contents.size(), file);
            std::fclose(file);
        }
        fs::permissions(path, fs::perms::all & ~(fs::perms::owner_exec | fs::perms::group_exec |
                                                 fs::perms::others_exec));
        fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec |
                                    fs::perms::group_read | fs::perms::group_exec |
                                    fs::perms::others_read | fs::perms::others_exec);
    }
    ~ReadOnlyFolder() {
        std::error_code ignored;
        std::filesystem::permissions(folder_, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
    }
    ReadOnlyFolder(const ReadOnlyFolder&) = delete;
    ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;

    std::string File(const std::string& name) const { return (folder_ / name).string(); }

  private:
    std::filesystem::path folder_;
};

enum class Fault { FullDisk, ReadOnlyFolder, Folder };

inline const char* FaultName(Fault fault) {
    constexpr const char* names[] = {"FullDisk", "ReadOnlyFolder", "Folder"};
    return names[static_cast<int>(fault)];
}

// How test listings show a fault.
inline void PrintTo(Fault fault, std::ostream* out) {
    *out << FaultName(fault);
}

// Readies `fault` in `folder` for a save of a file called `name`, and gives
// the path to save to. For ReadOnlyFolder that is an earlier file holding
// `earlier`, in a folder `locked` keeps read-only; for Folder, a folder
// holding one file.
inline std::string PrepareFault(Fault fault, const std::filesystem::path& folder,
                                const std::string& name, const std::string& earlier,
                                std::optional<ReadOnlyFolder>& locked) {
    switch (fault) {
    case Fault::FullDisk:
        return FullDevice(folder, name);
    case Fault::ReadOnlyFolder:
        locked.emplace(folder / "locked", name, earlier);
        return locked->File(name);
    case Fault::Folder:
        break;
    }
    std::filesystem::create_directory(folder / name);
    std::ofstream(folder / name / "kept") << "kept";
    return (folder / name).string();
}

// What the system says a full disk is, which the message must pass on.
inline const char* const NoSpace = "No space left on device";
