#include "wizard/FileDialogs.h"

#include <QFileDialog>
#include <QStringList>

namespace tabulon {

namespace {
QString patternsOf(const QString& patterns) {
    QStringList result;
    for (const QString& pattern : patterns.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        if (pattern == QLatin1String("*.*")) {
            result << QStringLiteral("*");
            continue;
        }
        result << pattern;
        if (pattern.toUpper() != pattern)
            result << pattern.toUpper();
    }
    return result.join(QLatin1Char(' '));
}
} // namespace

QStringList qtNameFilters(const std::string& filter) {
    const QStringList parts = QString::fromStdString(filter).split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        filters << parts[i] + QStringLiteral(" (") + patternsOf(parts[i + 1]) + QLatin1Char(')');
    return filters;
}

std::optional<std::string> QtFileDialogs::choose(const FileDialogRequest& request) {
    QFileDialog dialog(m_parent, QString::fromStdString(request.title), QString::fromStdString(request.initialFolder));
    dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    // The wizard asks its own overwrite question, with its own default answer.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setNameFilters(qtNameFilters(request.filter));
    if (!request.fileName.empty())
        dialog.selectFile(QString::fromStdString(request.fileName));
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const QStringList chosen = dialog.selectedFiles();
    return chosen.isEmpty() ? std::string() : chosen.first().toStdString();
}

} // namespace tabulon
