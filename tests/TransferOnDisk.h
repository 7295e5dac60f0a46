#pragma once

#include "FakePlatform.h"
#include "MessageBox.h"
#include "TransferCommands.h"

#include <optional>
#include <string>

namespace marlo::test {

// The dbtransfer file commands on real folders: the host's file layer behind
// the recording fake, a chooser that picks the given name, and Yes to every
// question. Each command answers the error box it showed, if any.
class TransferOnDisk {
public:
    explicit TransferOnDisk(const std::string& applicationFolder) : platform(applicationFolder) {}

    FakePlatform platform;
    FakeCommonDialog chooser{platform};
    TransferCommands commands{platform, chooser};

    std::optional<std::string> exportTo(Database database, const std::string& chosen)
    {
        return run(chosen, [&] { commands.exportDatabase(database); });
    }
    std::optional<std::string> importFrom(Database database, const std::string& chosen)
    {
        return run(chosen, [&] { commands.importDatabase(database); });
    }
    std::optional<std::string> remove(const std::string& chosen)
    {
        return run(chosen, [&] { commands.deleteFile(); });
    }

    // Whether the last command went as far as its copy or delete.
    bool reachedTheFileOperation() const { return reached_; }

private:
    template <class Command>
    std::optional<std::string> run(const std::string& chosen, const Command& command)
    {
        chooser.answers = {chosen};
        platform.msgBoxAnswers = {IDYES};
        const std::size_t first = platform.calls.size();
        command();
        reached_ = false;
        std::optional<std::string> errorBox;
        const std::string errorStart = "MsgBox [MARLO-Corvane:] 16 \"";
        for (std::size_t i = first; i < platform.calls.size(); ++i) {
            const std::string& line = platform.calls[i];
            reached_ =
                reached_ || line.starts_with("StageCopy ") || line.starts_with("DeleteFile ");
            if (line.starts_with(errorStart))
                errorBox = line.substr(errorStart.size());
        }
        return errorBox;
    }

    bool reached_ = false;
};

} // namespace marlo::test
