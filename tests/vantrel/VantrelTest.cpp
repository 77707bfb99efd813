#include "Progressthread.h"
#include "TestSupport.h"
#include "VantrelSupport.h"
#include "WindowTestSupport.h"

#include <gtest/gtest.h>

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
        "C:\\qtest\\" + std::string(10000, 'x'),   // 11: a name no file system takes
        Dir + "\\missing.txt",                     // 12
        Dir + "\\safe.txt",                        // 13
        Dir + "\\sub",                             // 14
    };
    WriteWorkList(lines);
    std::string list = ReadFileBytes(WorkListPath());

    ASSERT_EQ(RunProgram(Vantrel(), 60000), 0) << "exit code";

    EXPECT_FALSE(PathExists(Dir + "\\safe.txt")) << "the safe file stays";
    EXPECT_FALSE(PathExists(Dir + "\\sub")) << "the safe folder stays";
    for (const char* kept : {"dotted.txt", "device.txt", "zero.txt", "relative.txt", "canary.txt"})
        EXPECT_EQ(ReadFileBytes(Dir + "\\" + kept), "data") << kept;
    EXPECT_EQ(ReadFileBytes("C:\\canary.txt"), "root") << "a file at the drive's top";
    EXPECT_TRUE(PathExists("C:\\windows\\system32\\kernel32.dll")) << "the system folder";
    EXPECT_EQ(ReadFileBytes(WorkListPath()), list) << "the work list is left as it was";
    std::string log = ReadFileBytes(ExeDir() + "\\Vantrel.log");
    for (int n = 1; n <= 10; ++n)
        EXPECT_NE(log.find("Skipped line " + std::to_string(n) + "  "), std::string::npos) << "line " << n << " in\n"
                                                                                           << log;
    for (int n = 12; n <= 14; ++n)
        EXPECT_EQ(log.find("Skipped line " + std::to_string(n) + "  "), std::string::npos) << "line " << n << " in\n"
                                                                                           << log;
    DeleteFileA("C:\\canary.txt");
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
    MakeBigFile(Dir + "\\big1.bin", big);
    MakeBigFile(Dir + "\\big2.bin", big);
    WriteFileBytes(Dir + "\\after.txt", "after");
    MakeDirs(Dir + "\\folder");
    WriteFileBytes(Dir + "\\folder\\inside.txt", "inside");
    WriteWorkList({Dir + "\\big1.bin", Dir + "\\big2.bin", Dir + "\\after.txt", Dir + "\\folder"});

    DWORD pid = 0;
    HANDLE process = StartProgram(Vantrel(), &pid);
    ASSERT_NE(process, nullptr);
    HWND window = WaitForWindow(pid, "QueloraWindow", 20000);
    ASSERT_NE(window, nullptr) << "Vantrel's window";
    EXPECT_EQ(WindowText(window), "Vantrel Progress Indicator");
    // The window at work, for people to look at.
    Sleep(300);
    TBitmap shot;
    shot.SetSize(313, 97);
    HDC dc = GetDC(window);
    BitBlt(shot.Canvas().DC(), 0, 0, 313, 97, dc, 0, 0, SRCCOPY);
    ReleaseDC(window, dc);
    EXPECT_TRUE(WritePng(shot, ArtifactPath("vantrel_window.png")));
    RECT band = {13, 12, 299, 60};
    EXPECT_GT(CountColor(shot, band, RGB(0xB5, 0xB5, 0xB5)), 1000) << "the labels' grey band";
    PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(CancelX, CancelY));
    PostMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(CancelX, CancelY));
    ASSERT_EQ(WaitForSingleObject(process, 60000), WAIT_OBJECT_0) << "Vantrel ends after Cancel";
    DWORD code = 99;
    GetExitCodeProcess(process, &code);
    CloseHandle(process);
    EXPECT_EQ(code, 0u) << "exit code";

    EXPECT_FALSE(PathExists(Dir + "\\big1.bin")) << "the file in hand goes, partly written";
    EXPECT_EQ(ReadFileBytes(Dir + "\\after.txt"), "after") << "a file after the cancel";
    EXPECT_EQ(ReadFileBytes(Dir + "\\folder\\inside.txt"), "inside") << "a folder after the cancel";
    EXPECT_TRUE(PathExists(WorkListPath())) << "the work list";
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
