#include "CShellFoldersContainer.h"
#include "SystemVersion.h"
#include "TRegistry.h"
#include "TStringList.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <map>

using namespace testing_support;
using F = CShellFoldersContainer;

namespace {

const char* ShellKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

// Shell folders and TMP as given; the previous values come back afterwards.
class ShellFoldersTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TRegistry reg(HKEY_CURRENT_USER);
        ASSERT_TRUE(reg.OpenKey(ShellKey, false));
        for (const char* n : {"AppData", "Cache", "Recent", "History", "Cookies"})
            Saved[n] = reg.ReadString(n);
        ASSERT_TRUE(reg.OpenKey("\\Environment", false));
        SavedTmp = reg.ReadString("TMP");
    }
    void TearDown() override
    {
        TRegistry reg(HKEY_CURRENT_USER);
        reg.OpenKey(ShellKey, true);
        for (auto& kv : Saved)
            reg.WriteString(kv.first, kv.second);
        SetTmp(SavedTmp);
    }
    static void SetTmp(const std::string& value, bool expand = false)
    {
        TRegistry reg(HKEY_CURRENT_USER);
        ASSERT_TRUE(reg.OpenKey("Environment", true));
        if (expand)
            reg.WriteExpandString("TMP", value);
        else
            reg.WriteString("TMP", value);
    }
    std::map<std::string, std::string> Saved;
    std::string SavedTmp;
};

std::string Env(const char* name)
{
    char buf[MAX_PATH] = {};
    GetEnvironmentVariableA(name, buf, MAX_PATH);
    return buf;
}

// What a freshly started program sees: the system version is fixed at a program's start.
std::map<std::string, std::string> FoldersSeenByNewProgram()
{
    std::string out = ScratchDir("folders") + "\\seen.txt";
    EXPECT_EQ(RunProgram(HelperCommand("folders \"" + out + "\""), 60000), 0);
    TStringList l;
    l.LoadFromFile(out);
    std::map<std::string, std::string> m;
    for (const std::string& line : l.Items)
        m[line.substr(0, line.find('='))] = line.substr(line.find('=') + 1);
    return m;
}

void SetWindowsVersion(const char* version)
{
    TRegistry reg(HKEY_CURRENT_USER);
    ASSERT_TRUE(reg.OpenKey("Software\\Wine\\AppDefaults\\testhelper.exe", true));
    reg.WriteString("Version", version);
}

}  // namespace

TEST_F(ShellFoldersTest, ReadsTheUsersFoldersAsStored)
{
    F f;
    EXPECT_EQ(f[F::AppData], Saved["AppData"]);
    EXPECT_EQ(f[F::Cache], Saved["Cache"]);
    EXPECT_EQ(f[F::Cookies], Saved["Cookies"]);
    EXPECT_EQ(f[F::History], Saved["History"]);
    EXPECT_EQ(f[F::Recent], Saved["Recent"]);
    EXPECT_FALSE(f[F::Cache].empty()) << "the sandbox sets every folder";
    char win[MAX_PATH];
    GetWindowsDirectoryA(win, MAX_PATH);
    EXPECT_EQ(f[F::Windows], win);
    EXPECT_EQ(f[F::Profile], Saved["Cookies"].substr(0, Saved["Cookies"].size() - 7))
        << "the Cookies path without its last seven characters";
    for (int unused : {3, 5, 7, 8, 9, 10, 12, 14})
        EXPECT_EQ(f[unused], "") << "index " << unused;
}

TEST_F(ShellFoldersTest, TempOnTheNtFamily)
{
    SetTmp("D:\\Temp");
    EXPECT_EQ(F()[F::Temp], "D:\\Temp") << "a plain path stays as it is";

    // The usual layout: a profile's Cookies folder and TMP naming the profile variable.
    std::string profile = Env("USERPROFILE");
    ASSERT_FALSE(profile.empty());
    TRegistry reg(HKEY_CURRENT_USER);
    ASSERT_TRUE(reg.OpenKey(ShellKey, false));
    reg.WriteString("Cookies", profile + "\\Cookies");
    SetTmp("%USERPROFILE%\\Local Settings\\Temp", true);
    F usual;
    EXPECT_EQ(usual[F::Temp], profile + "\\Local Settings\\Temp");
    EXPECT_EQ(usual[F::Temp], usual[F::Profile] + "Local Settings\\Temp")
        << "the same folder as the profile path put in front";

    SetTmp("%NO_SUCH_VARIABLE%\\Temp", true);
    EXPECT_EQ(F()[F::Temp], "") << "a reference that does not expand to a full path";
    SetTmp("Temp");
    EXPECT_EQ(F()[F::Temp], "") << "a relative value";
    SetTmp("");
    EXPECT_EQ(F()[F::Temp], "");
    ASSERT_TRUE(reg.OpenKey("\\Environment", false));
    reg.DeleteValue("TMP");
    EXPECT_EQ(F()[F::Temp], "") << "no TMP value";
}

TEST_F(ShellFoldersTest, AMissingShellFolderKeyLeavesThePathsEmpty)
{
    TRegistry reg(HKEY_CURRENT_USER);
    ASSERT_TRUE(reg.DeleteKey(ShellKey));
    F f;
    for (int i : {F::AppData, F::Cache, F::Cookies, F::History, F::Recent, F::Profile})
        EXPECT_EQ(f[i], "") << "index " << i;
    EXPECT_FALSE(f[F::Windows].empty());
}

TEST(SystemVersion, TestsFollowTheSystemFamily)
{
    struct Case {
        const char* version;
        const char* nt4;
        const char* w2k;
    } cases[] = {{"nt40", "1", "0"}, {"win2k", "0", "1"}, {"winxp", "0", "1"}, {"win98", "0", "0"}};
    for (const Case& c : cases) {
        SetWindowsVersion(c.version);
        auto seen = FoldersSeenByNewProgram();
        EXPECT_EQ(seen["NT4"], c.nt4) << c.version;
        EXPECT_EQ(seen["W2K"], c.w2k) << c.version;
    }
    // This program runs as the default NT version of the sandbox.
    EXPECT_FALSE(IsWinNT4OrOlder());
    EXPECT_TRUE(IsWin2000OrLater());
}

TEST(SystemVersion, Windows9xTakesTempFromTheWindowsFolder)
{
    TRegistry reg(HKEY_CURRENT_USER);
    ASSERT_TRUE(reg.OpenKey("Environment", true));
    reg.WriteString("TMP", "C:\\elsewhere");
    SetWindowsVersion("win98");
    auto seen = FoldersSeenByNewProgram();
    char win[MAX_PATH];
    GetWindowsDirectoryA(win, MAX_PATH);
    EXPECT_EQ(seen["2"], std::string(win) + "\\Temp") << "whatever the environment says";
    EXPECT_EQ(seen["15"], seen["2"]) << "the profile path is the Temp path";
}
