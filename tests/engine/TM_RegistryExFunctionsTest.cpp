#include "TM_RegistryExFunctions.h"
#include "TRegistry.h"

#include <gtest/gtest.h>

static const std::string Base = "Software\\QueloraTest\\Sizes";

class RegistrySizeTest : public ::testing::Test {
protected:
    void SetUp() override { TRegistry(HKEY_CURRENT_USER).DeleteKey(Base); }
    void TearDown() override { TRegistry(HKEY_CURRENT_USER).DeleteKey(Base); }
    void Put(const std::string& key, const std::string& name, int bytes)
    {
        TRegistry reg(HKEY_CURRENT_USER);
        ASSERT_TRUE(reg.OpenKey(Base + "\\" + key, true));
        std::string data(static_cast<size_t>(bytes), 'x');
        reg.WriteBinaryData(name, data.data(), bytes);
    }
};

TEST_F(RegistrySizeTest, CountsEveryValueAtAnyDepth)
{
    Put("Top", "v", 1);
    Put("Top\\A", "v", 2);
    Put("Top\\A\\A1", "v", 4);
    Put("Top\\B", "v", 8);
    Put("Top\\B\\B1", "v", 16);
    Put("Top\\B\\B1", "w", 32);
    Put("Other", "v", 1000);
    TRegistry reg(HKEY_CURRENT_USER);
    TM_RegistryExFunctions meter;
    EXPECT_EQ(meter.GetKeySize(reg, Base + "\\Top"), 63) << "all five keys' values";
}

TEST_F(RegistrySizeTest, GetStartsAndSumAddsToTheTotal)
{
    Put("First", "a", 10);
    Put("First", "b", 20);
    Put("Second", "c", 5);
    TRegistry reg(HKEY_CURRENT_USER);
    TM_RegistryExFunctions meter;
    EXPECT_EQ(meter.GetKeySize(reg, Base + "\\First"), 30);
    EXPECT_EQ(meter.SumKeySize(reg, Base + "\\Second"), 35);
    EXPECT_EQ(meter.SumKeySize(reg, Base + "\\Missing"), 35) << "a missing key adds nothing";
    EXPECT_EQ(meter.GetKeySize(reg, Base + "\\Missing"), 0) << "a new measurement starts at 0";
}

TEST_F(RegistrySizeTest, TheCallersKeyIsOpenAgainAfterwards)
{
    Put("First", "a", 3);
    Put("Caller", "mine", 1);
    TRegistry reg(HKEY_CURRENT_USER);
    ASSERT_TRUE(reg.OpenKey(Base + "\\Caller", false));
    TM_RegistryExFunctions meter;
    EXPECT_EQ(meter.GetKeySize(reg, Base + "\\First"), 3);
    EXPECT_EQ(reg.CurrentPath(), Base + "\\Caller");
    EXPECT_TRUE(reg.ValueExists("mine"));

    TRegistry none(HKEY_CURRENT_USER);
    EXPECT_EQ(meter.GetKeySize(none, Base + "\\First"), 3);
    EXPECT_EQ(none.CurrentKey(), nullptr) << "an object without a key stays without one";
}
