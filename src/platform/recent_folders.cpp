#include "platform/recent_folders.h"

#include <QFileInfo>
#include <QSettings>

namespace tessra {

namespace {

QString Key(const QString& filter) {
    return QStringLiteral("folders/") + filter.section(QLatin1Char('|'), 1, 1);
}

} // namespace

QString RecentFolders::FolderFor(const QString& filter) const {
    const QString folder = settings_.value(Key(filter)).toString();
    return !folder.isEmpty() && QFileInfo(folder).isDir() ? folder : QString();
}

void RecentFolders::Remember(const QString& filter, const QString& chosenPath) {
    settings_.setValue(Key(filter), QFileInfo(chosenPath).absolutePath());
}

} // namespace tessra
