#include "core/editor_command_line.h"
#include "core/help_location.h"
#include "platform/dialogs.h"
#include "ui/frm_main.h"
#include "version.h"

#include <QApplication>
#include <QIcon>
#include <QTimer>
#include <filesystem>
#include <iostream>

using namespace tessra;

namespace {

std::vector<std::string> Arguments(int argc, char** argv) {
    return {argv + 1, argv + argc};
}

} // namespace

int main(int argc, char** argv) {
    // Answered before the window system starts, so they work without a display.
    const EditorCommandLine asked = ReadEditorCommandLine(Arguments(argc, argv));
    if (asked.answer == EditorCommandLine::Answer::ShowHelp) {
        std::cout << EditorHelpText(FindHelpCollection(ProgramDirectory()));
        return 0;
    }
    if (asked.answer == EditorCommandLine::Answer::ShowVersion) {
        std::cout << "tessra " << VersionString << '\n';
        return 0;
    }

    QApplication app(argc, argv); // takes its own options out of argv
    QApplication::setApplicationVersion(QString::fromLatin1(VersionString));
    // Where the window's settings and the recovery copies are kept.
    QApplication::setOrganizationName(QStringLiteral("TESSRA"));
    QApplication::setApplicationName(QStringLiteral("tessra"));
    QApplication::setDesktopFileName(QStringLiteral("tessra"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("tessra")));
    const EditorCommandLine line = ReadEditorCommandLine(Arguments(argc, argv));
    if (line.answer == EditorCommandLine::Answer::UsageError) {
        std::cerr << "tessra: " << line.problem << "\nRun 'tessra --help' for help.\n";
        return 2;
    }

    QtDialogs dialogs;
    frmMain window(dialogs);
    window.show();
    if (!line.file.empty()) {
        // The name's own bytes: one that is not UTF-8 would not survive a QString.
        const std::string path = std::filesystem::absolute(line.file).lexically_normal().string();
        // Once the window is up, so a refusal shows its message over the empty editor.
        QTimer::singleShot(0, &window, [&window, path] { window.OpenProjectFile(path); });
    }
    // After the file: a restored copy replaces a map that is saved, never the other way.
    QTimer::singleShot(0, &window, [&window] { window.OfferRecovery(); });
    return app.exec();
}
