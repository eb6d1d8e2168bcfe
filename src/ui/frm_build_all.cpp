#include "ui/frm_build_all.h"

#include "platform/qt_text.h"

#include <QHeaderView>
#include <QLabel>
#include <QMetaObject>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <algorithm>
#include <filesystem>

namespace tessra {

namespace {

constexpr int MapRole = Qt::UserRole;         // a failed map's path, for a double-click
constexpr int MessageRole = Qt::UserRole + 1; // its message

// A path as the list shows it: from the folder built, when it lies in it.
QString ShownPath(const std::string& path, const std::string& folder) {
    const std::filesystem::path relative =
        std::filesystem::path(path).lexically_normal().lexically_relative(
            std::filesystem::path(folder).lexically_normal());
    const bool inside = !relative.empty() && *relative.begin() != "..";
    return ShownFileName(inside ? relative.string() : path);
}

} // namespace

frmBuildAll::frmBuildAll(ToolWindowContext& context, const std::string& folder, QWidget* parent)
    : ToolDialog(context, parent, "frmBuildAll", QStringLiteral("Build All"), {640, 420},
                 HelpBuildTopic),
      folder_(folder.empty() ? "." : folder) {
    setWindowTitle(QStringLiteral("Build All - %1").arg(ShownFileName(folder_)));
    lblBuildStatus =
        new QLabel(QStringLiteral("Building every map in %1...").arg(ShownFileName(folder_)), this);
    lblBuildStatus->setObjectName(QStringLiteral("lblBuildStatus"));
    lblBuildStatus->setGeometry(8, 8, 624, 32);
    lblBuildStatus->setWordWrap(true);
    prgBuild = new QProgressBar(this);
    prgBuild->setObjectName(QStringLiteral("prgBuild"));
    prgBuild->setGeometry(8, 44, 624, 18);
    prgBuild->hide();
    lstBuildOutputs = new QTreeWidget(this);
    lstBuildOutputs->setObjectName(QStringLiteral("lstBuildOutputs"));
    lstBuildOutputs->setGeometry(8, 68, 624, 248);
    lstBuildOutputs->setHeaderLabels({QStringLiteral("Result"), QStringLiteral("File")});
    lstBuildOutputs->setRootIsDecorated(false);
    lstBuildOutputs->header()->resizeSection(0, 110);
    lblBuildMessage = new QLabel(this);
    lblBuildMessage->setObjectName(QStringLiteral("lblBuildMessage"));
    lblBuildMessage->setGeometry(8, 322, 624, 58);
    lblBuildMessage->setWordWrap(true);
    lblBuildMessage->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblBuildMessage->setTextInteractionFlags(Qt::TextSelectableByMouse);
    cmdClose = AddButton(this, "cmdClose", QStringLiteral("Close"), {552, 388, 80, 24});
    cmdClose->setEnabled(false);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::accept);
    connect(lstBuildOutputs, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        lblBuildMessage->setText(item ? item->data(0, MessageRole).toString() : QString());
    });
    connect(lstBuildOutputs, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
        if (const QVariant map = item->data(0, MapRole); map.isValid()) {
            chosen_ = map.toByteArray().toStdString();
            accept();
        }
    });
    // A quick build shows no bar at all.
    QTimer::singleShot(ProgressDelay, this, [this] { prgBuild->setVisible(!done_); });

    BuildOptions options;
    options.Folder = folder_;
    worker_ = std::thread([this, options] {
        const auto progress = [this](int done, int total) {
            QMetaObject::invokeMethod(this, [this, done, total] {
                prgBuild->setRange(0, total);
                prgBuild->setValue(done);
            });
        };
        Result<BuildReport> report = RunBuild(options, progress);
        QMetaObject::invokeMethod(this, [this, report = std::move(report)] { ShowReport(report); });
    });
}

frmBuildAll::~frmBuildAll() {
    if (worker_.joinable()) {
        worker_.join();
    }
}

void frmBuildAll::reject() {
    if (done_) {
        QDialog::reject();
    }
}

void frmBuildAll::ShowReport(const Result<BuildReport>& built) {
    done_ = true;
    worker_.join();
    prgBuild->hide();
    cmdClose->setEnabled(true);
    cmdClose->setFocus();
    if (!built) {
        lblBuildStatus->setText(ToQString(built.message()));
        return;
    }
    const BuildReport& report = built.value();
    QString status = ToQString(BuildSummary(report));
    for (const std::string& note : report.Notes) {
        status += QLatin1Char(' ') + ToQString(note);
    }
    if (!report.Failures.empty()) {
        status += QStringLiteral(" Double-click a failed map to open it.");
    }
    lblBuildStatus->setText(status);
    lblBuildStatus->setToolTip(status);
    const auto add = [this](const QString& result, const std::string& path) {
        auto* item = new QTreeWidgetItem(lstBuildOutputs, {result, ShownPath(path, folder_)});
        item->setToolTip(1, ShownFileName(path));
        return item;
    };
    for (const BuildFailure& failure : report.Failures) {
        QTreeWidgetItem* item = add(QStringLiteral("Failed"), failure.Map);
        item->setData(0, MapRole, QByteArray::fromStdString(failure.Map));
        item->setData(0, MessageRole, ToQString(failure.Message));
        item->setForeground(0, Qt::red);
    }
    std::vector<BuildOutput> outputs = report.Outputs;
    std::stable_sort(outputs.begin(), outputs.end(), [](const auto& a, const auto& b) {
        return std::pair(a.State, a.Path) < std::pair(b.State, b.Path);
    });
    for (const BuildOutput& output : outputs) {
        if (output.State != OutputState::Failed) {
            add(output.State == OutputState::Written ? QStringLiteral("Written")
                                                     : QStringLiteral("Left as it was"),
                output.Path);
        }
    }
    if (lstBuildOutputs->topLevelItemCount() > 0) {
        lstBuildOutputs->setCurrentItem(lstBuildOutputs->topLevelItem(0));
    }
}

} // namespace tessra
