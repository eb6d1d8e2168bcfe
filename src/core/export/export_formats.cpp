#include "core/export/export_formats.h"

#include "core/export/export_asm.h"

#include <charconv>

namespace tessra {

namespace {

constexpr std::size_t BytesPerLine = 16;

void AppendHexByte(std::string& out, std::uint8_t byte) {
    constexpr char Digits[] = "0123456789ABCDEF";
    out += "0x";
    out += Digits[byte >> 4];
    out += Digits[byte & 0x0F];
}

void AppendNumber(std::string& out, std::uint64_t value) {
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    out.append(digits, end);
}

std::string WriteRaw(const ExportContent& content) {
    std::size_t size = 0;
    for (const ExportArray& array : content.Arrays) {
        size += array.Bytes.size();
    }
    std::string out;
    out.reserve(size);
    for (const ExportArray& array : content.Arrays) {
        out.append(reinterpret_cast<const char*>(array.Bytes.data()), array.Bytes.size());
    }
    return out;
}

std::string WriteCsv(const OrderedEntries& entries) {
    std::string out;
    out.reserve(entries.Values.size() * 4);
    for (std::size_t i = 0; i < entries.Values.size(); ++i) {
        AppendNumber(out, entries.Values[i]);
        out += (i + 1) % entries.LineLength == 0 ? '\n' : ',';
    }
    return out;
}

std::string FileName(std::string_view path) {
    const std::size_t slash = path.find_last_of("/\\");
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string Define(const std::string& name, std::size_t value) {
    return "#define " + name + " " + std::to_string(value) + "\n";
}

std::string WriteCHeader(const ExportContent& content) {
    const std::string& name = content.Name;
    std::string out = "/* " + content.Comment + " */\n";
    out += "#ifndef " + name + "_INCLUDED\n#define " + name + "_INCLUDED\n\n";
    if (content.Width > 0) {
        out += Define(name + "_WIDTH", content.Width) + Define(name + "_HEIGHT", content.Height);
    }
    for (const ExportArray& array : content.Arrays) {
        out += Define(name + array.Suffix + "_SIZE", array.Bytes.size());
    }
    out += "\n";
    for (const ExportArray& array : content.Arrays) {
        const std::string symbol = name + array.Suffix;
        out += "extern const unsigned char " + symbol + "[" + symbol + "_SIZE];\n";
    }
    return out + "\n#endif\n";
}

std::string WriteCSource(const ExportContent& content, const std::string& headerName) {
    std::string out = "/* " + content.Comment + " */\n#include \"" + headerName + "\"\n";
    for (const ExportArray& array : content.Arrays) {
        // Word-aligned where the compiler allows, for DMA and the BIOS unpackers.
        out += "\n#if defined(__GNUC__)\n__attribute__((aligned(4)))\n#endif\n";
        out += "const unsigned char " + content.Name + array.Suffix + "[] = {\n";
        for (std::size_t i = 0; i < array.Bytes.size(); ++i) {
            out += i % BytesPerLine == 0 ? "    " : " ";
            AppendHexByte(out, array.Bytes[i]);
            out += (i + 1) % BytesPerLine == 0 || i + 1 == array.Bytes.size() ? ",\n" : ",";
        }
        out += "};\n";
    }
    return out;
}

// A list that takes its files rather than copying them: a map's file can
// hold megabytes.
template <class... Files> std::vector<ExportFile> FileList(Files&&... files) {
    std::vector<ExportFile> list;
    list.reserve(sizeof...(files));
    (list.push_back(std::forward<Files>(files)), ...);
    return list;
}

} // namespace

std::vector<std::string> CFormatPaths(std::string_view outputPath) {
    std::string stem(outputPath);
    if (stem.ends_with(".c") || stem.ends_with(".h")) {
        stem.resize(stem.size() - 2);
    }
    return {stem + ".c", stem + ".h"};
}

Status CheckCFormatPath(std::string_view outputPath) {
    if (FileName(CFormatPaths(outputPath)[1]).find_first_of("\"\r\n") != std::string::npos) {
        return Error{"The C header's name cannot hold a double quote or a line break, which its "
                     "#include line cannot name; choose another output name."};
    }
    return {};
}

std::vector<ExportFile> WriteExportFormat(const ExportContent& content, ExportFormat format,
                                          AsmSyntax syntax, std::string_view outputPath) {
    const std::string path(outputPath);
    switch (format) {
    case ExportFormat::Raw:
        return FileList(ExportFile{path, WriteRaw(content)});
    case ExportFormat::Csv:
        return FileList(ExportFile{path, WriteCsv(content.Entries)});
    case ExportFormat::Asm:
        return FileList(ExportFile{path, WriteAsmSource(content, syntax)});
    case ExportFormat::C:
        break;
    }
    const std::vector<std::string> paths = CFormatPaths(outputPath);
    return FileList(ExportFile{paths[0], WriteCSource(content, FileName(paths[1]))},
                    ExportFile{paths[1], WriteCHeader(content)});
}

} // namespace tessra
