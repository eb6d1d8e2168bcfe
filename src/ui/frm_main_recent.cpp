#include "core/recent_files.h"
#include "io/file_io.h"
#include "platform/qt_text.h"
#include "ui/frm_main.h"

#include <QAction>
#include <QMenu>
#include <QSettings>

namespace tessra {

namespace {

const QString RecentKey = QStringLiteral("recentFiles");

std::vector<std::string> ReadRecentFiles() {
    std::vector<std::string> recent;
    for (const QString& path : QSettings().value(RecentKey).toStringList()) {
        recent.push_back(FileNameOf(path));
    }
    return recent;
}

void WriteRecentFiles(const std::vector<std::string>& recent) {
    QStringList paths;
    for (const std::string& path : recent) {
        paths << ShownFileName(path);
    }
    QSettings().setValue(RecentKey, paths);
}

} // namespace

void frmMain::BuildRecentMenu() {
    auto* file = findChild<QMenu*>(QStringLiteral("mnuFile_submenu"));
    mnuOpenRecent = new QMenu(QStringLiteral("Open &Recent"), file);
    mnuOpenRecent->setObjectName(QStringLiteral("mnuOpenRecent_submenu"));
    mnuOpenRecent->menuAction()->setObjectName(QStringLiteral("mnuOpenRecent_submenu"));
    file->insertMenu(findChild<QAction*>(QStringLiteral("mnuImportCSV")), mnuOpenRecent);
    ShowRecentFiles();
}

void frmMain::RememberRecentFile() {
    if (state_.CurrentFileName != UntitledFileName) {
        WriteRecentFiles(AddRecentFile(ReadRecentFiles(), state_.CurrentFileName));
        ShowRecentFiles();
    }
}

void frmMain::ShowRecentFiles() {
    mnuOpenRecent->clear();
    const std::vector<std::string> recent = ReadRecentFiles();
    for (std::size_t i = 0; i < recent.size(); ++i) {
        const QString path = ShownFileName(recent[i]);
        QAction* item = mnuOpenRecent->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(path));
        item->setObjectName(QStringLiteral("mnuRecentFile"));
        connect(item, &QAction::triggered, this, [this, path] { mnuRecentFile_Click(path); });
    }
    mnuOpenRecent->addSeparator();
    QAction* clear = mnuOpenRecent->addAction(QStringLiteral("&Clear List"));
    clear->setObjectName(QStringLiteral("mnuClearRecent"));
    clear->setEnabled(!recent.empty());
    connect(clear, &QAction::triggered, this, [this] {
        WriteRecentFiles({});
        ShowRecentFiles();
    });
}

void frmMain::mnuRecentFile_Click(const QString& path) {
    if (!MaySaveChanges()) {
        return;
    }
    // A map that is gone leaves the list once its message has been seen.
    const std::string file = FileNameOf(path);
    if (!OpenProjectFile(file) && !FileExists(file)) {
        std::vector<std::string> recent = ReadRecentFiles();
        std::erase(recent, file);
        WriteRecentFiles(recent);
        ShowRecentFiles();
    }
}

} // namespace tessra
