#pragma once

#include "core/base/result.h"
#include "core/export/export_layout.h"
#include "core/export/export_settings.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tessra {

// One block of bytes an export writes, named NAME + Suffix in C and assembly.
struct ExportArray {
    std::string Suffix;
    std::vector<std::uint8_t> Bytes;
};

// Everything a format needs: the symbol name, the region's size in entries,
// the arrays (already compressed) and, for csv, the entry values in order.
struct ExportContent {
    std::string Name;
    int Width = 0; // 0: no NAME_WIDTH and NAME_HEIGHT, as for tile graphics
    int Height = 0;
    std::vector<ExportArray> Arrays;
    OrderedEntries Entries;
    std::string Comment; // one line saying how the data was made
};

// A file an export writes, with its whole content.
struct ExportFile {
    std::string Path;
    std::string Bytes;
};

// Arrays taken rather than copied, as an initializer list would copy them.
template <class... Arrays> std::vector<ExportArray> ArrayList(Arrays&&... arrays) {
    std::vector<ExportArray> list;
    list.reserve(sizeof...(arrays));
    (list.push_back(std::forward<Arrays>(arrays)), ...);
    return list;
}

// The files of one format: raw and csv write outputPath, asm writes it in the
// syntax, c writes STEM.c and STEM.h where STEM is outputPath without a final
// ".c" or ".h".
std::vector<ExportFile> WriteExportFormat(const ExportContent& content, ExportFormat format,
                                          AsmSyntax syntax, std::string_view outputPath);

// The two files of the c format, the source first.
std::vector<std::string> CFormatPaths(std::string_view outputPath);

// The C source names its header in an #include line, which cannot hold a
// double quote or a line break: a header name holding one is refused.
Status CheckCFormatPath(std::string_view outputPath);

} // namespace tessra
