#include "Exceptions.h"
#include "TRegistry.h"
#include "TStringList.h"

#include <gtest/gtest.h>

static const char* Base = "Software\\QueloraTest\\Registry";

class TRegistryTest : public ::testing::Test {
protected:
    void SetUp() override { TRegistry(HKEY_CURRENT_USER).DeleteKey(Base); }
    void TearDown() override { TRegistry(HKEY_CURRENT_USER).DeleteKey(Base); }
};

TEST_F(TRegistryTest, OpenWithAndWithoutCreate)
{
    TRegistry reg(HKEY_CURRENT_USER);
    EXPECT_FALSE(reg.OpenKey(Base, false)) << "a missing key does not open without create";
    EXPECT_EQ(reg.CurrentKey(), nullptr);
    ASSERT_TRUE(reg.OpenKey(std::string(Base) + "\\", true)) << "a trailing backslash is accepted";
    EXPECT_EQ(reg.CurrentPath(), Base);
    ASSERT_TRUE(reg.OpenKey("Sub", true)) << "relative to the open key";
    EXPECT_EQ(reg.CurrentPath(), std::string(Base) + "\\Sub");
    ASSERT_TRUE(reg.OpenKey(std::string("\\") + Base, false)) << "a leading backslash starts at the root";
    EXPECT_EQ(reg.CurrentPath(), Base);
    EXPECT_TRUE(reg.KeyExists("Sub"));
    EXPECT_FALSE(reg.KeyExists("Nope"));
    reg.CloseKey();
    EXPECT_EQ(reg.CurrentPath(), "");
}

TEST_F(TRegistryTest, ValuesOfEachKindRoundTrip)
{
    TRegistry reg(HKEY_CURRENT_USER);
    ASSERT_TRUE(reg.OpenKey(Base, true));
    reg.WriteString("s", "text");
    reg.WriteExpandString("e", "%TEMP%\\x");
    reg.WriteInteger("i", -7);
    const unsigned char bytes[3] = {1, 0, 255};
    reg.WriteBinaryData("b", bytes, 3);

    EXPECT_EQ(reg.ReadString("s"), "text");
    EXPECT_EQ(reg.ReadString("e"), "%TEMP%\\x") << "references are not expanded";
    EXPECT_EQ(reg.ReadString("missing"), "") << "a missing string reads as empty";
    EXPECT_EQ(reg.ReadInteger("i"), -7);
    unsigned char got[8] = {};
    EXPECT_EQ(reg.ReadBinaryData("b", got, sizeof got), 3);
    EXPECT_EQ(got[2], 255);
    EXPECT_EQ(reg.GetDataSize("s"), 5) << "string size counts its terminating NUL";
    EXPECT_EQ(reg.GetDataSize("b"), 3);
    EXPECT_EQ(reg.GetDataSize("missing"), -1);
    EXPECT_TRUE(reg.ValueExists("i"));

    EXPECT_THROW(reg.ReadInteger("s"), ERegistryException);
    EXPECT_THROW(reg.ReadInteger("missing"), ERegistryException);
    EXPECT_THROW(reg.ReadString("i"), ERegistryException);
    EXPECT_THROW(reg.ReadBinaryData("b", got, 2), ERegistryException) << "buffer too small";

    EXPECT_TRUE(reg.DeleteValue("s"));
    EXPECT_FALSE(reg.ValueExists("s"));
    EXPECT_FALSE(reg.DeleteValue("s"));
}

TEST_F(TRegistryTest, NamesAndDeletionWithSubkeys)
{
    TRegistry reg(HKEY_CURRENT_USER);
    ASSERT_TRUE(reg.OpenKey(std::string(Base) + "\\A\\Deep\\Deeper", true));
    reg.WriteString("v", "1");
    ASSERT_TRUE(reg.OpenKey(std::string("\\") + Base + "\\B", true));
    ASSERT_TRUE(reg.OpenKey(std::string("\\") + Base, false));
    reg.WriteString("one", "1");
    reg.WriteInteger("two", 2);
    TStringList keys, values;
    reg.GetKeyNames(keys);
    reg.GetValueNames(values);
    ASSERT_EQ(keys.Count(), 2);
    EXPECT_EQ(keys[0], "A");
    EXPECT_EQ(keys[1], "B");
    EXPECT_EQ(values.Count(), 2);

    EXPECT_TRUE(reg.DeleteKey("A")) << "a key with keys below it is deleted whole";
    EXPECT_FALSE(reg.KeyExists("A"));
    EXPECT_TRUE(reg.KeyExists("B"));
    EXPECT_FALSE(reg.DeleteKey("")) << "the open key itself is never deleted by an empty name";
}

TEST_F(TRegistryTest, AFailedWriteRaises)
{
    TRegistry reg(HKEY_CURRENT_USER);
    EXPECT_THROW(reg.WriteString("x", "y"), ERegistryException) << "no key open";
    TRegistry(HKEY_CURRENT_USER).OpenKey(Base, true);
    ASSERT_TRUE(reg.OpenKeyReadOnly(Base));
    EXPECT_THROW(reg.WriteInteger("x", 1), ERegistryException) << "a read-only key";
}
