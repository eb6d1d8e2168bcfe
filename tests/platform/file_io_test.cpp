#include "platform/file_io.h"
#include "temp_dir.h"

#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>

using namespace tessra;

namespace {

std::span<const std::uint8_t> AsBytes(const std::string& text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

// Caps the size of any file this process writes, as a full disk would.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &saved_);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &saved_); }

  private:
    rlimit saved_{};
};

} // namespace

TEST(FileIo, AFailedWriteLeavesTheOldFileWholeAndNoTemporaryFile) {
    TempDir dir;
    const QString path = ToQString(dir.File("a b.dat"));
    ASSERT_TRUE(WriteFileAtomic(path, AsBytes("an older, longer map")).ok());
    ASSERT_TRUE(WriteFileAtomic(path, AsBytes("the old map")).ok());
    Status written;
    {
        const FileSizeLimit limit(1024);
        written = WriteFileAtomic(path, AsBytes(std::string(100000, 'x')));
    }
    EXPECT_FALSE(written.ok());
    const auto bytes = ReadFileBytes(path);
    ASSERT_TRUE(bytes.ok()) << bytes.message();
    EXPECT_EQ(std::string(bytes.value().begin(), bytes.value().end()), "the old map");
    const auto entries = std::distance(std::filesystem::directory_iterator(dir.Path()),
                                       std::filesystem::directory_iterator());
    EXPECT_EQ(entries, 1) << "a temporary file was left behind";
}

TEST(FileIo, FailuresNameTheFileAndCreateNothing) {
    TempDir dir;
    const std::string missing = dir.File("no folder/out.dat");
    const Status written = WriteFileAtomic(ToQString(missing), AsBytes("x"));
    EXPECT_EQ(written.message(), "Cannot write " + missing + ": No such file or directory");
    EXPECT_FALSE(std::filesystem::exists(dir.File("no folder")));
    const auto read = ReadFileBytes(ToQString(missing));
    EXPECT_EQ(read.message().rfind("Cannot read " + missing + ": ", 0), 0u) << read.message();
}
