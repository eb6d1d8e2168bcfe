#include "io/file_group.h"

#include <memory>

namespace tessra {

Status WriteFilesAtomic(std::span<const FileContent> files, std::vector<FileOutcome>* outcomes) {
    std::vector<std::unique_ptr<AtomicFileWriter>> writers;
    for (const FileContent& file : files) {
        if (file.leaveIfSame && FileHolds(file.path, file.bytes)) {
            writers.push_back(nullptr);
            continue;
        }
        writers.push_back(file.path == StandardStreamName
                              ? AtomicFileWriter::ToStandardOutput()
                              : std::make_unique<AtomicFileWriter>(file.path, file.durability));
        writers.back()->Write(file.bytes);
    }
    // Every target is looked at, and every file written whole, before any
    // rename: a folder or a dangling link at the second name leaves the first
    // file as it was.
    for (const auto& writer : writers) {
        if (!writer) {
            continue;
        }
        if (Status ready = writer->Prepare(); !ready) {
            return ready;
        }
    }
    std::string written;
    std::size_t count = 0;
    for (std::size_t i = 0; i < writers.size(); ++i) {
        if (!writers[i]) {
            continue;
        }
        if (Status committed = writers[i]->Commit(); !committed) {
            return count == 0 ? committed
                              : Error{committed.message() + " (" + written +
                                      (count == 1 ? " was" : " were") +
                                      " written; the files no longer match.)"};
        }
        written += (count++ == 0 ? "" : " and ") + files[i].path;
    }
    if (outcomes) {
        outcomes->clear();
        for (const auto& writer : writers) {
            outcomes->push_back(writer ? FileOutcome::Written : FileOutcome::Left);
        }
    }
    return {};
}

} // namespace tessra
