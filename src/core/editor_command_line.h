#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace tessra {

// What the editor's command line asks for: tessra [FILE.tessra], --help or
// --version. The window system's own options are taken out before this reads.
struct EditorCommandLine {
    enum class Answer { OpenEditor, ShowHelp, ShowVersion, UsageError };
    Answer answer = Answer::OpenEditor;
    std::string file;    // the map to open, empty for none
    std::string problem; // with UsageError
};

EditorCommandLine ReadEditorCommandLine(const std::vector<std::string>& args);

// The text of tessra --help, naming the help collection when it was found.
std::string EditorHelpText(const std::optional<std::filesystem::path>& helpCollection);

} // namespace tessra
