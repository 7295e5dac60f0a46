#include "QtProgramStart.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace marlo {

namespace {

// The file in `folder` whose name is `name` regardless of case.
std::optional<QString> findInFolder(const QString& folder, const QString& name)
{
    if (folder.isEmpty())
        return std::nullopt;
    const QDir dir(folder);
    if (const QFileInfo exact(dir.filePath(name)); exact.isFile())
        return exact.absoluteFilePath();
    const QFileInfoList entries =
        dir.entryInfoList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    for (const QFileInfo& entry : entries)
        if (entry.fileName().compare(name, Qt::CaseInsensitive) == 0)
            return entry.absoluteFilePath();
    return std::nullopt;
}

QStringList foldersOf(const QString& searchPath)
{
    return searchPath.split(QLatin1Char(':'), Qt::SkipEmptyParts);
}

bool isWindowsProgram(const QString& file)
{
    QFile f(file);
    return f.open(QIODevice::ReadOnly) && f.read(2) == "MZ";
}

} // namespace

QStringList findProgram(const QString& name, const QString& applicationFolder,
                        const QString& searchPath)
{
    QStringList found;
    QStringList folders{applicationFolder};
    folders += foldersOf(searchPath);
    for (const QString& folder : folders)
        if (std::optional<QString> file = findInFolder(folder, name);
            file && !found.contains(*file))
            found.append(*file);
    return found;
}

std::optional<ProgramStart> howToStart(const QString& file, const QString& searchPath)
{
    if (isWindowsProgram(file)) {
        const QString wine =
            QStandardPaths::findExecutable(QStringLiteral("wine"), foldersOf(searchPath));
        if (!wine.isEmpty())
            return ProgramStart{wine, {file}};
    }
    // Without wine a Windows program may still start where the host knows
    // how to run it (binfmt_misc), so it is tried like any other file.
    if (QFileInfo(file).isExecutable())
        return ProgramStart{file, {}};
    return std::nullopt;
}

Result<int> startProgram(const QString& name, const QString& applicationFolder,
                         const QString& searchPath)
{
    const QStringList files = findProgram(name, applicationFolder, searchPath);
    if (files.isEmpty())
        return Result<int>::failure(53, "File not found");
    for (const QString& file : files) {
        const std::optional<ProgramStart> start = howToStart(file, searchPath);
        qint64 pid = 0;
        if (start &&
            QProcess::startDetached(start->program, start->arguments, applicationFolder, &pid))
            return static_cast<int>(pid);
    }
    return Result<int>::failure(5, "Invalid procedure call or argument");
}

} // namespace marlo
