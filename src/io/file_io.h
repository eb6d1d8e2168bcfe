#pragma once

// The file layer of the editor and the command line, in plain C++ over POSIX.
// Paths are bytes, passed to the system as they are: a name that is not
// UTF-8 is read and written under its own name. Every message names the file
// (shortened when long) and the reason.

#include "core/base/result.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace tessra {

using Bytes = std::vector<std::uint8_t>;

// The most a file of one kind may hold. A larger or endless input is refused
// before it is read past this.
struct ReadLimit {
    std::size_t bytes;
    const char* kind; // "a project file", for the message
};

inline constexpr ReadLimit ProjectFileLimit{64u << 20, "a project file"};
inline constexpr ReadLimit CsvFileLimit{64u << 20, "a CSV file"};
inline constexpr ReadLimit PictureFileLimit{256u << 20, "a picture"};
inline constexpr ReadLimit StampFileLimit{1u << 20, "a stamp file"};
inline constexpr ReadLimit TiledMapLimit{64u << 20, "a Tiled map"};

// Reads a whole file. Only regular files are read: a folder, a pipe or a
// device is refused at once, as reading one could block or never end. A file
// above the limit is refused, and so is one that changes while it is read.
// errorCode receives the system's error number, or 0 for refusals of our own.
Result<Bytes> ReadFileBytes(const std::string& path, const ReadLimit& limit);
Result<Bytes> ReadFileBytes(const std::string& path, const ReadLimit& limit, int& errorCode);

// The first bytes of a regular file, at most `size` of them, checked as above.
Result<Bytes> ReadFileHead(const std::string& path, std::size_t size);

// A CSV file as the import reads it: one that cannot be opened reads as no
// bytes, as an empty one does ("File not found"); one refused for what it is
// (a folder, a pipe, too large) says why.
Result<Bytes> ReadCsvFile(const std::string& path);

// Reads standard input to its end, under the same limit.
Result<Bytes> ReadStandardInput(const ReadLimit& limit);

// A file mapped into memory rather than copied, for large pictures. Should the
// file shrink while it is mapped, the part that vanished reads as zeros
// instead of ending the process, and CheckUnchanged reports it. Only one
// mapping at a time is guarded; another is read into memory instead.
class MappedFile {
  public:
    MappedFile();
    ~MappedFile();
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    // Refuses what ReadFileBytes refuses.
    Status Open(const std::string& path, const ReadLimit& limit);
    std::span<const std::uint8_t> bytes() const { return bytes_; }
    // Once the bytes have been used: refused when the file changed meanwhile.
    Status CheckUnchanged() const;

    struct Guard;

  private:
    void Close();

    std::string path_;
    int fd_ = -1;
    void* mapping_ = nullptr;
    std::unique_ptr<Guard> guard_;
    Bytes copy_;
    std::span<const std::uint8_t> bytes_;
    std::int64_t size_ = 0;
    std::int64_t modified_ = 0; // nanoseconds
};

// How much a write protects against a crash.
enum class Durability {
    Document, // the user's own work: on disk before it replaces the old file
    Derived,  // can be made again: replaced whole, but not synced
};

// Writes a file a piece at a time through a hidden temporary file beside it,
// `.NAME.tessra-tmp-XXXXXX`, which Commit renames over the target: a failure
// leaves the old file whole, and a writer dropped without Commit leaves the
// target as it was. The new file keeps the old one's permission bits. A
// device or a pipe is written in place and stays what it was. A symbolic link
// is followed only when it belongs to the user running TESSRA or to root, and
// never when it points nowhere. A successful save removes temporary files
// that an earlier, killed save of the same file left behind; a temporary file
// is locked while it is written, so that a save of the same file running at
// the same time keeps its own.
class AtomicFileWriter {
  public:
    explicit AtomicFileWriter(std::string path, Durability durability = Durability::Document);
    ~AtomicFileWriter();
    // Standard output, written as it comes, like a pipe.
    static std::unique_ptr<AtomicFileWriter> ToStandardOutput();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    // After a failure, later pieces are dropped and Commit reports the first.
    void Write(std::span<const std::uint8_t> bytes);
    // All of Commit but the rename: the bytes written, and synced for a
    // document. A group of files is prepared whole before any is renamed.
    Status Prepare();
    // errorCode receives the system's error number, or 0 for refusals of our
    // own (a link of another user's, say), for messages that show a code.
    Status Commit(int& errorCode);
    Status Commit();

  private:
    AtomicFileWriter() = default;
    void Open();
    void Fail(int code);
    void Discard();
    void ReleaseLock();

    std::string path_;   // as named, for messages
    std::string target_; // the file replaced: path_, or where its links lead
    std::string temporary_;
    Durability durability_ = Durability::Document;
    int fd_ = -1;
    int lock_ = -1; // holds the temporary's lock once fd_ is closed
    bool closeFd_ = true;
    std::optional<Error> error_;
    int errorCode_ = 0;
};

// WriteFileAtomic a piece at a time, in one call.
Status WriteFileAtomic(const std::string& path, std::span<const std::uint8_t> bytes,
                       Durability durability);
Status WriteFileAtomic(const std::string& path, std::span<const std::uint8_t> bytes,
                       Durability durability, int& errorCode);

// Whether something exists under the name (links followed).
bool FileExists(const std::string& path);

// What tells one version of a file from another without reading it: where
// it lies on the disk, its size and its times (the change time, which no
// program sets back, as well as the modification time). Writing or replacing
// the file changes it.
struct FileIdentity {
    std::uint64_t device = 0, inode = 0;
    std::int64_t size = 0, modified = 0, changed = 0; // times in nanoseconds

    bool operator==(const FileIdentity&) const = default;
};

// The identity of the file under the name (links followed); none when there
// is nothing there.
std::optional<FileIdentity> IdentifyFile(const std::string& path);

// Whether the name is a regular file that holds exactly these bytes: a write
// of them would change nothing.
bool FileHolds(const std::string& path, std::span<const std::uint8_t> bytes);

// Refuses to write `out` when it is the same file as one of `inputs` (links
// followed): a save must not destroy what it was made from. Names that do
// not exist, and "-" for a standard stream, are never the same file.
Status CheckNotAnInput(const std::string& out, std::span<const std::string> inputs);

} // namespace tessra
