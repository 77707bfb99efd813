#include "CWinCleanClass.h"
#include "CleanerTestSupport.h"
#include "MyGraphicLabel.h"
#include "TCGauge.h"
#include "TRegistry.h"
#include "TStringList.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

using namespace testing_support;

namespace {

// The Windows group's buttons as the main window captions them.
const Item Documents{1, "Menu \"Start \\ Documents\""};
const Item Find{2, "Menu \"Start \\ Find\""};
const Item RunList{3, "Menu \"Start \\ Run\""};
const Item RecycleBin{4, "Recycle Bin"};
const Item TempFolder{5, "\"Temp\" folder"};
const Item ChkFiles{6, "Scandisk *.Chk files"};
const Item Accessories{7, "\"Accessories\" Programs MRU lists"};
const Item Office{8, "MS Office MRU lists"};
const Item Streams{9, "Streams MRU lists"};
const Item LastLogon{10, "Last Logon User"};
const Item MediaPlayer{11, "Media Player MRU list"};

const char Explorer[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\";
const char FindBar[] = "Software\\Microsoft\\Internet Explorer\\Explorer Bars\\{C4EE31F3-4768-11D2-BE5C-00A0C9A83DA1}\\";
const char Applets[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\";
const char Office9[] = "Software\\Microsoft\\Office\\9.0\\";
const char UserWinlogon[] = "Software\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";
const char MachineWinlogon[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";


bool HasValue(HKEY root, const std::string& key, const std::string& name)
{
    TRegistry reg(root);
    return reg.OpenKeyReadOnly(key) && reg.ValueExists(name);
}

// The value's bytes, or "<missing>".
std::string BinaryValue(HKEY root, const std::string& key, const std::string& name)
{
    TRegistry reg(root);
    int size = reg.OpenKeyReadOnly(key) ? reg.GetDataSize(name) : -1;
    if (size < 0)
        return "<missing>";
    std::string data(static_cast<size_t>(size), '\0');
    reg.ReadBinaryData(name, &data[0], size);
    return data;
}

// Bytes 1 to 100 over and over: never 7A 02 FF FF by chance.
std::string Pattern(size_t n)
{
    std::string s(n, '\0');
    for (size_t i = 0; i < n; ++i)
        s[i] = static_cast<char>(i % 100 + 1);
    return s;
}

// Deletes the file the way the shell's users do, into the recycle bin.
void MoveToRecycleBin(const std::string& file)
{
    std::string from = file + std::string(1, '\0');
    SHFILEOPSTRUCTA op = {};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
    SHFileOperationA(&op);
}

// Every case with a progress window's labels and gauge, so that sizes reach the run log;
// the Recent and AppData shell folders and TMP come back as they were.
class WinCleanTest : public ReporterFixture {
protected:
    void SetUp() override
    {
        TRegistry reg(HKEY_CURRENT_USER);
        ASSERT_TRUE(reg.OpenKey(ShellKey, false));
        SavedRecent = reg.ReadString("Recent");
        SavedAppData = reg.ReadString("AppData");
        ASSERT_TRUE(reg.OpenKey("\\Environment", false));
        SavedTmp = reg.ReadString("TMP");
    }
    void TearDown() override
    {
        SetShellFolder("Recent", SavedRecent);
        SetShellFolder("AppData", SavedAppData);
        SetTmp(SavedTmp);
    }

    static void SetShellFolder(const std::string& name, const std::string& value)
    {
        PutString(HKEY_CURRENT_USER, ShellKey, name, value);
    }
    static void SetTmp(const std::string& value) { PutString(HKEY_CURRENT_USER, "Environment", "TMP", value); }

    // Runs the items given, all down and in this order, with a cleaner built now (it reads
    // the shell folders when built); the run log's lines of this run.
    std::vector<std::string> Run(const std::vector<Item>& items, int passes = 1)
    {
        CWinCleanClass cleaner;
        return Run(cleaner, items, passes);
    }
    std::vector<std::string> Run(CWinCleanClass& cleaner, const std::vector<Item>& items, int passes = 1)
    {
        StartRun();
        Options options;
        for (const Item& item : items)
            options.Add(options.Container.WinItems, item.Tag, item.Caption, true);
        cleaner.Hdd().PassCount = passes;
        cleaner.SetOptions(&options.Container);
        cleaner.SetIndicator(&Indicator);
        cleaner.Clean();
        return LogEntries();
    }

    std::string SavedRecent, SavedAppData, SavedTmp;
};

}  // namespace

TEST_F(WinCleanTest, KeyListsGoWithEveryKeyBelowThemAndTheirNeighboursStay)
{
    const std::string k1(1024, 'k'), half(512, 'h');
    const std::string explorer = Explorer;
    PutBinary(HKEY_CURRENT_USER, explorer + "RunMRU", "a", half);
    PutBinary(HKEY_CURRENT_USER, explorer + "RunMRU\\Deeper", "b", half);
    PutBinary(HKEY_CURRENT_USER, explorer + "Doc Find Spec MRU", "a", k1);
    PutBinary(HKEY_CURRENT_USER, std::string(FindBar) + "ContainingTextMRU", "a", k1);
    PutBinary(HKEY_CURRENT_USER, std::string(FindBar) + "FilesNamedMRU", "a", k1);
    PutBinary(HKEY_CURRENT_USER, explorer + "ComDlg32\\LastVisitedMRU", "a", k1);
    PutBinary(HKEY_CURRENT_USER, explorer + "ComDlg32\\OpenSaveMRU\\txt", "a", k1);
    PutBinary(HKEY_CURRENT_USER, explorer + "StreamMRU", "a", k1);
    PutBinary(HKEY_CURRENT_USER, "Software\\Microsoft\\MediaPlayer\\Player\\RecentURLList", "URL0", k1);
    PutBinary(HKEY_CURRENT_USER, "Software\\Microsoft\\MediaPlayer\\Player\\RecentFileList", "File0", k1);
    // Neighbours: a sibling of each list and a value beside it in its parent.
    const std::vector<std::pair<std::string, std::string>> neighbours = {
        {explorer + "RunMRUKeep", "v"},
        {explorer + "Advanced", "v"},
        {std::string(FindBar) + "OtherMRU", "v"},
        {explorer + "ComDlg32", "v"},
        {explorer + "ComDlg32\\CIDSizeMRU", "v"},
        {"Software\\Microsoft\\MediaPlayer\\Player", "v"},
        {"Software\\Microsoft\\MediaPlayer\\Player\\Settings", "v"}};
    for (const auto& n : neighbours)
        PutBinary(HKEY_CURRENT_USER, n.first, n.second, "keep");

    auto log = Run({Find, RunList, Streams, MediaPlayer});

    EXPECT_EQ(Joined(log),
              Joined({Line(Find, "3Kb"), Line(RunList, "1Kb"), Line(Streams, "3Kb"), Line(MediaPlayer, "2Kb")}))
        << "one total per item over all its keys and the keys below them";
    EXPECT_EQ(Indicator.RunTotal, 9 * 1024);
    for (const std::string& gone :
         {explorer + "RunMRU", explorer + "Doc Find Spec MRU", std::string(FindBar) + "ContainingTextMRU",
          std::string(FindBar) + "FilesNamedMRU", explorer + "ComDlg32\\LastVisitedMRU",
          explorer + "ComDlg32\\OpenSaveMRU", explorer + "StreamMRU",
          std::string("Software\\Microsoft\\MediaPlayer\\Player\\RecentURLList"),
          std::string("Software\\Microsoft\\MediaPlayer\\Player\\RecentFileList")})
        EXPECT_FALSE(HasKey(HKEY_CURRENT_USER, gone)) << gone << " is still there";
    for (const auto& n : neighbours)
        EXPECT_EQ(BinaryValue(HKEY_CURRENT_USER, n.first, n.second), "keep") << "neighbour " << n.first;

    // Lists that are not there measure nothing and the items still end.
    log = Run({Find, RunList, Streams, MediaPlayer});
    EXPECT_EQ(Joined(log), Joined({Line(Find, ""), Line(RunList, ""), Line(Streams, ""), Line(MediaPlayer, "")}));
}

TEST_F(WinCleanTest, AccessoriesListsShareOneTotal)
{
    const std::string k1(1024, 'k');
    const std::string paint = std::string(Applets) + "Paint\\Recent File List";
    const std::string wordpad = std::string(Applets) + "Wordpad\\Recent File List";
    const std::string imaging = "Software\\Kodak\\Imaging\\Recent File List";
    PutBinary(HKEY_CURRENT_USER, paint, "File1", k1);
    PutBinary(HKEY_CURRENT_USER, wordpad, "File1", k1);
    PutBinary(HKEY_CURRENT_USER, imaging, "File1", k1);
    PutBinary(HKEY_CURRENT_USER, std::string(Applets) + "Paint\\View", "v", "keep");
    PutBinary(HKEY_CURRENT_USER, std::string(Applets) + "Wordpad\\Options", "v", "keep");
    PutBinary(HKEY_CURRENT_USER, "Software\\Kodak\\Imaging", "v", "keep");

    auto log = Run({Accessories});

    EXPECT_EQ(Joined(log), Joined({Line(Accessories, "3Kb")})) << "the three lists report once, together";
    for (const std::string& gone : {paint, wordpad, imaging})
        EXPECT_FALSE(HasKey(HKEY_CURRENT_USER, gone)) << gone;
    EXPECT_EQ(BinaryValue(HKEY_CURRENT_USER, std::string(Applets) + "Paint\\View", "v"), "keep");
    EXPECT_EQ(BinaryValue(HKEY_CURRENT_USER, std::string(Applets) + "Wordpad\\Options", "v"), "keep");
    EXPECT_EQ(BinaryValue(HKEY_CURRENT_USER, "Software\\Kodak\\Imaging", "v"), "keep");
}

TEST_F(WinCleanTest, RecentDocumentsAreWipedAndTheirListGoesWithThem)
{
    const std::string base = ScratchDir("recent");
    const std::string recent = base + "\\Recent";
    MakeDirs(recent + "\\sub");
    WriteFileBytes(recent + "\\a.lnk", std::string(1024, 'a'));
    WriteFileBytes(recent + "\\b.txt", std::string(2048, 'b'));
    WriteFileBytes(recent + "\\sub\\c.lnk", "c");
    WriteFileBytes(base + "\\beside.txt", "keep");
    SetShellFolder("Recent", recent);
    const std::string docs = std::string(Explorer) + "RecentDocs";
    PutBinary(HKEY_CURRENT_USER, docs, "0", "a.lnk");
    PutBinary(HKEY_CURRENT_USER, docs + "\\.txt", "0", "b.txt");
    PutBinary(HKEY_CURRENT_USER, std::string(Explorer) + "RecentDocsKeep", "v", "keep");

    auto log = Run({Documents});

    EXPECT_EQ(Joined(log), Joined({Line(Documents, "3Kb")}));
    EXPECT_FALSE(PathExists(recent + "\\a.lnk"));
    EXPECT_FALSE(PathExists(recent + "\\b.txt"));
    EXPECT_TRUE(PathExists(recent + "\\sub\\c.lnk")) << "only what lies directly in Recent";
    EXPECT_TRUE(PathExists(recent)) << "the folder itself stays";
    EXPECT_EQ(ReadFileBytes(base + "\\beside.txt"), "keep");
    EXPECT_FALSE(HasKey(HKEY_CURRENT_USER, docs)) << "the list with its subkeys";
    EXPECT_EQ(BinaryValue(HKEY_CURRENT_USER, std::string(Explorer) + "RecentDocsKeep", "v"), "keep");
    EXPECT_EQ(Gauge->MaxValue(), 4) << "three entries and the closing step";
    EXPECT_EQ(Gauge->Progress(), 4);

    // An empty folder: the list still goes, and the gauge reaches its maximum of 1.
    ScratchDir("recent\\Recent");
    PutBinary(HKEY_CURRENT_USER, docs, "0", "x");
    log = Run({Documents});
    EXPECT_EQ(Joined(log), Joined({Line(Documents, "")}));
    EXPECT_FALSE(HasKey(HKEY_CURRENT_USER, docs));
    EXPECT_EQ(Gauge->MaxValue(), 1);
    EXPECT_EQ(Gauge->Progress(), 1);
}

TEST_F(WinCleanTest, TheTempFolderIsEmptiedAndKept)
{
    const std::string base = ScratchDir("tmpclean");
    const std::string temp = base + "\\Temp";
    MakeDirs(temp + "\\sub\\deeper");
    WriteFileBytes(temp + "\\a.tmp", std::string(1024, 'a'));
    WriteFileBytes(temp + "\\sub\\b.tmp", std::string(1024, 'b'));
    WriteFileBytes(temp + "\\sub\\deeper\\c", std::string(1024, 'c'));
    WriteFileBytes(base + "\\beside.txt", "keep");
    SetTmp(temp);

    auto log = Run({TempFolder});

    EXPECT_EQ(Joined(log), Joined({Line(TempFolder, "3Kb")})) << "every file below Temp";
    EXPECT_TRUE(PathExists(temp)) << "the folder itself stays";
    for (const char* gone : {"\\a.tmp", "\\sub\\b.tmp", "\\sub\\deeper\\c", "\\sub\\deeper", "\\sub"})
        EXPECT_FALSE(PathExists(temp + gone)) << gone;
    EXPECT_EQ(ReadFileBytes(base + "\\beside.txt"), "keep");
}

// A folder in Temp named with fullwidth reverse solidi, which the ANSI listing spells
// "..\..\..\qdecoy": the plain deletion stays in Temp, leaves that folder and logs it.
TEST_F(WinCleanTest, ANameTheListingSpellsOtherwiseLeadsTheTempItemNowhere)
{
    HANDLE held = MakeDecoy("C:\\qdecoy");
    const std::string decoy = TreeState("C:\\qdecoy");
    const std::string temp = ScratchDir("tmpclean") + "\\Temp";
    MakeDirs(temp + "\\sub");
    WriteFileBytes(temp + "\\sub\\a.tmp", "a");
    const std::wstring odd = Wide(temp) + L"\\..\xFF3C..\xFF3C..\xFF3C" L"qdecoy";
    ASSERT_TRUE(CreateDirectoryW(odd.c_str(), nullptr)) << GetLastError();
    SetTmp(temp);

    std::string log;
    for (const std::string& line : Run({TempFolder}, 0))
        log += line + "\n";

    CloseHandle(held);
    EXPECT_EQ(TreeState("C:\\qdecoy"), decoy) << "outside Temp";
    EXPECT_FALSE(PathExists(temp + "\\sub")) << "Temp's own content";
    EXPECT_NE(GetFileAttributesW(odd.c_str()), INVALID_FILE_ATTRIBUTES) << "the folder of that name";
    EXPECT_NE(log.find("Not overwritten: " + temp + "\\..?..?..?qdecoy      a name the code page cannot spell"),
              std::string::npos)
        << log;
}

TEST_F(WinCleanTest, UnsafeTempValuesTouchNothing)
{
    Canaries canaries;
    for (const std::string& value :
         {std::string(), std::string("Temp"), std::string("."), std::string("C:\\"), std::string("C:"),
          std::string("C:\\qtest\\canary\\inner\\.."), std::string("C:\\qtest\\canary\\.\\inner")}) {
        SetTmp(value);
        auto log = Run({TempFolder});
        EXPECT_EQ(Joined(log), Joined({Line(TempFolder, "")})) << "TMP \"" << value << "\" still ends the item";
        EXPECT_EQ(canaries.Gone(), "") << "TMP \"" << value << "\"";
    }
    char windows[MAX_PATH];
    GetWindowsDirectoryA(windows, MAX_PATH);
    SetTmp(windows);
    WriteFileBytes(std::string(windows) + "\\canary.txt", "canary");
    Run({TempFolder});
    EXPECT_TRUE(PathExists(std::string(windows) + "\\canary.txt")) << "the Windows folder is never emptied";
}

TEST_F(WinCleanTest, UnsafeRecentValuesTouchNothing)
{
    Canaries canaries;
    const std::string docs = std::string(Explorer) + "RecentDocs";
    for (const std::string& value :
         {std::string(), std::string("Recent"), std::string("."), std::string("C:\\"), std::string("C:"),
          std::string("C:\\qtest\\canary\\inner\\.."), std::string("C:\\qtest\\canary\\.\\inner")}) {
        SetShellFolder("Recent", value);
        PutBinary(HKEY_CURRENT_USER, docs, "0", "x");
        auto log = Run({Documents});
        EXPECT_EQ(Joined(log), Joined({Line(Documents, "")})) << "Recent \"" << value << "\" still ends the item";
        EXPECT_EQ(canaries.Gone(), "") << "Recent \"" << value << "\"";
        EXPECT_FALSE(HasKey(HKEY_CURRENT_USER, docs))
            << "the list is the registry's and goes whatever the folder value says (Recent \"" << value << "\")";
    }
}

TEST_F(WinCleanTest, ChkFilesAtTheDriveRootsGoAndTheirFoldersWithThem)
{
    CHddClass drives;
    ASSERT_EQ(drives.FixedDrives.Items, std::vector<std::string>{"C:"}) << "the sandbox has one fixed drive";
    ScratchDir("chk");
    MakeDirs("C:\\FOUND.000");
    MakeDirs("C:\\FOUND.001\\sub");
    WriteFileBytes("C:\\X.CHK", std::string(1024, 'x'));
    WriteFileBytes("C:\\FOUND.000\\FILE0000.CHK", std::string(1024, '0'));
    WriteFileBytes("C:\\FOUND.001\\FILE0001.CHK", std::string(1024, '1'));
    WriteFileBytes("C:\\report.chkx", "keep");
    WriteFileBytes("C:\\keep.txt", "keep");
    WriteFileBytes("C:\\qtest\\chk\\deep.chk", "keep");

    auto log = Run({ChkFiles});

    EXPECT_EQ(Joined(log), Joined({Line(ChkFiles, "3Kb")})) << "the section ends once for the one fixed drive";
    EXPECT_EQ(Section->Caption(), " " + ChkFiles.Caption + " (C:)") << "the drive in progress follows the title";
    EXPECT_FALSE(PathExists("C:\\X.CHK"));
    EXPECT_FALSE(PathExists("C:\\FOUND.000\\FILE0000.CHK"));
    EXPECT_FALSE(PathExists("C:\\FOUND.000")) << "an emptied lost-cluster folder goes";
    EXPECT_FALSE(PathExists("C:\\FOUND.001\\FILE0001.CHK"));
    EXPECT_TRUE(PathExists("C:\\FOUND.001\\sub")) << "a folder that holds more stays";
    EXPECT_EQ(ReadFileBytes("C:\\report.chkx"), "keep") << "\"*.chk\" matches the long name only";
    EXPECT_EQ(ReadFileBytes("C:\\keep.txt"), "keep");
    EXPECT_EQ(ReadFileBytes("C:\\qtest\\chk\\deep.chk"), "keep") << "only the drive's root is searched";
}

TEST_F(WinCleanTest, ChkFilesLeaveTheUsersFoundLookalikesAtTheRoot)
{
    MakeDirs("C:\\FOUND.000");
    MakeDirs("C:\\FOUND.OLD");
    const std::string users[] = {"C:\\found.txt", "C:\\Found.docx", "C:\\FOUND", "C:\\FOUND.OLD\\notes.chk"};
    for (const std::string& file : users)
        WriteFileBytes(file, "kept " + file);
    WriteFileBytes("C:\\X.CHK", "lost");
    WriteFileBytes("C:\\FOUND.000\\FILE0000.CHK", "lost");

    Run({ChkFiles});

    for (const std::string& file : users)
        EXPECT_EQ(PathExists(file) ? ReadFileBytes(file) : "<gone>", "kept " + file) << "the user's own entry";
    EXPECT_FALSE(PathExists("C:\\X.CHK"));
    EXPECT_FALSE(PathExists("C:\\FOUND.000")) << "the emptied lost-cluster folder goes, its file first";
    EXPECT_TRUE(PathExists("C:\\FOUND.OLD")) << "a folder named otherwise is no lost-cluster folder";
}

TEST_F(WinCleanTest, RecycleBinIndexEntriesAreOverwrittenAndTheRestLeftToTheShell)
{
    MakeDirs("C:\\RECYCLED");
    MakeDirs("C:\\RECYCLER\\S-1-5-21-7");
    const std::string info2 = "C:\\RECYCLED\\INFO2", userInfo2 = "C:\\RECYCLER\\S-1-5-21-7\\INFO2";
    const std::string dc1 = "C:\\RECYCLED\\Dc1.txt", dc2 = "C:\\RECYCLER\\S-1-5-21-7\\Dc2.doc";
    const std::string zeros(1024, '\0');
    for (const std::string& f : {info2, userInfo2, dc1, dc2})
        WriteFileBytes(f, zeros);

    auto log = Run({RecycleBin});

    ASSERT_EQ(log.size(), 1u) << Joined(log);
    EXPECT_EQ(log[0].substr(log[0].size() - 7), "   Done") << log[0];
    for (const std::string& f : {info2, userInfo2}) {
        ASSERT_TRUE(PathExists(f)) << f << ": overwritten in place, not deleted";
        std::string data = ReadFileBytes(f);
        EXPECT_EQ(data.size(), zeros.size()) << f;
        EXPECT_NE(data, zeros) << f << " was not overwritten";
    }
    // The files with an extension are the shell's to remove when it empties its bins; these
    // folders are not Wine's recycle bin, so here they stay, and must stay unwritten.
    for (const std::string& f : {dc1, dc2}) {
        if (PathExists(f)) {
            EXPECT_EQ(ReadFileBytes(f), zeros) << f << " was overwritten";
        }
    }
    EXPECT_EQ(Gauge->MaxValue(), 3) << "two index files and the per-user folder, no closing step";
    EXPECT_EQ(Gauge->Progress(), 3);
    EXPECT_TRUE(PathExists("C:\\RECYCLER\\S-1-5-21-7")) << "a folder is passed over";
}

TEST_F(WinCleanTest, RecycleBinIsEmptiedThroughTheShell)
{
    const std::string victim = ScratchDir("trash") + "\\gone.txt";
    WriteFileBytes(victim, std::string(2048, 'g'));
    WriteFileBytes("C:\\qtest\\trash\\stays.txt", "keep");
    MoveToRecycleBin(victim);
    SHQUERYRBINFO before = {};
    before.cbSize = sizeof before;
    if (PathExists(victim) || FAILED(SHQueryRecycleBinA("C:\\", &before)) || before.i64NumItems == 0)
        GTEST_SKIP() << "Wine did not move the file into its recycle bin here";

    auto log = Run({RecycleBin});

    SHQUERYRBINFO after = {};
    after.cbSize = sizeof after;
    ASSERT_TRUE(SUCCEEDED(SHQueryRecycleBinA("C:\\", &after)));
    EXPECT_EQ(after.i64NumItems, 0) << "the bins are emptied";
    EXPECT_EQ(Joined(log), Joined({Line(RecycleBin, CIndicatorClass::FormatSize(static_cast<int>(before.i64Size)))}))
        << "the size is what the shell reported for the bins";
    EXPECT_GE(before.i64Size, 2048) << "the recycled file counts";
    EXPECT_EQ(ReadFileBytes("C:\\qtest\\trash\\stays.txt"), "keep");
}

TEST_F(WinCleanTest, OfficeListsGoWithTheAccessEntries)
{
    const std::string k1(1024, 'k'), half(512, 'h');
    const std::string office = "Software\\Microsoft\\Office\\";
    PutBinary(HKEY_CURRENT_USER, office + "8.0\\Excel\\Recent File List", "File1", k1);
    PutBinary(HKEY_CURRENT_USER, office + "9.0\\PowerPoint\\Recent File List\\Deeper", "File1", k1);
    for (const char* key : {"9.0\\Excel\\Recent File List", "9.0\\Excel\\Recent Files",
                            "8.0\\PowerPoint\\Recent File List", "8.0\\Common\\Open Find",
                            "9.0\\Common\\Open Find\\Settings"})
        PutBinary(HKEY_CURRENT_USER, office + key, "v", "");
    const std::string access = std::string(Office9) + "Access\\Settings";
    PutBinary(HKEY_CURRENT_USER, access, "MRU1", half);
    PutBinary(HKEY_CURRENT_USER, access, "MRU2", half);
    PutBinary(HKEY_CURRENT_USER, access, "MRUFlags", k1);
    PutBinary(HKEY_CURRENT_USER, access, "Other", k1);
    PutBinary(HKEY_CURRENT_USER, access, "mruLower", "keep");
    PutBinary(HKEY_CURRENT_USER, office + "9.0\\Excel\\Options", "v", "keep");
    PutBinary(HKEY_CURRENT_USER, office + "9.0\\Common", "v", "keep");
    PutBinary(HKEY_CURRENT_USER, office + "9.0\\Common\\Toolbars", "v", "keep");

    auto log = Run({Office});

    // The seven keys (2 KiB) and the Access key's values (3 KiB and 4 bytes), to which the
    // Access list adds each entry it deletes once more (2 KiB).
    EXPECT_EQ(Joined(log), Joined({Line(Office, "7Kb")}));
    for (const char* key :
         {"8.0\\Excel\\Recent File List", "9.0\\Excel\\Recent File List", "9.0\\Excel\\Recent Files",
          "8.0\\PowerPoint\\Recent File List", "9.0\\PowerPoint\\Recent File List", "8.0\\Common\\Open Find",
          "9.0\\Common\\Open Find"})
        EXPECT_FALSE(HasKey(HKEY_CURRENT_USER, office + key)) << key;
    for (const char* gone : {"MRU1", "MRU2", "MRUFlags"})
        EXPECT_FALSE(HasValue(HKEY_CURRENT_USER, access, gone)) << gone;
    EXPECT_EQ(BinaryValue(HKEY_CURRENT_USER, access, "Other"), k1);
    EXPECT_EQ(BinaryValue(HKEY_CURRENT_USER, access, "mruLower"), "keep") << "the prefix is matched case-sensitively";
    EXPECT_EQ(BinaryValue(HKEY_CURRENT_USER, office + "9.0\\Excel\\Options", "v"), "keep");
    EXPECT_EQ(BinaryValue(HKEY_CURRENT_USER, office + "9.0\\Common", "v"), "keep");
    EXPECT_EQ(BinaryValue(HKEY_CURRENT_USER, office + "9.0\\Common\\Toolbars", "v"), "keep");
}

TEST_F(WinCleanTest, WordSettingsLoseTheirRecentFileListOnly)
{
    const std::string data = std::string(Office9) + "Word\\Data";
    const std::string marker("\x7A\x02\xFF\xFF", 4);
    PutBinary(HKEY_CURRENT_USER, data, "Toolbars", "keep");
    struct Case {
        const char* what;
        std::string before;
        std::string after;
    };
    std::string flagged = Pattern(600);
    flagged[568] = 5;
    flagged[569] = 0;
    flagged.replace(580, 4, marker);
    flagged.replace(590, 4, marker);
    flagged.replace(100, 4, marker);   // before the list: not its end
    std::string unflagged = Pattern(600);
    unflagged[568] = 0;
    unflagged[569] = 0;
    unflagged.replace(590, 4, marker);
    std::string unmarked = Pattern(600);
    unmarked[568] = 5;
    std::string markerInCount = Pattern(600);
    markerInCount.replace(566, 4, marker);   // inside the kept part and the count: not searched
    const Case cases[] = {
        {"a list with its count set", flagged,
         flagged.substr(0, 568) + std::string("\xFF\xFF\0\0", 4) + flagged.substr(580)},
        {"a list without a count", unflagged, unflagged.substr(0, 568) + std::string(2, '\0') + unflagged.substr(590)},
        {"no marker after the list", unmarked, unmarked},
        {"a marker before byte 570 only", markerInCount, markerInCount},
        {"500 bytes", Pattern(500), Pattern(500)},
        {"569 bytes", Pattern(569), Pattern(569)},
        {"570 bytes", Pattern(570), Pattern(570)},
    };
    for (const Case& c : cases) {
        PutBinary(HKEY_CURRENT_USER, data, "Settings", c.before);
        auto log = Run({Office});
        EXPECT_EQ(Joined(log), Joined({Line(Office, "")})) << c.what;
        std::string after = BinaryValue(HKEY_CURRENT_USER, data, "Settings");
        EXPECT_EQ(after.size(), c.after.size()) << c.what;
        EXPECT_TRUE(after == c.after) << c.what << ": the value is not as expected";
    }

    TRegistry reg(HKEY_CURRENT_USER);
    ASSERT_TRUE(reg.OpenKey(data, false));
    reg.WriteString("Settings", "text");
    Run({Office});
    ASSERT_TRUE(reg.OpenKey("\\" + data, false));
    EXPECT_EQ(reg.ReadString("Settings"), "text") << "a value of another kind is not Word's list";
    reg.DeleteValue("Settings");
    reg.CloseKey();
    Run({Office});
    EXPECT_EQ(BinaryValue(HKEY_CURRENT_USER, data, "Settings"), "<missing>") << "a missing value is not made";
    EXPECT_EQ(BinaryValue(HKEY_CURRENT_USER, data, "Toolbars"), "keep");
    ASSERT_TRUE(reg.DeleteKey(data));
    Run({Office});
    EXPECT_FALSE(HasKey(HKEY_CURRENT_USER, data)) << "a missing key is not made";
}

TEST_F(WinCleanTest, OfficeRecentFolderIsEmptiedOnlyBelowOfficesOwnFolder)
{
    const std::string appData = ScratchDir("appdata") + "\\Roaming";
    const std::string office = appData + "\\Microsoft\\Office";
    SetShellFolder("AppData", appData);
    const std::string general = std::string(Office9) + "Common\\General";
    auto plant = [&] {
        MakeDirs(office + "\\Recent\\sub");
        MakeDirs(office + "\\Other");
        WriteFileBytes(office + "\\Recent\\a.lnk", "a");
        WriteFileBytes(office + "\\Recent\\sub\\b.lnk", "b");
        WriteFileBytes(office + "\\Recent\\desktop.ini", "ini");
        WriteFileBytes(office + "\\keep.txt", "keep");
        WriteFileBytes(office + "\\Other\\keep.txt", "keep");
        WriteFileBytes(appData + "\\keep.txt", "keep");
    };
    auto untouched = [&](const std::string& what) {
        for (const std::string& f : {office + "\\Recent\\a.lnk", office + "\\Recent\\sub\\b.lnk",
                                     office + "\\Recent\\desktop.ini", office + "\\keep.txt",
                                     office + "\\Other\\keep.txt", appData + "\\keep.txt"})
            EXPECT_TRUE(PathExists(f)) << f << " is gone with RecentFiles " << what;
    };
    Canaries canaries;

    plant();
    PutString(HKEY_CURRENT_USER, general, "RecentFiles", "Recent");
    auto log = Run({Office});
    EXPECT_EQ(Joined(log), Joined({Line(Office, "")}));
    EXPECT_FALSE(PathExists(office + "\\Recent\\a.lnk"));
    EXPECT_FALSE(PathExists(office + "\\Recent\\sub"));
    EXPECT_TRUE(PathExists(office + "\\Recent\\desktop.ini")) << "the folder's look stays";
    EXPECT_EQ(ReadFileBytes(office + "\\keep.txt"), "keep");
    EXPECT_EQ(ReadFileBytes(office + "\\Other\\keep.txt"), "keep");
    EXPECT_TRUE(HasValue(HKEY_CURRENT_USER, general, "RecentFiles")) << "the value stays";

    for (const std::string& value :
         {std::string(), std::string("."), std::string(".."), std::string("..."), std::string("..\\.."),
          std::string("Recent\\sub"), std::string("Other/..\\Recent"), std::string("C:\\"), std::string("C:"),
          std::string("C:\\qtest\\canary"), std::string("\\qtest\\canary"), std::string("*"),
          // The system drops trailing dots and blanks: these would open Recent itself.
          std::string("Recent."), std::string("Recent "), std::string("Recent. .")}) {
        plant();
        PutString(HKEY_CURRENT_USER, general, "RecentFiles", value);
        log = Run({Office});
        EXPECT_EQ(Joined(log), Joined({Line(Office, "")})) << "RecentFiles \"" << value << "\" still ends the item";
        untouched("\"" + value + "\"");
        EXPECT_EQ(canaries.Gone(), "") << "RecentFiles \"" << value << "\"";
    }

    TRegistry reg(HKEY_CURRENT_USER);
    ASSERT_TRUE(reg.OpenKey(general, false));
    reg.WriteInteger("RecentFiles", 1);
    log = Run({Office});
    EXPECT_EQ(Joined(log), Joined({Line(Office, "")})) << "a number names no folder";
    untouched("as a number");
    reg.DeleteValue("RecentFiles");
    Run({Office});
    untouched("missing");
    ASSERT_TRUE(reg.DeleteKey("\\" + general));
    Run({Office});
    untouched("with its key missing");

    // Without an AppData folder the name leads nowhere either.
    PutString(HKEY_CURRENT_USER, general, "RecentFiles", "canary");
    SetShellFolder("AppData", "");
    log = Run({Office});
    EXPECT_EQ(Joined(log), Joined({Line(Office, "")}));
    EXPECT_EQ(canaries.Gone(), "") << "an empty AppData";
}

TEST_F(WinCleanTest, LastLogonUserNamesGoWithoutCountingInTheTotal)
{
    PutString(HKEY_CURRENT_USER, UserWinlogon, "DefaultUserName", "alice");
    PutString(HKEY_CURRENT_USER, UserWinlogon, "AltDefaultUserName", "bob");
    PutString(HKEY_CURRENT_USER, UserWinlogon, "Shell", "keep");
    TRegistry setup(HKEY_LOCAL_MACHINE);
    bool machine = setup.OpenKey(MachineWinlogon, true);
    try {
        if (machine) {
            setup.WriteString("DefaultUserName", "carol");
            setup.WriteString("AltDefaultUserName", "dave");
            setup.WriteString("QueloraNeighbour", "keep");
        }
    } catch (const std::exception&) {
        machine = false;
    }
    setup.CloseKey();

    auto log = Run({LastLogon});

    EXPECT_EQ(Joined(log), Joined({Line(LastLogon, "")})) << "the size is shown only in the status";
    EXPECT_EQ(Indicator.RunTotal, 0) << "and not added to the run's total";
    EXPECT_FALSE(HasValue(HKEY_CURRENT_USER, UserWinlogon, "DefaultUserName"));
    EXPECT_FALSE(HasValue(HKEY_CURRENT_USER, UserWinlogon, "AltDefaultUserName"));
    TRegistry user(HKEY_CURRENT_USER);
    ASSERT_TRUE(user.OpenKeyReadOnly(UserWinlogon));
    EXPECT_EQ(user.ReadString("Shell"), "keep");
    if (machine) {
        EXPECT_FALSE(HasValue(HKEY_LOCAL_MACHINE, MachineWinlogon, "DefaultUserName"));
        EXPECT_FALSE(HasValue(HKEY_LOCAL_MACHINE, MachineWinlogon, "AltDefaultUserName"));
        TRegistry reg(HKEY_LOCAL_MACHINE);
        ASSERT_TRUE(reg.OpenKeyReadOnly(MachineWinlogon));
        EXPECT_EQ(reg.ReadString("QueloraNeighbour"), "keep");
    }

    log = Run({LastLogon});
    EXPECT_EQ(Joined(log), Joined({Line(LastLogon, "")})) << "none of the names there";
    if (!machine)
        GTEST_SKIP() << "the machine's Winlogon values cannot be written here";
}

namespace {

// A cleaner that presses Cancel as the chosen operation starts, and notes what ran.
class CancellingCleaner : public CWinCleanClass {
public:
    explicit CancellingCleaner(std::string at) : At(std::move(at)) {}
    void ClearRecentDocuments() override {
        Start("Recent");
        CWinCleanClass::ClearRecentDocuments();
    }
    void ClearRunMru() override {
        Start("Run");
        CWinCleanClass::ClearRunMru();
    }
    void ClearRecycleBin() override {
        Start("Recycle");
        CWinCleanClass::ClearRecycleBin();
    }
    void ClearTempFolder() override {
        Start("Temp");
        CWinCleanClass::ClearTempFolder();
    }
    void ClearPaintMru() override {
        Start("Paint");
        CWinCleanClass::ClearPaintMru();
    }
    void ClearWordpadMru() override {
        Start("Wordpad");
        CWinCleanClass::ClearWordpadMru();
    }
    void ClearImagingMru() override {
        Start("Imaging");
        CWinCleanClass::ClearImagingMru();
    }
    std::string Ran;
    CancelEvent Cancel;

private:
    void Start(const std::string& op)
    {
        Ran += op + " ";
        if (op == At)
            Cancel.Set();
    }
    std::string At;
};

}  // namespace

TEST_F(WinCleanTest, ACancelEndsTheItemInProgressAndBeginsNoOther)
{
    const std::string recent = ScratchDir("cancel") + "\\Recent";
    const std::string temp = "C:\\qtest\\cancel\\Temp";
    const std::string docs = std::string(Explorer) + "RecentDocs";
    const std::string run = std::string(Explorer) + "RunMRU";
    SetShellFolder("Recent", recent);
    SetTmp(temp);
    auto plant = [&] {
        MakeDirs(recent);
        MakeDirs(temp);
        for (const char* f : {"\\a.lnk", "\\b.lnk", "\\c.lnk"})
            WriteFileBytes(recent + f, "r");
        WriteFileBytes(temp + "\\t.tmp", "t");
        PutBinary(HKEY_CURRENT_USER, docs, "0", "x");
        PutBinary(HKEY_CURRENT_USER, run, "a", "x");
    };
    auto filesLeft = [&] {
        int n = 0;
        for (const char* f : {"\\a.lnk", "\\b.lnk", "\\c.lnk"})
            n += PathExists(recent + f);
        return n;
    };

    {
        // Without overwriting, the file in progress is deleted before the walk stops.
        plant();
        CancellingCleaner c("Recent");
        auto log = Run(c, {Documents, RunList, TempFolder}, 0);
        EXPECT_EQ(Joined(log), Joined({Line(Documents, "0.1Kb", "Canceled...")}));
        EXPECT_EQ(c.Ran, "Recent ") << "no later item is begun";
        EXPECT_EQ(filesLeft(), 2) << "the walk stops after the file in progress";
        EXPECT_TRUE(HasKey(HKEY_CURRENT_USER, docs)) << "the list stays while shortcuts stay";
        EXPECT_TRUE(HasKey(HKEY_CURRENT_USER, run));
        EXPECT_TRUE(PathExists(temp + "\\t.tmp"));
    }
    {
        // With overwriting, the cancel stops the overwrite too, and the file stays.
        plant();
        CancellingCleaner c("Recent");
        auto log = Run(c, {Documents, RunList}, 1);
        EXPECT_EQ(Joined(log), Joined({Line(Documents, "0.1Kb", "Canceled...")}));
        EXPECT_EQ(filesLeft(), 3);
        EXPECT_TRUE(HasKey(HKEY_CURRENT_USER, docs));
    }
    {
        const std::string paint = std::string(Applets) + "Paint\\Recent File List";
        const std::string wordpad = std::string(Applets) + "Wordpad\\Recent File List";
        PutBinary(HKEY_CURRENT_USER, paint, "File1", "p");
        PutBinary(HKEY_CURRENT_USER, wordpad, "File1", "w");
        CancellingCleaner c("Paint");
        auto log = Run(c, {Accessories, RunList});
        EXPECT_EQ(Joined(log), Joined({Line(Accessories, "", "Canceled...")}));
        EXPECT_EQ(c.Ran, "Paint ") << "WordPad's and Imaging's lists are not begun";
        EXPECT_TRUE(HasKey(HKEY_CURRENT_USER, paint));
        EXPECT_TRUE(HasKey(HKEY_CURRENT_USER, wordpad));
        EXPECT_TRUE(HasKey(HKEY_CURRENT_USER, run));
    }
    {
        // A cancel before the cleaner starts: nothing is shown or done.
        plant();
        Group->SetCaption("");
        CancellingCleaner c("none");
        c.Cancel.Set();
        auto log = Run(c, {Documents, RunList});
        EXPECT_TRUE(log.empty()) << Joined(log);
        EXPECT_EQ(Group->Caption(), "") << "not even the group title";
        EXPECT_EQ(c.Ran, "");
        EXPECT_EQ(filesLeft(), 3);
        EXPECT_TRUE(HasKey(HKEY_CURRENT_USER, run));
    }
}

TEST_F(WinCleanTest, ACancelWhileTheBinsIndexFilesAreOverwrittenLeavesTheBinsFull)
{
    const std::string temp = ScratchDir("bincancel") + "\\Temp";
    SetTmp(temp);
    MakeDirs(temp);
    WriteFileBytes(temp + "\\t.tmp", "t");
    MakeDirs("C:\\RECYCLED");
    WriteFileBytes("C:\\RECYCLED\\INFO2", "i");
    const std::string victim = "C:\\qtest\\bincancel\\gone.txt";
    WriteFileBytes(victim, "v");
    MoveToRecycleBin(victim);
    SHQUERYRBINFO before = {};
    before.cbSize = sizeof before;
    if (PathExists(victim) || FAILED(SHQueryRecycleBinA("C:\\", &before)) || before.i64NumItems == 0)
        GTEST_SKIP() << "Wine did not move the file into its recycle bin here: an emptying could not be seen";

    CancellingCleaner c("Recycle");
    auto log = Run(c, {RecycleBin, TempFolder});
    ASSERT_EQ(log.size(), 1u) << Joined(log);
    EXPECT_EQ(log[0].substr(log[0].size() - 14), "   Canceled...") << log[0];
    EXPECT_EQ(c.Ran, "Recycle ");
    EXPECT_TRUE(PathExists(temp + "\\t.tmp"));
    SHQUERYRBINFO after = {};
    after.cbSize = sizeof after;
    SHQueryRecycleBinA("C:\\", &after);
    EXPECT_EQ(after.i64NumItems, before.i64NumItems) << "the bins are not emptied";
}

TEST_F(WinCleanTest, RecycleBinSizesAddInSixtyFourBits)
{
    // A sparse file of 5 GiB: its size would wrap to 1 GiB in 32 bits.
    const std::string victim = ScratchDir("bigtrash") + "\\big.bin";
    HANDLE h = CreateFileA(victim.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    LARGE_INTEGER size;
    size.QuadPart = 5LL << 30;
    bool grown = SetFilePointerEx(h, size, nullptr, FILE_BEGIN) && SetEndOfFile(h);
    CloseHandle(h);
    if (!grown)
        GTEST_SKIP() << "no room for a sparse 5 GiB file here";
    MoveToRecycleBin(victim);
    SHQUERYRBINFO before = {};
    before.cbSize = sizeof before;
    if (PathExists(victim) || FAILED(SHQueryRecycleBinA("C:\\", &before)) || before.i64Size < (4LL << 30)) {
        DeleteFileA(victim.c_str());
        GTEST_SKIP() << "Wine did not move the file into its recycle bin here";
    }
    Run({RecycleBin});
    EXPECT_EQ(Indicator.RunTotal, 2147483647) << "held at the largest 32-bit total, not wrapped";
}

TEST_F(WinCleanTest, OnlyChosenItemsRun)
{
    const std::string run = std::string(Explorer) + "RunMRU";
    PutBinary(HKEY_CURRENT_USER, run, "a", "x");
    StartRun();
    Options options;
    options.Add(options.Container.WinItems, RunList.Tag, RunList.Caption, false);
    options.Add(options.Container.WinItems, 0, "MS Windows", true);
    options.Add(options.Container.WinItems, 12, "Unknown", true);
    CWinCleanClass cleaner;
    cleaner.SetOptions(&options.Container);
    cleaner.SetIndicator(&Indicator);
    cleaner.Clean();
    EXPECT_EQ(Group->Caption(), " MS Windows");
    EXPECT_EQ(Joined(LogEntries()), "[   Unknown]") << "an unknown item is begun and runs nothing";
    EXPECT_TRUE(HasKey(HKEY_CURRENT_USER, run)) << "an item that is up does not run";
}
