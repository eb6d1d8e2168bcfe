#include "bounded_run.h"
#include "io/file_group.h"
#include "io/file_io.h"
#include "save_faults.h"
#include "temp_dir.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <numeric>
#include <sys/stat.h>
#include <sys/wait.h>

using namespace tessra;
namespace fs = std::filesystem;

namespace {

std::span<const std::uint8_t> AsBytes(const std::string& text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

std::string AsText(const Bytes& bytes) {
    return {bytes.begin(), bytes.end()};
}

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// The hidden temporary files of a save of `name` in `folder`.
std::vector<std::string> Temporaries(const fs::path& folder, const std::string& name) {
    std::vector<std::string> found;
    for (const auto& entry : fs::directory_iterator(folder)) {
        const std::string file = entry.path().filename().string();
        if (file.starts_with("." + name + ".tessra-tmp-")) {
            found.push_back(file);
        }
    }
    return found;
}

mode_t ModeOf(const std::string& path) {
    struct stat info {};
    ::stat(path.c_str(), &info);
    return info.st_mode & 07777;
}

} // namespace

// A save goes through a hidden temporary file beside the target: a write that
// fails part way (here at a file size limit), or a writer dropped without
// Commit, leaves the old file and no temporary one. Temporaries that a killed
// save left behind are removed by the next save of the same file, and only those.
TEST(AtomicFileWriter, TemporaryFiles) {
    TempDir dir;
    const std::string path = dir.File("out.dat");
    ASSERT_TRUE(WriteFileAtomic(path, AsBytes("the old map"), Durability::Document).ok());
    {
        const WriteLimits limits(1024);
        EXPECT_FALSE(WriteFileAtomic(path, AsBytes(std::string(100000, 'x')), Durability::Derived));
    }
    {
        AtomicFileWriter writer(path);
        writer.Write(AsBytes("never committed"));
        EXPECT_EQ(Temporaries(dir.Path(), "out.dat").size(), 1u);
    }
    EXPECT_EQ(ReadText(path), "the old map");
    EXPECT_TRUE(Temporaries(dir.Path(), "out.dat").empty());

    const std::string stale[] = {".out.dat.tessra-tmp-AbC123", ".out.dat.tessra-tmp-zz9ZZ9"};
    const std::string kept[] = {".out.dat.tessra-tmp-AbC1234", ".other.dat.tessra-tmp-AbC123",
                                "out.dat.tessra-tmp-AbC123"};
    for (const auto& name : {stale[0], stale[1], kept[0], kept[1], kept[2]}) {
        WriteText(dir.File(name), "left by a killed save");
    }
    fs::create_symlink("out.dat", dir.File(".out.dat.tessra-tmp-link00"));
    ASSERT_TRUE(WriteFileAtomic(path, AsBytes("map"), Durability::Derived).ok());
    for (const auto& name : stale) {
        EXPECT_FALSE(fs::exists(dir.File(name))) << name;
    }
    for (const auto& name : kept) {
        EXPECT_TRUE(fs::exists(dir.File(name))) << name;
    }
    EXPECT_TRUE(fs::is_symlink(dir.File(".out.dat.tessra-tmp-link00")));
}

// Two processes saving one file at once both succeed, and the file is one of
// theirs, whole: neither's clean-up takes the other's temporary file.
TEST(AtomicFileWriter, ConcurrentSavesOfOneFile) {
    TempDir dir;
    const std::string path = dir.File("map.tessra");
    const std::string contents[] = {std::string(1 << 20, 'a'), std::string(1 << 19, 'b')};
    for (int pair = 0; pair < 30; ++pair) {
        pid_t children[2];
        for (int i = 0; i < 2; ++i) {
            if ((children[i] = ::fork()) == 0) {
                const Status written =
                    WriteFileAtomic(path, AsBytes(contents[i]), Durability::Derived);
                ::_exit(written ? 0 : 1);
            }
        }
        for (const pid_t child : children) {
            int status = -1;
            ::waitpid(child, &status, 0);
            EXPECT_EQ(status, 0) << "pair " << pair;
        }
        const std::string now = ReadText(path);
        EXPECT_TRUE(now == contents[0] || now == contents[1]) << "pair " << pair;
    }
    EXPECT_TRUE(Temporaries(dir.Path(), "map.tessra").empty());
}

// Files written as a group are written whole or not at all: a second name that
// cannot be written leaves the first as it was, and no temporary file.
TEST(WriteFilesAtomic, AllOrNothing) {
    for (const bool folder : {true, false}) { // else a dangling link
        TempDir dir;
        WriteText(dir.File("map.tmx"), "old");
        if (folder) {
            fs::create_directory(dir.File("b.png"));
        } else {
            fs::create_symlink("gone.png", dir.File("b.png"));
        }
        const std::string text = "new";
        const FileContent files[] = {{dir.File("map.tmx"), AsBytes(text)},
                                     {dir.File("b.png"), AsBytes(text)}};
        const auto before = FolderSnapshot(dir.Path());
        EXPECT_FALSE(WriteFilesAtomic(files).ok()) << folder;
        EXPECT_EQ(FolderSnapshot(dir.Path()), before) << folder;
    }
}

// A save keeps the replaced file's permission bits.
TEST(AtomicFileWriter, KeepsPermissionBits) {
    TempDir dir;
    const std::string path = dir.File("map.tessra");
    for (const mode_t mode : {0444, 0600, 0640, 0755, 02775}) {
        fs::remove(path);
        WriteText(path, "old");
        ::chmod(path.c_str(), mode);
        ASSERT_TRUE(WriteFileAtomic(path, AsBytes("new"), Durability::Document).ok());
        EXPECT_EQ(ModeOf(path), mode) << std::oct << mode;
        EXPECT_EQ(ReadText(path), "new");
    }
}

// A symbolic link at the output is followed only when it belongs to the
// user or to root, and never when it leads nowhere.
TEST(AtomicFileWriter, SymbolicLinks) {
    struct Case {
        const char* name;
        const char* points;  // where the link points, from the folder
        bool othersLink;     // the link belongs to nobody
        const char* refusal; // empty when the save goes through to target.dat
    };
    const Case cases[] = {
        {"own link", "target.dat", false, ""},
        {"own link to an own link", "link2", false, ""},
        {"another user's link", "target.dat", true, "belongs to another user"},
        {"dangling link", "missing.dat", false, "which does not exist"},
    };
    for (const Case& c : cases) {
        TempDir dir;
        WriteText(dir.File("target.dat"), "old");
        fs::create_symlink("target.dat", dir.File("link2"));
        const std::string link = dir.File("link");
        fs::create_symlink(c.points, link);
        if (c.othersLink &&
            ::lchown(link.c_str(), PermissionsHold::Nobody, PermissionsHold::Nobody) != 0) {
            continue; // only root can give a link away
        }
        const Status written = WriteFileAtomic(link, AsBytes("new"), Durability::Document);
        EXPECT_EQ(written.ok(), *c.refusal == 0) << c.name << ": " << written.message();
        EXPECT_TRUE(Contains(written.message(), c.refusal)) << c.name << ": " << written.message();
        EXPECT_EQ(ReadText(dir.File("target.dat")), *c.refusal ? "old" : "new") << c.name;
        EXPECT_TRUE(fs::is_symlink(link)) << c.name;
        EXPECT_FALSE(fs::exists(dir.File("missing.dat"))) << c.name;
    }
}

// Reading takes what says size 0 but has content (files of /proc) whole, and
// names the file in every refusal. What is no regular file, or too large, is
// tried against every reader in the hostile input table.
TEST(ReadFileBytes, ReadsWholeFilesAndNamesTheFile) {
    TempDir dir;
    WriteText(dir.File("small"), "twelve bytes");
    WriteText(dir.File("empty"), "");
    const std::pair<std::string, std::string> cases[] = {
        {dir.File("small"), "ok:twelve bytes"},
        {dir.File("empty"), "ok:"},
        {"/proc/self/status", "ok:Name:"}, // says size 0
        {dir.File("missing"), "Cannot read " + dir.File("missing") + ": No such file"},
        {dir.File("small") + '\0' + "x", ": the name holds a zero byte"},
    };
    for (const auto& [path, expected] : cases) {
        const Result<Bytes> read = ReadFileBytes(path, ReadLimit{1 << 20, "a test file"});
        const std::string said = read ? "ok:" + AsText(read.value()) : read.message();
        EXPECT_TRUE(Contains(said, expected)) << said;
    }
}

// A mapped file that shrinks while it is read reads as zeros from there on
// and is reported as changed, instead of ending the process with SIGBUS.
TEST(MappedFile, ShrinkingFileIsReportedAsChanged) {
    TempDir dir;
    const std::string path = dir.File("shrinks.pcx");
    WriteText(path, std::string(256 * 1024, '\x01'));
    const std::string said = RunBounded([&] {
        MappedFile file;
        if (Status opened = file.Open(path, PictureFileLimit); !opened) {
            return opened.message();
        }
        const auto bytes = file.bytes();
        const long before = std::accumulate(bytes.begin(), bytes.begin() + 4096, 0L);
        if (::truncate(path.c_str(), 4096) != 0) {
            return std::string("truncate failed");
        }
        const long after = std::accumulate(bytes.begin(), bytes.end(), 0L);
        return std::to_string(before) + " " + std::to_string(after) + " " +
               file.CheckUnchanged().message();
    });
    EXPECT_EQ(said, "4096 4096 Cannot read " + path + ": it changed while it was read");
}

// An output that already holds its bytes keeps its time and inode, so make
// remakes nothing made from it; any other is replaced.
TEST(WriteFilesAtomic, LeavesAFileThatHoldsItsBytes) {
    TempDir dir;
    const std::string same = dir.File("same"), longer = dir.File("longer"), fresh = dir.File("new");
    WriteText(same, "abc");
    WriteText(longer, "abcd");
    const std::optional<FileIdentity> before = IdentifyFile(same);
    const std::string bytes = "abc";
    const std::span<const std::uint8_t> abc(reinterpret_cast<const std::uint8_t*>(bytes.data()), 3);
    const FileContent files[] = {{same, abc, Durability::Derived, true},
                                 {longer, abc, Durability::Derived, true},
                                 {fresh, abc, Durability::Derived, true}};
    std::vector<FileOutcome> outcomes;
    ASSERT_TRUE(WriteFilesAtomic(files, &outcomes).ok());
    EXPECT_EQ(outcomes,
              (std::vector{FileOutcome::Left, FileOutcome::Written, FileOutcome::Written}));
    EXPECT_EQ(IdentifyFile(same), before);
    EXPECT_EQ(ReadText(longer), "abc");
    EXPECT_FALSE(FileHolds(dir.File("none"), {}));
}
