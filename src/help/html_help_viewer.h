#pragma once

#include <QPointer>
#include <QString>

class QWidget;

namespace tessra {

class HelpWindow;

// Opens the editor's help collection at its contents, index, search, a context
// number or a named page, and closes what it opened on Unload and at its end.
// HelpFile names the collection (tessra.qhc); a name with another extension,
// such as tessra.chm, means the .qhc of the same name beside it.
class HTMLHelpViewer {
  public:
    HTMLHelpViewer() = default;
    ~HTMLHelpViewer();
    HTMLHelpViewer(const HTMLHelpViewer&) = delete;
    HTMLHelpViewer& operator=(const HTMLHelpViewer&) = delete;

    QString HelpFile() const { return strHelpFile; }
    void HelpFile(const QString& strFileName) { strHelpFile = strFileName; }

    void ShowContents();
    void Show();
    void ShowIndex();
    void ShowSearch();
    void ShowContext(long lngContextID);
    void ShowTopic(const QString& sContextID);
    void Unload();

    // The window of the latest display call, or null.
    QWidget* hWndHelp() const { return hWndHelp_; }

  private:
    // The open help window of the current file, or a new one; null without a file.
    HelpWindow* OpenWindow();

    QString strHelpFile;
    QPointer<QWidget> hWndHelp_;
};

} // namespace tessra
