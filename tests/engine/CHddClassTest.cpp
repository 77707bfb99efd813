#include "CHddClass.h"
#include "CPathSafety.h"
#include "CWipeRandom.h"
#include "CleanerTestSupport.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <winioctl.h>

#include <algorithm>
#include <functional>
#include <set>
#include <system_error>
#include <thread>

using namespace testing_support;

namespace {

// Large enough to write fast, small enough that a cancel takes effect at once.
static_assert(CHddClass::BlockSize >= 64 * 1024 && CHddClass::BlockSize <= 1024 * 1024,
              "the overwrite block must stay between 64 KiB and 1 MiB");

const size_t MultiBlock = 3 * CHddClass::BlockSize + 17;

bool OnlyWipeBytes(const std::string& data)
{
    return std::all_of(data.begin(), data.end(), [](char c) {
        unsigned char b = static_cast<unsigned char>(c);
        return b >= 1 && b <= 253;
    });
}

std::string Joined(const TStringList& l, const std::string& strip)
{
    std::string s;
    for (int i = 0; i < l.Count(); ++i)
        s += (l[i].compare(0, strip.size(), strip) == 0 ? l[i].substr(strip.size()) : l[i]) + "|";
    return s;
}


}  // namespace

TEST(CHddClassWipe, PassCountZeroClearsReadOnlyAndDeletesWithoutWriting)
{
    std::string dir = ScratchDir("wipe0");
    std::string f = dir + "\\ro.txt";
    WriteFileBytes(f, std::string(100, '\0'));
    SetFileAttributesA(f.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    CHddClass hdd;
    hdd.PassCount = 0;
    EXPECT_TRUE(hdd.OverwriteFile(f));
    EXPECT_EQ(GetFileAttributesA(f.c_str()) & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN), 0u)
        << "a read-only file has all attributes cleared";
    EXPECT_EQ(ReadFileBytes(f), std::string(100, '\0')) << "no pass writes nothing";
    SetFileAttributesA(f.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_TRUE(hdd.WipeAndDelete(f));
    EXPECT_FALSE(PathExists(f));
}

TEST(CHddClassWipe, EveryPassCoversTheWholeFileWithBytesOneTo253)
{
    std::string dir = ScratchDir("wipe15");
    std::string f = dir + "\\big.bin";
    for (int passes : {1, 5}) {
        WriteFileBytes(f, std::string(MultiBlock, '\0'));
        SetFileAttributesA(f.c_str(), FILE_ATTRIBUTE_ARCHIVE);
        CHddClass hdd;
        hdd.PassCount = passes;
        ASSERT_TRUE(hdd.OverwriteFile(f)) << passes << " passes";
        std::string data = ReadFileBytes(f);
        ASSERT_EQ(data.size(), MultiBlock) << "the length stays after " << passes << " passes";
        EXPECT_TRUE(OnlyWipeBytes(data)) << "no 0, 254 or 255 after " << passes << " passes";
        std::set<unsigned char> seen(data.begin(), data.end());
        EXPECT_EQ(seen.size(), 253u) << "every value 1 to 253 occurs in 3 MiB";
        // The blocks are made on several threads at once, each with its own generator.
        const size_t bs = CHddClass::BlockSize;
        for (size_t a = 0; a + bs <= data.size(); a += bs)
            for (size_t b = a + bs; b + bs <= data.size(); b += bs)
                EXPECT_NE(data.compare(a, bs, data, b, bs), 0)
                    << "the blocks at " << a << " and " << b << " are alike after " << passes << " passes";
        EXPECT_EQ(GetFileAttributesA(f.c_str()), static_cast<DWORD>(FILE_ATTRIBUTE_ARCHIVE))
            << "a file that was not read-only keeps its attributes";
    }
}

TEST(CHddClassWipe, TwoOverwritesDrawDifferentBytes)
{
    std::string dir = ScratchDir("wipeseed");
    std::string a = dir + "\\a.bin", b = dir + "\\b.bin";
    WriteFileBytes(a, std::string(4096, 'x'));
    WriteFileBytes(b, std::string(4096, 'x'));
    CHddClass hdd;
    hdd.PassCount = 1;
    ASSERT_TRUE(hdd.OverwriteFile(a));
    ASSERT_TRUE(hdd.OverwriteFile(b));
    EXPECT_NE(ReadFileBytes(a), ReadFileBytes(b)) << "files wiped within one clock tick differ";
}

TEST(CHddClassWipe, EmptyFilesAndNonFiles)
{
    std::string dir = ScratchDir("wipeedge");
    std::string empty = dir + "\\empty.dat";
    WriteFileBytes(empty, "");
    CHddClass hdd;
    hdd.PassCount = 5;
    EXPECT_TRUE(hdd.WipeAndDelete(empty)) << "a 0-byte file";
    EXPECT_FALSE(PathExists(empty));

    std::string folder = dir + "\\folder.dat";
    MakeDirs(folder);
    EXPECT_FALSE(hdd.WipeAndDelete(folder)) << "a folder is no file";
    EXPECT_TRUE(PathExists(folder));
    EXPECT_FALSE(hdd.WipeAndDelete(dir + "\\missing.txt"));
    EXPECT_FALSE(hdd.OverwriteFile(dir + "\\missing.txt"));
}

TEST(CHddClassWipe, AFileHeldOpenByAnotherProgramStaysUnchanged)
{
    std::string dir = ScratchDir("wipeheld");
    std::string f = dir + "\\held.dat";
    WriteFileBytes(f, "secret");
    SetFileAttributesA(f.c_str(), FILE_ATTRIBUTE_READONLY);
    HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, "QueloraTestReady");
    HANDLE quit = CreateEventA(nullptr, TRUE, FALSE, "QueloraTestQuit");
    HANDLE holder = StartProgram(HelperCommand("hold \"" + f + "\" QueloraTestReady QueloraTestQuit"));
    ASSERT_NE(holder, nullptr);
    ASSERT_EQ(WaitForSingleObject(ready, 20000), WAIT_OBJECT_0) << "the helper did not open the file";

    CHddClass hdd;
    hdd.PassCount = 1;
    EXPECT_FALSE(hdd.WipeAndDelete(f));
    SetEvent(quit);
    WaitForSingleObject(holder, 20000);
    CloseHandle(holder);
    CloseHandle(ready);
    CloseHandle(quit);
    ASSERT_TRUE(PathExists(f));
    EXPECT_EQ(ReadFileBytes(f), "secret");
    EXPECT_TRUE(GetFileAttributesA(f.c_str()) & FILE_ATTRIBUTE_READONLY)
        << "the read-only attribute is given back when the file is not deleted";
}

// Threads are started as the system does, until it has none left to give.
static int ThreadsLeft = 0;
static std::thread StartWhileThreadsLeft(std::function<void()> body)
{
    if (ThreadsLeft-- <= 0)
        throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
    return std::thread(std::move(body));
}

TEST(CHddClassWipe, AThreadThatCannotBeStartedLeavesItsWorkToTheWritingThread)
{
    const std::string f = ScratchDir("nothreads") + "\\big.bin";
    // No maker at all, one maker of three, and four makers without the early flush's thread.
    const size_t early = (128u << 20) + CHddClass::BlockSize + 17;
    const std::pair<int, size_t> cases[] = {{0, MultiBlock}, {1, MultiBlock}, {4, early}};
    const auto system = CWipeBlocks::StartThread;
    CWipeBlocks::StartThread = StartWhileThreadsLeft;
    for (const auto& c : cases) {
        WriteFileBytes(f, std::string(c.second, '\0'));
        CHddClass hdd;
        hdd.PassCount = 1;
        ThreadsLeft = c.first;
        EXPECT_TRUE(hdd.OverwriteFile(f)) << c.first << " threads to be had";
        const std::string data = ReadFileBytes(f);
        EXPECT_TRUE(data.size() == c.second && OnlyWipeBytes(data))
            << c.first << " threads: " << data.size() << " bytes, not wholly written";
    }
    CWipeBlocks::StartThread = system;
    DeleteFileA(f.c_str());
}

TEST(CHddClassWipe, CancelStopsAfterTheBlockInProgress)
{
    std::string dir = ScratchDir("wipecancel");
    std::string f = dir + "\\big.bin";
    WriteFileBytes(f, std::string(MultiBlock, '\0'));
    SetFileAttributesA(f.c_str(), FILE_ATTRIBUTE_READONLY);
    CancelEvent cancel;
    CHddClass hdd;
    hdd.PassCount = 5;
    ASSERT_TRUE(hdd.OverwriteFile(f)) << "an event that is not set cancels nothing";

    WriteFileBytes(f, std::string(MultiBlock, '\0'));
    SetFileAttributesA(f.c_str(), FILE_ATTRIBUTE_READONLY);
    cancel.Set();
    EXPECT_FALSE(hdd.WipeAndDelete(f));
    ASSERT_TRUE(PathExists(f)) << "a cancelled file is not deleted";
    std::string data = ReadFileBytes(f);
    ASSERT_EQ(data.size(), MultiBlock);
    EXPECT_TRUE(OnlyWipeBytes(data.substr(0, CHddClass::BlockSize))) << "the first block was written";
    EXPECT_EQ(data.find_first_not_of('\0', CHddClass::BlockSize), std::string::npos)
        << "nothing after the first block";
    EXPECT_TRUE(GetFileAttributesA(f.c_str()) & FILE_ATTRIBUTE_READONLY) << "given back after a cancel";
}

TEST(CHddClassTree, DeleteTreeKeepsTheFolderAndEveryDesktopIni)
{
    std::string dir = ScratchDir("tree");
    MakeDirs(dir + "\\a\\b");
    MakeDirs(dir + "\\c");
    MakeDirs(dir + "\\keep");
    WriteFileBytes(dir + "\\top.txt", "1");
    WriteFileBytes(dir + "\\a\\b\\deep.txt", "2");
    WriteFileBytes(dir + "\\c\\x.txt", "3");
    WriteFileBytes(dir + "\\keep\\desktop.ini", "[x]");
    WriteFileBytes(dir + "\\keep\\other.txt", "4");
    WriteFileBytes(dir + "\\Desktop.INI", "case matters");

    CHddClass hdd;
    hdd.DeleteTree(dir);
    EXPECT_TRUE(PathExists(dir)) << "the folder itself stays";
    EXPECT_TRUE(PathExists(dir + "\\keep\\desktop.ini"));
    EXPECT_TRUE(PathExists(dir + "\\keep")) << "a folder holding desktop.ini stays";
    for (const char* gone : {"\\top.txt", "\\a", "\\c", "\\keep\\other.txt", "\\Desktop.INI"})
        EXPECT_FALSE(PathExists(dir + gone)) << gone;
}

TEST(CHddClassCollect, ExtensionsMatchExactlyAndFoldersFollowTheirContent)
{
    std::string dir = ScratchDir("collect");
    MakeDirs(dir + "\\sub.dat\\inner");
    MakeDirs(dir + "\\upper");
    WriteFileBytes(dir + "\\index.dat", std::string(10, 'x'));
    WriteFileBytes(dir + "\\upper\\INDEX.DAT", std::string(20, 'x'));
    WriteFileBytes(dir + "\\sub.dat\\inner\\index.dat", std::string(5, 'x'));
    WriteFileBytes(dir + "\\sub.dat\\page.htm", "x");
    WriteFileBytes(dir + "\\sub.dat\\desktop.ini", "x");

    CHddClass hdd;
    hdd.CollectByExtension(dir, ".dat", true);
    std::set<std::string> got(hdd.CollectedPaths.Items.begin(), hdd.CollectedPaths.Items.end());
    std::set<std::string> want = {dir + "\\index.dat", dir + "\\sub.dat\\inner\\index.dat", dir + "\\sub.dat"};
    EXPECT_EQ(got, want) << Joined(hdd.CollectedPaths, dir);
    EXPECT_EQ(hdd.CollectedSize(), 15);

    hdd.CollectByExtension(dir, ".*", true);
    EXPECT_EQ(hdd.CollectedPaths.Count(), 7) << Joined(hdd.CollectedPaths, dir);
    auto at = [&](const std::string& p) {
        auto& v = hdd.CollectedPaths.Items;
        return std::find(v.begin(), v.end(), dir + p) - v.begin();
    };
    EXPECT_LT(at("\\sub.dat\\inner\\index.dat"), at("\\sub.dat\\inner"));
    EXPECT_LT(at("\\sub.dat\\inner"), at("\\sub.dat"));
    EXPECT_LT(at("\\sub.dat\\page.htm"), at("\\sub.dat"));

    hdd.CollectByExtension(dir, ".dat", false);
    EXPECT_EQ(hdd.CollectedPaths.Count(), 2) << "not recursive: index.dat and sub.dat only";
    hdd.AppendByExtension(dir + "\\sub.dat\\inner", ".dat", false);
    EXPECT_EQ(hdd.CollectedPaths.Count(), 3) << "append keeps what was collected";
    EXPECT_EQ(hdd.CollectedSize(), 15);
}

TEST(CHddClassCollect, MasksMatchLongNamesAndDescendOnlyIntoMatchingFolders)
{
    ScratchDir("mask");
    MakeDirs("C:\\FOUND.000\\inner");
    WriteFileBytes("C:\\FOUND.000\\FILE0000.CHK", "x");
    WriteFileBytes("C:\\X.CHK", "abc");
    WriteFileBytes("C:\\report.chkx", "keep");

    CHddClass hdd;
    hdd.CollectByMask("C:\\FOUND.*", false);
    ASSERT_EQ(hdd.CollectedPaths.Count(), 1) << Joined(hdd.CollectedPaths, "");
    EXPECT_EQ(hdd.CollectedPaths[0], "C:\\FOUND.000") << "the folder, not its content";

    hdd.CollectByMask("C:\\*.chk", false);
    ASSERT_EQ(hdd.CollectedPaths.Count(), 1) << Joined(hdd.CollectedPaths, "");
    EXPECT_EQ(hdd.CollectedPaths[0], "C:\\X.CHK") << "report.chkx matches only by its short name";
    EXPECT_EQ(hdd.CollectedSize(), 3);

    MakeDirs("C:\\qtest\\mask\\a.chk\\b");
    MakeDirs("C:\\qtest\\mask\\plain");
    WriteFileBytes("C:\\qtest\\mask\\a.chk\\in.chk", "x");
    WriteFileBytes("C:\\qtest\\mask\\a.chk\\b\\deep.chk", "x");
    WriteFileBytes("C:\\qtest\\mask\\plain\\hidden.chk", "x");
    hdd.CollectByMask("C:\\qtest\\mask\\*.chk", true);
    EXPECT_EQ(Joined(hdd.CollectedPaths, "C:\\qtest\\mask"), "\\a.chk\\in.chk|\\a.chk|")
        << "only folders whose name matches are searched";
}

TEST(CHddClassCollect, SizesAddInSixtyFourBitsAndSaturate)
{
    std::string dir = ScratchDir("sizes");
    for (const char* name : {"\\a.big", "\\b.big"}) {
        HANDLE h = CreateFileA((dir + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(h, INVALID_HANDLE_VALUE);
        LONG high = 1;  // 4 GiB + 100: the low 32 bits alone would read as 100
        SetFilePointer(h, 100, &high, FILE_BEGIN);
        ASSERT_TRUE(SetEndOfFile(h));
        CloseHandle(h);
    }
    CHddClass hdd;
    hdd.CollectByExtension(dir, ".big", false);
    EXPECT_EQ(hdd.CollectedPaths.Count(), 2);
    EXPECT_EQ(hdd.CollectedSize(), 2147483647) << "held at the largest signed 32-bit value";
}

TEST(CHddClassSafety, EmptyRelativeRootAndTraversalFoldersTouchNothing)
{
    std::string dir = ScratchDir("canary");
    WriteFileBytes(dir + "\\canary.dat", "alive");
    WriteFileBytes("C:\\canary.dat", "alive");
    MakeDirs(dir + "\\empty");
    // Relative names would resolve against the current folder: make that the canary's parent.
    SetCurrentDirectoryA("C:\\qtest");
    CHddClass hdd;
    for (const std::string& bad :
         {std::string(), std::string("."), std::string("canary"), std::string("\\"), std::string("\\qtest"),
          std::string("C:"), std::string("C:\\"), std::string("c:\\\\"), std::string("C:qtest"),
          std::string("C:\\qtest\\canary\\.."), std::string("C:\\qtest\\..\\qtest\\canary\\..\\.."),
          std::string("\\\\?\\C:\\qtest\\canary"), std::string("C:/")}) {
        hdd.DeleteTree(bad);
        hdd.CollectByExtension(bad, ".*", true);
        EXPECT_EQ(hdd.CollectedPaths.Count(), 0) << "recursive collect in '" << bad << "'";
        hdd.CollectByMask(bad + "\\*.*", true);
        EXPECT_EQ(hdd.CollectedPaths.Count(), 0) << "recursive mask in '" << bad << "'";
    }
    char win[MAX_PATH], sys[MAX_PATH];
    GetWindowsDirectoryA(win, MAX_PATH);
    GetSystemDirectoryA(sys, MAX_PATH);
    for (const std::string& guarded : {std::string(win), std::string(win) + "\\", std::string(sys)}) {
        hdd.CollectByExtension(guarded, ".*", true);
        EXPECT_EQ(hdd.CollectedPaths.Count(), 0) << guarded;
    }
    EXPECT_FALSE(hdd.RemoveFolder("canary\\empty")) << "a relative folder";
    EXPECT_TRUE(PathExists(dir + "\\empty"));
    EXPECT_TRUE(hdd.RemoveFolder(dir + "\\empty"));
    hdd.CollectByExtension("", ".dat", false);
    EXPECT_EQ(hdd.CollectedPaths.Count(), 0) << "an empty folder never reaches the drive root";
    hdd.CollectByExtension("C:\\", ".dat", false);
    EXPECT_EQ(hdd.CollectedPaths.Count(), 0) << "an extension search never looks at a root, recursive or not";
    SetCurrentDirectoryA("C:\\");
    EXPECT_EQ(ReadFileBytes(dir + "\\canary.dat"), "alive");
    EXPECT_EQ(ReadFileBytes("C:\\canary.dat"), "alive");
}

// The system's other spellings of its own folders reach nothing through any walk. The
// verdict is checked first, so that a failing walk cannot empty the sandbox's Windows folder.
TEST(CHddClassSafety, OtherSpellingsOfTheWindowsFolderReachNothing)
{
    char win[MAX_PATH];
    GetWindowsDirectoryA(win, MAX_PATH);
    const std::string w = win, canary = w + "\\qtest-canary.dat";
    WriteFileBytes(canary, "alive");
    const std::string letter = w.substr(0, 1), tail = w.substr(2);
    CHddClass hdd;
    for (const std::string& spelling :
         {w.substr(0, 2) + "\\" + tail, w + ".", w + " ", "\\\\localhost\\" + letter + "$" + tail,
          std::string("\\\\localhost\\ADMIN$"), w + "\\System32\\.."}) {
        ASSERT_FALSE(CPathSafety::IsTreeAllowed(spelling)) << spelling;
        hdd.CollectByExtension(spelling, ".dat", true);
        EXPECT_EQ(hdd.CollectedPaths.Count(), 0) << "collected in " << spelling;
        hdd.CollectByMask(spelling + "\\*.dat", true);
        EXPECT_EQ(hdd.CollectedPaths.Count(), 0) << "mask collected in " << spelling;
        hdd.DeleteTree(spelling);
        EXPECT_EQ(ReadFileBytes(canary), "alive") << "DeleteTree(\"" << spelling << "\")";
    }
    // The control: the canary is reachable where a walk is allowed.
    const std::string dir = ScratchDir("spelling");
    WriteFileBytes(dir + "\\x.dat", "x");
    hdd.CollectByExtension(dir, ".dat", true);
    EXPECT_EQ(hdd.CollectedPaths.Count(), 1) << "the plain spelling is walked";
    DeleteFileA(canary.c_str());
}

TEST(CHddClassDrives, OnlyFixedDrivesWithoutBackslash)
{
    CHddClass hdd;
    ASSERT_EQ(hdd.FixedDrives.Count(), 1) << "the sandbox maps C: alone";
    EXPECT_EQ(hdd.FixedDrives[0], "C:");
}

namespace {

bool IsLinkOnDisk(const std::string& path)
{
    DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_REPARSE_POINT);
}

// A junction made the way the system's tools make one; false where the file system
// cannot hold it.
bool MakeJunction(const std::string& link, const std::string& target)
{
    if (!CreateDirectoryA(link.c_str(), nullptr))
        return false;
    HANDLE h = CreateFileA(link.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                           FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    std::wstring sub = L"\\??\\" + std::wstring(target.begin(), target.end());
    std::wstring print(target.begin(), target.end());
    std::vector<char> buf(8 + 8 + (sub.size() + print.size() + 2) * 2);
    auto* p = reinterpret_cast<unsigned char*>(buf.data());
    auto put16 = [&](size_t at, size_t v) { p[at] = v & 0xFF; p[at + 1] = (v >> 8) & 0xFF; };
    DWORD tag = IO_REPARSE_TAG_MOUNT_POINT;
    memcpy(p, &tag, 4);
    put16(4, buf.size() - 8);
    put16(8, 0);
    put16(10, sub.size() * 2);
    put16(12, sub.size() * 2 + 2);
    put16(14, print.size() * 2);
    memcpy(p + 16, sub.c_str(), sub.size() * 2 + 2);
    memcpy(p + 16 + sub.size() * 2 + 2, print.c_str(), print.size() * 2 + 2);
    DWORD got = 0;
    BOOL ok = DeviceIoControl(h, FSCTL_SET_REPARSE_POINT, buf.data(), static_cast<DWORD>(buf.size()),
                              nullptr, 0, &got, nullptr);
    CloseHandle(h);
    if (!ok)
        RemoveDirectoryA(link.c_str());
    return ok && IsLinkOnDisk(link);
}

bool MakeFileLink(const std::string& link, const std::string& target)
{
    using Fn = BOOLEAN(WINAPI*)(LPCSTR, LPCSTR, DWORD);
    auto fn = reinterpret_cast<Fn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "CreateSymbolicLinkA")));
    // Wine 8 reports success but leaves nothing that it can find again.
    return fn && fn(link.c_str(), target.c_str(), 0) && IsLinkOnDisk(link);
}

}  // namespace

TEST(CHddClassLinks, AJunctionIsRemovedAsALinkAndItsTargetIsNeverTouched)
{
    std::string dir = ScratchDir("junction");
    std::string target = ScratchDir("junction_target");
    WriteFileBytes(target + "\\precious.dat", "keep me");
    if (!MakeJunction(dir + "\\link", target))
        GTEST_SKIP() << "this Wine cannot create a junction (FSCTL_SET_REPARSE_POINT failed)";
    CHddClass hdd;
    // A walk that starts at the link itself (a Temp, History or RECYCLER folder made a
    // junction) must not list or delete what it points to either.
    hdd.CollectByExtension(dir + "\\link", ".dat", true);
    EXPECT_EQ(hdd.CollectedPaths.Count(), 0) << "a walk never starts at a link";
    hdd.CollectByMask(dir + "\\link\\*.*", true);
    EXPECT_EQ(hdd.CollectedPaths.Count(), 0) << "a mask walk never starts at a link";
    hdd.DeleteTree(dir + "\\link");
    EXPECT_EQ(ReadFileBytes(target + "\\precious.dat"), "keep me") << "DeleteTree started at the link";
    hdd.CollectByExtension(dir, ".dat", true);
    EXPECT_EQ(hdd.CollectedPaths.Count(), 0) << "nothing is collected through the link";
    hdd.DeleteTree(dir);
    EXPECT_FALSE(PathExists(dir + "\\link")) << "the link itself goes";
    EXPECT_EQ(ReadFileBytes(target + "\\precious.dat"), "keep me");
}

TEST(CHddClassLinks, AFileLinkIsDeletedWithoutWritingItsTarget)
{
    std::string dir = ScratchDir("filelink");
    std::string target = ScratchDir("filelink_target") + "\\precious.dat";
    WriteFileBytes(target, "keep me");
    if (!MakeFileLink(dir + "\\link.dat", target))
        GTEST_SKIP() << "this Wine cannot create a file symbolic link (CreateSymbolicLinkA leaves no link)";
    CHddClass hdd;
    hdd.PassCount = 5;
    EXPECT_FALSE(hdd.OverwriteFile(dir + "\\link.dat")) << "nothing is written through a link";
    EXPECT_TRUE(hdd.WipeAndDelete(dir + "\\link.dat"));
    EXPECT_FALSE(PathExists(dir + "\\link.dat"));
    EXPECT_EQ(ReadFileBytes(target), "keep me");
}

TEST(CHddClassSecondNames, OnlyTheChosenNameGoesAndTheOtherKeepsEveryByte)
{
    const std::string dir = ScratchDir("secondname");
    const std::string chosen = dir + "\\chosen.dat", other = ScratchDir("secondname_other") + "\\other.dat";
    const std::string data(MultiBlock, 'k');
    CHddClass hdd;
    hdd.PassCount = 5;
    std::string heard;
    hdd.OnRefused = [&](const std::string& path, const std::string& why) { heard += path + ": " + why + "|"; };

    WriteFileBytes(chosen, data);
    ASSERT_TRUE(CreateHardLinkA(other.c_str(), chosen.c_str(), nullptr)) << "error " << GetLastError();
    EXPECT_FALSE(hdd.OverwriteFile(chosen)) << "a file with a second name is not overwritten";
    EXPECT_TRUE(ReadFileBytes(chosen) == data) << "OverwriteFile wrote through a second name";
    EXPECT_FALSE(hdd.WipeAndDelete(chosen)) << "not overwritten, so not reported as wiped";
    EXPECT_FALSE(PathExists(chosen)) << "the chosen name goes all the same";
    EXPECT_TRUE(ReadFileBytes(other) == data) << "the other name lost bytes";
    EXPECT_NE(heard.find(chosen + ": the file has another name"), std::string::npos) << heard;

    // Read-only, found by a walk: the other name keeps its attribute too.
    WriteFileBytes(chosen, data);
    DeleteFileA(other.c_str());
    ASSERT_TRUE(CreateHardLinkA(other.c_str(), chosen.c_str(), nullptr)) << "error " << GetLastError();
    SetFileAttributesA(chosen.c_str(), FILE_ATTRIBUTE_READONLY);
    hdd.CollectByExtension(dir, ".dat", false);
    ASSERT_EQ(hdd.CollectedPaths.Count(), 1);
    EXPECT_FALSE(hdd.WipeAndDelete(hdd.CollectedPaths[0]));
    EXPECT_FALSE(PathExists(chosen)) << "a read-only chosen name goes too";
    EXPECT_TRUE(ReadFileBytes(other) == data) << "the read-only file's other name lost bytes";
    EXPECT_EQ(GetFileAttributesA(other.c_str()) & FILE_ATTRIBUTE_READONLY, DWORD(FILE_ATTRIBUTE_READONLY))
        << "attributes " << GetFileAttributesA(other.c_str());

    // Once the other name is gone, the file is wiped as any other.
    EXPECT_TRUE(hdd.WipeAndDelete(other)) << "a file with one name left";
    EXPECT_FALSE(PathExists(other));
}
