#include "ProgressIndicatorForm.h"
#include "ProtectedPlaceCases.h"
#include "Progressthread.h"
#include "TestSupport.h"
#include "VantrelSupport.h"
#include "WindowTestSupport.h"
#include "Whddclass.h"

#include <gtest/gtest.h>

#include <functional>

#include <shlobj.h>

using namespace testing_support;

namespace {

const UINT CancelX = 229 + 35, CancelY = 66 + 10;

std::string Vantrel()
{
    return "\"" + ExeDir() + "\\Vantrel.exe\"";
}

void MakeBigFile(const std::string& path, long long size)
{
    HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    LARGE_INTEGER end;
    end.QuadPart = size;
    SetFilePointerEx(f, end, nullptr, FILE_BEGIN);
    SetEndOfFile(f);
    CloseHandle(f);
}

// Gives everyone the access to the folder (the system maps it onto the owner's rights).
bool SetFolderAccess(const std::string& folder, DWORD access)
{
    SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
    PSID everyone = nullptr;
    if (!AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone))
        return false;
    char aclBuffer[256];
    auto* acl = reinterpret_cast<ACL*>(aclBuffer);
    SECURITY_DESCRIPTOR sd;
    bool ok = InitializeAcl(acl, sizeof aclBuffer, ACL_REVISION) && AddAccessAllowedAce(acl, ACL_REVISION, access, everyone) &&
              InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION) && SetSecurityDescriptorDacl(&sd, TRUE, acl, FALSE) &&
              SetFileSecurityA(folder.c_str(), DACL_SECURITY_INFORMATION, &sd);
    FreeSid(everyone);
    return ok;
}

// Bytes of the file at the offset, read without holding it.
std::string ReadAt(const std::string& path, long long offset, DWORD size)
{
    HANDLE f = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    std::string data(size, '\0');
    LARGE_INTEGER at;
    at.QuadPart = offset;
    DWORD got = 0;
    bool ok = f != INVALID_HANDLE_VALUE && SetFilePointerEx(f, at, nullptr, FILE_BEGIN) &&
              ReadFile(f, &data[0], size, &got, nullptr);
    if (f != INVALID_HANDLE_VALUE)
        CloseHandle(f);
    data.resize(ok ? got : 0);
    return data;
}

class VantrelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!HaveDisplay())
            GTEST_SKIP() << "no display";
        SetInstallationPath();
        Dir = ScratchDir("vantrel");
    }
    std::string Dir;
};

// When the file was last written, read from its folder's listing (no handle on the file:
// an open beside the wiper's own would make it fail); zero once the file is gone.
ULONGLONG LastWritten(const std::string& path)
{
    WIN32_FIND_DATAA data;
    HANDLE found = FindFirstFileA(path.c_str(), &data);
    if (found == INVALID_HANDLE_VALUE)
        return 0;
    FindClose(found);
    return (static_cast<ULONGLONG>(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
}

// Starts Vantrel, clicks Cancel once it has begun to write the first file (or is past it),
// and waits for its end; false (after a failed check) when it did not go so.
bool StartAndCancel(const std::string& commandLine, const std::string& firstFile)
{
    const ULONGLONG unwritten = LastWritten(firstFile);
    DWORD pid = 0;
    HANDLE process = StartProgram(commandLine, &pid);
    EXPECT_NE(process, nullptr);
    if (!process)
        return false;
    HWND window = WaitForWindow(pid, "QueloraWindow", 20000);
    EXPECT_NE(window, nullptr) << "Vantrel's window";
    bool writing = false;
    for (DWORD start = GetTickCount(); window && !writing && GetTickCount() - start < 60000; Sleep(20))
        writing = LastWritten(firstFile) != unwritten;
    EXPECT_TRUE(writing) << "Vantrel began to write " << firstFile;
    PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(CancelX, CancelY));
    PostMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(CancelX, CancelY));
    bool ended = WaitForSingleObject(process, 60000) == WAIT_OBJECT_0;
    EXPECT_TRUE(ended) << "Vantrel ends after Cancel";
    DWORD code = 99;
    GetExitCodeProcess(process, &code);
    CloseHandle(process);
    EXPECT_EQ(code, 0u) << "exit code";
    return window && writing && ended && code == 0;
}

}  // namespace

TEST_F(VantrelTest, UnsafeLinesAreSkippedAndLogged)
{
    MakeDirs(Dir + "\\sub\\deeper");
    for (const char* name : {"safe.txt", "sub\\a.txt", "sub\\deeper\\b.txt", "dotted.txt", "device.txt", "zero.txt",
                             "relative.txt", "canary.txt"})
        WriteFileBytes(Dir + "\\" + name, "data");
    WriteFileBytes("C:\\canary.txt", "root");
    std::string lineWithNul = Dir + "\\zero.txt";
    lineWithNul += '\0';
    lineWithNul += "x";
    std::vector<std::string> lines = {
        "",                                        // 1
        "C:\\",                                    // 2
        ".",                                       // 3
        "..",                                      // 4
        "qtest\\vantrel\\relative.txt",            // 5
        "\\\\?\\" + Dir + "\\device.txt",          // 6
        Dir + "\\sub\\..\\dotted.txt",             // 7
        "C:\\windows",                             // 8
        "C:\\windows\\system32",                   // 9
        lineWithNul,                               // 10
        Dir + "\\" + std::string(10000, 'x'),     // 11: a name no file system takes
        Dir + "\\missing.txt",                     // 12
        Dir + "\\safe.txt",                        // 13
        Dir + "\\sub",                             // 14
        Dir + "\\canary.txt:hidden",               // 15: a stream of a file
    };
    WriteWorkList(lines);
    std::string list = ReadFileBytes(WorkListPath());
    // What line 11 would name if it were cut to a path's length.
    const std::string cutToPath = Dir + "\\" + std::string(MAX_PATH - 2 - Dir.size(), 'x');
    WriteFileBytes(cutToPath, "cut");

    ASSERT_EQ(RunProgram(Vantrel(), 60000), 0) << "exit code";

    EXPECT_FALSE(PathExists(Dir + "\\safe.txt")) << "the safe file stays";
    EXPECT_FALSE(PathExists(Dir + "\\sub")) << "the safe folder stays";
    for (const char* kept : {"dotted.txt", "device.txt", "zero.txt", "relative.txt", "canary.txt"})
        EXPECT_EQ(ReadFileBytes(Dir + "\\" + kept), "data") << kept;
    EXPECT_EQ(ReadFileBytes("C:\\canary.txt"), "root") << "a file at the drive's top";
    EXPECT_TRUE(PathExists("C:\\windows\\system32\\kernel32.dll")) << "the system folder";
    EXPECT_EQ(ReadFileBytes(WorkListPath()), list) << "the work list is left as it was";
    std::string log = ReadFileBytes(ExeDir() + "\\Vantrel.log");
    for (int n : {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 15})
        EXPECT_NE(log.find("Skipped line " + std::to_string(n) + "  "), std::string::npos) << "line " << n << " in\n"
                                                                                           << log;
    // Line 11 is a path no file system takes: it touches nothing, is logged as too long, and
    // the lines after it are done.
    EXPECT_EQ(PathExists(cutToPath) ? ReadFileBytes(cutToPath) : "(gone)", "cut")
        << "the file line 11 names when cut to " << cutToPath.size() << " characters";
    EXPECT_NE(log.find(lines[10].substr(0, 300) + "      a path too long: left"), std::string::npos) << log;
    for (int n = 11; n <= 14; ++n)
        EXPECT_EQ(log.find("Skipped line " + std::to_string(n) + "  "), std::string::npos) << "line " << n << " in\n"
                                                                                           << log;
    DeleteFileA("C:\\canary.txt");
}

// In a chosen folder: names the ANSI listing spells otherwise (fullwidth reverse solidi), a
// name ending in a dot, and, made from the Linux side, a name with real backslashes and links
// that Wine shows as the plain file or folder they lead to; chosen lines ending in a dot or
// a blank, a link chosen by name, and files held by another program. Nothing outside the
// chosen places changes, no unchosen name is wiped, and every entry left or deleted
// unwritten has its line in the log.
TEST_F(VantrelTest, OnlyExactNamesAreWipedAndEveryEntryLeftIsLogged)
{
    HANDLE held = MakeDecoy("C:\\qdecoy");
    const std::string decoy = TreeState("C:\\qdecoy"), chosen = Dir + "\\chosen", unixChosen = UnixName(chosen);
    const std::wstring wideChosen = L"\\\\?\\" + Wide(chosen);   // the prefix reaches names ending in a dot
    MakeDirs(chosen + "\\sub");
    WriteFileBytes(chosen + "\\sub\\f.txt", "f");
    // From chosen, "..\..\..\" leads to C:, and "..\.." to C:\qtest.
    for (const wchar_t* name : {L"\\..\xFF3C..\xFF3C..\xFF3C" L"qdecoy", L"\\..\xFF3C.."})
        ASSERT_TRUE(CreateDirectoryW((wideChosen + name).c_str(), nullptr)) << GetLastError();
    for (const wchar_t* name : {L"\\dotted.", L"\\a\xFF3C" L"b.txt"}) {
        HANDLE made = CreateFileW((wideChosen + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
        ASSERT_NE(made, INVALID_HANDLE_VALUE) << GetLastError();
        CloseHandle(made);
    }
    const std::string links[][3] = {{"C:\\qdecoy\\keep.txt", Dir, "link.txt"},
                                    {"C:\\qdecoy\\sub\\held.txt", chosen, "inner.txt"},
                                    {"C:\\qdecoy\\sub", chosen, "dirlink"}};
    for (const auto& l : links)
        ASSERT_TRUE(OnLinuxSide("/bin/ln -s " + UnixName(l[0]) + " " + UnixName(l[1]) + "/" + l[2],
                                [&] { return PathExists(l[1] + "\\" + l[2]); }))
            << l[2];
    auto decoyNames = [&] {   // in chosen, counted without asking the ANSI listing
        WIN32_FIND_DATAW fd;
        HANDLE h = FindFirstFileW((Wide(chosen) + L"\\*qdecoy").c_str(), &fd);
        int n = 0;
        for (bool more = h != INVALID_HANDLE_VALUE; more; more = FindNextFileW(h, &fd))
            ++n;
        FindClose(h);
        return n;
    };
    const std::string backslashed = unixChosen + "/..\\..\\..\\qdecoy";
    ASSERT_TRUE(OnLinuxSide("/bin/mkdir " + backslashed, [&] { return decoyNames() == 2; }));
    MakeDirs(Dir + "\\tree");
    for (const char* name : {"secret", "report.txt", "tree\\in.txt", "alone.txt", "shared.txt"})
        WriteFileBytes(Dir + "\\" + name, "unchosen");
    HANDLE alone = CreateFileA((Dir + "\\alone.txt").c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_EXISTING, 0, nullptr);
    HANDLE shared = CreateFileA((Dir + "\\shared.txt").c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0, nullptr);
    WriteWorkList({chosen, Dir + "\\secret.", Dir + "\\report.txt ", Dir + "\\tree.", Dir + "\\alone.txt",
                   Dir + "\\shared.txt", Dir + "\\link.txt"});

    const long code = RunProgram(Vantrel(), 60000);
    for (HANDLE h : {held, alone, shared})
        CloseHandle(h);
    ASSERT_EQ(code, 0) << "exit code";

    const std::string log = ReadFileBytes(ExeDir() + "\\Vantrel.log");
    EXPECT_EQ(TreeState("C:\\qdecoy"), decoy) << "outside the chosen folder; the log:\n" << log;
    for (const char* name : {"secret", "report.txt", "tree\\in.txt", "alone.txt"})
        EXPECT_EQ(ReadFileBytes(Dir + "\\" + name), "unchosen") << name << ", not chosen, or held alone by another program";
    EXPECT_FALSE(PathExists(chosen + "\\sub") || PathExists(Dir + "\\shared.txt")) << "chosen, or held with delete sharing";
    for (int n : {2, 3, 4})
        EXPECT_NE(log.find("Skipped line " + std::to_string(n) + "  "), std::string::npos) << "line " << n << " in\n" << log;
    const std::string spell = "a name the code page cannot spell: left, with all below it";
    const std::pair<std::string, std::string> left[] = {
        {chosen + "\\..?..?..?qdecoy", spell},
        {chosen + "\\..?..", spell},
        {chosen + "\\a?b.txt", spell},
        {chosen + "\\dotted.", "a name ending in a dot or a blank, which the system would open as another: left"},
        {chosen + "\\..\\..\\..\\qdecoy", "a name that would lead elsewhere: left, with all below it"},
        {chosen + "\\inner.txt", "no longer below the folder it was found in: left alone"},
        {Dir + "\\link.txt", "the name leads to another file than the one chosen: left alone"},
        {chosen, "a folder that could not be removed: left"},
        {Dir + "\\alone.txt", "in use by another program: left"},
        {Dir + "\\shared.txt", "deleted without overwriting: in use by another program"},
    };
    for (const auto& entry : left)
        EXPECT_NE(log.find("Not overwritten: " + entry.first + "      " + entry.second), std::string::npos)
            << entry.first << ": " << entry.second << " in\n" << log;
    // Neither the sandbox's keeper nor Wine can remove names ending in a dot, links, or a name
    // with backslashes: the prefix and the Linux side can.
    DeleteFileW((wideChosen + L"\\dotted.").c_str());
    RemoveDirectoryW((wideChosen + L"\\..\xFF3C..").c_str());
    EXPECT_TRUE(OnLinuxSide("/bin/rmdir " + backslashed, [&] { return decoyNames() == 1; }));
    for (const auto& l : links)
        EXPECT_TRUE(OnLinuxSide("/bin/rm " + UnixName(l[1]) + "/" + l[2], [&] { return !PathExists(l[1] + "\\" + l[2]); }));
}

TEST_F(VantrelTest, ASecondNameKeepsItsBytesAndTheChosenNameGoes)
{
    const std::string others = ScratchDir("vantrel_others");
    MakeDirs(Dir + "\\chosen");
    const std::string listed = Dir + "\\listed.txt", inside = Dir + "\\chosen\\inside.txt";
    const std::string data(70000, 'v');
    WriteFileBytes(listed, data);
    WriteFileBytes(inside, data);
    ASSERT_TRUE(CreateHardLinkA((others + "\\1.txt").c_str(), listed.c_str(), nullptr)) << GetLastError();
    ASSERT_TRUE(CreateHardLinkA((others + "\\2.txt").c_str(), inside.c_str(), nullptr)) << GetLastError();
    WriteWorkList({listed, Dir + "\\chosen"});

    ASSERT_EQ(RunProgram(Vantrel(), 60000), 0) << "exit code";

    EXPECT_FALSE(PathExists(listed)) << "the listed name goes";
    EXPECT_FALSE(PathExists(Dir + "\\chosen")) << "the listed folder goes, emptied";
    EXPECT_TRUE(ReadFileBytes(others + "\\1.txt") == data) << "a listed file's other name lost bytes";
    EXPECT_TRUE(ReadFileBytes(others + "\\2.txt") == data) << "the other name of a file in a listed folder lost bytes";
    const std::string log = ReadFileBytes(ExeDir() + "\\Vantrel.log");
    for (const std::string& path : {listed, inside})
        EXPECT_NE(log.find("Not overwritten: " + path), std::string::npos) << path << " in\n" << log;
}

TEST_F(VantrelTest, CancelDeletesTheFileInHandAndStops)
{
    // Large enough that the click lands while the first file is written.
    const long long big = 1LL << 30;
    // Three of them: the wiping runs at the disk's pace, and the click must come before the last.
    MakeBigFile(Dir + "\\big1.bin", big);
    MakeBigFile(Dir + "\\big2.bin", big);
    MakeBigFile(Dir + "\\big3.bin", big);
    WriteFileBytes(Dir + "\\after.txt", "after");
    MakeDirs(Dir + "\\folder");
    WriteFileBytes(Dir + "\\folder\\inside.txt", "inside");
    WriteWorkList(
        {Dir + "\\big1.bin", Dir + "\\big2.bin", Dir + "\\big3.bin", Dir + "\\after.txt", Dir + "\\folder"});

    ASSERT_TRUE(StartAndCancel(Vantrel(), Dir + "\\big1.bin"));
    EXPECT_FALSE(PathExists(Dir + "\\big1.bin")) << "the file in hand goes, partly written";
    EXPECT_EQ(ReadFileBytes(Dir + "\\after.txt"), "after") << "a file after the cancel";
    EXPECT_EQ(ReadFileBytes(Dir + "\\folder\\inside.txt"), "inside") << "a folder after the cancel";
    EXPECT_TRUE(PathExists(WorkListPath())) << "the work list";
    const std::string log = ReadFileBytes(ExeDir() + "\\Vantrel.log"), said = "deleted without overwriting: the run";
    EXPECT_NE(log.find(Dir + "\\big1.bin      " + said), std::string::npos) << log;
}

// The README's picture of the window at work, drawn by the window itself into a picture of
// its own: no other window on the shared screen can cover it, and no paint can come late.
TEST_F(VantrelTest, TheWindowAtWorkShowsTheFileInHandOverItsSkin)
{
    const std::string big = Dir + "\\big.bin";
    MakeBigFile(big, 1LL << 30);
    WriteWorkList({big});
    IndicatorFm = NewForm<TIndicatorFm>(nullptr);
    std::shared_ptr<CWindowLink> link = IndicatorFm->Link();
    const std::string shown = "File: " + big;
    for (DWORD start = GetTickCount(); IndicatorFm->MyGraphicLabel1->Caption() != shown && GetTickCount() - start < 60000;
         Sleep(20))
        Pump();
    EXPECT_EQ(IndicatorFm->MyGraphicLabel1->Caption(), shown) << "the file line";
    // The worker measures names on a label's surface, and a label whose surface it holds
    // skips that drawing: drawn again until every label shows its grey.
    TMyGraphicLabel* labels[] = {IndicatorFm->MyGraphicLabel1, IndicatorFm->MyGraphicLabel3,
                                 IndicatorFm->MyGraphicLabel4, IndicatorFm->MyGraphicLabel5};
    TBitmap shot;
    std::string missing = "(not drawn)";
    for (int round = 0; round < 50 && !missing.empty(); ++round) {
        Pump();
        Render(*IndicatorFm, shot);
        missing.clear();
        for (TMyGraphicLabel* l : labels) {
            int grey = CountColor(shot, l->BoundsRect(), RGB(0xB5, 0xB5, 0xB5));
            if (grey * 2 <= l->Width() * l->Height())
                missing += " " + l->Name + " (" + std::to_string(grey) + " grey pixels)";
        }
    }
    EXPECT_TRUE(WritePng(shot, ArtifactPath("vantrel_window.png")));
    EXPECT_EQ(missing, "") << "labels without their grey band";
    IndicatorFm->MyGraphicBtn1Click(nullptr);
    Pump();
    link->WaitForWorker();
    EXPECT_FALSE(PathExists(big)) << "the file in hand goes with the cancel";
}

std::string OperationAtClose;

LRESULT CALLBACK ReadOperationAtClose(int code, WPARAM wParam, LPARAM lParam)
{
    auto* sent = reinterpret_cast<CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && sent->message == WM_CLOSEINDICATOR && IndicatorFm)
        OperationAtClose = IndicatorFm->MyGraphicLabel4->Caption();
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Once the file in hand is overwritten, the operation line says that it is being deleted:
// read as the worker, past its one file, asks the window to close.
TEST_F(VantrelTest, TheOperationLineShowsTheDeletionAfterTheOverwrite)
{
    const std::string file = Dir + "\\one.txt";
    WriteFileBytes(file, "one");
    WriteWorkList({file});
    OperationAtClose.clear();
    HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, ReadOperationAtClose, nullptr, GetCurrentThreadId());
    IndicatorFm = NewForm<TIndicatorFm>(nullptr);
    std::shared_ptr<CWindowLink> link = IndicatorFm->Link();
    for (DWORD start = GetTickCount(); OperationAtClose.empty() && GetTickCount() - start < 60000; Sleep(20))
        Pump();
    Pump();
    link->WaitForWorker();
    UnhookWindowsHookEx(hook);
    IndicatorFm = nullptr;
    EXPECT_EQ(OperationAtClose, "Operation: deleting...") << "the operation line as the run ended";
    EXPECT_FALSE(PathExists(file)) << "the file went";
}

TEST_F(VantrelTest, CancelStopsTheFileInHandWithinItsBlock)
{
    // The folder lets its file be written but not deleted, so that what the cancelled
    // overwrite left can be read afterwards.
    std::string locked = Dir + "\\locked";
    MakeDirs(locked);
    const long long big = 1LL << 30;
    MakeBigFile(locked + "\\big.bin", big);
    WriteFileBytes(locked + "\\probe.txt", "probe");
    ASSERT_TRUE(SetFolderAccess(locked, FILE_GENERIC_READ | FILE_GENERIC_EXECUTE)) << GetLastError();
    DeleteFileA((locked + "\\probe.txt").c_str());
    bool deletable = !PathExists(locked + "\\probe.txt");
    if (deletable) {
        SetFolderAccess(locked, FILE_ALL_ACCESS);
        GTEST_SKIP() << "the folder's access list does not keep its files here (a superuser's run?)";
    }
    WriteWorkList({locked + "\\big.bin", Dir + "\\after.txt"});
    WriteFileBytes(Dir + "\\after.txt", "after");

    bool cancelled = StartAndCancel(Vantrel(), locked + "\\big.bin");
    std::string head = ReadAt(locked + "\\big.bin", 0, 4096), tail = ReadAt(locked + "\\big.bin", big - 4096, 4096);
    ASSERT_TRUE(SetFolderAccess(locked, FILE_ALL_ACCESS));
    ASSERT_TRUE(cancelled);
    ASSERT_EQ(head.size(), 4096u) << "the file in hand, kept by its folder";
    EXPECT_EQ(head.find('\0'), std::string::npos) << "its beginning was overwritten before the click";
    EXPECT_EQ(tail.find_first_not_of('\0'), std::string::npos) << "the overwrite went on to its end after the click";
    EXPECT_EQ(ReadFileBytes(Dir + "\\after.txt"), "after") << "the next file";
}

TEST(VantrelFileName, LongPathsShowTheirBeginningAndLastName)
{
    auto measure = [](const std::string& s) { return static_cast<int>(s.size()) * 6; };
    const int width = 286;   // 46 characters fit (276 <= 281), 47 do not
    std::string shortText = "File: C:\\a\\b.txt";
    EXPECT_EQ(TIndicatorThread::ShortenedName(shortText, width, measure), shortText);
    std::string fits(46, 'f');
    EXPECT_EQ(TIndicatorThread::ShortenedName(fits, width, measure), fits) << "46 characters: 276 <= 281";

    std::string longText = "File: C:\\" + std::string(80, 'd') + "\\last.txt";
    std::string shown = TIndicatorThread::ShortenedName(longText, width, measure);
    // The shortest beginning with "..\last.txt" whose width reaches 271: 46 characters.
    EXPECT_EQ(shown, longText.substr(0, 46 - 11) + "..\\last.txt");

    std::string noSlash(60, 'n');
    EXPECT_EQ(TIndicatorThread::ShortenedName(noSlash, width, measure), std::string(46, 'n')) << "no tail";
}

namespace {

// One run of Vantrel over every place of a kind, with files chosen beside them: each place
// is skipped and logged, its canaries stay, and the chosen files are still wiped.
class VantrelPlacesTest : public VantrelTest {
protected:
    void ExpectSpared(const PlaceKind& kind, const std::vector<std::string>& chosen)
    {
        std::vector<std::string> lines;
        for (const std::string& folder : kind.Folders) {
            ASSERT_FALSE(folder.empty()) << kind.Name << ": a place the sandbox should have";
            PlantCanaries(folder);
            lines.push_back(folder);
        }
        for (const std::string& f : kind.Files) {
            if (!PathExists(f))
                WriteFileBytes(f, "canary");
            lines.push_back(f);
        }
        const size_t refused = lines.size();
        for (const std::string& f : chosen) {
            WriteFileBytes(f, "chosen");
            lines.push_back(f);
        }
        WriteWorkList(lines);
        ASSERT_EQ(RunProgram(Vantrel(), 60000), 0) << "exit code";

        std::string log = ReadFileBytes(ExeDir() + "\\Vantrel.log");
        for (size_t i = 0; i < lines.size(); ++i) {
            bool logged = log.find("Skipped line " + std::to_string(i + 1) + "  ") != std::string::npos;
            EXPECT_EQ(logged, i < refused) << kind.Name << ": line " << i + 1 << " " << lines[i] << " in\n" << log;
        }
        for (const std::string& folder : kind.Folders)
            for (const std::string& f : Canaries(folder))
                EXPECT_EQ(ReadFileBytes(f), "canary") << kind.Name << ": " << f << " with the line " << folder;
        for (const std::string& f : kind.Files)
            EXPECT_TRUE(PathExists(f)) << kind.Name << ": the listed file " << f;
        for (const std::string& f : chosen)
            EXPECT_FALSE(PathExists(f)) << kind.Name << ": the chosen file " << f;
        for (const std::string& folder : kind.Folders)
            RemoveCanaries(folder);
    }
};

std::string ShellFolder(int csidl)
{
    char buf[MAX_PATH];
    return SHGetFolderPathA(nullptr, csidl, nullptr, 0, buf) == S_OK ? buf : "";
}

}  // namespace

TEST_F(VantrelPlacesTest, ProfilesAndTheCommonFoldersAreSkipped)
{
    char profile[MAX_PATH];
    GetEnvironmentVariableA("USERPROFILE", profile, MAX_PATH);
    ExpectSpared(ProfilePlaces(), {std::string(profile) + "\\qchosen.txt", Dir + "\\ordinary.txt"});
}

TEST_F(VantrelPlacesTest, ProgramFilesIsSkipped)
{
    ExpectSpared(ProgramFilesPlaces(), {ShellFolder(CSIDL_PROGRAM_FILES) + "\\qchosen.txt", Dir + "\\ordinary.txt"});
}

TEST_F(VantrelPlacesTest, TheWindowsFolderIsSkippedButItsTempFolder)
{
    char win[MAX_PATH];
    GetWindowsDirectoryA(win, MAX_PATH);
    MakeDirs(std::string(win) + "\\Temp");
    ExpectSpared(WindowsPlaces(), {std::string(win) + "\\Temp\\qchosen.txt", Dir + "\\ordinary.txt"});
    DeleteFileA((std::string(win) + "\\qcanary.ini").c_str());
    DeleteFileA((std::string(win) + "\\Fonts\\qcanary.fon").c_str());
}

TEST_F(VantrelPlacesTest, QueloraItsFolderItsListAndItsProgramAreSkipped)
{
    PlaceKind own = OwnPlaces(ExeDir());
    own.Files.push_back(WorkListPath());
    own.Files.push_back(ExeDir() + "\\Vantrel.exe");
    const std::string program = ReadFileBytes(ExeDir() + "\\Vantrel.exe");
    ExpectSpared(own, {Dir + "\\ordinary.txt"});
    EXPECT_EQ(ReadFileBytes(ExeDir() + "\\Vantrel.exe"), program) << "Vantrel's own program";
    DeleteFileA((ExeDir() + "\\Quelmain.lng").c_str());
}

TEST_F(VantrelPlacesTest, DocumentFoldersAreSkippedAndTheFilesChosenInThemWiped)
{
    ExpectSpared(DocumentPlaces(), {ShellFolder(CSIDL_DESKTOPDIRECTORY) + "\\qchosen.txt",
                                    ShellFolder(CSIDL_PERSONAL) + "\\qchosen.txt", Dir + "\\ordinary.txt"});
}

// However the window is closed, the worker stops: the file in hand goes, the rest stays,
// and the process ends.
TEST_F(VantrelTest, ClosingTheWindowAnyWayIsACancel)
{
    struct Way {
        const char* Name;
        std::function<void(HWND)> Close;
    };
    const Way ways[] = {
        {"WM_CLOSE, as the taskbar sends it", [](HWND w) { PostMessageA(w, WM_CLOSE, 0, 0); }},
        {"Alt+F4",
         [](HWND w) {
             SetForegroundWindow(w);
             PumpFor(100);
             SendKey(VK_MENU, false);
             SendKey(VK_F4, false);
             SendKey(VK_F4, true);
             SendKey(VK_MENU, true);
         }},
    };
    for (const Way& way : ways) {
        MakeBigFile(Dir + "\\big1.bin", 1LL << 30);
        MakeBigFile(Dir + "\\big2.bin", 1LL << 30);
        WriteFileBytes(Dir + "\\after.txt", "after");
        WriteWorkList({Dir + "\\big1.bin", Dir + "\\big2.bin", Dir + "\\after.txt"});
        DWORD pid = 0;
        HANDLE process = StartProgram(Vantrel(), &pid);
        ASSERT_NE(process, nullptr);
        HWND window = WaitForWindow(pid, "QueloraWindow", 20000);
        ASSERT_NE(window, nullptr) << "Vantrel's window";
        Sleep(200);
        way.Close(window);
        DWORD waited = WaitForSingleObject(process, 20000);
        if (waited != WAIT_OBJECT_0)
            TerminateProcess(process, 1);
        CloseHandle(process);
        EXPECT_EQ(waited, static_cast<DWORD>(WAIT_OBJECT_0)) << "Vantrel ends after " << way.Name;
        EXPECT_EQ(ReadFileBytes(Dir + "\\after.txt"), "after") << "a file not reached before " << way.Name;
        EXPECT_TRUE(PathExists(Dir + "\\big2.bin")) << "a file not reached before " << way.Name;
    }
}

TEST(VantrelRecord, ACancelStopsACollectionUnderWay)
{
    const std::string dir = ScratchDir("collect");
    for (int d = 0; d < 4; ++d) {
        MakeDirs(dir + "\\d" + std::to_string(d));
        for (int i = 0; i < 100; ++i)
            WriteFileBytes(dir + "\\d" + std::to_string(d) + "\\f" + std::to_string(i), "x");
    }
    HANDLE cancel = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    CWHddClass hdd(cancel);
    hdd.AppendByExtension(dir, ".*", true);
    EXPECT_EQ(hdd.CollectedPaths.Count(), 404) << "entries collected without a cancel";
    hdd.CollectedPaths.Clear();
    SetEvent(cancel);
    hdd.AppendByExtension(dir, ".*", true);
    EXPECT_LE(hdd.CollectedPaths.Count(), 2) << "entries collected after the cancel";
    CloseHandle(cancel);
}

TEST(VantrelRecord, AnEmptyProtectedFolderIsNeverRemoved)
{
    char profile[MAX_PATH];
    ASSERT_GT(GetEnvironmentVariableA("USERPROFILE", profile, MAX_PATH), 0u);
    const std::string profiles = std::string(profile).substr(0, std::string(profile).find_last_of('\\'));
    const std::string emptyProfile = profiles + "\\Empty One", plain = ScratchDir("empty");
    MakeDirs(emptyProfile);
    CWHddClass hdd(nullptr);
    EXPECT_FALSE(hdd.RemoveFolder(emptyProfile)) << "an empty profile " << emptyProfile;
    EXPECT_TRUE(PathExists(emptyProfile)) << emptyProfile;
    EXPECT_TRUE(hdd.RemoveFolder(plain)) << "an ordinary empty folder " << plain;
    RemoveDirectoryA(emptyProfile.c_str());
}

// What follows a refusal for a file's safety. Wine cannot swap a folder above a found file for
// a link (README), so the refusal itself is made by the record's own call for it.
struct RefusingRecord : CWHddClass {
    RefusingRecord() : CWHddClass(nullptr) {}
    using CHddClass::LeaveAlone;
    using CHddClass::IsLeftAlone;
};

TEST(VantrelRecord, AFileRefusedForItsSafetyOutlivesEveryLaterStep)
{
    const std::string dir = ScratchDir("refused"), refused = dir + "\\sub\\refused.txt";
    MakeDirs(dir + "\\sub");
    WriteFileBytes(refused, "refused");
    WriteFileBytes(dir + "\\sub\\plain.txt", "plain");
    RefusingRecord hdd;
    hdd.CollectedPaths.Add(dir);
    hdd.AppendByExtension(dir, ".*", true);
    hdd.LeaveAlone(refused);
    // Names compare as the system compares them, also where it cannot look them up.
    hdd.LeaveAlone(dir + "\\GONE.TXT");
    EXPECT_TRUE(hdd.IsLeftAlone(dir + "\\gone.txt"));
    for (int i = 0; i < hdd.CollectedPaths.Count(); ++i)
        hdd.WipeThenDelete(hdd.CollectedPaths[i]);
    EXPECT_FALSE(PathExists(dir + "\\sub\\plain.txt")) << "its neighbour stays";
    hdd.DeleteTree(dir);
    EXPECT_TRUE(PathExists(refused) && ReadFileBytes(refused) == "refused") << "wiped, or deleted unwritten";
    DeleteFileA(refused.c_str());
}
