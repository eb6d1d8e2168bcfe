#include "io/file_group.h"

#include <memory>
#include <vector>

namespace tessra {

Status WriteFilesAtomic(std::span<const FileContent> files) {
    std::vector<std::unique_ptr<AtomicFileWriter>> writers;
    for (const FileContent& file : files) {
        writers.push_back(file.path == StandardStreamName
                              ? AtomicFileWriter::ToStandardOutput()
                              : std::make_unique<AtomicFileWriter>(file.path, file.durability));
        writers.back()->Write(file.bytes);
    }
    // Every target is looked at, and every file written whole, before any
    // rename: a folder or a dangling link at the second name leaves the first
    // file as it was.
    for (const auto& writer : writers) {
        if (Status ready = writer->Prepare(); !ready) {
            return ready;
        }
    }
    std::string written;
    for (std::size_t i = 0; i < writers.size(); ++i) {
        if (Status committed = writers[i]->Commit(); !committed) {
            return i == 0
                       ? committed
                       : Error{committed.message() + " (" + written + (i == 1 ? " was" : " were") +
                               " written; the files no longer match.)"};
        }
        written += (i == 0 ? "" : " and ") + files[i].path;
    }
    return {};
}

} // namespace tessra
