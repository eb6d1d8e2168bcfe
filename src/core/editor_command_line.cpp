#include "core/editor_command_line.h"

#include <algorithm>

namespace tessra {

namespace {

bool IsHelp(const std::string& arg) {
    return arg == "--help" || arg == "-h";
}

} // namespace

EditorCommandLine ReadEditorCommandLine(const std::vector<std::string>& args) {
    using Answer = EditorCommandLine::Answer;
    const auto optionsEnd = std::find(args.begin(), args.end(), "--");
    // Help and version answer whatever else is there, as other programs do.
    const auto asked = std::find_if(args.begin(), optionsEnd, [](const std::string& arg) {
        return IsHelp(arg) || arg == "--version";
    });
    if (asked != optionsEnd) {
        return {IsHelp(*asked) ? Answer::ShowHelp : Answer::ShowVersion, {}, {}};
    }
    EditorCommandLine line;
    bool optionsDone = false, haveFile = false;
    for (const std::string& arg : args) {
        if (!optionsDone && arg == "--") {
            optionsDone = true;
        } else if (!optionsDone && arg.size() > 1 && arg.front() == '-') {
            return {Answer::UsageError, {}, "unknown option '" + arg + "'"};
        } else if (haveFile) {
            return {Answer::UsageError, {}, "one map at a time: '" + arg + "' is one too many"};
        } else {
            line.file = arg;
            haveFile = true;
        }
    }
    return line;
}

std::string EditorHelpText(const std::optional<std::filesystem::path>& helpCollection) {
    std::string text = "Usage: tessra [FILE.tessra]\n"
                       "       tessra --help | --version\n\n"
                       "Opens the TESSRA tile map editor, with the map FILE.tessra if one is "
                       "given.\n\n"
                       "  -h, --help   show this help and leave\n"
                       "  --version    show the version and leave\n"
                       "  --           end of options: the next argument is the map\n\n"
                       "The window system's own options (-platform, -style, ...) work too.\n"
                       "Exit status: 0, or 2 for a wrong command line.\n\n";
    if (helpCollection) {
        text += "Help pages: " + helpCollection->string() + " (Help > Help Topics)\n";
    }
    text += "See also: tessra-cli --help, man tessra, man tessra-cli\n";
    return text;
}

} // namespace tessra
