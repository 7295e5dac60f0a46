// What only Windows has: the read-only attribute, device names, files held
// open by another program that shares nothing, and copies ended by
// TerminateProcess at random instants; the system folder's DLLs where the
// flag that searches it alone is missing.
#include "BriefHold.h"
#include "FakePlatform.h"
#include "FileLayerExpect.h"
#include "HelperProcess.h"
#include "ResetSequence.h"
#include "WinFilesTest.h"

#include <gtest/gtest.h>

#include "SystemDll.h"
#include "WinSystem.h"
#include "WinText.h"

#include <sddl.h>
#include <winver.h>

#include <chrono>
#include <optional>
#include <random>

using namespace marlo;
using test::failedWith;
using test::helperProgram;
using test::inUse;
using test::Names;
using test::WinFiles;

TEST_F(WinFiles, TheReadOnlyAttributeKeepsAFileFromDeleteAndOverwriteButNotFromAMove)
{
    dir.write("src", "new");
    dir.write("kept.bak", "backup");
    ::SetFileAttributesA((dir / "kept.bak").c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_TRUE(
        failedWith(files->DeleteFile(dir.member("kept.bak"), false), FileFailure::FileReadOnly));
    EXPECT_TRUE(failedWith(copyFile(*files, dir.chosen("src"), dir.member("KEPT.BAK")),
                           FileFailure::DestinationReadOnly));
    EXPECT_EQ(dir.read("kept.bak"), "backup");

    ASSERT_TRUE(files->MoveFile(dir.member("kept.bak"), dir.member("kept.ba2")).ok());
    EXPECT_EQ(attributes("kept.ba2") & FILE_ATTRIBUTE_READONLY, DWORD{FILE_ATTRIBUTE_READONLY});
    ASSERT_TRUE(files->DeleteFile(dir.member("kept.ba2"), true).ok());
    EXPECT_EQ(dir.names(), Names{"src"});
}

namespace {

// A file's access rules as the system hands them out, after setting them to
// `rules` where given.
std::vector<BYTE> accessRules(const std::string& path, const wchar_t* rules = nullptr)
{
    const std::wstring name = win32::widen(path);
    PSECURITY_DESCRIPTOR given = nullptr;
    if (rules && ::ConvertStringSecurityDescriptorToSecurityDescriptorW(rules, SDDL_REVISION_1,
                                                                        &given, nullptr)) {
        ::SetFileSecurityW(name.c_str(), DACL_SECURITY_INFORMATION, given);
        ::LocalFree(given);
    }
    DWORD size = 0;
    ::GetFileSecurityW(name.c_str(), DACL_SECURITY_INFORMATION, nullptr, 0, &size);
    std::vector<BYTE> descriptor(size);
    ::GetFileSecurityW(name.c_str(), DACL_SECURITY_INFORMATION, descriptor.data(), size, &size);
    return descriptor;
}

} // namespace

// As the system's own replace: the new content takes over the replaced file's
// access rules and marks, and is marked for backup. The creation date, kept
// too, only Windows shows.
TEST_F(WinFiles, AReplacedFileKeepsItsAccessRulesAndMarksAndANewOneIsOrdinary)
{
    dir.write("made", "ordinary");
    const std::vector<BYTE> ordinary = accessRules(dir / "made");
    // A copy over the file, and a second name made a file of its own.
    for (const bool secondName : {false, true}) {
        const std::string live = secondName ? "backup" : "live", source = live + ".src";
        dir.write(source, "new");
        if (secondName)
            ASSERT_TRUE(::CreateHardLinkA((dir / live).c_str(), (dir / source).c_str(), nullptr));
        else
            dir.write(live, "old");
        const std::vector<BYTE> given = accessRules(dir / live, L"D:P(A;;FA;;;WD)");
        ASSERT_NE(given, ordinary) << "the drive keeps no access rules to tell";
        ::SetFileAttributesA((dir / live).c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);

        ASSERT_TRUE((secondName
                         ? files->SeparateBackup(dir.member(source), dir.member(live)).status()
                         : copyFile(*files, dir.chosen(source), dir.chosen(live)))
                        .ok());
        EXPECT_EQ(dir.read(live), "new");
        EXPECT_EQ(accessRules(dir / live), given) << live;
        EXPECT_EQ(attributes(live),
                  DWORD{FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE});
    }
    ::SetFileAttributesA((dir / "made").c_str(), FILE_ATTRIBUTE_READONLY);
    ASSERT_TRUE(copyFile(*files, dir.chosen("made"), dir.chosen("new")).ok());
    EXPECT_EQ(attributes("new"), DWORD{FILE_ATTRIBUTE_ARCHIVE});
    EXPECT_EQ(accessRules(dir / "new"), ordinary);
}

TEST_F(WinFiles, PathsAreTakenAsTheSystemTakesThem)
{
    dir.write("MARLOcon.mdb", "live");
    // At a drive's root the folder ends in a backslash and the tools add one.
    EXPECT_TRUE(files->FileExists(FilePath::member(dir.path() + "\\", "MARLOcon.mdb")).value());
    EXPECT_TRUE(files->FileExists(test::chosenPath(dir.path() + "/marlocon.MDB")).value());
    // Devices are no files, whatever folder they seem to lie in.
    EXPECT_FALSE(files->FileExists(dir.member("NUL")).value());
    EXPECT_TRUE(
        failedWith(files->DeleteFile(dir.member("NUL"), false), FileFailure::NameNotOrdinary));

    const std::string folder = hostApplicationFolder();
    EXPECT_FALSE(folder.ends_with('\\'));
    EXPECT_TRUE(files->FileExists(FilePath::member(folder, "file_helper.exe")).value());
    // A chosen file's own name: either slash ends a folder's name.
    EXPECT_EQ(files->NameOf("C:\\radio/old\\one.mdb"), "one.mdb");
}

TEST_F(WinFiles, AFileHeldWithoutSharingIsNeitherReplacedMovedNorDeletedAndTheHolderIsNamed)
{
    dir.write("MARLOcon.mdb", "live");
    dir.write("other.mdb", "other");
    {
        test::HelperProcess holder(helperProgram(), "hold \"" + (dir / "MARLOcon.mdb") + "\"");
        ASSERT_TRUE(holder.ready());
        const FilePath live = dir.member("MARLOcon.mdb");
        EXPECT_TRUE(inUse(files->DeleteFile(live, false)));
        EXPECT_TRUE(inUse(files->MoveFile(live, dir.member("MARLOmdb.bak"))));
        EXPECT_TRUE(inUse(copyFile(*files, dir.chosen("other.mdb"), live)));
        EXPECT_TRUE(inUse(copyFile(*files, live, dir.chosen("export.mdb"))));
        EXPECT_TRUE(inUse(files->FilesNotInUse({dir.member("missing"), live})));
        const Status named = files->FilesNotInUse({live});
        std::cout << "  the holder as named: " << named.error().description << '\n';
        holder.closeInput();
        ASSERT_EQ(holder.wait(10000), 0);
    }
    EXPECT_EQ(dir.names(), (Names{"MARLOcon.mdb", "other.mdb"}));
    EXPECT_EQ(dir.read("MARLOcon.mdb"), "live");
    // Once it lets go, everything goes through.
    EXPECT_TRUE(files->FilesNotInUse({dir.member("MARLOcon.mdb")}).ok());
    ASSERT_TRUE(copyFile(*files, dir.chosen("other.mdb"), dir.member("MARLOcon.mdb")).ok());
    EXPECT_EQ(dir.read("MARLOcon.mdb"), "other");
}

// Readers that share everything (a virus scanner, a sync client) are waited
// out for a moment; one that stays is refused after it, a writer at once, and
// so is a reader that forbids renaming.
TEST_F(WinFiles, AReaderSharingEverythingIsWaitedOutForAMomentAWriterIsNot)
{
    using namespace std::chrono;
    const milliseconds bound = BriefHoldPatience;
    const struct {
        const char* holder; // file_helper's arguments before the path
        int letGoAfter;     // milliseconds; 0: never
        bool movesOn;
        milliseconds atLeast, below;
    } rows[] = {
        {"share read", 500, true, 0ms, bound},
        {"share read", 0, false, bound, bound + 3s},
        {"share write", 0, false, 0ms, bound / 2},
        {"share read-keep", 0, false, 0ms, bound / 2},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(::testing::Message() << row.holder << " for " << row.letGoAfter << " ms");
        dir.write("MARLOcon.mdb", "live");
        test::HelperProcess holder(helperProgram(), std::string(row.holder) + " \"" +
                                                        (dir / "MARLOcon.mdb") + "\" " +
                                                        std::to_string(row.letGoAfter));
        ASSERT_TRUE(holder.ready());
        const auto start = steady_clock::now();
        const Status moved =
            files->MoveFile(dir.member("MARLOcon.mdb"), dir.member("MARLOmdb.bak"));
        const auto waited = duration_cast<milliseconds>(steady_clock::now() - start);
        EXPECT_TRUE(row.movesOn ? moved.ok() : bool(inUse(moved))) << moved.error().description;
        EXPECT_GE(waited, row.atLeast);
        EXPECT_LT(waited, row.below);
        EXPECT_EQ(dir.names(), Names{row.movesOn ? "MARLOmdb.bak" : "MARLOcon.mdb"});
        holder.closeInput();
        ASSERT_EQ(holder.wait(10000), 0);
        std::filesystem::remove(dir / dir.names().front());
    }
}

// A single file call that a brief holder refuses is tried again: here the
// removal of a backup's second name, which no check precedes.
TEST_F(WinFiles, ARemovalRefusedForAMomentIsTriedAgain)
{
    dir.write("MARLOmdb.bak", "backup");
    test::HelperProcess holder(helperProgram(),
                               "share read-keep \"" + (dir / "MARLOmdb.bak") + "\" 300");
    ASSERT_TRUE(holder.ready());
    EXPECT_TRUE(files->RemoveKeptBackup(dir.member("MARLOmdb.bak")).ok());
    EXPECT_EQ(dir.names(), Names{});
}

TEST_F(WinFiles, CopiesEndedAtRandomInstantsLeaveTheOldContentOrTheNew)
{
    const std::string oldContent(1 << 20, 'o');
    std::string newContent(16 << 20, '\0');
    for (std::size_t i = 0; i < newContent.size(); ++i)
        newContent[i] = static_cast<char>(i * 131 % 251);
    dir.write("new.mdb", newContent);
    dir.write("MARLOcon.mdb", oldContent);

    std::mt19937 random(20261207);
    std::uniform_int_distribution<DWORD> instant(0, 120);
    int oldSeen = 0, newSeen = 0;
    for (int run = 0; run < 30; ++run) {
        {
            // Wine now and then loses a process at its start while other
            // programs start beside it; before "ready" the copy has not begun.
            std::optional<test::HelperProcess> copy;
            bool ready = false;
            for (int start = 0; start < 3 && !ready; ++start) {
                copy.emplace(helperProgram(), "copy \"" + (dir / "new.mdb") + "\" \"" +
                                                  dir.member("MARLOcon.mdb").text() + "\"");
                ready = copy->ready();
            }
            ASSERT_TRUE(ready) << "the copying program did not start, exit code " << copy->wait(0);
            if (copy->wait(instant(random)) == -1)
                copy->kill();
        }
        const std::string now = dir.read("MARLOcon.mdb");
        ASSERT_TRUE(now == oldContent || now == newContent) << "torn after run " << run;
        (now == oldContent ? oldSeen : newSeen)++;
        if (now == newContent)
            dir.write("MARLOcon.mdb", oldContent);
    }
    std::cout << "  kept old " << oldSeen << ", got new " << newSeen << ", names left "
              << dir.names().size() << '\n';
    EXPECT_GT(oldSeen, 0);
    // The system removes a temporary file whose writer died while writing it;
    // one killed between letting go of it and the rename goes with the next
    // copy.
    ASSERT_TRUE(copyFile(*files, dir.chosen("new.mdb"), dir.member("MARLOcon.mdb")).ok());
    EXPECT_EQ(dir.names(), (Names{"MARLOcon.mdb", "new.mdb"}));
}

TEST_F(WinFiles, AResetLeavesAHeldDatabaseAloneAsAWhole)
{
    for (const char* name : {"cvmdb1.bin", "cvmdb2.bin", "MARLOcon.mdb", "MARLOspm.mdb",
                             "MARLOmdb.bak", "MARLOspm.bak"})
        dir.write(name, name);
    test::FakePlatform platform(dir.path());
    {
        test::HelperProcess holder(helperProgram(), "hold \"" + (dir / "MARLOmdb.bak") + "\"");
        ASSERT_TRUE(holder.ready());
        ResetSequence(platform, platform).run();
    }
    EXPECT_EQ(dir.read("MARLOcon.mdb"), "MARLOcon.mdb");
    EXPECT_EQ(dir.read("MARLOmdb.bak"), "MARLOmdb.bak");
    EXPECT_EQ(dir.read("MARLOspm.mdb"), "cvmdb2.bin");
    EXPECT_EQ(dir.read("MARLOspm.bak"), "MARLOspm.mdb");
    EXPECT_EQ(dir.read("MARLOspm.ba2"), "MARLOspm.bak");
    EXPECT_EQ(platform.endedWith, 1);
}

namespace marlo::win32 {
namespace {

// A system without the flag that searches the system folder alone.
HMODULE WINAPI loadWithoutSearchFlag(const wchar_t* name, HANDLE file, DWORD flags)
{
    if (flags & LOAD_LIBRARY_SEARCH_SYSTEM32) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return ::LoadLibraryExW(name, file, flags);
}

// Without the flag the optional calls are still there, and still from the
// system folder: the application folder is the user's.
TEST(SystemDllWithoutSearchFlag, LoadsFromTheSystemFolder)
{
    const SystemDll dll(L"version.dll", loadWithoutSearchFlag);
    EXPECT_TRUE(dll.find<decltype(::GetFileVersionInfoSizeW)>("GetFileVersionInfoSizeW"));
    wchar_t folder[MAX_PATH], loaded[MAX_PATH];
    const UINT length = ::GetSystemDirectoryW(folder, MAX_PATH);
    ASSERT_GT(::GetModuleFileNameW(::GetModuleHandleW(L"version.dll"), loaded, MAX_PATH), 0u);
    EXPECT_EQ(::CompareStringOrdinal(loaded, static_cast<int>(length), folder,
                                     static_cast<int>(length), TRUE),
              CSTR_EQUAL);
    EXPECT_FALSE(SystemDll(L"marlo-no-such.dll", loadWithoutSearchFlag).find<void()>("f"));
}

} // namespace
} // namespace marlo::win32
