#include "StateJudge.h"

#include "FamilyJudge.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <regex>

namespace marlo::test {

namespace {

using Files = std::map<std::string, std::string>;

Files readFolder(const std::string& folder)
{
    Files files;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        std::ifstream in(entry.path(), std::ios::binary);
        files[entry.path().filename().string()] =
            std::string(std::istreambuf_iterator<char>(in), {});
    }
    return files;
}

// The file layer's named temporary: hidden, named for its destination.
bool isTemporary(const std::string& name)
{
    static const std::regex temporary(R"(\..+\.~marlo-[A-Za-z0-9]{6}\.tmp)");
    return std::regex_match(name, temporary);
}

std::optional<std::string> at(const Files& files, const std::string& name)
{
    const auto found = files.find(name);
    return found == files.end() ? std::nullopt : std::optional(found->second);
}

std::string describe(const std::optional<std::string>& content, const Files& known)
{
    if (!content)
        return "missing";
    if (content->empty())
        return "empty";
    for (const auto& [name, c] : known)
        if (c == *content)
            return "the content of " + name;
    return "torn (" + std::to_string(content->size()) + " bytes of no known content)";
}

class Judge {
public:
    Judge(const std::string& folder, const OperationCase& c)
        : c_(c), files_(readFolder(folder)), before_(c.layout), after_(c.completed())
    {
        for (const auto& [name, content] : before_)
            known_["old " + name] = content;
        for (const auto& [name, content] : after_)
            known_["new " + name] = content;
    }

    std::vector<std::string> faults;

    void expectExactly(const Files& expected, bool asideMayStay)
    {
        for (const auto& [name, content] : files_) {
            if (asideMayStay && isAside(name) && content == oldest(name))
                continue;
            if (expected.count(name) == 0)
                fault(name + " should not be there");
        }
        for (const auto& [name, content] : expected)
            if (at(files_, name) != content)
                fault(name + " should be " + describe(content, known_) + ", is " +
                      describe(at(files_, name), known_));
    }

    void expectEveryNameKnown()
    {
        for (const auto& [name, content] : files_)
            if (!isTemporary(name) && !isAside(name) && before_.count(name) == 0 &&
                after_.count(name) == 0)
                fault("unexpected file " + name);
    }

    // Every file that is not the operation's stays as it was.
    void expectOthersUntouched()
    {
        for (const auto& [name, content] : before_)
            if (!isOperationsFile(name) && at(files_, name) != content)
                fault(name + " is " + describe(at(files_, name), known_) + ", not as it was");
    }

    void expectFamily(const Family& f)
    {
        const auto live = at(files_, f.live);
        if (f.oldLive ? !(live == f.oldLive || live == f.newLive)
                      : !(live == std::nullopt || live == f.newLive))
            fault(f.live + " is " + describe(live, known_));
        if (f.oldLive && !holds(f.live, *f.oldLive) && !holds(f.generation(1), *f.oldLive))
            fault("the old " + f.live + " is neither under its name nor " + f.generation(1));
        for (std::size_t i = 0; i < f.generations.size(); ++i) {
            const int g = static_cast<int>(i) + 1;
            const std::string& content = f.generations[i];
            const std::string up = g < 5 ? f.generation(g + 1) : f.aside;
            if (holds(f.generation(g), content) || holds(up, content))
                continue;
            if (g == 5 && live == f.newLive)
                continue; // dropped, as the completed operation drops it
            fault("the old " + f.generation(g) + " is neither under its name nor " + up);
        }
        // A generation name holds only a generation's content, whole.
        for (int g = 1; g <= 5; ++g) {
            const auto now = at(files_, f.generation(g));
            if (!now)
                continue;
            const bool own = g <= static_cast<int>(f.generations.size()) &&
                             *now == f.generations[static_cast<std::size_t>(g) - 1];
            const bool oneDown = g == 1
                                     ? f.oldLive && *now == *f.oldLive
                                     : g - 1 <= static_cast<int>(f.generations.size()) &&
                                           *now == f.generations[static_cast<std::size_t>(g) - 2];
            if (!own && !oneDown)
                fault(f.generation(g) + " is " + describe(now, known_));
        }
        if (const auto aside = at(files_, f.aside);
            aside && (f.generations.size() < 5 || *aside != f.generations[4]))
            fault(f.aside + " is " + describe(aside, known_));
    }

    void expectReplaced(const Replaced& r)
    {
        const auto now = at(files_, r.name);
        if (!(now == r.before || now == r.after))
            fault(r.name + " is " + describe(now, known_));
    }

    const Files& files() const { return files_; }

private:
    bool holds(const std::string& name, const std::string& content) const
    {
        return at(files_, name) == content;
    }
    bool isAside(const std::string& name) const
    {
        for (const Family& f : c_.families)
            if (name == f.aside)
                return true;
        return false;
    }
    std::string oldest(const std::string& aside) const
    {
        for (const Family& f : c_.families)
            if (aside == f.aside && f.generations.size() == 5)
                return f.generations[4];
        return "\1";
    }
    bool isOperationsFile(const std::string& name) const
    {
        for (const Family& f : c_.families) {
            if (name == f.live)
                return true;
            for (int g = 1; g <= 5; ++g)
                if (name == f.generation(g))
                    return true;
        }
        for (const Replaced& r : c_.replaced)
            if (name == r.name)
                return true;
        return false;
    }
    void fault(const std::string& what) { faults.push_back(what); }

    const OperationCase& c_;
    Files files_, before_, after_, known_;
};

} // namespace

std::vector<std::string> judgeFolder(const std::string& folder, const OperationCase& c, Phase phase)
{
    Judge judge(folder, c);
    if (phase == Phase::Before) {
        judge.expectExactly(c.layout, false);
        return judge.faults;
    }
    if (phase == Phase::Completed) {
        judge.expectExactly(c.completed(), true);
        return judge.faults;
    }
    judge.expectEveryNameKnown();
    judge.expectOthersUntouched();
    for (const Family& f : c.families)
        judge.expectFamily(f);
    for (const Replaced& r : c.replaced)
        judge.expectReplaced(r);
    return judge.faults;
}

bool canRunAgain(const std::string& folder, const OperationCase& c)
{
    for (const Replaced& r : c.replaced)
        if (!r.after && !std::filesystem::exists(std::filesystem::path(folder) / r.name))
            return false;
    return true;
}

std::vector<std::string> judgeNextRun(const std::string& folder, const OperationCase& c, int status)
{
    std::vector<std::string> faults;
    if (status != 0)
        faults.push_back("the next " + c.operation + " failed (exit status " +
                         std::to_string(status) + ")");
    const Files files = readFolder(folder);
    for (const Family& f : c.families)
        if (at(files, f.live) != f.newLive)
            faults.push_back("after the next " + c.operation + ", " + f.live + " is not new");
    for (const Replaced& r : c.replaced)
        if (at(files, r.name) != r.after)
            faults.push_back("after the next " + c.operation + ", " + r.name + " is not new");
    // By content and identity, as the kill trials judge a family: nothing
    // lost but the oldest generation of each run, and no backup left a
    // second name of its live database.
    for (const Family& f : c.families) {
        const bool con = f.live == memberPath(folder, Database::Con, Role::Live).name();
        FamilyTrial trial{con ? Database::Con : Database::Spm};
        trial.kept.assign(f.generations.rbegin(), f.generations.rend());
        if (f.oldLive)
            trial.kept.push_back(*f.oldLive);
        trial.brought = {f.newLive};
        if (const auto templ =
                c.layout.find(memberPath(folder, trial.database, Role::Template).name());
            templ != c.layout.end())
            trial.templateContent = templ->second;
        trial.mayDrop = 2;
        trial.liveIsNew = true;
        const Judgement j = judgeFamily(folder, trial);
        for (const auto* found : {&j.faults, &j.secondNames})
            for (const std::string& fault : *found)
                faults.push_back("after the next " + c.operation + ", " + fault);
    }
    // A temporary file is removed by the next copy to its destination. An
    // oldest generation set aside stays until a command needs its name again.
    for (const auto& [name, content] : files) {
        if (isTemporary(name))
            faults.push_back("the next " + c.operation + " left " + name);
        for (const Family& f : c.families)
            if (name == f.aside && (f.generations.size() < 5 || content != f.generations[4]))
                faults.push_back("after the next " + c.operation + ", " + name +
                                 " holds no set-aside generation");
    }
    return faults;
}

} // namespace marlo::test
