#include "platform/export_approvals.h"

#include "platform/qt_text.h"

#include <QSettings>

namespace tessra {

namespace {

const QString ApprovalsKey = QStringLiteral("exportOutside");

// The key of a map and output; both are whole paths.
QString Entry(const std::string& map, const std::string& output) {
    return ShownFileName(map) + QLatin1Char('\n') + ShownFileName(output);
}

} // namespace

std::optional<bool> ExportApprovals::Answer(const std::string& map,
                                            const std::string& output) const {
    const QVariant answer = QSettings().value(ApprovalsKey).toMap().value(Entry(map, output));
    return answer.isValid() ? std::optional(answer.toBool()) : std::nullopt;
}

void ExportApprovals::Remember(const std::string& map, const std::string& output, bool allowed) {
    QSettings settings;
    QVariantMap answers = settings.value(ApprovalsKey).toMap();
    answers.insert(Entry(map, output), allowed);
    settings.setValue(ApprovalsKey, answers);
}

} // namespace tessra
