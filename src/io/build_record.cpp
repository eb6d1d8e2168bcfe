#include "io/build_record.h"

#include "io/file_group.h"
#include "version.h"

#include <charconv>

namespace tessra {

namespace {

constexpr ReadLimit BuildRecordLimit{64u << 20, "a build record"};
constexpr std::string_view RecordName = ".tessra-build";

// The first line: the record's own form and the program that wrote it, whose
// exports another version may write otherwise.
std::string FirstLine() {
    return "TESSRA build record 1 " + std::string(VersionString);
}

std::optional<std::int64_t> ReadNumber(std::string_view& line) {
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(line.data(), line.data() + line.size(), value);
    if (error != std::errc{} || end == line.data() + line.size() || *end != ' ') {
        return std::nullopt;
    }
    line.remove_prefix(static_cast<std::size_t>(end - line.data()) + 1);
    return value;
}

// "- PATH" for a file that did not exist, else "DEVICE INODE SIZE MODIFIED CHANGED PATH".
std::optional<BuiltFile> ReadFileLine(std::string_view line) {
    if (line.starts_with("- ")) {
        return BuiltFile{std::string(line.substr(2)), std::nullopt};
    }
    std::int64_t fields[5] = {};
    for (std::int64_t& field : fields) {
        const auto number = ReadNumber(line);
        if (!number) {
            return std::nullopt;
        }
        field = *number;
    }
    return BuiltFile{std::string(line), FileIdentity{static_cast<std::uint64_t>(fields[0]),
                                                     static_cast<std::uint64_t>(fields[1]),
                                                     fields[2], fields[3], fields[4]}};
}

void WriteFileLine(std::string& out, const char* kind, const BuiltFile& file) {
    out += kind;
    if (!file.Identity) {
        out += " -";
    }
    if (const auto& id = file.Identity) {
        for (const std::int64_t field :
             {static_cast<std::int64_t>(id->device), static_cast<std::int64_t>(id->inode), id->size,
              id->modified, id->changed}) {
            out += ' ' + std::to_string(field);
        }
    }
    out += ' ' + file.Path + '\n';
}

} // namespace

std::string BuildRecordPath(const std::string& folder) {
    return folder + "/" + std::string(RecordName);
}

BuildRecord ReadBuildRecord(const std::string& folder) {
    const Result<Bytes> bytes = ReadFileBytes(BuildRecordPath(folder), BuildRecordLimit);
    if (!bytes) {
        return {};
    }
    std::string_view text(reinterpret_cast<const char*>(bytes.value().data()),
                          bytes.value().size());
    BuildRecord record;
    for (bool first = true; !text.empty(); first = false) {
        const std::size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (first) {
            if (line != FirstLine()) {
                return {};
            }
        } else if (line.starts_with("map ")) {
            record.push_back({std::string(line.substr(4)), {}, {}, {}, {}});
        } else if (record.empty()) {
            return {};
        } else if (line.starts_with("bank ")) {
            record.back().Bank = line.substr(5);
        } else if (const std::size_t space = line.find(' '); space != std::string_view::npos) {
            const std::string_view kind = line.substr(0, space);
            std::vector<BuiltFile>* files = kind == "in"       ? &record.back().Inputs
                                            : kind == "out"    ? &record.back().Outputs
                                            : kind == "shared" ? &record.back().Shared
                                                               : nullptr;
            const std::optional<BuiltFile> file = ReadFileLine(line.substr(space + 1));
            if (!files || !file) {
                return {};
            }
            files->push_back(*file);
        } else {
            return {};
        }
    }
    return record;
}

Status WriteBuildRecord(const std::string& folder, const BuildRecord& record) {
    std::string text = FirstLine() + "\n";
    for (const BuiltMap& map : record) {
        text += "map " + map.Map + '\n';
        if (!map.Bank.empty()) {
            text += "bank " + map.Bank + '\n';
        }
        for (const BuiltFile& file : map.Inputs) {
            WriteFileLine(text, "in", file);
        }
        for (const BuiltFile& file : map.Outputs) {
            WriteFileLine(text, "out", file);
        }
        for (const BuiltFile& file : map.Shared) {
            WriteFileLine(text, "shared", file);
        }
    }
    const FileContent content{BuildRecordPath(folder),
                              {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()},
                              Durability::Derived,
                              true};
    return WriteFilesAtomic(std::span(&content, 1));
}

BuiltFile FindFile(const std::string& path) {
    return {path, IdentifyFile(path)};
}

bool StillAsBuilt(const BuiltMap& map) {
    for (const auto* files : {&map.Inputs, &map.Outputs, &map.Shared}) {
        for (const BuiltFile& file : *files) {
            if (IdentifyFile(file.Path) != file.Identity) {
                return false;
            }
        }
    }
    return true;
}

} // namespace tessra
