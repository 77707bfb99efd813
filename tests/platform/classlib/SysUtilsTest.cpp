#include "Exceptions.h"
#include "SysUtils.h"

#include <gtest/gtest.h>

TEST(SysUtils, CopyCountsFromOneAndClampsToTheString)
{
    EXPECT_EQ(Copy("abcdef", 2, 3), "bcd");
    EXPECT_EQ(Copy("abcdef", 0, 2), "ab") << "a position before the first counts from the first";
    EXPECT_EQ(Copy("abcdef", 5, 10), "ef");
    EXPECT_EQ(Copy("abcdef", 7, 1), "");
    EXPECT_EQ(Copy("abcdef", 2, 0), "");
    EXPECT_EQ(CopyFrom("%USERPROFILE%\\Local Settings\\Temp", 15), "Local Settings\\Temp");
}

TEST(SysUtils, StrToIntAcceptsOnlyDecimalIntegers)
{
    EXPECT_EQ(StrToInt("5"), 5);
    EXPECT_EQ(StrToInt(" -12 "), -12);
    EXPECT_EQ(StrToInt("2147483647"), 2147483647);
    for (const char* bad : {"", "\"", "x", "1e3", "2147483648", "5 5", "+"}) {
        try {
            StrToInt(bad);
            ADD_FAILURE() << "no error for '" << bad << "'";
        } catch (const EConvertError& e) {
            EXPECT_STREQ(e.ClassName(), "EConvertError") << "for '" << bad << "'";
        }
    }
}

TEST(SysUtils, PathPiecesTakeTheExtensionFromTheNameOnly)
{
    EXPECT_EQ(ExtractFileExt("C:\\a.b\\index.dat"), ".dat");
    EXPECT_EQ(ExtractFileExt("C:\\a.b\\index"), "") << "a point in a folder name is no extension";
    EXPECT_EQ(ExtractFileExt("archive.tar.gz"), ".gz");
    EXPECT_EQ(ExtractFileName("C:\\x\\y.txt"), "y.txt");
    EXPECT_EQ(ExtractFilePath("C:\\x\\y.txt"), "C:\\x\\");
    EXPECT_EQ(ExtractFilePath("C:\\*.chk"), "C:\\");
    EXPECT_EQ(ChangeFileExt("C:\\Quelora\\Quelmain.exe", ".log"), "C:\\Quelora\\Quelmain.log");
    EXPECT_EQ(ChangeFileExt("C:\\Quelora\\README", ".log"), "C:\\Quelora\\README.log");
    EXPECT_EQ(ExcludeTrailingBackslash("C:\\"), "C:");
    EXPECT_EQ(ExcludeTrailingBackslash("C:\\x"), "C:\\x");
}

TEST(SysUtils, MatchesMaskComparesTheLongNameAsTheFileSystemDoes)
{
    EXPECT_TRUE(MatchesMask("X.CHK", "*.chk"));
    EXPECT_TRUE(MatchesMask("FILE0001.CHK", "*.chk"));
    EXPECT_FALSE(MatchesMask("report.chkx", "*.chk"));
    EXPECT_TRUE(MatchesMask("FOUND.000", "FOUND.*"));
    EXPECT_TRUE(MatchesMask("FOUND", "FOUND.*")) << "name.* also matches a name without a point";
    EXPECT_FALSE(MatchesMask("FOUNDER", "FOUND.*"));
    EXPECT_TRUE(MatchesMask("noext", "*.*"));
    EXPECT_TRUE(MatchesMask("a1c", "a?c"));
    EXPECT_FALSE(MatchesMask("ac", "a?c"));
}
