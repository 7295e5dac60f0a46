#include "QtCommonDialog.h"

#include <QDir>
#include <QFile>
#include <QWidget>

namespace marlo {

namespace {

QString pathFromBytes(const std::string& path)
{
    return QFile::decodeName(QByteArray::fromStdString(path));
}

std::string bytesFromPath(const QString& path)
{
    return QFile::encodeName(QDir::toNativeSeparators(path)).toStdString();
}

} // namespace

QStringList nameFiltersFor(const std::string& filter)
{
    const QStringList items = QString::fromStdString(filter).split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < items.size(); i += 2) {
        QStringList patterns;
        for (QString pattern : items[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            pattern = pattern.trimmed();
            patterns << (pattern == QLatin1String("*.*") ? QStringLiteral("*") : pattern);
        }
        if (patterns.isEmpty())
            patterns << QStringLiteral("*");
        const QString joined = patterns.join(QLatin1Char(' '));
        // The dialog shows only the description (HideNameFilterDetails) and
        // filters by the last parenthesised group, so "All files (*.*)" is
        // shown as written and still matches every name.
        const QString description = items[i].trimmed().isEmpty() ? joined : items[i].trimmed();
        filters << description + QStringLiteral(" (") + joined + QLatin1Char(')');
    }
    return filters;
}

QString defaultSuffixFor(const std::string& defaultExt)
{
    QString suffix = QString::fromStdString(defaultExt).trimmed();
    if (suffix.startsWith(QLatin1Char('*')))
        suffix.remove(0, 1);
    if (suffix.startsWith(QLatin1Char('.')))
        suffix.remove(0, 1);
    if (suffix.contains(QLatin1Char('*')) || suffix.contains(QLatin1Char('?')))
        return {};
    return suffix;
}

QtCommonDialog::QtCommonDialog(QWidget* parent) : parent_(parent) {}

void QtCommonDialog::SetCancelError(bool cancelError)
{
    cancelError_ = cancelError;
}

void QtCommonDialog::SetInitDir(const std::string& folder)
{
    initDir_ = folder;
}

void QtCommonDialog::SetDefaultExt(const std::string& extension)
{
    defaultExt_ = extension;
}

void QtCommonDialog::SetFilter(const std::string& filter)
{
    filter_ = filter;
}

void QtCommonDialog::SetDialogTitle(const std::string& title)
{
    dialogTitle_ = title;
}

Status QtCommonDialog::ShowOpen()
{
    return show(QFileDialog::AcceptOpen);
}

Status QtCommonDialog::ShowSave()
{
    return show(QFileDialog::AcceptSave);
}

std::string QtCommonDialog::FileName() const
{
    return fileName_;
}

Status QtCommonDialog::show(QFileDialog::AcceptMode mode)
{
    QFileDialog dialog(parent_);
    dialog.setObjectName(QStringLiteral("CommonDialog1"));
    dialog.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::DontConfirmOverwrite |
                      QFileDialog::HideNameFilterDetails);
    dialog.setAcceptMode(mode);
    // Any typed name comes back, existing or not: the open commands answer a
    // missing one with their own message.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setWindowTitle(QString::fromStdString(dialogTitle_));
    if (!initDir_.empty())
        dialog.setDirectory(pathFromBytes(initDir_));
    if (const QStringList filters = nameFiltersFor(filter_); !filters.isEmpty())
        dialog.setNameFilters(filters);
    // Only a name to be written gets the extension; an open chooser looks
    // for the name exactly as typed.
    if (mode == QFileDialog::AcceptSave)
        dialog.setDefaultSuffix(defaultSuffixFor(defaultExt_));

    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        if (cancelError_)
            return Status::failure(CancelErrorNumber, "Cancel was selected.");
        fileName_.clear();
        return {};
    }
    fileName_ = bytesFromPath(dialog.selectedFiles().constFirst());
    return {};
}

} // namespace marlo
