#include "Exceptions.h"
#include "TStringList.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

using namespace testing_support;

TEST(TStringList, LoadReadsEveryLineEndAndALastLineWithoutEnd)
{
    std::string dir = ScratchDir("strings_load");
    WriteFileBytes(dir + "\\mixed.txt", "one\r\ntwo\nthree\rfour");
    TStringList l;
    l.LoadFromFile(dir + "\\mixed.txt");
    ASSERT_EQ(l.Count(), 4);
    EXPECT_EQ(l[0], "one");
    EXPECT_EQ(l[1], "two");
    EXPECT_EQ(l[2], "three");
    EXPECT_EQ(l[3], "four");

    WriteFileBytes(dir + "\\blank.txt", "\r\n\r\nx\r\n");
    l.LoadFromFile(dir + "\\blank.txt");
    ASSERT_EQ(l.Count(), 3) << "blank lines count, the final line end does not add one";
    EXPECT_EQ(l[0], "");
    EXPECT_EQ(l[2], "x");

    WriteFileBytes(dir + "\\empty.txt", "");
    l.LoadFromFile(dir + "\\empty.txt");
    EXPECT_EQ(l.Count(), 0);
}

TEST(TStringList, SaveEndsEveryLineWithCrLf)
{
    std::string dir = ScratchDir("strings_save");
    TStringList l;
    l.Add("a");
    l.Add("");
    l.Add("b c");
    l.SaveToFile(dir + "\\out.txt");
    EXPECT_EQ(ReadFileBytes(dir + "\\out.txt"), "a\r\n\r\nb c\r\n");
    l.Clear();
    l.SaveToFile(dir + "\\out.txt");
    EXPECT_EQ(ReadFileBytes(dir + "\\out.txt"), "") << "an empty list writes an empty file";
}

TEST(TStringList, FileErrorsRaiseTheirOwnClasses)
{
    std::string dir = ScratchDir("strings_errors");
    TStringList l;
    l.Add("x");
    EXPECT_THROW(l.SaveToFile(dir + "\\no such folder\\out.txt"), EFCreateError);
    EXPECT_THROW(l.LoadFromFile(dir + "\\missing.txt"), EFOpenError);
    EXPECT_EQ(l.Count(), 1) << "a failed load leaves the list as it was";
    EXPECT_THROW(l[1], EStringListError);
    EXPECT_THROW(l.Delete(-1), EStringListError);
}
