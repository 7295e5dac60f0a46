#include "QtCommonDialog.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QStringList>
#include <QWidget>

#include <utility>

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

// One "desc (patterns)" per file type. "*.*" becomes "*" so that names
// without a dot show too.
QStringList nameFiltersFor(const std::vector<FileType>& types)
{
    QStringList filters;
    for (const FileType& type : types) {
        QStringList patterns;
        for (const std::string& pattern : type.patterns)
            patterns << (pattern == "*.*" ? QStringLiteral("*") : QString::fromStdString(pattern));
        const QString joined = patterns.join(QLatin1Char(' '));
        // The dialog shows only the description (HideNameFilterDetails) and
        // filters by the last parenthesised group, so "All files (*.*)" is
        // shown as written and still matches every name.
        const QString description = QString::fromStdString(type.description).trimmed();
        filters << (description.isEmpty() ? joined : description) + QStringLiteral(" (") + joined +
                       QLatin1Char(')');
    }
    return filters;
}

} // namespace

QtCommonDialog::QtCommonDialog(QWidget* parent, QString name)
    : FileChooser(PathForm::Posix), parent_(parent), name_(std::move(name))
{
}

Result<ChooserAnswer> QtCommonDialog::showChooser(const ChooserRequest& request)
{
    QFileDialog dialog(parent_);
    dialog.setObjectName(name_);
    dialog.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::DontConfirmOverwrite |
                      QFileDialog::HideNameFilterDetails);
    dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    // Any typed name comes back, existing or not: the open commands answer a
    // missing one with their own message.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setWindowTitle(QString::fromStdString(request.title));
    if (!request.initialFolder.empty())
        dialog.setDirectory(pathFromBytes(request.initialFolder));
    if (!request.fileTypes.empty())
        dialog.setNameFilters(nameFiltersFor(request.fileTypes));
    // The name as a whole path in the folder just set: Qt would take a bare
    // name that starts with ':' for a path of its own and move the dialog.
    if (!request.initialName.empty())
        dialog.selectFile(QDir::cleanPath(dialog.directory().absolutePath() + QLatin1Char('/') +
                                          pathFromBytes(request.initialName)));

    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return ChooserAnswer();
    return ChooserAnswer(bytesFromPath(dialog.selectedFiles().constFirst()));
}

} // namespace marlo
