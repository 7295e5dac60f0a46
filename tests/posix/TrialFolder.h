#pragma once

#include "CrashCheck.h"
#include "DatabaseFiles.h"
#include "FamilyJudge.h"
#include "TempFolder.h"

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace marlo::test {

// The kill trials' sizes, from the environment where given: how many runs a
// trial makes, and how large a database is (a template is four times that).
inline int trialParameter(const char* name, int fallback)
{
    const char* given = std::getenv(name);
    return given ? std::stoi(given) : fallback;
}
inline int trialRuns()
{
    return trialParameter("MARLO_KILL_RUNS", 64);
}

// A full application folder, `app`, in a temporary folder of its own: both
// live databases, five generations of each and both templates, every one
// with a content of its own, and beside the folder a file to import. Every
// folder of a trial holds the same contents, made once.
struct TrialFolder {
    TempFolder root;
    std::string app = root / "app";
    std::string source = root / "import me.mdb";
    const std::string& sourceContent = made().sourceContent;
    const FamilyTrial (&families)[2] = made().families;

    TrialFolder()
    {
        std::filesystem::create_directory(app);
        root.write("import me.mdb", sourceContent);
        for (const FamilyTrial& f : families) {
            for (int g = BackupGenerations; g >= 1; --g)
                lay(backupPath(app, f.database, g),
                    f.kept[static_cast<std::size_t>(BackupGenerations - g)]);
            lay(memberPath(app, f.database, Role::Live), f.kept.back());
            lay(memberPath(app, f.database, Role::Template), *f.templateContent);
        }
    }

    // What the commands of a run did: those that put new content in place
    // or may have (completed or killed), those of them that completed, and
    // whether a delete of the live CON database may have run.
    struct Ran {
        int resets = 0, imports = 0;
        int resetsCompleted = 0, importsCompleted = 0;
        bool deleted = false;
    };
    // The families as such commands may have left them.
    std::vector<FamilyTrial> after(const Ran& ran) const
    {
        std::vector<FamilyTrial> result;
        for (FamilyTrial f : families) {
            const bool con = f.database == Database::Con;
            f.mayDrop = ran.resets + (con ? ran.imports : 0);
            if (ran.resets > 0)
                f.brought.push_back(*f.templateContent);
            if (con && ran.imports > 0)
                f.brought.push_back(sourceContent);
            f.mayDelete = con && ran.deleted;
            f.liveIsNew = ran.resetsCompleted > 0 || (con && ran.importsCompleted > 0);
            result.push_back(f);
        }
        return result;
    }

private:
    struct Contents {
        std::string sourceContent;
        FamilyTrial families[2] = {{Database::Con}, {Database::Spm}};
    };
    static const Contents& made()
    {
        static const Contents contents = [] {
            const std::size_t size =
                static_cast<std::size_t>(trialParameter("MARLO_KILL_BYTES", 256 << 10));
            Contents c;
            c.sourceContent = distinctContent("import source", size + 1);
            for (FamilyTrial& f : c.families) {
                const std::string db = f.database == Database::Con ? "CON" : "SPM";
                for (int g = BackupGenerations; g >= 1; --g)
                    f.kept.push_back(
                        distinctContent(db + " generation " + std::to_string(g), size + g));
                f.kept.push_back(distinctContent("live " + db, size));
                f.templateContent = distinctContent("template " + db, 4 * size);
            }
            return c;
        }();
        return contents;
    }
    void lay(const FilePath& path, const std::string& content) const
    {
        root.write("app/" + path.name(), content);
    }
};

} // namespace marlo::test
