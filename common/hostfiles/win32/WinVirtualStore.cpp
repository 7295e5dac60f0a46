#include "WinVirtualStore.h"

#include "HostErrors.h"
#include "MessageBox.h"
#include "VirtualStoreFiles.h"
#include "WinHandle.h"
#include "WinPaths.h"
#include "WinSystem.h"
#include "WinText.h"

#include <cstdint>
#include <cstring>
#include <optional>

namespace marlo {

namespace {

constexpr wchar_t PoliciesKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Policies\\System";
constexpr wchar_t LayersKey[] =
    L"Software\\Microsoft\\Windows NT\\CurrentVersion\\AppCompatFlags\\Layers";
constexpr std::uint16_t MachineI386 = 0x14c;

std::optional<unsigned long> registryNumber(const wchar_t* name)
{
    DWORD value = 0;
    DWORD size = sizeof value;
    if (::RegGetValueW(HKEY_LOCAL_MACHINE, PoliciesKey, name, RRF_RT_REG_DWORD, nullptr, &value,
                       &size) != ERROR_SUCCESS)
        return std::nullopt;
    return value;
}

std::string registryText(HKEY root, const wchar_t* key, const std::wstring& name)
{
    DWORD size = 0;
    if (::RegGetValueW(root, key, name.c_str(), RRF_RT_REG_SZ, nullptr, nullptr, &size) !=
            ERROR_SUCCESS ||
        size < sizeof(wchar_t))
        return {};
    std::wstring text(size / sizeof(wchar_t), L'\0');
    if (::RegGetValueW(root, key, name.c_str(), RRF_RT_REG_SZ, nullptr, text.data(), &size) !=
        ERROR_SUCCESS)
        return {};
    text.resize(::wcsnlen(text.c_str(), text.size()));
    return win32::narrow(text);
}

// The folders as Windows gives them to every process at its start; the
// shell's own library, which would tell them too, costs the start-up time
// the chooser alone should pay.
std::string environmentFolder(const wchar_t* name)
{
    wchar_t value[MAX_PATH];
    const DWORD length = ::GetEnvironmentVariableW(name, value, MAX_PATH);
    return length == 0 || length >= MAX_PATH ? std::string() : win32::narrow({value, length});
}

std::string windowsFolder()
{
    wchar_t value[MAX_PATH];
    const UINT length = ::GetSystemWindowsDirectoryW(value, MAX_PATH);
    return length == 0 || length >= MAX_PATH ? std::string() : win32::narrow({value, length});
}

// The file's first `limit` bytes, or all of a shorter one.
std::string fileStart(const std::wstring& path, DWORD limit)
{
    win32::UniqueHandle file(::CreateFileW(path.c_str(), GENERIC_READ,
                                           FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return {};
    std::string text(limit, '\0');
    DWORD read = 0;
    if (!::ReadFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &read, nullptr))
        return {};
    text.resize(read);
    return text;
}

// The PE header's machine: "MZ", the header's offset at 0x3C, "PE\0\0", then
// the machine.
std::uint16_t imageMachine(const std::string& image)
{
    if (image.size() < 0x40 || image.compare(0, 2, "MZ") != 0)
        return 0;
    std::uint32_t offset = 0;
    std::memcpy(&offset, image.data() + 0x3C, sizeof offset);
    if (offset > image.size() || image.size() - offset < 6 ||
        image.compare(offset, 4, std::string("PE\0\0", 4)) != 0)
        return 0;
    std::uint16_t machine = 0;
    std::memcpy(&machine, image.data() + offset + 4, sizeof machine);
    return machine;
}

// The manifest the loader reads for a program: resource 1 of RT_MANIFEST.
std::optional<std::string> embeddedManifest(const std::wstring& image)
{
    HMODULE module = ::LoadLibraryExW(image.c_str(), nullptr,
                                      LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (!module)
        return std::nullopt;
    std::optional<std::string> manifest;
    if (HRSRC found = ::FindResourceW(module, MAKEINTRESOURCEW(1), RT_MANIFEST)) {
        HGLOBAL loaded = ::LoadResource(module, found);
        const void* data = loaded ? ::LockResource(loaded) : nullptr;
        if (data)
            manifest.emplace(static_cast<const char*>(data), ::SizeofResource(module, found));
    }
    ::FreeLibrary(module);
    return manifest;
}

bool folderExists(const std::string& folder)
{
    const DWORD attributes = ::GetFileAttributesW(win32::systemPath(folder).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

Status makeFolders(const std::string& folder)
{
    if (folderExists(folder))
        return {};
    const std::size_t separator = folder.find_last_of("\\/");
    if (separator != std::string::npos && separator > 2)
        if (Status above = makeFolders(folder.substr(0, separator)); !above)
            return above;
    if (!::CreateDirectoryW(win32::systemPath(folder).c_str(), nullptr) &&
        ::GetLastError() != ERROR_ALREADY_EXISTS)
        return failure(static_cast<long>(::GetLastError()));
    return {};
}

// The view owns the host's layer it is made over.
struct OwnedHost {
    std::unique_ptr<FileSystem> host;
};

class OwnedView : private OwnedHost, public VirtualStoreFiles {
public:
    OwnedView(std::unique_ptr<FileSystem> files, const std::string& installed,
              const std::string& store)
        : OwnedHost{std::move(files)},
          VirtualStoreFiles(*host, installed, store, {folderExists, makeFolders})
    {
    }
};

} // namespace

DeskFacts readDeskFacts()
{
    DeskFacts desk;
    desk.enableLua = registryNumber(L"EnableLUA");
    desk.enableVirtualization = registryNumber(L"EnableVirtualization");
    if (!deskVirtualises(desk))
        return desk;
    for (const wchar_t* name : {L"ProgramFiles", L"ProgramFiles(x86)", L"ProgramData"})
        desk.coveredFolders.push_back(environmentFolder(name));
    desk.coveredFolders.push_back(windowsFolder());
    desk.localAppData = environmentFolder(L"LOCALAPPDATA");
    return desk;
}

ProgramFacts readProgramFacts(const std::string& image)
{
    ProgramFacts program;
    const std::wstring path = win32::systemPath(image);
    program.i386 = imageMachine(fileStart(path, 4096)) == MachineI386;
    const std::wstring name = win32::widen(image);
    // Windows reads an external manifest only where none is embedded.
    if (std::optional<std::string> embedded = embeddedManifest(name))
        program.manifest = std::move(*embedded);
    else
        program.manifest = fileStart(path + L".manifest", 1 << 20);
    for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE})
        program.layers.push_back(registryText(root, LayersKey, name));
    return program;
}

std::unique_ptr<FileSystem> filesAsMainProgramSees(std::unique_ptr<FileSystem> host)
{
    const DeskFacts desk = readDeskFacts();
    if (!deskVirtualises(desk))
        return host;
    const std::string installed = host->ApplicationFolder();
    const std::optional<std::string> store =
        virtualStoreFolder(desk, readProgramFacts(installed + '\\' + MainProgramName), installed);
    if (!store)
        return host;
    return std::make_unique<OwnedView>(std::move(host), installed, *store);
}

} // namespace marlo
