#include "help/help_window.h"

#include "help/help_collection.h"
#include "help/help_topics.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHelpContentItem>
#include <QHelpContentWidget>
#include <QHelpEngine>
#include <QHelpIndexWidget>
#include <QHelpLink>
#include <QHelpSearchEngine>
#include <QHelpSearchQueryWidget>
#include <QHelpSearchResultWidget>
#include <QLineEdit>
#include <QSplitter>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace tessra {

HelpBrowser::HelpBrowser(QHelpEngine* engine, QWidget* parent)
    : QTextBrowser(parent), engine_(engine) {
    setObjectName(QStringLiteral("helpBrowser"));
}

QVariant HelpBrowser::loadResource(int type, const QUrl& name) {
    if (name.scheme() == QLatin1String("qthelp")) {
        return engine_->fileData(name);
    }
    return QTextBrowser::loadResource(type, name);
}

void HelpBrowser::doSetSource(const QUrl& name, QTextDocument::ResourceType type) {
    // Pages live inside the collection; anything else belongs to the system's browser.
    const QUrl url = source().resolved(name);
    if (!url.isRelative() && url.scheme() != QLatin1String("qthelp")) {
        QDesktopServices::openUrl(url);
        return;
    }
    QTextBrowser::doSetSource(name, type);
}

HelpWindow::HelpWindow(const QString& collectionFile)
    : collectionFile_(collectionFile),
      engine_(new QHelpEngine(UserCopyOfCollection(collectionFile, HelpCacheFolder()), this)) {
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QStringLiteral("TESSRA Help"));
    setAttribute(Qt::WA_DeleteOnClose);
    resize(820, 580);

    ready_ = QFileInfo::exists(collectionFile) && engine_->setupData() &&
             !engine_->registeredDocumentations().isEmpty();

    browser_ = new HelpBrowser(engine_, this);
    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("helpTabs"));
    QHelpContentWidget* contents = engine_->contentWidget();
    contents->setObjectName(QStringLiteral("helpContents"));
    contents->setHeaderHidden(true);
    tabs_->addTab(contents, QStringLiteral("Contents"));
    tabs_->addTab(MakeIndexTab(), QStringLiteral("Index"));
    tabs_->addTab(MakeSearchTab(), QStringLiteral("Search"));

    ConnectContents(contents);
    connect(browser_, &QTextBrowser::sourceChanged, this, &HelpWindow::MarkInContents);
    connect(tabs_, &QTabWidget::currentChanged, this, &HelpWindow::TabChosen);

    auto* splitter = new QSplitter(this);
    splitter->addWidget(tabs_);
    splitter->addWidget(browser_);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({240, 580});

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(MakeButtonRow());
    layout->addWidget(splitter, 1);

    if (!ready_) {
        ShowNotice(QStringLiteral("The help file %1 cannot be opened.").arg(collectionFile));
    }
}

void HelpWindow::ConnectContents(QHelpContentWidget* contents) {
    connect(contents, &QHelpContentWidget::linkActivated, this, &HelpWindow::ShowPage);
    // One click on an entry shows its page, as in other help viewers.
    connect(contents, &QHelpContentWidget::clicked, this, [this](const QModelIndex& entry) {
        if (QHelpContentItem* item = engine_->contentModel()->contentItemAt(entry)) {
            ShowPage(item->url());
        }
    });
    connect(engine_->contentModel(), &QHelpContentModel::contentsCreated, this, [this, contents] {
        contents->expandToDepth(0);
        MarkInContents(CurrentPage());
    });
}

void HelpWindow::TabChosen(int tab) {
    // The full-text index is built only when somebody wants to search.
    if (tab == SearchTab && ready_ && !searchIndexed_) {
        searchIndexed_ = true;
        engine_->searchEngine()->scheduleIndexDocumentation();
    }
    // Typing goes straight into the tab's box.
    if (tab == IndexTab) {
        indexFilter_->setFocus();
    } else if (tab == SearchTab) {
        engine_->searchEngine()->queryWidget()->setFocus();
    }
}

QWidget* HelpWindow::MakeIndexTab() {
    auto* page = new QWidget;
    indexFilter_ = new QLineEdit(page);
    indexFilter_->setObjectName(QStringLiteral("helpIndexFilter"));
    indexFilter_->setPlaceholderText(QStringLiteral("Type a keyword"));
    QHelpIndexWidget* index = engine_->indexWidget();
    index->setObjectName(QStringLiteral("helpIndex"));
    connect(indexFilter_, &QLineEdit::textChanged, index,
            [index](const QString& text) { index->filterIndices(text); });
    connect(indexFilter_, &QLineEdit::returnPressed, index, &QHelpIndexWidget::activateCurrentItem);
    connect(index, &QHelpIndexWidget::documentActivated, this,
            [this](const QHelpLink& link, const QString&) { ShowPage(link.url); });
    connect(index, &QHelpIndexWidget::documentsActivated, this,
            [this](const QList<QHelpLink>& links, const QString&) {
                if (!links.isEmpty()) {
                    ShowPage(links.first().url);
                }
            });
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(indexFilter_);
    layout->addWidget(index, 1);
    return page;
}

QWidget* HelpWindow::MakeSearchTab() {
    auto* page = new QWidget;
    QHelpSearchEngine* search = engine_->searchEngine();
    QHelpSearchQueryWidget* query = search->queryWidget();
    QHelpSearchResultWidget* results = search->resultWidget();
    query->setObjectName(QStringLiteral("helpSearchQuery"));
    results->setObjectName(QStringLiteral("helpSearchResults"));
    connect(query, &QHelpSearchQueryWidget::search, search,
            [search, query] { search->search(query->searchInput()); });
    connect(results, &QHelpSearchResultWidget::requestShowLink, this, &HelpWindow::ShowPage);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(query);
    layout->addWidget(results, 1);
    return page;
}

QWidget* HelpWindow::MakeButtonRow() {
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    const auto addButton = [&](const QString& text, QStyle::StandardPixmap icon) {
        auto* button = new QToolButton(row);
        button->setText(text);
        button->setIcon(style()->standardIcon(icon));
        button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        layout->addWidget(button);
        return button;
    };
    QToolButton* back = addButton(QStringLiteral("Back"), QStyle::SP_ArrowBack);
    QToolButton* forward = addButton(QStringLiteral("Forward"), QStyle::SP_ArrowForward);
    QToolButton* home = addButton(QStringLiteral("Contents"), QStyle::SP_DirHomeIcon);
    layout->addStretch(1);
    back->setEnabled(false);
    forward->setEnabled(false);
    connect(back, &QToolButton::clicked, this, [this] { browser_->backward(); });
    connect(forward, &QToolButton::clicked, this, [this] { browser_->forward(); });
    connect(home, &QToolButton::clicked, this, &HelpWindow::ShowStartPage);
    connect(browser_, &QTextBrowser::backwardAvailable, back, &QToolButton::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward, &QToolButton::setEnabled);
    return row;
}

void HelpWindow::ShowTab(Tab tab) {
    tabs_->setCurrentIndex(tab);
}

void HelpWindow::ShowStartPage() {
    if (ready_) {
        ShowTopic(QString::fromLatin1(HelpContentsTopic.page));
    }
}

bool HelpWindow::ShowContext(long contextId) {
    if (!ready_) {
        return false;
    }
    const QList<QHelpLink> links = engine_->documentsForIdentifier(QString::number(contextId));
    if (links.isEmpty()) {
        ShowNotice(QStringLiteral("No help page has the context number %1.").arg(contextId));
        return false;
    }
    ShowPage(links.first().url);
    return true;
}

bool HelpWindow::ShowTopic(const QString& page) {
    if (!ready_) {
        return false;
    }
    const QUrl url = FindPage(page);
    if (url.isEmpty()) {
        ShowNotice(QStringLiteral("The help has no page named %1.").arg(page));
        return false;
    }
    ShowPage(url);
    return true;
}

QUrl HelpWindow::CurrentPage() const {
    return browser_->source();
}

QUrl HelpWindow::FindPage(const QString& page) const {
    // Accepts "name.html" as well as "/name.html" or a path inside the collection.
    QString wanted = page.trimmed();
    while (wanted.startsWith(QLatin1Char('/'))) {
        wanted.remove(0, 1);
    }
    if (wanted.isEmpty()) {
        return {};
    }
    for (const QString& space : engine_->registeredDocumentations()) {
        for (const QUrl& file : engine_->files(space, QString())) {
            const QString path = file.path();
            if (path.endsWith(QLatin1Char('/') + wanted, Qt::CaseInsensitive)) {
                return file;
            }
        }
    }
    return {};
}

void HelpWindow::ShowPage(const QUrl& url) {
    browser_->setSource(url);
}

void HelpWindow::MarkInContents(const QUrl& url) {
    QHelpContentWidget* contents = engine_->contentWidget();
    const QModelIndex entry = contents->indexOf(url);
    if (entry.isValid()) {
        contents->setCurrentIndex(entry);
        contents->scrollTo(entry);
    }
}

void HelpWindow::ShowNotice(const QString& text) {
    browser_->setHtml(QStringLiteral("<h2>TESSRA Help</h2><p>%1</p>").arg(text.toHtmlEscaped()));
}

} // namespace tessra
