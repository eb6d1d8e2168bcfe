#pragma once

#include <QString>

class QSettings;

namespace tessra {

// The folder in which each kind of file was last chosen, kept in the settings
// across runs. A kind is named by the first pattern of a dialog's filter, so
// "PCX Files|*.pcx|All Files|*.*|" keeps its folder under "*.pcx".
class RecentFolders {
  public:
    explicit RecentFolders(QSettings& settings) : settings_(settings) {}

    // The folder to open a dialog in, or empty when none is known or it is gone.
    QString FolderFor(const QString& filter) const;
    void Remember(const QString& filter, const QString& chosenPath);

  private:
    QSettings& settings_;
};

} // namespace tessra
