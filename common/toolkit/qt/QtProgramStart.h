#pragma once

#include "Result.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace marlo {

// Files that a bare program name may mean: the match in `applicationFolder`
// first, then one per folder of `searchPath` (colon-separated, as PATH),
// each found without regard to case, the exact spelling preferred.
QStringList findProgram(const QString& name, const QString& applicationFolder,
                        const QString& searchPath);

// How to start a file that was found: a Windows program (it begins with
// "MZ") through `wine` where `searchPath` has one, anything else as itself.
struct ProgramStart {
    QString program;
    QStringList arguments;
};
std::optional<ProgramStart> howToStart(const QString& file, const QString& searchPath);

// Starts the first of the files found for `name` that can be started,
// detached, with `applicationFolder` as its working folder, and answers its
// process id. Fails when nothing could be started.
Result<int> startProgram(const QString& name, const QString& applicationFolder,
                         const QString& searchPath);

} // namespace marlo
