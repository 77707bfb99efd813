#include "Exceptions.h"
#include "TStringList.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <sddl.h>

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

namespace {

bool SetAccessList(const std::string& path, const char* sddl)
{
    PSECURITY_DESCRIPTOR sd = nullptr;
    bool set = ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl, SDDL_REVISION_1, &sd, nullptr) &&
               SetFileSecurityA(path.c_str(), DACL_SECURITY_INFORMATION, sd);
    LocalFree(sd);
    return set;
}

std::string AccessList(const std::string& path)
{
    char sd[4096], *text = nullptr;
    DWORD need = 0;
    std::string list = GetFileSecurityA(path.c_str(), DACL_SECURITY_INFORMATION, sd, sizeof sd, &need) &&
                               ConvertSecurityDescriptorToStringSecurityDescriptorA(sd, SDDL_REVISION_1,
                                                                                    DACL_SECURITY_INFORMATION, &text, nullptr)
                           ? text
                           : "";
    LocalFree(text);
    return list;
}

}  // namespace

TEST(TStringList, ASavedListKeepsItsAttributes)
{
    std::string dir = ScratchDir("strings_hidden"), target = dir + "\\CookiesToKeep.dat";
    WriteFileBytes(target, "old\r\n");
    const DWORD hidden = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    ASSERT_TRUE(SetFileAttributesA(target.c_str(), hidden));
    TStringList l;
    l.Add("Cookie:a@b.example/");
    ASSERT_NO_THROW(l.SaveToFile(target));
    DWORD now = GetFileAttributesA(target.c_str());
    SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(now & hidden, hidden) << "the list's attributes are now 0x" << std::hex << now;
    EXPECT_EQ(ReadFileBytes(target), "Cookie:a@b.example/\r\n");
}

TEST(TStringList, ASavedListKeepsItsAccessList)
{
    if (GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version"))
        GTEST_SKIP() << "Wine's ReplaceFile moves the new file in without the old one's access list";
    std::string dir = ScratchDir("strings_private"), target = dir + "\\CookiesToKeep.dat";
    WriteFileBytes(target, "old\r\n");
    ASSERT_TRUE(SetAccessList(target, "D:P(A;;FA;;;WD)")) << "error " << GetLastError();
    std::string own = AccessList(target);
    TStringList l;
    ASSERT_NO_THROW(l.SaveToFile(target));
    EXPECT_EQ(AccessList(target), own) << "the list's own access list";
}

TEST(TStringList, AFolderThatTakesNoNewFileGetsTheListWrittenInPlace)
{
    std::string dir = ScratchDir("strings_closed"), target = dir + "\\CookiesToKeep.dat";
    WriteFileBytes(target, "an old list, longer than the new one\r\n");
    // Everyone may read the folder and write its files; nobody may add a file to it.
    ASSERT_TRUE(SetAccessList(dir, "D:P(A;;FRFX;;;WD)")) << "error " << GetLastError();
    HANDLE made = CreateFileA((dir + "\\made.dat").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    TStringList l;
    l.Add("Cookie:a@b.example/");
    std::string failure;
    try {
        if (made == INVALID_HANDLE_VALUE)
            l.SaveToFile(target);
    } catch (const std::exception& e) {
        failure = e.what();
    }
    ASSERT_TRUE(SetAccessList(dir, "D:P(A;OICI;FA;;;WD)")) << "the folder's access list was not put back";
    if (made != INVALID_HANDLE_VALUE && CloseHandle(made))
        GTEST_SKIP() << "the folder's access list does not keep new files out here (a superuser's run?)";
    EXPECT_EQ(failure, "") << "the save failed";
    EXPECT_EQ(ReadFileBytes(target), "Cookie:a@b.example/\r\n") << "the list, and nothing of the old one after it";
}

TEST(TStringList, AFailedSaveLeavesTheOldFileWhole)
{
    std::string dir = ScratchDir("strings_failed"), target = dir + "\\CookiesToKeep.dat";
    const std::string old = "Cookie:kept@kept.example/\r\n";
    TStringList l;
    l.Add("Cookie:a@b.example/");
    for (bool readOnly : {true, false}) {
        WriteFileBytes(target, old);
        SetFileAttributesA(target.c_str(), readOnly ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL);
        HANDLE held = readOnly ? INVALID_HANDLE_VALUE
                               : CreateFileA(target.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        EXPECT_THROW(l.SaveToFile(target), EFCreateError) << (readOnly ? "read-only" : "held open");
        if (held != INVALID_HANDLE_VALUE)
            CloseHandle(held);
        SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
        EXPECT_EQ(ReadFileBytes(target), old) << (readOnly ? "the read-only list" : "the held list");
        WIN32_FIND_DATAA fd = {};
        HANDLE left = FindFirstFileA((dir + "\\qls*").c_str(), &fd);
        EXPECT_EQ(left, INVALID_HANDLE_VALUE) << "beside the list lies " << fd.cFileName;
        if (left != INVALID_HANDLE_VALUE)
            FindClose(left);
    }
}

TEST(TStringList, AFailedReplaceThatTookTheOldListAwayLeavesTheNewOneAtItsName)
{
    // What ReplaceFile leaves when it moved the old list aside and could not move the new
    // one in: the name empty, the whole new list beside it.
    std::string dir = ScratchDir("strings_replaced"), target = dir + "\\CookiesToKeep.dat";
    const std::string written = dir + "\\qls1.tmp", text = "Cookie:kept@kept.example/\r\n";
    for (DWORD error : {ERROR_UNABLE_TO_MOVE_REPLACEMENT, ERROR_UNABLE_TO_MOVE_REPLACEMENT_2}) {
        WriteFileBytes(written, text);
        DeleteFileA(target.c_str());
        std::string failure;
        try {
            TStringList::FinishFailedReplace(target, written, text, error);
        } catch (const std::exception& e) {
            failure = e.what();
        }
        EXPECT_EQ(failure, "") << "after error " << error;
        EXPECT_EQ(ReadFileBytes(target), text) << "the list after error " << error;
        EXPECT_EQ(GetFileAttributesA(written.c_str()), INVALID_FILE_ATTRIBUTES) << "the new file left beside it";
    }
}

namespace {

const char SaveTargetVariable[] = "QUELORA_SAVE_TARGET";
const int HugeLines = 120000;
const std::string HugeLine(499, 'n');

std::string HugeText()
{
    std::string t;
    t.reserve(HugeLines * (HugeLine.size() + 2));
    for (int i = 0; i < HugeLines; ++i)
        t += HugeLine + "\r\n";
    return t;
}

}  // namespace

// Started by the next case, which ends it while it writes.
TEST(TStringListChild, DISABLED_SavesAHugeListForItsParent)
{
    char target[MAX_PATH] = {};
    ASSERT_GT(GetEnvironmentVariableA(SaveTargetVariable, target, MAX_PATH), 0u);
    TStringList l;
    for (int i = 0; i < HugeLines; ++i)
        l.Add(HugeLine);
    l.SaveToFile(target);
}

TEST(TStringList, ASaveEndedHalfWayLeavesTheOldFileOrTheNewOneWhole)
{
    std::string dir = ScratchDir("strings_ended");
    const std::string target = dir + "\\keep.dat";
    const std::string old = "kept one\r\nkept two\r\n";
    WriteFileBytes(target, old);
    char exe[MAX_PATH] = {};
    ASSERT_GT(GetModuleFileNameA(nullptr, exe, MAX_PATH), 0u);
    SetEnvironmentVariableA(SaveTargetVariable, target.c_str());
    HANDLE child = StartProgram("\"" + std::string(exe) +
                                "\" --gtest_also_run_disabled_tests"
                                " --gtest_filter=TStringListChild.DISABLED_SavesAHugeListForItsParent");
    SetEnvironmentVariableA(SaveTargetVariable, nullptr);
    ASSERT_NE(child, nullptr) << "the writing program did not start";
    // End it at the first sign of writing: the old file touched or a new one beside it.
    bool ended = false;
    while (WaitForSingleObject(child, 0) == WAIT_TIMEOUT) {
        WIN32_FILE_ATTRIBUTE_DATA a = {};
        WIN32_FIND_DATAA fd;
        int files = 0;
        HANDLE f = FindFirstFileA((dir + "\\*.*").c_str(), &fd);
        if (f != INVALID_HANDLE_VALUE) {
            do
                files += (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? 0 : 1;
            while (FindNextFileA(f, &fd));
            FindClose(f);
        }
        bool changed = !GetFileAttributesExA(target.c_str(), GetFileExInfoStandard, &a) ||
                       a.nFileSizeLow != old.size() || files != 1;
        if (changed) {
            ended = TerminateProcess(child, 3) != 0;
            break;
        }
    }
    WaitForSingleObject(child, 30000);
    CloseHandle(child);
    std::string now = ReadFileBytes(target);
    EXPECT_TRUE(now == old || now == HugeText())
        << "the file is " << now.size() << " bytes, neither the old " << old.size() << " nor the new "
        << HugeText().size() << (ended ? " (the writer was ended half-way)" : " (the writer finished)");
    WIN32_FIND_DATAA fd;
    HANDLE f = FindFirstFileA((dir + "\\qls*").c_str(), &fd);
    if (f != INVALID_HANDLE_VALUE) {
        DeleteFileA((dir + "\\" + fd.cFileName).c_str());
        FindClose(f);
    }
}
