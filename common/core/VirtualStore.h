#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace marlo {

// What Windows weighs before it virtualises a program's files: with UAC on,
// an old 32-bit program that does not say how it is to run is shown a merged
// view of the folders only administrators may change. What it writes there
// goes to the user's VirtualStore, and what it reads there comes from the
// VirtualStore where a copy is, else from the folder itself.

// The desk's side, the same for every program.
struct DeskFacts {
    // HKLM\...\Policies\System: EnableLUA (missing: UAC off, as under Wine)
    // and EnableVirtualization (missing: on).
    std::optional<unsigned long> enableLua;
    std::optional<unsigned long> enableVirtualization;
    // Folders whose files are virtualised: Program Files (both), the Windows
    // folder, ProgramData. Empty entries are ignored.
    std::vector<std::string> coveredFolders;
    // %LOCALAPPDATA%, which holds VirtualStore.
    std::string localAppData;
};

// The main program's side.
struct ProgramFacts {
    bool i386 = false; // its image's PE machine is 0x14c
    // The manifest Windows reads: the embedded one where there is one, else
    // the external "NAME.EXE.manifest" beside it; empty for none.
    std::string manifest;
    // Its compatibility layers (AppCompatFlags\Layers, the value for its
    // full path), HKCU's and HKLM's.
    std::vector<std::string> layers;
};

// Whether the desk virtualises any program at all: asked first, so that a
// desk without UAC never has the program's image read.
bool deskVirtualises(const DeskFacts& desk);

// Whether a manifest names an execution level, which turns virtualisation
// off whatever the level.
bool requestsExecutionLevel(std::string_view manifest);

// Whether a compatibility layer string asks to run as administrator.
bool runsAsAdministrator(std::string_view layers);

// Whether `path` is `folder` or lies inside it, as Windows compares paths:
// '\' or '/' between the parts, ASCII letters in either case.
bool insideFolder(std::string_view path, std::string_view folder);

// The VirtualStore folder whose files the main program, in `folder`, sees
// instead of those installed there, or none where Windows does not
// virtualise it: the store keeps the path without its drive.
std::optional<std::string> virtualStoreFolder(const DeskFacts& desk, const ProgramFacts& program,
                                              const std::string& folder);

} // namespace marlo
