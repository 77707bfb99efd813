#include "CPathSafety.h"

#include <gtest/gtest.h>

#include <windows.h>

TEST(CPathSafety, OnlyFullPathsWithoutDotPartsAreAbsolute)
{
    for (const char* ok : {"C:\\", "C:\\Temp", "c:\\a b\\c.d\\", "C:\\x\\..y", "\\\\server\\share",
                           "\\\\server\\share\\folder", "C:/Temp"})
        EXPECT_TRUE(CPathSafety::IsAbsolute(ok)) << ok;
    for (const char* bad : {"", "C:", "C:Temp", "Temp", "\\Temp", ".\\Temp", "C:\\Temp\\..",
                            "C:\\a\\.\\b", "C:\\a\\..\\..\\Windows", "\\\\?\\C:\\Temp", "\\\\.\\C:",
                            "\\\\server", "\\\\server\\", "\\\\\\share", "1:\\x"})
        EXPECT_FALSE(CPathSafety::IsAbsolute(bad)) << bad;
}

TEST(CPathSafety, RootsAndTheSystemFoldersAreProtected)
{
    char win[MAX_PATH], sys[MAX_PATH];
    GetWindowsDirectoryA(win, MAX_PATH);
    GetSystemDirectoryA(sys, MAX_PATH);
    for (const std::string& p : {std::string("C:"), std::string("C:\\"), std::string("D:\\\\"),
                                 std::string("\\\\server\\share"), std::string("\\\\server\\share\\"),
                                 std::string(win), std::string(win) + "\\", std::string(sys),
                                 std::string("c:\\WINDOWS"), std::string("")})
        EXPECT_TRUE(CPathSafety::IsProtectedFolder(p)) << p;
    for (const std::string& p : {std::string(win) + "\\Temp", std::string("C:\\Temp"),
                                 std::string("\\\\server\\share\\x")})
        EXPECT_FALSE(CPathSafety::IsProtectedFolder(p)) << p;
    EXPECT_TRUE(CPathSafety::IsTreeAllowed(std::string(win) + "\\Temp"));
    EXPECT_FALSE(CPathSafety::IsTreeAllowed("C:\\"));
    EXPECT_FALSE(CPathSafety::IsTreeAllowed("Temp"));
}
