#include "CShellFoldersContainer.h"
#include "Exceptions.h"
#include "Fennick.h"
#include "ProtectedPlaceCases.h"
#include "TRegistry.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

using namespace testing_support;
using F = CShellFoldersContainer;

namespace {

class FennickTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        F folders;
        Cache = folders[F::Cache];
        History = folders[F::History];
        ASSERT_FALSE(Cache.empty());
        ASSERT_FALSE(History.empty());
        MakeDirs(Cache + "\\Content.IE5\\ABCD1234");
        MakeDirs(Cache + "\\folder.dat");
        MakeDirs(Cache + "\\sub");
        MakeDirs(History + "\\History.IE5\\MSHist01");
        for (const std::string& f : Wiped())
            WriteFileBytes(f, "index data");
        for (const std::string& f : Kept())
            WriteFileBytes(f, "other");
    }
    std::vector<std::string> Wiped() const
    {
        return {Cache + "\\Content.IE5\\index.dat", Cache + "\\Content.IE5\\ABCD1234\\index.dat",
                Cache + "\\folder.dat\\x.dat", History + "\\History.IE5\\index.dat",
                History + "\\History.IE5\\MSHist01\\index.dat"};
    }
    std::vector<std::string> Kept() const
    {
        return {Cache + "\\INDEX.DAT", Cache + "\\page.htm", Cache + "\\sub\\desktop.ini",
                Cache + "\\desktop.ini", History + "\\desktop.ini"};
    }
    std::string Fennick(const std::string& args) const
    {
        return "\"" + ExeDir() + "\\Fennick.exe\"" + args;
    }
    void ExpectNothingDeleted() const
    {
        for (const std::string& f : Wiped())
            EXPECT_EQ(ReadFileBytes(f), "index data") << f;
        for (const std::string& f : Kept())
            EXPECT_TRUE(PathExists(f)) << f;
    }
    std::string Cache, History;
};

}  // namespace

TEST_F(FennickTest, WipesTheIndexFilesOfCacheAndHistory)
{
    for (const char* passes : {" 5", " 0"}) {
        SetUp();
        ASSERT_EQ(RunProgram(Fennick(passes), 60000), 0) << "exit code with" << passes;
        for (const std::string& f : Wiped())
            EXPECT_FALSE(PathExists(f)) << f << " with" << passes;
        for (const std::string& f : Kept())
            EXPECT_EQ(ReadFileBytes(f), "other") << f << " with" << passes;
        EXPECT_TRUE(PathExists(Cache + "\\folder.dat")) << "a folder named .dat stays";
    }
}

TEST_F(FennickTest, TheLastCharacterIsThePassCount)
{
    EXPECT_NO_THROW(WipeIndexFiles("C:\\Quelora\\Fennick.exe 9"));
    for (const std::string& f : Wiped())
        EXPECT_FALSE(PathExists(f)) << f;
    SetUp();
    for (const char* bad : {"\"C:\\Quelora\\Fennick.exe\"", "Fennick.exe x", "Fennick.exe 5 ", ""})
        EXPECT_THROW(WipeIndexFiles(bad), EConvertError) << "'" << bad << "'";
    ExpectNothingDeleted();
}

TEST_F(FennickTest, StartedByHandItSaysSoAndDeletesNothing)
{
    if (!HaveDisplay())
        GTEST_SKIP() << "no display for the message box";
    DWORD pid = 0;
    HANDLE p = StartProgram(Fennick(""), &pid);
    ASSERT_NE(p, nullptr);
    HWND box = WaitForWindow(pid, "#32770", 30000);
    ASSERT_NE(box, nullptr) << "no message box appeared";
    HWND text = FindWindowExA(box, nullptr, "Static", nullptr);
    std::string shown;
    for (; text; text = FindWindowExA(box, text, "Static", nullptr))
        shown += WindowText(text);
    EXPECT_NE(shown.find("Quelora's module. Do not Run manually!"), std::string::npos) << shown;
    ExpectNothingDeleted();
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    ASSERT_EQ(WaitForSingleObject(p, 30000), WAIT_OBJECT_0);
    DWORD code = 1;
    GetExitCodeProcess(p, &code);
    CloseHandle(p);
    EXPECT_EQ(code, 0u);
}

TEST_F(FennickTest, AnEmptyCachePathStillCleansHistory)
{
    for (const char* key : {"Shell Folders", "User Shell Folders"}) {
        TRegistry reg(HKEY_CURRENT_USER);
        ASSERT_TRUE(reg.OpenKey(std::string("Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\") + key, false));
        reg.WriteString("Cache", "");
    }
    WriteFileBytes("C:\\index.dat", "root canary");
    ASSERT_EQ(RunProgram(Fennick(" 1"), 60000), 0);
    EXPECT_EQ(ReadFileBytes("C:\\index.dat"), "root canary") << "an empty path never becomes a drive root";
    EXPECT_TRUE(PathExists(Cache + "\\Content.IE5\\index.dat"));
    EXPECT_FALSE(PathExists(History + "\\History.IE5\\index.dat"));
}

TEST_F(FennickTest, AFileInUseStaysAndTheRestGo)
{
    std::string held = Cache + "\\Content.IE5\\index.dat";
    HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, "FennickTestReady");
    HANDLE quit = CreateEventA(nullptr, TRUE, FALSE, "FennickTestQuit");
    HANDLE holder = StartProgram(HelperCommand("hold \"" + held + "\" FennickTestReady FennickTestQuit"));
    ASSERT_NE(holder, nullptr);
    ASSERT_EQ(WaitForSingleObject(ready, 20000), WAIT_OBJECT_0);
    EXPECT_EQ(RunProgram(Fennick(" 1"), 60000), 0);
    SetEvent(quit);
    WaitForSingleObject(holder, 20000);
    CloseHandle(holder);
    CloseHandle(ready);
    CloseHandle(quit);
    EXPECT_EQ(ReadFileBytes(held), "index data");
    EXPECT_FALSE(PathExists(History + "\\History.IE5\\index.dat"));
}

namespace {

// Fennick with the Cache folder set to each place of a kind: the place keeps its index
// files, while those of the History folder still go.
class FennickPlacesTest : public FennickTest {
protected:
    void TearDown() override { SetCache(Cache); }
    static void SetCache(const std::string& folder)
    {
        for (const char* key : {"Shell Folders", "User Shell Folders"}) {
            TRegistry reg(HKEY_CURRENT_USER);
            ASSERT_TRUE(reg.OpenKey(std::string("Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\") + key, false));
            reg.WriteString("Cache", folder);
        }
    }
    void ExpectSpared(const PlaceKind& kind)
    {
        for (const std::string& folder : kind.Folders) {
            ASSERT_FALSE(folder.empty()) << kind.Name << ": a place the sandbox should have";
            SetCache(Cache);
            FennickTest::SetUp();
            PlantCanaries(folder);
            SetCache(folder);
            EXPECT_EQ(RunProgram(Fennick(" 1"), 60000), 0) << "exit code with the Cache at " << folder;
            for (const std::string& f : Canaries(folder))
                EXPECT_EQ(ReadFileBytes(f), "canary") << kind.Name << ": " << f << " with the Cache at " << folder;
            EXPECT_FALSE(PathExists(History + "\\History.IE5\\index.dat"))
                << "the History folder's index file with the Cache at " << folder;
            RemoveCanaries(folder);
        }
    }
};

}  // namespace

TEST_F(FennickPlacesTest, ProfilesAndTheCommonFoldersAreSpared)
{
    ExpectSpared(ProfilePlaces());
}

TEST_F(FennickPlacesTest, ProgramFilesIsSpared)
{
    ExpectSpared(ProgramFilesPlaces());
}

TEST_F(FennickPlacesTest, TheWindowsFolderIsSparedButItsTempFolder)
{
    ExpectSpared(WindowsPlaces());
    char win[MAX_PATH];
    GetWindowsDirectoryA(win, MAX_PATH);
    const std::string temp = std::string(win) + "\\Temp";
    PlantCanaries(temp);
    SetCache(temp);
    EXPECT_EQ(RunProgram(Fennick(" 1"), 60000), 0);
    for (const std::string& f : Canaries(temp))
        EXPECT_FALSE(PathExists(f)) << f << ": the Windows folder's Temp is a place cleaners work in";
    RemoveCanaries(temp);
}

TEST_F(FennickPlacesTest, QueloraItsFolderIsSpared)
{
    const std::string installed = ScratchDir("installed");
    TRegistry reg(HKEY_CURRENT_USER);
    ASSERT_TRUE(reg.OpenKey("Software\\Ostrand\\Quelora\\Data", true));
    reg.WriteString("InstallationPath", installed + "\\");
    ExpectSpared(OwnPlaces(installed));
    EXPECT_EQ(ReadFileBytes(installed + "\\Quelmain.lng"), "canary");
}

TEST_F(FennickPlacesTest, TheDocumentFoldersAreSpared)
{
    ExpectSpared(DocumentPlaces());
}
