#include "core/editor_command_line.h"

#include <gtest/gtest.h>

using namespace tessra;
using Answer = EditorCommandLine::Answer;

TEST(EditorCommandLine, ReadsOneMapOrAnAnswer) {
    const struct {
        std::vector<std::string> args;
        Answer answer;
        std::string file;
    } cases[] = {
        {{}, Answer::OpenEditor, ""},
        {{"my maps/level 1.tessra"}, Answer::OpenEditor, "my maps/level 1.tessra"},
        {{"-"}, Answer::OpenEditor, "-"},
        {{"--", "-odd.tessra"}, Answer::OpenEditor, "-odd.tessra"},
        {{"--", "--help"}, Answer::OpenEditor, "--help"},
        {{"a.tessra", "--help"}, Answer::ShowHelp, ""},
        {{"-x", "-h"}, Answer::ShowHelp, ""},
        {{"--version", "--help"}, Answer::ShowVersion, ""},
        {{"--frob"}, Answer::UsageError, ""},
        {{"a.tessra", "b.tessra"}, Answer::UsageError, ""},
        {{"", "b.tessra"}, Answer::UsageError, ""},
    };
    for (const auto& [args, answer, file] : cases) {
        const EditorCommandLine line = ReadEditorCommandLine(args);
        const std::string shown = args.empty() ? "(none)" : args.front() + "...";
        EXPECT_EQ(line.answer, answer) << shown;
        EXPECT_EQ(line.file, file) << shown;
        EXPECT_EQ(line.problem.empty(), answer != Answer::UsageError) << shown;
    }
}
