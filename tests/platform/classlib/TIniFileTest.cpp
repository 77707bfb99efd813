#include "TIniFile.h"
#include "TStringList.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <string>

using namespace testing_support;

TEST(TIniFile, ReadsWithoutRegardToCaseAndLosesNothingOfLongValues)
{
    std::string path = ScratchDir("ini") + "\\English_.con";
    std::string longValue = std::string(5000, 'x') + "end";
    std::string many;
    for (int i = 0; i < 400; ++i)
        many += "Key" + std::to_string(i) + "=" + std::to_string(i) + "\r\n";
    WriteFileBytes(path, "[MainFm]\r\nRestoreWndWD=Restore Quelora\r\nLeft=42\r\nBad=4x\r\n[Empty]\r\n[Long]\r\nText=" +
                             longValue + "\r\n[Many]\r\n" + many);
    TIniFile ini(path);
    EXPECT_EQ(ini.ReadString("mainfm", "RESTOREWNDWD", "-"), "Restore Quelora");
    EXPECT_EQ(ini.ReadString("MainFm", "CancelWD", "Minimize Quelora"), "Minimize Quelora") << "a missing key";
    EXPECT_EQ(ini.ReadInteger("MAINFM", "left", 10), 42);
    EXPECT_EQ(ini.ReadInteger("MainFm", "Bad", 10), 10) << "not a number";
    EXPECT_EQ(ini.ReadInteger("MainFm", "RestoreWndWD", 10), 10);
    EXPECT_EQ(ini.ReadString("long", "text", ""), longValue);
    EXPECT_TRUE(ini.SectionExists("EMPTY")) << "a section without keys";
    EXPECT_FALSE(ini.SectionExists("Indicator"));
    TStringList keys;
    ini.ReadSection("mainFM", keys);
    EXPECT_EQ(keys.Text(), "RestoreWndWD\r\nLeft\r\nBad\r\n");
    ini.ReadSection("Many", keys);
    ASSERT_EQ(keys.Count(), 400) << "a long list of keys";
    EXPECT_EQ(keys[399], "Key399");
}

TEST(TIniFile, AMissingFileReadsAsItsDefaults)
{
    TIniFile ini(ScratchDir("ini-missing") + "\\Deutsch_.con");
    EXPECT_EQ(ini.ReadString("Indicator", "DoneWD", "Done...OK"), "Done...OK");
    EXPECT_EQ(ini.ReadInteger("MainFm", "ComboBox1", 10), 10);
    EXPECT_FALSE(ini.SectionExists("MainFm"));
    TStringList keys;
    keys.Add("left over");
    ini.ReadSection("MainFm", keys);
    EXPECT_EQ(keys.Count(), 0);
}
