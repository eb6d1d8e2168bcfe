#include "ui/export_controls.h"

#include <QLocale>

namespace tessra {

namespace {

constexpr int FrameWidth = 212, FrameHeight = 96, RowHeight = 24;
constexpr int LabelWidth = 68, ControlWidth = 128;
// The tiles frame spans the window, three rows in each of two columns.
constexpr int WideColumn = 216, WideLabelWidth = 80, WideControlWidth = 120;

} // namespace

QRect FrameRect(int frame) {
    if (frame == 4) {
        return {8, 8 + 2 * (FrameHeight + 6), 2 * FrameWidth + 8, FrameHeight};
    }
    return {8 + (FrameWidth + 8) * (frame % 2), 8 + (FrameHeight + 6) * (frame / 2), FrameWidth,
            FrameHeight};
}

QRect LabelRect(const SettingControl& row) {
    const bool wide = row.frame == 4;
    const int left = row.frame == NoFrame ? 16 : 8 + (wide ? WideColumn * (row.row / 3) : 0);
    const int top = row.frame == NoFrame ? 320 : 18;
    return {left, top + RowHeight * (wide ? row.row % 3 : row.row),
            wide ? WideLabelWidth : LabelWidth, 17};
}

QRect ControlRect(const SettingControl& row) {
    const QRect label = LabelRect(row);
    if (IsFlagSetting(row.setting)) {
        return {label.left(), label.top(), LabelWidth + ControlWidth, 20};
    }
    const int width = row.frame == 4 ? WideControlWidth : ControlWidth;
    return {label.right() + 1, label.top() - 2, width, 20};
}

std::optional<std::span<const ExportChoice>> ChoicesOf(std::string_view setting) {
    for (const ExportChoiceSetting& choice : ExportChoiceSettings()) {
        if (choice.name == setting && !IsFlagSetting(setting)) {
            return choice.choices;
        }
    }
    return std::nullopt;
}

bool Applies(std::string_view setting, const ExportSettings& s) {
    const bool hardware = s.Hardware != ExportHardware::None;
    if (setting == "offset" || setting == "entry" || setting == "behaviour") {
        return !hardware;
    }
    if (setting == "numbering" || setting == "tile-base") {
        return hardware;
    }
    if (setting == "tiles" || setting == "palettes") {
        return hardware && s.Format != ExportFormat::Csv;
    }
    if (setting == "bpp" || setting == "palette-file") {
        return NeedsTilePictures(s);
    }
    if (setting == "backdrop") {
        return NeedsTilePictures(s) && s.Hardware != ExportHardware::Gb && s.PaletteFile.empty();
    }
    if (setting == "nes-palette") {
        return NeedsTilePictures(s) && s.Hardware == ExportHardware::Nes;
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

} // namespace tessra
