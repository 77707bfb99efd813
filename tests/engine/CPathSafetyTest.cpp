#include "CPathSafety.h"
#include "CFileEntry.h"
#include "CProtectedPlaces.h"

#include <gtest/gtest.h>

#include <windows.h>

TEST(CPathSafety, OnlyFullPathsWithoutDotPartsAreAbsolute)
{
    for (const char* ok : {"C:\\", "C:\\Temp", "c:\\a b\\c.d\\", "C:\\x\\..y", "\\\\server\\share",
                           "\\\\server\\share\\folder", "C:/Temp"})
        EXPECT_TRUE(CPathSafety::IsAbsolute(ok)) << ok;
    for (const char* bad : {"", "C:", "C:Temp", "Temp", "\\Temp", ".\\Temp", "C:\\Temp\\..",
                            "C:\\a\\.\\b", "C:\\a\\..\\..\\Windows", "\\\\?\\C:\\Temp", "\\\\.\\C:",
                            "\\\\server", "\\\\server\\", "\\\\\\share", "1:\\x",
                            "C:\\a.txt:hidden", "C:\\a.txt::$DATA", "C:\\a:b\\c", "\\\\server\\share\\a:b"})
        EXPECT_FALSE(CPathSafety::IsAbsolute(bad)) << bad;
}

TEST(CPathSafety, RootsAndTheSystemFoldersAreProtected)
{
    char win[MAX_PATH], sys[MAX_PATH];
    GetWindowsDirectoryA(win, MAX_PATH);
    GetSystemDirectoryA(sys, MAX_PATH);
    for (const std::string& p : {std::string("C:"), std::string("C:\\"), std::string("D:\\\\"),
                                 std::string("\\\\server\\share"), std::string("\\\\server\\share\\"),
                                 std::string(win), std::string(win) + "\\", std::string(sys),
                                 std::string("c:\\WINDOWS"), std::string("")})
        EXPECT_TRUE(CPathSafety::IsProtectedFolder(p)) << p;
    for (const std::string& p : {std::string(win) + "\\Temp", std::string("C:\\Temp"),
                                 std::string("\\\\server\\share\\x")})
        EXPECT_FALSE(CPathSafety::IsProtectedFolder(p)) << p;
    EXPECT_TRUE(CPathSafety::IsTreeAllowed(std::string(win) + "\\Temp"));
    EXPECT_FALSE(CPathSafety::IsTreeAllowed("C:\\"));
    EXPECT_FALSE(CPathSafety::IsTreeAllowed("Temp"));
}

namespace {

std::string Windows()
{
    char buf[MAX_PATH];
    GetWindowsDirectoryA(buf, MAX_PATH);
    return buf;
}

std::string System()
{
    char buf[MAX_PATH];
    GetSystemDirectoryA(buf, MAX_PATH);
    return buf;
}

std::string Short(const std::string& path)
{
    char buf[MAX_PATH];
    DWORD n = GetShortPathNameA(path.c_str(), buf, MAX_PATH);
    return n > 0 && n < MAX_PATH ? std::string(buf, n) : std::string();
}

}  // namespace

// Every spelling under which the system opens a protected folder is protected too.
TEST(CPathSafety, OtherSpellingsOfProtectedFoldersAreProtected)
{
    const std::string win = Windows(), sys = System();
    const std::string drive = win.substr(0, 2), tail = win.substr(2);   // "C:", "\windows"
    const std::string letter = win.substr(0, 1);
    struct Case {
        std::string path;
        bool tree;   // the expected IsTreeAllowed verdict
    };
    const Case cases[] = {
        {drive + "\\" + tail, false},                       // doubled separator
        {drive + tail + "\\\\", false},                     // doubled trailing separator
        {win + ".", false},                                 // trailing dot
        {win + " ", false},                                 // trailing blank
        {win + ". .", false},                               // dots and blanks
        {win + " \\System32", false},                       // a blank inside
        {sys + "\\..", false},                              // relative piece
        {win + "\\Temp\\..\\", false},
        {"\\\\localhost\\" + letter + "$" + tail, false},   // admin share
        {"\\\\otherhost\\" + letter + "$", false},          // a share's root
        {"\\\\localhost\\ADMIN$", false},
        {"\\\\localhost\\ADMIN$\\System32", false},
        {"\\\\?\\" + win, false},                           // device forms
        {"\\\\.\\" + win, false},
        {"\\\\?\\UNC\\localhost\\" + letter + "$" + tail, false},
        {win + "\\Sysnative", false},                       // 64-bit system folder alias
        {win + "\\SysWOW64", false},
        {drive + "\\.", false},                             // root spellings
        {drive + "\\\\\\", false},
        {"\\\\server\\share\\.", false},
        {"\\\\server\\share\\\\", false},
        {win + "\\Temp", true},                             // controls: below them is fine
        {win + "x", true},
        {drive + "\\qtest\\Windows", true},
        {"\\\\localhost\\share\\folder", true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CPathSafety::IsTreeAllowed(c.path), c.tree) << "IsTreeAllowed(\"" << c.path << "\")";
        if (!c.tree && CPathSafety::IsAbsolute(c.path)) {
            EXPECT_TRUE(CPathSafety::IsProtectedFolder(c.path)) << "IsProtectedFolder(\"" << c.path << "\")";
        }
    }
}

TEST(CPathSafety, ShortNamesAndFoldersAboveTheSystemResolveLikeTheSystem)
{
    // A long name of the test's own, so that a real 8.3 alias exists.
    const std::string longName = "C:\\qtest\\A Rather Long Folder Name";
    CreateDirectoryA("C:\\qtest", nullptr);
    CreateDirectoryA(longName.c_str(), nullptr);
    const std::string alias = Short(longName);
    ASSERT_FALSE(alias.empty()) << "no short name for " << longName;
    ASSERT_NE(alias, longName);
    EXPECT_EQ(CPathSafety::Resolved(alias), longName) << "the alias " << alias;
    EXPECT_EQ(CPathSafety::Resolved("c:\\\\qtest\\.\\A Rather Long Folder Name. \\"), "C:\\qtest\\A Rather Long Folder Name");
    const std::string sysAlias = Short(System());
    EXPECT_TRUE(CPathSafety::IsProtectedFolder(sysAlias)) << "the system folder as " << sysAlias;
    // A folder that holds the Windows folder would take it along when emptied.
    const std::string win = Windows();
    const std::string parent = win.substr(0, win.find_last_of('\\'));
    if (parent.size() > 3) {
        EXPECT_TRUE(CPathSafety::IsProtectedFolder(parent)) << parent;
    }
    RemoveDirectoryA(longName.c_str());
}

TEST(CPathSafety, OnlyNameSurrogatesAreLinks)
{
    using S = CPathSafety;
    const DWORD rp = FILE_ATTRIBUTE_REPARSE_POINT, dir = FILE_ATTRIBUTE_DIRECTORY;
    const DWORD dedup = 0x80000013, cloud = 0x9000001A, wof = 0x80000017;   // data-holding tags
    struct Case {
        DWORD attributes, tag;
        S::TEntryKind kind;
    } cases[] = {
        {FILE_ATTRIBUTE_NORMAL, 0, S::ekFile},
        {FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY, 0, S::ekFile},
        {dir, 0, S::ekFolder},
        {rp, IO_REPARSE_TAG_SYMLINK, S::ekLink},
        {rp | dir, IO_REPARSE_TAG_MOUNT_POINT, S::ekLink},
        {rp | dir, IO_REPARSE_TAG_SYMLINK, S::ekLink},
        {rp, dedup, S::ekDataReparseFile},
        {rp, wof, S::ekDataReparseFile},
        {rp, cloud, S::ekDataReparseFile},
        {rp | dir, cloud, S::ekDataReparseFolder},
        {rp, 0, S::ekUnknown},   // a tag that could not be read
        {rp | dir, 0, S::ekUnknown},
    };
    for (const Case& c : cases)
        EXPECT_EQ(S::KindOf(c.attributes, c.tag), c.kind)
            << "attributes 0x" << std::hex << c.attributes << " tag 0x" << c.tag;
}

TEST(CFileEntry, TheHandleSaysWhatTheEntryIs)
{
    CreateDirectoryA("C:\\qtest", nullptr);
    HANDLE f = CreateFileA("C:\\qtest\\entry.txt", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(f, INVALID_HANDLE_VALUE);
    CloseHandle(f);
    EXPECT_EQ(CFileEntry("C:\\qtest\\entry.txt").Kind(), CPathSafety::ekFile);
    EXPECT_EQ(CFileEntry("C:\\qtest").Kind(), CPathSafety::ekFolder);
    EXPECT_EQ(CFileEntry("C:").Kind(), CPathSafety::ekFolder) << "\"C:\" is the drive's root here";
    EXPECT_EQ(CFileEntry("C:\\qtest\\missing").Kind(), CPathSafety::ekUnknown);
    {
        // A writer held alone keeps the name from being removed or replaced meanwhile.
        CFileEntry writer("C:\\qtest\\entry.txt", GENERIC_WRITE, 0);
        ASSERT_TRUE(writer.IsOpen()) << "error " << GetLastError();
        EXPECT_EQ(writer.Kind(), CPathSafety::ekFile);
        EXPECT_FALSE(DeleteFileA("C:\\qtest\\entry.txt")) << "a held entry cannot be removed";
        EXPECT_FALSE(MoveFileA("C:\\qtest\\entry.txt", "C:\\qtest\\moved.txt")) << "nor renamed";
        EXPECT_TRUE(writer.IsSameAs(CFileEntry("C:\\qtest\\entry.txt")));
        EXPECT_FALSE(writer.IsSameAs(CFileEntry("C:\\qtest"))) << "another entry";
    }
    {
        // A folder held for listing cannot be renamed away under the walk.
        CreateDirectoryA("C:\\qtest\\held", nullptr);
        CFileEntry lister("C:\\qtest\\held", FILE_LIST_DIRECTORY, FILE_SHARE_READ | FILE_SHARE_WRITE);
        EXPECT_EQ(lister.Kind(), CPathSafety::ekFolder);
        EXPECT_FALSE(MoveFileA("C:\\qtest\\held", "C:\\qtest\\moved")) << "a held folder cannot be renamed";
    }
    RemoveDirectoryA("C:\\qtest\\held");
    EXPECT_TRUE(DeleteFileA("C:\\qtest\\entry.txt"));
}

// Below the Windows folder only the places that cleaners work in are open, and an open place
// opens no tree of its own that lies in it.
TEST(CPathSafety, BelowTheWindowsFolderOnlyTheCleanedPlacesAreOpen)
{
    const std::string win = Windows();
    CreateDirectoryA("C:\\qtest", nullptr);
    HKEY k;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Ostrand\\Quelora\\Data", 0, nullptr, 0, KEY_SET_VALUE,
                              nullptr, &k, nullptr),
              ERROR_SUCCESS);
    const std::string installed = win + "\\Temp\\Quelora\\";
    RegSetValueExA(k, "InstallationPath", 0, REG_SZ, reinterpret_cast<const BYTE*>(installed.c_str()),
                   static_cast<DWORD>(installed.size() + 1));
    RegCloseKey(k);
    struct Case {
        std::string path;
        bool tree;   // the expected IsTreeAllowed verdict
    };
    const Case cases[] = {
        {win + "\\TEMP\\sub", true},
        {win + "\\Downloaded Program Files", true},
        {win + "\\Temporary Internet Files\\Content.IE5", true},
        {win + "\\Cookies", true},
        {win + "\\History", true},
        {win + "\\Recent", true},
        {win + "\\Application Data\\Microsoft\\Office\\Recent", true},
        {win + "\\Profiles\\someone\\Cookies", true},
        {win + "\\Profiles\\someone\\Application Data\\Mozilla\\Profiles", true},
        {win + "\\Fonts", false},
        {win + "\\Application Data", false},
        {win + "\\Application Data\\Microsoft", false},
        {win + "\\Profiles", false},
        {win + "\\Profiles\\someone", false},
        {win + "\\Profiles\\someone\\Desktop", false},
        {win + "\\Tempx", false},
        {win + "\\Temp", false},                     // it holds Quelora's folder here
        {win + "\\Temp\\Quelora", false},          // Quelora installed in an open place
        {win + "\\Temp\\Quelora\\Lang", false},
    };
    const CProtectedPlaces places;   // read after the installation path was written
    for (const Case& c : cases)
        EXPECT_EQ(CPathSafety::IsTreeAllowed(c.path, places), c.tree) << "IsTreeAllowed(\"" << c.path << "\")";
    EXPECT_FALSE(CPathSafety::IsFileAllowed(win + "\\win.ini", places)) << "a file in the Windows folder";
    EXPECT_FALSE(CPathSafety::IsFileAllowed(win + "\\Temp\\Quelora\\cmfiles.ftd", places)) << "Quelora's list";
    EXPECT_TRUE(CPathSafety::IsFileAllowed(win + "\\Temp\\chosen.txt", places)) << "a file in the Temp folder";
    EXPECT_TRUE(CPathSafety::IsFileAllowed("C:\\qtest\\chosen.txt", places)) << "a file anywhere else";
    EXPECT_TRUE(CPathSafety::IsFileAllowed("C:\\chosen.txt", places)) << "a file at the top of a drive";
    EXPECT_FALSE(CPathSafety::IsFileAllowed("C:\\qtest\\chosen.txt:hidden", places)) << "a stream";
}

// Each profile folder is the one its own call gives, never the profiles folder. Wine answers
// neither the All Users nor the Default User call, so a relocated default profile cannot be
// staged here: what the places read is compared with what the system says.
TEST(CPathSafety, EachProfileFolderIsTheOneItsOwnCallGives)
{
    HMODULE userenv = LoadLibraryA("userenv.dll");
    for (const char* call :
         {"GetProfilesDirectoryA", "GetAllUsersProfileDirectoryA", "GetDefaultUserProfileDirectoryA"}) {
        auto get = reinterpret_cast<BOOL(WINAPI*)(LPSTR, LPDWORD)>(
            reinterpret_cast<void*>(GetProcAddress(userenv, call)));
        char buf[4 * MAX_PATH];
        DWORD size = sizeof buf;
        EXPECT_EQ(CProtectedPlaces::UserEnvFolder(call), get && get(buf, &size) ? buf : "") << call;
    }
}
