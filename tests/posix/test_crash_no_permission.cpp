// An ordinary user and an application folder without write access for them:
// export, import, delete and the reset's moves all fail cleanly, and the
// folder keeps every name and every content it had.
#include "ErrorBoxExpect.h"
#include "FakePlatform.h"
#include "FolderSnapshot.h"
#include "OrdinaryUser.h"
#include "ResetSequence.h"
#include "TempFolder.h"
#include "TransferOnDisk.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <sstream>

using namespace marlo;
using namespace marlo::test;

namespace {

const std::string Denied = "permission denied";

std::string generation(const std::string& stem, int g)
{
    return stem + (g == 1 ? ".bak" : ".ba" + std::to_string(g));
}

// Collects what went wrong in the child, where gtest cannot report.
class Problems {
public:
    void expect(bool holds, const std::string& what)
    {
        if (!holds)
            text_ += what + "\n";
    }
    void expectBox(const std::optional<std::string>& box, const std::string& file,
                   const std::string& what)
    {
        const auto named = errorBoxNames(box, file, Denied);
        expect(bool(named), what + ": " + named.message());
    }
    const std::string& text() const { return text_; }

private:
    std::string text_;
};

} // namespace

TEST(NoPermission, AFolderWithoutWriteAccessMakesEveryCommandAndTheResetFailCleanly)
{
    TempFolder root;
    ::chmod(root.path().c_str(), 0755);
    const std::string locked = root / "app", open = root / "open";
    std::filesystem::create_directory(locked);
    std::filesystem::create_directory(open);
    const auto put = [](const std::string& path, const std::string& content, mode_t mode) {
        std::ofstream(path, std::ios::binary) << content;
        ::chmod(path.c_str(), mode);
    };
    put(locked + "/cvmdb1.bin", "template CON", 0644);
    put(locked + "/cvmdb2.bin", "template SPM", 0644);
    put(locked + "/MARLOcon.mdb", "live CON", 0644);
    put(locked + "/MARLOspm.mdb", "live SPM", 0644);
    for (int g = 1; g <= 5; ++g) {
        put(locked + "/" + generation("MARLOmdb", g), "CON " + std::to_string(g), 0644);
        put(locked + "/" + generation("MARLOspm", g), "SPM " + std::to_string(g), 0644);
    }
    // Writable by anyone, in a folder that is not.
    put(locked + "/old export.mdb", "old export", 0666);
    put(open + "/import me.mdb", "to import", 0644);
    ::chmod(locked.c_str(), 0555);
    ::chmod(open.c_str(), 0777);
    // An owner who is no root must be let back in to clean up.
    const struct Unlock {
        std::string folder;
        ~Unlock() { ::chmod(folder.c_str(), 0755); }
    } unlock{locked};
    const Snapshot before = snapshot(locked);

    const OrdinaryRun run = runAsOrdinaryUser([&] {
        Problems p;
        TransferOnDisk transfer(locked);
        p.expectBox(transfer.exportTo(Database::Con, locked + "/old export.mdb"),
                    locked + "/old export.mdb", "export onto an existing file");
        p.expectBox(transfer.exportTo(Database::Spm, locked + "/new export.mdb"),
                    locked + "/new export.mdb", "export onto a new name");
        p.expectBox(transfer.importFrom(Database::Con, open + "/import me.mdb"),
                    open + "/import me.mdb", "import over the CON database");
        p.expectBox(transfer.importFrom(Database::Spm, open + "/import me.mdb"),
                    open + "/import me.mdb", "import over the SPM database");
        p.expectBox(transfer.remove(locked + "/MARLOmdb.ba3"), locked + "/MARLOmdb.ba3",
                    "delete of a generation");
        p.expectBox(transfer.remove(locked + "/old export.mdb"), locked + "/old export.mdb",
                    "delete of a writable file");

        FakePlatform platform(locked);
        ResetSequence(platform, platform).run();
        p.expect(platform.endedWith == 1, "the reset did not end as not reset");
        std::string closing;
        for (const std::string& call : platform.calls)
            if (call.starts_with("MsgBox "))
                closing = call;
        for (const char* live : {"MARLOCON.MDB", "MARLOSPM.MDB"})
            p.expect(
                closing.find(
                    std::string(" ") + live +
                    " was not reset... Permission denied! Its files were left as they were! ") !=
                    std::string::npos,
                std::string("the reset's message does not say that ") + live +
                    " was left as it was: " + closing);

        // Reading is still allowed: an export out of the folder goes through.
        p.expect(!transfer.exportTo(Database::Con, open + "/control.mdb"),
                 "an export to a writable folder failed");
        return p.text();
    });
    if (!run.ran)
        GTEST_SKIP() << "cannot run as an ordinary user: " << run.whyNot;
    EXPECT_EQ(run.problems, "");
    EXPECT_EQ(snapshot(locked), before);
    EXPECT_EQ(root.read("open/control.mdb"), "live CON");
    std::cout << "as " << run.user
              << ": 2 exports, 2 imports, 2 deletes and a reset of a full folder refused, "
                 "folder unchanged; 1 export out of it allowed"
              << std::endl;
}
