#include "ui/frm_about.h"

#include "ui/about_artwork.h"
#include "version.h"

#include <QLabel>
#include <QMouseEvent>
#include <functional>

namespace tessra {

namespace {

// An image that acts on a left click released over it.
class ClickableImage final : public QLabel {
  public:
    ClickableImage(const QPixmap& image, QWidget* parent, std::function<void()> onClick)
        : QLabel(parent), onClick_(std::move(onClick)) {
        setPixmap(image);
        setCursor(Qt::PointingHandCursor);
    }

  protected:
    void mouseReleaseEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
            onClick_();
        }
    }

  private:
    std::function<void()> onClick_;
};

} // namespace

QString VersionText(int major, int minor, int revision) {
    return QStringLiteral("v%1.%2 rev %3").arg(major).arg(minor).arg(revision);
}

frmAbout::frmAbout(ToolWindowContext& context, QWidget* parent)
    : ToolDialog(context, parent, "frmAbout", QStringLiteral("About TESSRA"), {405, 321},
                 HelpAboutTopic) {
    setWindowFlag(Qt::FramelessWindowHint);

    picture_ = new QLabel(this);
    picture_->setObjectName(QStringLiteral("picAbout"));
    picture_->setGeometry(0, 0, AboutArtworkWidth, AboutArtworkHeight);
    picture_->setPixmap(QPixmap::fromImage(DrawAboutArtwork()));

    imgClose = new ClickableImage(DrawCloseIcon(), this, [this] { close(); });
    imgClose->setObjectName(QStringLiteral("imgClose"));
    imgClose->setGeometry(0, 0, 16, 16);
    imgClose->setToolTip(QStringLiteral("Close"));

    lblVersion = new QLabel(VersionText(VersionMajor, VersionMinor, VersionRevision), this);
    lblVersion->setObjectName(QStringLiteral("lblVersion"));
    lblVersion->setGeometry(280, 88, 121, 17);
    QFont bold = lblVersion->font();
    bold.setBold(true);
    bold.setPixelSize(11);
    lblVersion->setFont(bold);
    QPalette colours = lblVersion->palette();
    colours.setColor(QPalette::WindowText, QColor(255, 236, 150));
    lblVersion->setPalette(colours);
}

} // namespace tessra
