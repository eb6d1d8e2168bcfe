#pragma once

#include "cli/cli.h"
#include "core/formats/project_file.h"
#include "io/temp_dir.h"

#include <QImage>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace tessra {

struct CliRun {
    int status;
    std::string out, err;
};

inline CliRun RunTool(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    const int status = RunCli(args, out, err);
    return {status, out.str(), err.str()};
}

// The program itself through the shell, for exit statuses and standard output.
inline int RunProgram(const std::string& args, const std::string& to = "/dev/null") {
    const int raw = std::system((TESSRA_CLI " " + args + " >" + to + " 2>/dev/null").c_str());
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

// A refused command: exit 1 (or 2, for a wrong command line), the message on
// stderr, `out` as it was.
inline void ExpectRefused(const std::vector<std::string>& args, const std::string& message,
                          const std::string& out, int status = ExitRefused) {
    WriteText(out, "as it was");
    const CliRun run = RunTool(args);
    EXPECT_EQ(run.status, status) << message;
    EXPECT_NE(run.err.find(message), std::string::npos) << run.err;
    EXPECT_EQ(ReadText(out), "as it was") << message;
}

inline QImage LoadImage(const std::string& path) {
    return QImage(QString::fromStdString(path)).convertToFormat(QImage::Format_RGB32);
}

inline ProjectData ReadProject(const std::string& path) {
    const auto project = ParseProject(ReadText(path), path);
    EXPECT_TRUE(project.ok()) << project.message();
    return project.ok() ? project.value() : ProjectData{};
}

} // namespace tessra
