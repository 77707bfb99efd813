#include "CFileEntry.h"
#include "CHddClass.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <windows.h>

using namespace testing_support;

// Wine 8 cannot make a junction or a substituted drive that it finds again (a junction's
// reparse data is refused, a DefineDosDevice drive opens nothing), so a parent swapped for a
// link between the walk and the wipe cannot be staged here: the decision is tested on the
// final paths themselves, and the handle's final path on the names Wine can give.
TEST(CFileEntryFinalPath, AHandleLeadsBelowItsWalkOnlyThroughWholeFolderNames)
{
    struct Case {
        const char* path;
        const char* folder;
        bool below;
    } cases[] = {
        {"C:\\walk\\a\\f.dat", "C:\\walk\\a", true},
        {"c:\\WALK\\A\\f.dat", "C:\\walk\\a", true},      // case does not count
        {"C:\\walk\\a", "C:\\walk\\a", true},
        {"C:\\f.dat", "C:\\", true},
        {"C:\\walk\\ab\\f.dat", "C:\\walk\\a", false},    // a sibling sharing the beginning
        {"C:\\walk\\f.dat", "C:\\walk\\a", false},
        {"D:\\walk\\a\\f.dat", "C:\\walk\\a", false},     // the same folders on another drive
        {"C:\\other\\a\\f.dat", "C:\\walk\\a", false},    // a junction above led elsewhere
        {"\\\\server\\share\\walk\\a\\f.dat", "C:\\walk\\a", false},
        {"", "C:\\walk\\a", false},                         // the system could not say
        {"C:\\walk\\a\\f.dat", "", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CPathSafety::LiesBelow(c.path, c.folder), c.below) << c.path << " below " << c.folder;

    if (!CFileEntry::HasSystemFinalPath())
        GTEST_SKIP() << "no final-path call on this system";
    const std::string dir = ScratchDir("finalpath");
    MakeDirs(dir + "\\Long Folder Name");
    WriteFileBytes(dir + "\\Long Folder Name\\data.dat", "x");
    char shortName[MAX_PATH];
    ASSERT_GT(GetShortPathNameA((dir + "\\Long Folder Name").c_str(), shortName, MAX_PATH), 0u);
    EXPECT_EQ(CFileEntry(std::string(shortName) + "\\DATA.DAT").FinalPath(), dir + "\\Long Folder Name\\data.dat")
        << "from " << shortName;

    // A walk started from another spelling of its folder still wipes what it found.
    CHddClass hdd;
    hdd.PassCount = 1;
    hdd.CollectByExtension(std::string(shortName) + "\\.\\", ".dat", false);
    hdd.CollectByExtension(shortName, ".dat", false);
    ASSERT_EQ(hdd.CollectedPaths.Count(), 1);
    std::string refused;
    hdd.OnRefused = [&](const std::string& path, const std::string& why) { refused += path + ": " + why; };
    EXPECT_TRUE(hdd.WipeAndDelete(hdd.CollectedPaths[0])) << refused;
    EXPECT_FALSE(PathExists(dir + "\\Long Folder Name\\data.dat"));
}

// A data-holding reparse point (a deduplicated or cloud file) is opened once on the point
// and again through the system before it is written. Wine cannot make one: the two opens are
// made on a plain file, in the engine's order and with its access.
TEST(CFileEntry, AFileHeldAloneIsOpenedAgainThroughTheSystem)
{
    const std::string path = ScratchDir("reopen") + "\\data.dat", other = path + ".other";
    WriteFileBytes(path, "data");
    WriteFileBytes(other, "other");
    CFileEntry held(path, GENERIC_WRITE | DELETE | FILE_READ_ATTRIBUTES, 0), look(path);
    EXPECT_TRUE(held.ReopenThroughSystem(path, look)) << "open error " << held.OpenError();
    EXPECT_EQ(CFileEntry(path, GENERIC_READ).OpenError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION))
        << "the file opened again is not held alone";
    EXPECT_FALSE(held.ReopenThroughSystem(path, CFileEntry(other))) << "a name that leads to another file";
}
