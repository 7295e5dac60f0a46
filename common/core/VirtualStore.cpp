#include "VirtualStore.h"

#include <algorithm>
#include <cctype>

namespace marlo {

namespace {

char folded(char c)
{
    return c == '/' ? '\\' : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

bool sameText(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return folded(x) == folded(y);
           });
}

std::string_view withoutTrailingSeparator(std::string_view path)
{
    while (!path.empty() && folded(path.back()) == '\\')
        path.remove_suffix(1);
    return path;
}

// The manifest without its comments, which Windows does not read.
std::string withoutComments(std::string_view xml)
{
    std::string kept;
    for (std::size_t open = xml.find("<!--"); open != std::string_view::npos;
         open = xml.find("<!--")) {
        kept.append(xml.substr(0, open));
        const std::size_t close = xml.find("-->", open + 4);
        xml.remove_prefix(close == std::string_view::npos ? xml.size() : close + 3);
    }
    return kept.append(xml);
}

} // namespace

bool deskVirtualises(const DeskFacts& desk)
{
    return desk.enableLua.value_or(0) != 0 && desk.enableVirtualization.value_or(1) != 0;
}

bool requestsExecutionLevel(std::string_view text)
{
    const std::string kept = withoutComments(text);
    const std::string_view manifest = kept;
    // The element may carry a namespace prefix ("<ms_asmv2:requested...").
    constexpr std::string_view element = "requestedExecutionLevel";
    for (std::size_t at = manifest.find(element); at != std::string_view::npos;
         at = manifest.find(element, at + 1)) {
        const char before = at == 0 ? '\0' : manifest[at - 1];
        const std::size_t end = at + element.size();
        const char after = end < manifest.size() ? manifest[end] : '\0';
        const bool opens = before == '<' || before == ':';
        const bool whole = after == ' ' || after == '/' || after == '>' || after == '\t' ||
                           after == '\r' || after == '\n';
        if (opens && whole)
            return true;
    }
    return false;
}

bool runsAsAdministrator(std::string_view layers)
{
    while (!layers.empty()) {
        const std::size_t blank = layers.find(' ');
        if (sameText(layers.substr(0, blank), "RUNASADMIN"))
            return true;
        if (blank == std::string_view::npos)
            break;
        layers.remove_prefix(blank + 1);
    }
    return false;
}

bool insideFolder(std::string_view path, std::string_view folder)
{
    folder = withoutTrailingSeparator(folder);
    if (folder.empty() || path.size() < folder.size() ||
        !sameText(path.substr(0, folder.size()), folder))
        return false;
    return path.size() == folder.size() || folded(path[folder.size()]) == '\\';
}

std::optional<std::string> virtualStoreFolder(const DeskFacts& desk, const ProgramFacts& program,
                                              const std::string& folder)
{
    if (!deskVirtualises(desk) || desk.localAppData.empty() || !program.i386 ||
        requestsExecutionLevel(program.manifest))
        return std::nullopt;
    if (std::any_of(program.layers.begin(), program.layers.end(),
                    [](const std::string& l) { return runsAsAdministrator(l); }))
        return std::nullopt;
    const bool covered = std::any_of(desk.coveredFolders.begin(), desk.coveredFolders.end(),
                                     [&](const std::string& f) { return insideFolder(folder, f); });
    // Only a folder on a drive is virtualised: "C:\...", never "\\server\...".
    if (!covered || folder.size() < 3 || folder[1] != ':' || folded(folder[2]) != '\\')
        return std::nullopt;
    std::string store = std::string(withoutTrailingSeparator(desk.localAppData)) +
                        "\\VirtualStore" +
                        std::string(withoutTrailingSeparator(std::string_view(folder).substr(2)));
    std::replace(store.begin(), store.end(), '/', '\\');
    return store;
}

} // namespace marlo
