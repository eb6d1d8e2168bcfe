#include "ui/frm_export.h"

#include "core/export/map_export.h"
#include "io/file_document.h"
#include "io/file_export.h"
#include "platform/dialogs.h"
#include "platform/qt_text.h"
#include "ui/export_controls.h"

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

QString Text(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

constexpr int BrowseWidth = 22;

// "Map 3,360 bytes · 312 of 1,024 tiles, 9,984 bytes · 5 of 8 palettes, 160 bytes"
QString ArtSizeLine(const MapExport& result) {
    const QLocale english(QLocale::English);
    const ArtSummary& art = *result.Art;
    return QStringLiteral("Map %1 · %2 of %3 tiles, %4 · %5 of %6 palettes, %7")
        .arg(ByteCount(result.DataSize), english.toString(art.Tiles),
             english.toString(std::max(art.TileLimit, 0)), ByteCount(art.TileBytes),
             QString::number(art.Palettes), QString::number(art.PaletteLimit),
             ByteCount(art.PaletteBytes));
}

} // namespace

frmExport::frmExport(ToolWindowContext& context, const ExportProfile& profile, std::string mapPath,
                     const Surface& tiles, QWidget* parent)
    : ToolDialog(context, parent, "frmExport", QStringLiteral("Export"), {448, 478},
                 HelpExportTopic),
      mapPath_(std::move(mapPath)), tiles_(tiles) {
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
        QWidget* parent = row.frame == NoFrame ? this : static_cast<QWidget*>(frames[row.frame]);
        QWidget* control = nullptr;
        if (IsFlagSetting(row.setting)) {
            auto* box = new QCheckBox(QString::fromUtf8(row.caption), parent);
            connect(box, &QCheckBox::toggled, this, &frmExport::UpdateControls);
            control = box;
        } else if (const auto choices = ChoicesOf(row.setting)) {
            auto* box = new QComboBox(parent);
            // An empty numbering or depth follows the hardware.
            if (row.setting == "numbering" || row.setting == "bpp") {
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
        QRect place = ControlRect(row);
        if (IsPathSetting(row.setting)) {
            // A file to choose: a button for the dialog beside the box.
            place.setWidth(place.width() - BrowseWidth - 2);
            const QString name = QStringLiteral("cmdBrowse") + QLatin1String(row.name + 3);
            QPushButton* browse =
                AddButton(parent, qPrintable(name), QStringLiteral("..."),
                          {place.right() + 3, place.top(), BrowseWidth, place.height()});
            connect(browse, &QPushButton::clicked, this,
                    [this, setting = row.setting] { BrowseFor(setting); });
        }
        control->setGeometry(place);
        if (!IsFlagSetting(row.setting)) {
            auto* label = new QLabel(QString::fromUtf8(row.caption), parent);
            label->setGeometry(LabelRect(row));
            label->setBuddy(control);
        }
    }
    const std::pair<std::string_view, const char*> placeholders[] = {
        {"screen", "the region's size"},     {"tiles", "not written"},
        {"palettes", "not written"},         {"backdrop", "tile 0's top-left pixel"},
        {"palette-file", "none: first use"}, {"nes-palette", "built in"},
    };
    for (const auto& [setting, text] : placeholders) {
        static_cast<QLineEdit*>(Control(setting))->setPlaceholderText(QLatin1String(text));
    }
}

void frmExport::BuildOutput() {
    constexpr int Top = 346, LabelWidth = 68;
    auto* label = new QLabel(QStringLiteral("Out&put:"), this);
    label->setGeometry(16, Top + 2, LabelWidth, 17);
    txtOutput = AddTextBox(this, "txtOutput", {}, {16 + LabelWidth, Top, 314, 20});
    txtOutput->setPlaceholderText(QStringLiteral("the file to write"));
    label->setBuddy(txtOutput);
    connect(txtOutput, &QLineEdit::textChanged, this, &frmExport::UpdateControls);
    QPushButton* browse =
        AddButton(this, "cmdBrowse", QStringLiteral("..."), {16 + LabelWidth + 320, Top, 28, 20});
    connect(browse, &QPushButton::clicked, this, &frmExport::cmdBrowse_Click);

    chkExportOnSave =
        new QCheckBox(QStringLiteral("Export again whenever the map is sa&ved"), this);
    chkExportOnSave->setObjectName(QStringLiteral("chkExportOnSave"));
    chkExportOnSave->setGeometry(16 + LabelWidth, Top + 24, 340, 20);

    lblSize = new QLabel(this);
    lblSize->setObjectName(QStringLiteral("lblSize"));
    // Three lines, for the longer refusals.
    lblSize->setGeometry(16, Top + 46, 420, 50);
    lblSize->setWordWrap(true);
    lblSize->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    QPushButton* ok = AddButton(this, "cmdOK", QStringLiteral("OK"), {280, Top + 104, 76, 22});
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &frmExport::cmdOK_Click);
    QPushButton* cancel =
        AddButton(this, "cmdCancel", QStringLiteral("Cancel"), {364, Top + 104, 76, 22});
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
    const std::string text = BoxText(static_cast<QLineEdit*>(control));
    return IsPathSetting(setting) ? PathOf(text) : text;
}

void frmExport::ShowProfile(const ExportProfile& profile) {
    for (const SettingControl& row : SettingControls) {
        const std::string text = ExportSettingText(profile.Settings, row.setting);
        QWidget* control = Control(row.setting);
        if (auto* box = qobject_cast<QCheckBox*>(control)) {
            box->setChecked(text == "true");
        } else if (auto* box = qobject_cast<QComboBox*>(control)) {
            box->setCurrentIndex(std::max(0, box->findData(ToQString(text))));
        } else {
            static_cast<QLineEdit*>(control)->setText(
                IsPathSetting(row.setting) ? ShownFileName(text) : ToQString(text));
        }
    }
    bank_ = profile.Settings.Bank;
    txtOutput->setText(ShownFileName(profile.Output));
    chkExportOnSave->setChecked(profile.ExportOnSave);
}

ExportSettings frmExport::Shape() const {
    ExportSettings shape;
    for (const SettingControl& row : SettingControls) {
        (void)SetExportSetting(shape, row.setting, ControlText(row.setting));
    }
    return shape;
}

Result<ExportSettings> frmExport::ReadSettings() const {
    const ExportSettings shape = Shape();
    ExportSettings settings;
    for (const SettingControl& row : SettingControls) {
        if (!Applies(row.setting, shape)) {
            continue;
        }
        if (Status set = SetExportSetting(settings, row.setting, ControlText(row.setting)); !set) {
            return Error{set.message()};
        }
    }
    // The window has no box for the bank, which tessra-cli build shares
    // between maps; it stays where it applies, as the others do.
    if (settings.Hardware != ExportHardware::None &&
        EffectiveNumbering(settings) == ExportNumbering::Unique) {
        settings.Bank = bank_;
    }
    if (Status checked = CheckExportSettings(settings); !checked) {
        return Error{checked.message()};
    }
    return settings;
}

std::string frmExport::PathOf(const std::string& text) const {
    if (text.empty()) {
        return text;
    }
    std::error_code ignored;
    const std::filesystem::path absolute =
        std::filesystem::absolute(ResolveExportOutput(mapPath_, text), ignored);
    return absolute.lexically_normal().string();
}

std::string frmExport::OutputPath() const {
    return PathOf(FileNameOf(txtOutput->text()));
}

void frmExport::UpdateControls() {
    if (!ready_) {
        return;
    }
    const ExportSettings shape = Shape();
    for (const SettingControl& row : SettingControls) {
        const bool applies = Applies(row.setting, shape);
        Control(row.setting)->setEnabled(applies);
        const QString browse = QStringLiteral("cmdBrowse") + QLatin1String(row.name + 3);
        if (auto* button = findChild<QPushButton*>(browse); button && IsPathSetting(row.setting)) {
            button->setEnabled(applies);
        }
    }
    const std::string output = OutputPath();
    static_cast<QLineEdit*>(Control("name"))
        ->setPlaceholderText(ToQString(EffectiveExportName(shape, output)));
    // An empty screen follows the region, but for nes, whose screens are 32 x 30 tiles.
    const ExportScreen screen = EffectiveScreen(shape);
    static_cast<QLineEdit*>(Control("screen"))
        ->setPlaceholderText(shape.Hardware == ExportHardware::Nes
                                 ? QStringLiteral("%1,%2").arg(screen.W).arg(screen.H)
                                 : QStringLiteral("the region's size"));

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
    if (result.value().Art) {
        lblSize->setText(ArtSizeLine(result.value()));
        return;
    }
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
    const OutputKind kind = OutputKindOf(Shape().Format);
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

void frmExport::BrowseFor(std::string_view setting) {
    const bool output = setting == "tiles" || setting == "palettes";
    const OutputKind kind = OutputKindOf(Shape().Format);
    const QString filter =
        setting == "palette-file"  ? QStringLiteral("GIMP Palettes|*.gpl|All Files|*.*|")
        : setting == "nes-palette" ? QStringLiteral("NES Palettes|*.pal|All Files|*.*|")
                                   : QLatin1String(kind.filter);
    const FileDialogRequest request{
        .title = setting == "tiles"      ? QStringLiteral("Export Tiles")
                 : setting == "palettes" ? QStringLiteral("Export Palettes")
                                         : QStringLiteral("Open Palette"),
        .filter = filter,
        .overwritePrompt = output,
        .defaultSuffix = output ? QLatin1String(kind.suffix) : QString()};
    const std::optional<QString> chosen = output ? context_.dialogs.SaveFile(this, request)
                                                 : context_.dialogs.OpenFile(this, request);
    if (chosen) {
        static_cast<QLineEdit*>(Control(setting))->setText(*chosen);
    }
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
    outcome_ = Written{{settings.value(), output, chkExportOnSave->isChecked()},
                       DescribeWrittenExport(written.value(), settings.value())};
    accept();
}

} // namespace tessra
