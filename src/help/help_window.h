#pragma once

#include <QTextBrowser>
#include <QUrl>
#include <QWidget>

class QHelpContentWidget;
class QHelpEngine;
class QLineEdit;
class QTabWidget;

namespace tessra {

// A page view that reads its pages, pictures and style sheets from a help collection.
class HelpBrowser : public QTextBrowser {
    Q_OBJECT

  public:
    HelpBrowser(QHelpEngine* engine, QWidget* parent);

    QVariant loadResource(int type, const QUrl& name) override;

  protected:
    void doSetSource(const QUrl& name, QTextDocument::ResourceType type) override;

  private:
    QHelpEngine* engine_;
};

// The help window: the Contents, Index and Search tabs beside the page. It owns
// the help engine of its collection, so closing the window releases the file.
class HelpWindow : public QWidget {
    Q_OBJECT

  public:
    enum Tab { ContentsTab = 0, IndexTab = 1, SearchTab = 2 };

    explicit HelpWindow(const QString& collectionFile);

    const QString& CollectionFile() const { return collectionFile_; }
    bool IsReady() const { return ready_; }

    void ShowTab(Tab tab);
    void ShowStartPage();
    // Each gives false, and says so in the page view, when the collection lacks the page.
    bool ShowContext(long contextId);
    bool ShowTopic(const QString& page);

    QUrl CurrentPage() const;
    QTabWidget* Tabs() const { return tabs_; }
    HelpBrowser* Browser() const { return browser_; }

  private:
    QWidget* MakeIndexTab();
    QWidget* MakeSearchTab();
    QWidget* MakeButtonRow();
    void ConnectContents(QHelpContentWidget* contents);
    void TabChosen(int tab);
    void ShowPage(const QUrl& url);
    void MarkInContents(const QUrl& url);
    void ShowNotice(const QString& text);
    QUrl FindPage(const QString& page) const;

    QString collectionFile_;
    QHelpEngine* engine_;
    bool ready_ = false;
    bool searchIndexed_ = false;
    QTabWidget* tabs_ = nullptr;
    QLineEdit* indexFilter_ = nullptr;
    HelpBrowser* browser_ = nullptr;
};

} // namespace tessra
