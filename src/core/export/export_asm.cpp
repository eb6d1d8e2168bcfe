#include "core/export/export_asm.h"

#include <array>

namespace tessra {

namespace {

// How one assembler spells each part. In the texts, {name} is a symbol's name,
// {value} a number and {list} a comma-separated list of symbols.
struct AsmDialect {
    std::string_view commentOpen, commentClose;
    std::string_view constant;     // defines {name} as {value}
    std::string_view exports;      // makes {list} global; empty when the forms above already do
    std::string_view constantSize; // follows a constant's name in {list}
    bool labelGlobal;              // the label form alone makes the label global
    std::string_view open;         // before the data, given the map's {name}
    std::string_view label;        // starts the bytes of {name}
    std::string_view data;         // the directive before a line of bytes
    std::string_view hex;          // the prefix of a hexadecimal byte
    std::string_view close;        // after the data, given the map's {name}
};

// Each source keeps the including file's section or segment where the
// assembler can push and pop it, so that it may be assembled alone or included.
constexpr std::array<AsmDialect, 4> Dialects = {{
    // ca65
    // A constant takes its address size from its value (zero page below 256, far
    // above 65535), and ld65 warns of one a module imports as absolute, as
    // .import does: so the constants go out absolute.
    {"; ", "", "{name} = {value}", ".export {list}", ": abs", false,
     ".pushseg\n.segment \"RODATA\"", "{name}:", "    .byte ", "$", ".popseg"},
    // rgbds
    {"; ", "", "DEF {name} EQU {value}", "EXPORT {list}", "", true,
     "PUSHS\nSECTION \"{name}\", ROMX", "{name}::", "    db ", "$", "POPS"},
    // sdas: == and :: make symbols global; the second label is the one C code links to.
    {"; ", "", "{name} == {value}", "", "", true, "    .area _CODE",
     "{name}::\n_{name}::", "    .db ", "0x", ""},
    // gas
    {"/* ", " */", "    .set {name}, {value}", "    .global {list}", "", false,
     "    .pushsection .rodata\n    .balign 4\n    .type {name}, STT_OBJECT",
     "{name}:", "    .byte ", "0x", "    .size {name}, {name}_SIZE\n    .popsection"},
}};

std::string Fill(std::string_view form, std::string_view key, std::string_view text) {
    std::string out(form);
    for (std::size_t at = out.find(key); at != std::string::npos; at = out.find(key, at)) {
        out.replace(at, key.size(), text);
        at += text.size();
    }
    return out;
}

void AppendLine(std::string& out, const std::string& line) {
    if (!line.empty()) {
        out += line;
        out += '\n';
    }
}

void AppendConstant(std::string& out, const AsmDialect& dialect, const std::string& name,
                    std::size_t value) {
    AppendLine(out, Fill(Fill(dialect.constant, "{name}", name), "{value}", std::to_string(value)));
}

void AppendBytes(std::string& out, const AsmDialect& dialect,
                 const std::vector<std::uint8_t>& bytes) {
    constexpr char Digits[] = "0123456789ABCDEF";
    constexpr std::size_t PerLine = 16;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        out += i % PerLine == 0 ? dialect.data : ",";
        out += dialect.hex;
        out += Digits[bytes[i] >> 4];
        out += Digits[bytes[i] & 0x0F];
        if ((i + 1) % PerLine == 0 || i + 1 == bytes.size()) {
            out += '\n';
        }
    }
}

} // namespace

std::string WriteAsmSource(const ExportContent& content, AsmSyntax syntax) {
    const AsmDialect& dialect = Dialects[static_cast<std::size_t>(syntax)];
    const std::string& name = content.Name;
    std::string out;
    AppendLine(out, std::string(dialect.commentOpen) + content.Comment +
                        std::string(dialect.commentClose));

    const std::string size(dialect.constantSize);
    std::string globals;
    if (content.Width > 0) {
        globals = name + "_WIDTH" + size + ", " + name + "_HEIGHT" + size + ", ";
        AppendConstant(out, dialect, name + "_WIDTH", content.Width);
        AppendConstant(out, dialect, name + "_HEIGHT", content.Height);
    }
    for (const ExportArray& array : content.Arrays) {
        AppendConstant(out, dialect, name + array.Suffix + "_SIZE", array.Bytes.size());
        globals += name + array.Suffix + "_SIZE" + size + ", ";
        // rgbasm warns of a label exported before it is defined.
        globals += dialect.labelGlobal ? "" : name + array.Suffix + ", ";
    }
    globals.resize(globals.size() - 2);
    AppendLine(out, Fill(dialect.exports, "{list}", globals));

    for (const ExportArray& array : content.Arrays) {
        const std::string symbol = name + array.Suffix;
        out += '\n';
        AppendLine(out, Fill(dialect.open, "{name}", symbol));
        AppendLine(out, Fill(dialect.label, "{name}", symbol));
        AppendBytes(out, dialect, array.Bytes);
        AppendLine(out, Fill(dialect.close, "{name}", symbol));
    }
    return out;
}

} // namespace tessra
