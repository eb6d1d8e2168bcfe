#include "ui/frm_export.h"

#include "core/export/map_export.h"
#include "io/file_document.h"
#include "io/file_export.h"
#include "platform/dialogs.h"
#include "platform/qt_text.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <algorithm>
#include <array>
#include <filesystem>

namespace tessra {

namespace {

// One setting's control: its frame, its row there, and the caption of its label
// (of the box itself for a flag).
struct SettingControl {
    std::string_view setting;
    const char* name;
    const char* caption;
    int frame;
    int row;
};

constexpr std::array<const char*, 4> FrameCaptions = {"Block", "Cells", "Hardware", "File"};

constexpr std::array<SettingControl, 13> SettingControls = {{
    {"region", "txtRegion", "&Region:", 0, 0},
    {"screen", "txtScreen", "&Screen:", 0, 1},
    {"order", "cmbOrder", "&Order:", 0, 2},
    {"offset", "txtOffset", "O&ffset:", 1, 0},
    {"entry", "cmbEntry", "&Entry:", 1, 1},
    {"behaviour", "chkBehaviour", "&Behaviour bytes, not tiles", 1, 2},
    {"hardware", "cmbHardware", "&Hardware:", 2, 0},
    {"numbering", "cmbNumbering", "&Numbering:", 2, 1},
    {"tile-base", "txtTileBase", "&Tile base:", 2, 2},
    {"compress", "cmbCompress", "&Compress:", 3, 0},
    {"format", "cmbFormat", "For&mat:", 3, 1},
    {"syntax", "cmbSyntax", "S&yntax:", 3, 2},
    {"name", "txtName", "N&ame:", 4, 0},
}};

constexpr int FrameWidth = 212, FrameHeight = 96, RowHeight = 24;
constexpr int LabelWidth = 68, ControlWidth = 128;

QRect FrameRect(int frame) {
    return {8 + (FrameWidth + 8) * (frame % 2), 8 + (FrameHeight + 6) * (frame / 2), FrameWidth,
            FrameHeight};
}

std::optional<std::span<const ExportChoice>> ChoicesOf(std::string_view setting) {
    for (const ExportChoiceSetting& choice : ExportChoiceSettings()) {
        if (choice.name == setting && !IsFlagSetting(setting)) {
            return choice.choices;
        }
    }
    return std::nullopt;
}

QString Text(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Whether a setting counts with the others as the controls stand: the rest
// are greyed out and written with their defaults, as the core would refuse
// them or ignore them.
bool Applies(std::string_view setting, const ExportSettings& s) {
    const bool hardware = s.Hardware != ExportHardware::None;
    if (setting == "offset" || setting == "entry" || setting == "behaviour") {
        return !hardware;
    }
    if (setting == "numbering" || setting == "tile-base") {
        return hardware;
    }
    if (setting == "compress") {
        return s.Format != ExportFormat::Csv;
    }
    if (setting == "syntax") {
        return s.Format == ExportFormat::Asm;
    }
    if (setting == "name") {
        return s.Format == ExportFormat::C || s.Format == ExportFormat::Asm;
    }
    return true;
}

struct OutputKind {
    const char* filter;
    const char* suffix;
    const char* text; // what the files hold, for the size line
};

OutputKind OutputKindOf(ExportFormat format) {
    switch (format) {
    case ExportFormat::C:
        return {"C Source Files|*.c|All Files|*.*|", "c", "C source"};
    case ExportFormat::Asm:
        return {"Assembly Source Files|*.s;*.asm;*.inc|All Files|*.*|", "s", "assembly source"};
    case ExportFormat::Csv:
        return {"CSV Files|*.csv|All Files|*.*|", "csv", "CSV text"};
    case ExportFormat::Raw:
        break;
    }
    return {"Binary Files|*.bin|All Files|*.*|", "bin", ""};
}

QString ByteCount(std::size_t count) {
    return QStringLiteral("%1 %2").arg(
        QLocale(QLocale::English).toString(static_cast<qulonglong>(count)),
        count == 1 ? QStringLiteral("byte") : QStringLiteral("bytes"));
}

} // namespace

frmExport::frmExport(ToolWindowContext& context, const ExportProfile& profile, std::string mapPath,
                     const Surface& tiles, QWidget* parent)
    : ToolDialog(context, parent, "frmExport", QStringLiteral("Export"), {444, 376},
                 HelpExportTopic),
      mapPath_(std::move(mapPath)), tiles_(tiles), carried_(profile.Settings) {
    BuildSettings();
    BuildOutput();
    ShowProfile(profile);
    ready_ = true;
    UpdateControls();
}

void frmExport::BuildSettings() {
    std::array<QGroupBox*, FrameCaptions.size()> frames{};
    for (std::size_t i = 0; i < frames.size(); ++i) {
        frames[i] = AddFrame(this, "Frame", QString::fromUtf8(FrameCaptions[i]),
                             FrameRect(static_cast<int>(i)));
        frames[i]->setProperty("index", static_cast<int>(i));
    }
    for (const SettingControl& row : SettingControls) {
        QWidget* parent = row.frame < 4 ? static_cast<QWidget*>(frames[row.frame]) : this;
        const int left = row.frame < 4 ? 8 : 16, top = row.frame < 4 ? 18 : 218;
        const int y = top + RowHeight * row.row;
        QWidget* control = nullptr;
        if (IsFlagSetting(row.setting)) {
            auto* box = new QCheckBox(QString::fromUtf8(row.caption), parent);
            box->setGeometry(left, y, LabelWidth + ControlWidth, 20);
            connect(box, &QCheckBox::toggled, this, &frmExport::UpdateControls);
            control = box;
        } else if (const auto choices = ChoicesOf(row.setting)) {
            auto* box = new QComboBox(parent);
            // An empty numbering follows the hardware.
            if (row.setting == "numbering") {
                box->addItem(QStringLiteral("(the hardware's)"), QString());
            }
            for (const ExportChoice& choice : *choices) {
                box->addItem(Text(choice.value), Text(choice.value));
                box->setItemData(box->count() - 1, Text(choice.description), Qt::ToolTipRole);
            }
            connect(box, &QComboBox::currentIndexChanged, this, &frmExport::UpdateControls);
            control = box;
        } else {
            auto* box = new QLineEdit(parent);
            connect(box, &QLineEdit::textChanged, this, &frmExport::UpdateControls);
            control = box;
        }
        control->setObjectName(QLatin1String(row.name));
        if (!IsFlagSetting(row.setting)) {
            control->setGeometry(left + LabelWidth, y - 2, ControlWidth, 20);
            auto* label = new QLabel(QString::fromUtf8(row.caption), parent);
            label->setGeometry(left, y, LabelWidth, 17);
            label->setBuddy(control);
        }
    }
    static_cast<QLineEdit*>(Control("screen"))
        ->setPlaceholderText(QStringLiteral("the region's size"));
}

void frmExport::BuildOutput() {
    auto* label = new QLabel(QStringLiteral("Out&put:"), this);
    label->setGeometry(16, 244, LabelWidth, 17);
    txtOutput = AddTextBox(this, "txtOutput", {}, {16 + LabelWidth, 242, 310, 20});
    txtOutput->setPlaceholderText(QStringLiteral("the file to write"));
    label->setBuddy(txtOutput);
    connect(txtOutput, &QLineEdit::textChanged, this, &frmExport::UpdateControls);
    QPushButton* browse =
        AddButton(this, "cmdBrowse", QStringLiteral("..."), {16 + LabelWidth + 316, 242, 28, 20});
    connect(browse, &QPushButton::clicked, this, &frmExport::cmdBrowse_Click);

    chkExportOnSave =
        new QCheckBox(QStringLiteral("Export again whenever the map is sa&ved"), this);
    chkExportOnSave->setObjectName(QStringLiteral("chkExportOnSave"));
    chkExportOnSave->setGeometry(16 + LabelWidth, 266, 340, 20);

    lblSize = new QLabel(this);
    lblSize->setObjectName(QStringLiteral("lblSize"));
    // Three lines, for the longer refusals.
    lblSize->setGeometry(16, 288, 416, 50);
    lblSize->setWordWrap(true);
    lblSize->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    QPushButton* ok = AddButton(this, "cmdOK", QStringLiteral("OK"), {276, 346, 76, 22});
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &frmExport::cmdOK_Click);
    QPushButton* cancel =
        AddButton(this, "cmdCancel", QStringLiteral("Cancel"), {360, 346, 76, 22});
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

QWidget* frmExport::Control(std::string_view setting) const {
    for (const SettingControl& row : SettingControls) {
        if (row.setting == setting) {
            return findChild<QWidget*>(QLatin1String(row.name));
        }
    }
    return nullptr;
}

std::string frmExport::ControlText(std::string_view setting) const {
    QWidget* control = Control(setting);
    if (auto* box = qobject_cast<QCheckBox*>(control)) {
        return box->isChecked() ? "true" : "false";
    }
    if (auto* box = qobject_cast<QComboBox*>(control)) {
        return ToStdString(box->currentData().toString());
    }
    return BoxText(static_cast<QLineEdit*>(control));
}

void frmExport::ShowProfile(const ExportProfile& profile) {
    for (const SettingControl& row : SettingControls) {
        const QString text = ToQString(ExportSettingText(profile.Settings, row.setting));
        QWidget* control = Control(row.setting);
        if (auto* box = qobject_cast<QCheckBox*>(control)) {
            box->setChecked(text == QLatin1String("true"));
        } else if (auto* box = qobject_cast<QComboBox*>(control)) {
            box->setCurrentIndex(std::max(0, box->findData(text)));
        } else {
            static_cast<QLineEdit*>(control)->setText(text);
        }
    }
    txtOutput->setText(ShownFileName(profile.Output));
    chkExportOnSave->setChecked(profile.ExportOnSave);
}

Result<ExportSettings> frmExport::ReadSettings() const {
    // Hardware and format first: they decide which of the others apply.
    ExportSettings shape;
    (void)SetExportSetting(shape, "hardware", ControlText("hardware"));
    (void)SetExportSetting(shape, "format", ControlText("format"));
    ExportSettings settings;
    for (const std::string_view name : ExportSettingNames()) {
        if (std::none_of(SettingControls.begin(), SettingControls.end(),
                         [&](const SettingControl& row) { return row.setting == name; }) &&
            shape.Hardware != ExportHardware::None) {
            (void)SetExportSetting(settings, name, ExportSettingText(carried_, name));
        }
    }
    for (const SettingControl& row : SettingControls) {
        if (!Applies(row.setting, shape)) {
            continue;
        }
        if (Status set = SetExportSetting(settings, row.setting, ControlText(row.setting)); !set) {
            return Error{set.message()};
        }
    }
    if (Status checked = CheckExportSettings(settings); !checked) {
        return Error{checked.message()};
    }
    return settings;
}

std::string frmExport::OutputPath() const {
    const std::string text = FileNameOf(txtOutput->text());
    if (text.empty()) {
        return text;
    }
    // A path typed without a folder is taken from the map's folder, as a profile keeps it.
    std::error_code ignored;
    const std::filesystem::path absolute =
        std::filesystem::absolute(ResolveExportOutput(mapPath_, text), ignored);
    return absolute.lexically_normal().string();
}

void frmExport::UpdateControls() {
    if (!ready_) {
        return;
    }
    ExportSettings shape;
    (void)SetExportSetting(shape, "hardware", ControlText("hardware"));
    (void)SetExportSetting(shape, "format", ControlText("format"));
    for (const SettingControl& row : SettingControls) {
        Control(row.setting)->setEnabled(Applies(row.setting, shape));
    }
    const std::string output = OutputPath();
    static_cast<QLineEdit*>(Control("name"))
        ->setPlaceholderText(ToQString(EffectiveExportName(shape, output)));

    const Result<ExportSettings> settings = ReadSettings();
    Result<MapExport> result =
        settings ? Run(settings.value(), output) : Result<MapExport>(Error{settings.message()});
    if (!result) {
        lblSize->setStyleSheet(QStringLiteral("color: darkred"));
        lblSize->setText(ToQString(result.message()));
        lblSize->setToolTip(lblSize->text());
        return;
    }
    lblSize->setStyleSheet({});
    lblSize->setToolTip({});
    QString text = ByteCount(result.value().DataSize) + QStringLiteral(" will be written");
    if (shape.Format != ExportFormat::Raw) {
        std::size_t total = 0;
        for (const ExportFile& file : result.value().Files) {
            total += file.Bytes.size();
        }
        text += QStringLiteral(", as %1 of %2")
                    .arg(ByteCount(total), QLatin1String(OutputKindOf(shape.Format).text));
    }
    lblSize->setText(text + QLatin1Char('.'));
}

Result<MapExport> frmExport::Run(const ExportSettings& settings, const std::string& output) const {
    Result<ArtInputs> art = ReadArtInputs(settings, &tiles_);
    if (!art) {
        return Error{art.message()};
    }
    return ExportMap(context_.state.MapData, context_.state.Attributes, settings, output,
                     &art.value());
}

bool frmExport::cmdBrowse_Click() {
    ExportSettings shape;
    (void)SetExportSetting(shape, "format", ControlText("format"));
    const OutputKind kind = OutputKindOf(shape.Format);
    const std::optional<QString> chosen =
        context_.dialogs.SaveFile(this, {.title = QStringLiteral("Export Map"),
                                         .filter = QLatin1String(kind.filter),
                                         .overwritePrompt = true,
                                         .defaultSuffix = QLatin1String(kind.suffix)});
    if (chosen) {
        txtOutput->setText(*chosen);
    }
    return chosen.has_value();
}

void frmExport::cmdOK_Click() {
    const Result<ExportSettings> settings = ReadSettings();
    if (!settings) {
        Refuse(settings.message());
        return;
    }
    if (BoxText(txtOutput).empty() && !cmdBrowse_Click()) {
        return;
    }
    const std::string output = OutputPath();
    const Result<MapExport> written =
        ExportMapFiles(context_.state.MapData, context_.state.Attributes, settings.value(), output,
                       FilesOfMap(mapPath_, context_.state), &tiles_);
    if (!written) {
        Refuse(written.message());
        return;
    }
    outcome_ = ExportProfile{settings.value(), output, chkExportOnSave->isChecked()};
    accept();
}

} // namespace tessra
