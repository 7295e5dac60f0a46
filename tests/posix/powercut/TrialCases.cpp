#include "TrialCases.h"

#include "CrashCheck.h"

namespace marlo::test {

namespace {

// Large enough to span many blocks, so that a torn file shows.
constexpr std::size_t Size = 256 << 10;

Family family(const std::string& folder, bool con, bool live, int generations,
              const std::string& newLive)
{
    Family f;
    f.live = con ? "MARLOcon.mdb" : "MARLOspm.mdb";
    f.stem = con ? "MARLOmdb" : "MARLOspm";
    f.aside = std::string(".").append(f.stem).append(".ba5.~marlo-old");
    if (live)
        f.oldLive = distinctContent(folder + " live " + f.live, Size);
    for (int g = 1; g <= generations; ++g)
        f.generations.push_back(distinctContent(folder + " " + f.generation(g), Size));
    f.newLive = newLive;
    return f;
}

OperationCase makeCase(std::string folder, std::string operation, std::vector<Family> families,
                       std::vector<Replaced> replaced, std::map<std::string, std::string> others)
{
    OperationCase c{std::move(folder), std::move(operation), std::move(others), std::move(families),
                    std::move(replaced)};
    for (const Family& f : c.families) {
        if (f.oldLive)
            c.layout[f.live] = *f.oldLive;
        for (std::size_t g = 0; g < f.generations.size(); ++g)
            c.layout[f.generation(static_cast<int>(g) + 1)] = f.generations[g];
    }
    for (const Replaced& r : c.replaced)
        c.layout[r.name] = r.before;
    return c;
}

std::string content(const std::string& folder, const std::string& what)
{
    return distinctContent(folder + " " + what, Size);
}

OperationCase importLive()
{
    const std::string f = "1-import-live";
    const std::string chosen = content(f, "chosen");
    return makeCase(f, "import-live", {family(f, true, true, 5, chosen)}, {},
                    {{"NEW.MDB", chosen}, {"MARLOspm.mdb", content(f, "SPM")}});
}

OperationCase importAbsent()
{
    const std::string f = "2-import-absent";
    const std::string chosen = content(f, "chosen");
    return makeCase(f, "import-absent", {family(f, true, false, 0, chosen)}, {},
                    {{"NEW.MDB", chosen}, {"MARLOspm.mdb", content(f, "SPM")}});
}

OperationCase exportOver()
{
    const std::string f = "3-export";
    const std::string live = content(f, "CON");
    return makeCase(f, "export", {}, {{"EXPORT.MDB", content(f, "old export"), live}},
                    {{"MARLOcon.mdb", live}, {"MARLOspm.mdb", content(f, "SPM")}});
}

OperationCase reset(const std::string& f, int generations)
{
    const std::string con = content(f, "template CON"), spm = content(f, "template SPM");
    return makeCase(
        f, "reset",
        {family(f, true, true, generations, con), family(f, false, true, generations, spm)}, {},
        {{"cvmdb1.bin", con}, {"cvmdb2.bin", spm}});
}

OperationCase deleteFile()
{
    const std::string f = "6-delete";
    return makeCase(f, "delete", {}, {{"OLD.MDB", content(f, "old file"), std::nullopt}},
                    {{"MARLOcon.mdb", content(f, "CON")}});
}

} // namespace

std::map<std::string, std::string> OperationCase::completed() const
{
    std::map<std::string, std::string> after = layout;
    for (const Family& f : families) {
        after[f.live] = f.newLive;
        if (!f.oldLive)
            continue;
        // Each generation one up; the oldest drops out.
        after[f.generation(1)] = *f.oldLive;
        for (std::size_t g = 0; g < f.generations.size() && g + 2 <= 5; ++g)
            after[f.generation(static_cast<int>(g) + 2)] = f.generations[g];
    }
    for (const Replaced& r : replaced) {
        if (r.after)
            after[r.name] = *r.after;
        else
            after.erase(r.name);
    }
    return after;
}

std::vector<OperationCase> trialCases()
{
    return {importLive(),
            importAbsent(),
            exportOver(),
            reset("4-reset.five", 5),
            reset("5-reset.one", 1),
            deleteFile()};
}

std::vector<OperationCase> importCaseOnly()
{
    return {importLive()};
}

} // namespace marlo::test
