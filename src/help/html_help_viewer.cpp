#include "help/html_help_viewer.h"

#include "help/help_window.h"

#include <QDir>
#include <QFileInfo>
#include <QPointer>

namespace tessra {

namespace {

QString CollectionFileFor(const QString& helpFile) {
    const QFileInfo info(helpFile);
    if (info.suffix().compare(QLatin1String("qhc"), Qt::CaseInsensitive) == 0) {
        return helpFile;
    }
    return info.dir().filePath(info.completeBaseName() + QStringLiteral(".qhc"));
}

void Present(QWidget* window) {
    window->show();
    window->raise();
    window->activateWindow();
}

} // namespace

HTMLHelpViewer::~HTMLHelpViewer() {
    Unload();
}

HelpWindow* HTMLHelpViewer::OpenWindow() {
    if (strHelpFile.isEmpty()) {
        Unload();
        hWndHelp_ = nullptr;
        return nullptr;
    }
    const QString collection = CollectionFileFor(strHelpFile);
    auto* window = qobject_cast<HelpWindow*>(hWndHelp_.data());
    if (window == nullptr || !window->isVisible() || window->CollectionFile() != collection) {
        Unload();
        // No editor window owns the help window, so it stays usable beside a modal one.
        window = new HelpWindow(collection);
    }
    hWndHelp_ = window;
    Present(window);
    return window;
}

void HTMLHelpViewer::ShowContents() {
    if (HelpWindow* window = OpenWindow()) {
        window->ShowTab(HelpWindow::ContentsTab);
        if (window->CurrentPage().isEmpty()) {
            window->ShowStartPage();
        }
    }
}

void HTMLHelpViewer::Show() {
    if (HelpWindow* window = OpenWindow()) {
        window->ShowStartPage();
    }
}

void HTMLHelpViewer::ShowIndex() {
    if (HelpWindow* window = OpenWindow()) {
        window->ShowTab(HelpWindow::IndexTab);
        if (window->CurrentPage().isEmpty()) {
            window->ShowStartPage();
        }
    }
}

void HTMLHelpViewer::ShowSearch() {
    if (HelpWindow* window = OpenWindow()) {
        window->ShowTab(HelpWindow::SearchTab);
        if (window->CurrentPage().isEmpty()) {
            window->ShowStartPage();
        }
    }
}

void HTMLHelpViewer::ShowContext(long lngContextID) {
    if (HelpWindow* window = OpenWindow()) {
        window->ShowContext(lngContextID);
    }
}

void HTMLHelpViewer::ShowTopic(const QString& sContextID) {
    if (HelpWindow* window = OpenWindow()) {
        window->ShowTopic(sContextID);
    }
}

void HTMLHelpViewer::Unload() {
    if (hWndHelp_) {
        hWndHelp_->close();
    }
}

} // namespace tessra
