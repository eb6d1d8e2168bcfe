#include "cli/cli.h"

#include "cli/subcommand.h"
#include "core/base/message_text.h"
#include "core/help_location.h"
#include "version.h"

#include <algorithm>
#include <new>
#include <ostream>

namespace tessra {

namespace {

constexpr std::string_view ToolName = "tessra-cli";

bool IsHelp(const std::string& arg) {
    return arg == "--help" || arg == "-h";
}

void PrintToolHelp(std::ostream& out) {
    out << "Usage: " << ToolName << " COMMAND ARGUMENTS...\n"
        << "       " << ToolName << " COMMAND --help\n"
        << "       " << ToolName << " --version\n\n"
        << "Runs the TESSRA map editor's file work from the command line.\n\nCommands:\n";
    for (const Subcommand& command : Subcommands()) {
        out << "  " << command.name << ' ' << command.arguments << "\n      " << command.summary
            << '\n';
    }
    out << "\nA project, CSV or PCX input named - is read from standard input; an output\n"
        << "named - goes to standard output.\n"
        << "\nExit status: 0 on success, 1 when the input is refused or a file fails\n"
        << "(no output file is written then), 2 for a usage error.\n\n"
        << "More in man " << ToolName << ".\n";
    if (const auto pages = FindHelpCollection(ProgramDirectory())) {
        out << "The editor's help pages: " << pages->string() << '\n';
    }
}

void PrintCommandUsage(const Subcommand& command, std::ostream& out) {
    out << "Usage: " << ToolName << ' ' << command.name << ' ' << command.arguments << '\n';
}

const Subcommand* FindCommand(std::string_view name) {
    const auto commands = Subcommands();
    const auto found =
        std::find_if(commands.begin(), commands.end(),
                     [&](const Subcommand& command) { return command.name == name; });
    return found == commands.end() ? nullptr : &*found;
}

int ReportUsage(std::ostream& err, std::string_view problem, const Subcommand* command = nullptr) {
    err << ToolName << ": " << problem << '\n';
    if (command) {
        PrintCommandUsage(*command, err);
    }
    err << "Run '" << ToolName << (command ? " " + std::string(command->name) : "")
        << " --help' for help.\n";
    return ExitUsage;
}

int RunCommand(const Subcommand& command, const std::vector<std::string>& args, std::ostream& out,
               std::ostream& err) {
    if (std::any_of(args.begin(), args.end(), IsHelp)) {
        PrintCommandUsage(command, out);
        out << '\n' << command.help;
        return ExitSuccess;
    }
    if (args.size() < command.minArguments || args.size() > command.maxArguments) {
        return ReportUsage(err, "wrong number of arguments", &command);
    }
    Status status;
    try {
        status = command.run(args, out);
    } catch (const std::bad_alloc&) {
        status = Error{"there is not enough memory to finish; nothing was written"};
    }
    if (!status && status.error().usage) {
        return ReportUsage(err, status.message(), &command);
    }
    if (!status) {
        err << ToolName << ": " << status.message() << '\n';
        return ExitRefused;
    }
    return ExitSuccess;
}

} // namespace

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.empty()) {
        return ReportUsage(err, "no command given");
    }
    if (IsHelp(args.front())) {
        PrintToolHelp(out);
        return ExitSuccess;
    }
    if (args.front() == "--version") {
        out << ToolName << ' ' << VersionString << '\n';
        return ExitSuccess;
    }
    const Subcommand* command = FindCommand(args.front());
    if (!command) {
        return ReportUsage(err, "unknown command '" + Shortened(args.front()) + "'");
    }
    return RunCommand(*command, std::vector<std::string>(args.begin() + 1, args.end()), out, err);
}

} // namespace tessra
