#include "CNetCleanClass.h"
#include "CleanerTestSupport.h"
#include "MyGraphicLabel.h"
#include "SysUtils.h"
#include "TComboBox.h"
#include "TRegistry.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace testing_support;

namespace {

const char* ShellKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const char* UserShellKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
const char* GroupTitle = " Netscape 6 / Mozilla";
const char* UrlBarStart = "  <RDF:Seq about=\"nc:urlbar-history\">";
const char* SeqEnd = "  </RDF:Seq>";

// One string of the profile registry, with its NUL.
std::string Z(const std::string& s)
{
    return s + '\0';
}

std::string Joined(const std::vector<std::string>& lines, const std::string& end)
{
    std::string s;
    for (const std::string& l : lines)
        s += l + end;
    return s;
}

std::vector<std::string> Concat(std::vector<std::string> a, const std::vector<std::string>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

size_t Length(const std::vector<std::string>& lines)
{
    size_t n = 0;
    for (const std::string& l : lines)
        n += l.size();
    return n;
}

// A log entry of a finished item, as the run log shows it after the time of day.
std::string Done(const std::string& title, size_t bytes)
{
    return "   " + title + "   " + CIndicatorClass::FormatSize(static_cast<int>(bytes)) + "   Done";
}

const std::vector<std::string> CookieHeader = {
    "# HTTP Cookie File", "# http://www.netscape.com/newsref/std/cookie_spec.html",
    "# This is a generated file!  Do not edit.", "# To delete cookies, use the Cookie Manager.", ""};

class NetCleanTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        StartRun();
        Root = ScratchDir("netclean");
        TRegistry reg(HKEY_CURRENT_USER);
        ASSERT_TRUE(reg.OpenKey(ShellKey, false)) << ShellKey;
        AppData = reg.ReadString("AppData");
        ASSERT_FALSE(AppData.empty()) << "the sandbox sets AppData";
        MakeDirs(AppData + "\\Mozilla");
        Indicator.GroupLabel = &Group;
        Indicator.SizeLabel = &Size;
    }
    void TearDown() override
    {
        DeleteFileA(RegistryFile().c_str());
        SetAppData(AppData);
    }

    // Wine copies a "User Shell Folders" value over its "Shell Folders" twin whenever any
    // program of the prefix asks the shell for that folder: both keys get the value.
    static void SetAppData(const std::string& value)
    {
        for (const char* key : {ShellKey, UserShellKey}) {
            TRegistry reg(HKEY_CURRENT_USER);
            ASSERT_TRUE(reg.OpenKey(key, true)) << key;
            reg.WriteString("AppData", value);
        }
    }

    std::string RegistryFile() const { return AppData + "\\Mozilla\\Registry.dat"; }

    static std::string RegistryOf(const std::vector<std::string>& folders) { return MozillaRegistry(folders); }
    void WriteRegistry(const std::vector<std::string>& folders) { WriteFileBytes(RegistryFile(), RegistryOf(folders)); }

    std::string MakeProfile(const std::string& name, bool withCache = true)
    {
        std::string folder = Root + "\\" + name;
        MakeDirs(withCache ? folder + "\\Cache" : folder);
        return folder;
    }

    // What the run's worker thread does with a cleaner.
    void Run(CNetCleanClass& cleaner, Options& options)
    {
        cleaner.SetIndicator(&Indicator);
        cleaner.SetOptions(&options.Container);
        cleaner.Clean();
    }
    static void AddAllItems(Options& options)
    {
        CPoorVector<TMyRndRectBtn*>& list = options.Container.NetItems;
        options.Add(list, 1, "History", true);
        options.Add(list, 2, "Address Bar", true);
        options.Add(list, 3, "Cache", true);
        options.Add(list, 4, "Cookies", true);
        options.Add(list, 5, "Saved Passwords", true);
    }

    std::string Root;
    std::string AppData;
    TMyGraphicLabel Group{nullptr};
    TMyGraphicLabel Size{nullptr};
    CIndicatorClass Indicator;
};

std::vector<std::string> Folders(const CNetCleanClass& cleaner)
{
    return cleaner.ProfileFolders.Items;
}

}  // namespace

TEST_F(NetCleanTest, ProfilesAreTheRegistryFoldersThatHoldACacheInFileOrder)
{
    std::string a = MakeProfile("A");
    std::string b = MakeProfile("B", false);
    std::string c = MakeProfile("C");
    std::string d = MakeProfile("D");
    std::string inLongRun = MakeProfile("InLongRun");
    std::string last = MakeProfile("Last");
    // A name that the ANSI code page can show, stored as UTF-8 in the file.
    std::wstring wideAccented = L"C:\\qtest\\netclean\\Profil\u00e9";
    ASSERT_TRUE(CreateDirectoryW(wideAccented.c_str(), nullptr)) << "error " << GetLastError();
    ASSERT_TRUE(CreateDirectoryW((wideAccented + L"\\Cache").c_str(), nullptr)) << "error " << GetLastError();
    char ansi[MAX_PATH] = {};
    BOOL lossy = FALSE;
    ASSERT_GT(WideCharToMultiByte(CP_ACP, 0, wideAccented.c_str(), -1, ansi, MAX_PATH, nullptr, &lossy), 0)
        << "error " << GetLastError();
    ASSERT_FALSE(lossy) << "the code page shows the accented letter";
    std::string accented = ansi;
    // Folders with a Cache that are not full paths, or that may never be cleaned in.
    char cwd[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, cwd);
    MakeDirs(std::string(cwd) + "\\relprofile\\Cache");
    MakeDirs("C:\\Cache");

    std::string bytes = std::string("\xff\xfe\x01", 3) + Z("") + RegistryOf({a, b}) +
                        Z("C:\\qtest\\netclean\\Profil\xC3\xA9") + Z("Profil\xC3\xA9") + Z(c) + Z("relprofile") +
                        Z("C:\\") + Z(c + "\\..\\C") + std::string(1, '\0') + Z("after two NULs") +
                        std::string(260, 'x') + Z(inLongRun) + Z(d) + last;
    WriteFileBytes(RegistryFile(), bytes);

    // The browser may hold the file open for writing meanwhile.
    HANDLE held = CreateFileA(RegistryFile().c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE) << "error " << GetLastError();
    CNetCleanClass cleaner;
    CloseHandle(held);
    std::vector<std::string> want = {a, accented, c, d};
    EXPECT_EQ(Folders(cleaner), want)
        << "B has no Cache; a relative path, a drive root, a path through \"..\", a run of 260 bytes or more "
           "without NUL and a last string without NUL name no profile; the walk goes on after each";

    // A new scan follows the file as it is now.
    WriteRegistry({c, a});
    cleaner.FindProfiles();
    want = {c, a};
    EXPECT_EQ(Folders(cleaner), want) << "the profile list is rebuilt in file order";
    WriteRegistry({b});
    cleaner.FindProfiles();
    EXPECT_TRUE(Folders(cleaner).empty()) << "only a folder without Cache is listed";
}

TEST(NetCleanRegistryStrings, AStringMustEndWithinTheBrowsersBuffer)
{
    const std::string at259(259, 'a'), at260(260, 'b');
    using V = std::vector<std::string>;
    EXPECT_EQ(CNetCleanClass::RegistryStrings(at259 + '\0'), V{at259}) << "259 bytes and the NUL fill the buffer";
    EXPECT_EQ(CNetCleanClass::RegistryStrings(at260 + '\0' + "C:\\p" + '\0'), V{"C:\\p"})
        << "260 bytes leave no room for the NUL; the walk goes on after it";
    EXPECT_EQ(CNetCleanClass::RegistryStrings(std::string("C:\\a\0\0C:\\b", 10)), V{"C:\\a"})
        << "an empty string names nothing; a last string without its NUL neither";
    EXPECT_TRUE(CNetCleanClass::RegistryStrings("").empty());
}

TEST_F(NetCleanTest, NoRegistryFileOrNoFullAppDataPathFindsNoProfile)
{
    std::string p = MakeProfile("P");
    EXPECT_TRUE(Folders(CNetCleanClass()).empty()) << "no Registry.dat";

    // Registry files where a missing or relative AppData would lead: the current drive's
    // root and the current folder.
    char cwd[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, cwd);
    for (const std::string& stray : {std::string("C:\\Mozilla"), std::string(cwd) + "\\Roaming\\Mozilla"}) {
        MakeDirs(stray);
        WriteFileBytes(stray + "\\Registry.dat", RegistryOf({p}));
    }
    WriteRegistry({p});
    ASSERT_EQ(Folders(CNetCleanClass()), std::vector<std::string>{p}) << "the registry below AppData is read";
    for (const char* value : {"", "Roaming"}) {
        SetAppData(value);
        EXPECT_TRUE(Folders(CNetCleanClass()).empty()) << "AppData \"" << value << "\"";
    }
}

TEST_F(NetCleanTest, CleansEveryChosenItemOfTheChosenProfileInListOrder)
{
    std::string other = MakeProfile("other");
    std::string p = MakeProfile("chosen");
    WriteRegistry({other, p});

    WriteFileBytes(p + "\\history.dat", std::string(3000, 'h'));

    const std::vector<std::string> visited = {"    <RDF:li>http://one.example/</RDF:li>",
                                              "    <RDF:li>http://two.example/a?b=c</RDF:li>",
                                              "    <RDF:li>http://three.example/</RDF:li>"};
    const std::vector<std::string> visitedLater = {"    <RDF:li>http://four.example/</RDF:li>"};
    // Only a marker with exactly two leading blanks opens the address list.
    const std::vector<std::string> notTheList = {" <RDF:Seq about=\"nc:urlbar-history\">",
                                                 "    <RDF:li>http://kept.example/</RDF:li>", SeqEnd};
    const std::vector<std::string> head = {"<?xml version=\"1.0\"?>",
                                           "<RDF:RDF xmlns:NC=\"http://home.netscape.com/NC-rdf#\">", UrlBarStart};
    const std::vector<std::string> middle = {
        SeqEnd, "  <RDF:Description about=\"chrome://navigator/content/navigator.xul#main-window\" width=\"800\"/>"};
    const std::vector<std::string> tail = {SeqEnd, "</RDF:RDF>"};
    std::vector<std::string> localstore = Concat(Concat(Concat(head, visited), middle), notTheList);
    localstore = Concat(Concat(Concat(localstore, {UrlBarStart}), visitedLater), tail);
    WriteFileBytes(p + "\\localstore.rdf", Joined(localstore, "\n"));
    std::vector<std::string> localstoreAfter =
        Concat(Concat(Concat(Concat(head, middle), notTheList), {UrlBarStart}), tail);

    MakeDirs(p + "\\Cache\\sub\\empty");
    WriteFileBytes(p + "\\Cache\\_CACHE_MAP_", std::string(2000, 'm'));
    WriteFileBytes(p + "\\Cache\\sub\\0A1B2C3Dd01", std::string(1000, 'c'));

    const std::vector<std::string> cookies = {".one.example\tTRUE\t/\tFALSE\t1999999999\tid\t1",
                                              ".two.example\tTRUE\t/\tFALSE\t1999999999\tsession\tabc",
                                              "www.three.example\tFALSE\t/x\tTRUE\t1999999999\tpref\tdark"};
    WriteFileBytes(p + "\\cookies.txt", Joined(Concat(CookieHeader, cookies), "\n"));
    const std::vector<std::string> keep = {cookies[1], ".gone.example\tTRUE\t/\tFALSE\t1999999999\tk\tv"};
    WriteFileBytes(p + "\\CookiesToKeep.dat", Joined(keep, "\r\n"));

    WriteFileBytes(p + "\\12345678.s", std::string(700, 's'));
    WriteFileBytes(p + "\\key3.s", std::string(400, 'k'));
    WriteFileBytes(p + "\\notes.sx", "not a password file");
    MakeDirs(p + "\\chrome");
    WriteFileBytes(p + "\\chrome\\deeper.s", "below the profile folder");

    const std::string otherCookies = Joined(Concat(CookieHeader, cookies), "\r\n");
    WriteFileBytes(other + "\\history.dat", "other history");
    WriteFileBytes(other + "\\cookies.txt", otherCookies);
    WriteFileBytes(other + "\\keep.s", "other password");
    WriteFileBytes(other + "\\Cache\\page", "other cache");

    Options options;
    CPoorVector<TMyRndRectBtn*>& list = options.Container.NetItems;
    options.Add(list, 0, "Netscape 6 / Mozilla", true);
    options.Add(list, 4, "Cookies", true);
    options.Add(list, 1, "History", true);
    options.Add(list, 5, "Saved Passwords", true);
    options.Add(list, 2, "Address Bar", true);
    options.Add(list, 3, "Cache", true);
    options.Add(list, 0, "Select all", true);

    CNetCleanClass cleaner;
    cleaner.Hdd().PassCount = 1;
    cleaner.SetChosenProfile(1, p);
    Run(cleaner, options);

    EXPECT_EQ(Group.Caption(), GroupTitle) << "the group label";
    const size_t urls = Length(visited) + Length(visitedLater);
    std::vector<std::string> log = {Done("Cookies", Length(cookies)), Done("History", 3000),
                                    Done("Saved Passwords", 1100), Done("Address Bar", urls), Done("Cache", 3000)};
    EXPECT_EQ(LogEntries(), log) << "one entry per item down with a Tag, in list order";
    EXPECT_EQ(Indicator.RunTotal, static_cast<int>(Length(cookies) + 3000 + 1100 + urls + 3000))
        << "the run total is the sum of the items' sizes";

    EXPECT_EQ(ReadFileBytes(p + "\\cookies.txt"), Joined(Concat(CookieHeader, keep), "\r\n"))
        << "the header, then exactly the keep list, also the entry no longer in the file";
    EXPECT_FALSE(PathExists(p + "\\history.dat")) << "history.dat is wiped";
    EXPECT_EQ(ReadFileBytes(p + "\\localstore.rdf"), Joined(localstoreAfter, "\r\n"))
        << "both address lists emptied, their markers kept, every line ended with CR LF";
    for (const char* gone : {"\\Cache\\_CACHE_MAP_", "\\Cache\\sub\\0A1B2C3Dd01", "\\12345678.s", "\\key3.s"})
        EXPECT_FALSE(PathExists(p + gone)) << gone;
    for (const char* stays : {"\\Cache", "\\Cache\\sub", "\\Cache\\sub\\empty", "\\notes.sx", "\\chrome\\deeper.s",
                              "\\CookiesToKeep.dat"})
        EXPECT_TRUE(PathExists(p + stays)) << stays;

    EXPECT_EQ(ReadFileBytes(other + "\\history.dat"), "other history") << "the other profile is left alone";
    EXPECT_EQ(ReadFileBytes(other + "\\cookies.txt"), otherCookies) << "the other profile's cookies";
    EXPECT_TRUE(PathExists(other + "\\keep.s")) << "the other profile's password file";
    EXPECT_TRUE(PathExists(other + "\\Cache\\page")) << "the other profile's cache";
}

TEST_F(NetCleanTest, AnItemWhoseFileIsMissingEndsAsDone)
{
    std::string p = MakeProfile("bare");
    WriteRegistry({p});
    Options options;
    AddAllItems(options);
    CNetCleanClass cleaner;
    Run(cleaner, options);
    std::vector<std::string> log = {Done("History", 0), Done("Address Bar", 0), Done("Cache", 0), Done("Cookies", 0),
                                    Done("Saved Passwords", 0)};
    EXPECT_EQ(LogEntries(), log) << "the constructor's profile 0, every item completed without a size";
    for (const char* absent : {"\\cookies.txt", "\\localstore.rdf", "\\history.dat"})
        EXPECT_FALSE(PathExists(p + absent)) << absent << " is not made";
}

TEST_F(NetCleanTest, AnAddressFileWithoutACompleteListKeepsItsLines)
{
    std::string p = MakeProfile("rdf");
    WriteRegistry({p});
    Options options;
    options.Add(options.Container.NetItems, 2, "Address Bar", true);

    const std::vector<std::string> plain = {"<?xml version=\"1.0\"?>", "<RDF:RDF>", "  <RDF:Seq about=\"nc:other\">",
                                            "    <RDF:li>x</RDF:li>", SeqEnd, "</RDF:RDF>"};
    WriteFileBytes(p + "\\localstore.rdf", Joined(plain, "\n"));
    CNetCleanClass first;
    Run(first, options);
    EXPECT_EQ(ReadFileBytes(p + "\\localstore.rdf"), Joined(plain, "\r\n"))
        << "without the start marker every line is written back with CR LF";

    // A complete list, then one whose end marker never comes.
    const std::string open = Joined({"<RDF:RDF>", UrlBarStart, "    <RDF:li>http://a.example/</RDF:li>", SeqEnd,
                                     UrlBarStart, "    <RDF:li>http://b.example/</RDF:li>", "</RDF:RDF>"},
                                    "\n");
    WriteFileBytes(p + "\\localstore.rdf", open);
    CNetCleanClass second;
    Run(second, options);
    EXPECT_EQ(ReadFileBytes(p + "\\localstore.rdf"), open) << "an unterminated list leaves the whole file as it was";

    std::vector<std::string> log = {Done("Address Bar", 0), Done("Address Bar", 0)};
    EXPECT_EQ(LogEntries(), log) << "nothing removed either time";
}

TEST_F(NetCleanTest, KeepListRoundTripsAndTheCookieListSkipsTheHeader)
{
    std::string a = MakeProfile("a");
    std::string b = MakeProfile("b");
    WriteRegistry({a, b});
    const std::vector<std::string> cookies = {"x.example\tFALSE\t/\tFALSE\t1999999999\tn\t1",
                                              "y.example\tFALSE\t/\tFALSE\t1999999999\tn\t2"};
    WriteFileBytes(b + "\\cookies.txt", Joined(Concat(CookieHeader, cookies), "\r\n"));
    WriteFileBytes(a + "\\cookies.txt", Joined(CookieHeader, "\r\n"));

    CNetCleanClass window;
    window.SelectProfile(1);
    window.ListCookies();
    EXPECT_EQ(window.FoundCookies.Items, cookies) << "every line after the first five";
    window.CookiesToKeep.Items = {cookies[1], "z.example\tFALSE\t/\tFALSE\t1\tn\t3"};
    window.SaveCookiesToKeep();
    EXPECT_EQ(ReadFileBytes(b + "\\CookiesToKeep.dat"), cookies[1] + "\r\nz.example\tFALSE\t/\tFALSE\t1\tn\t3\r\n")
        << "one entry per line, each ended with CR LF";

    window.SelectProfile(2);
    window.SaveCookiesToKeep();
    EXPECT_FALSE(PathExists(a + "\\CookiesToKeep.dat")) << "an index past the list selects nothing";
    EXPECT_EQ(window.CookiesToKeep.Count(), 2) << "and loads nothing";

    CNetCleanClass reader;
    reader.SelectProfile(1);
    EXPECT_EQ(reader.CookiesToKeep.Items, window.CookiesToKeep.Items) << "selecting a profile loads its keep list";

    WriteFileBytes(a + "\\CookiesToKeep.dat", "lf\ncr\rcrlf\r\nlast");
    reader.SelectProfile(0);
    std::vector<std::string> mixed = {"lf", "cr", "crlf", "last"};
    EXPECT_EQ(reader.CookiesToKeep.Items, mixed) << "LF, CR and CR LF end a line";
    reader.ListCookies();
    EXPECT_TRUE(reader.FoundCookies.Items.empty()) << "a file of its header only";
    reader.CookiesToKeep.Clear();
    reader.SaveCookiesToKeep();
    EXPECT_EQ(ReadFileBytes(a + "\\CookiesToKeep.dat"), "") << "an empty keep list gives an empty file";
}

TEST_F(NetCleanTest, AChoiceMadeBeforeTheProfilesChangedCleansNothing)
{
    std::string a = MakeProfile("a");
    std::string c = MakeProfile("c");
    WriteRegistry({a, c});
    std::string chosen = CNetCleanClass().ProfileFolders[1];
    ASSERT_EQ(chosen, c) << "what the settings page lists";

    // A new profile comes before the chosen one: index 1 now names it.
    std::string d = MakeProfile("d");
    WriteRegistry({a, d, c});
    const std::string cookies = Joined(Concat(CookieHeader, {"d.example\tFALSE\t/\tFALSE\t1\tn\t1"}), "\r\n");
    for (const std::string& p : {c, d}) {
        WriteFileBytes(p + "\\history.dat", "history");
        WriteFileBytes(p + "\\cookies.txt", cookies);
        WriteFileBytes(p + "\\CookiesToKeep.dat", "kept\r\n");
    }
    Options options;
    AddAllItems(options);
    CNetCleanClass run;
    run.SetChosenProfile(1, chosen);
    Run(run, options);
    EXPECT_EQ(Group.Caption(), "") << "nothing shown";
    EXPECT_TRUE(LogEntries().empty()) << "nothing logged";
    EXPECT_TRUE(run.CookiesToKeep.Items.empty()) << "no profile's keep list is loaded";
    for (const std::string& p : {c, d}) {
        EXPECT_EQ(ReadFileBytes(p + "\\history.dat"), "history") << p;
        EXPECT_EQ(ReadFileBytes(p + "\\cookies.txt"), cookies) << p;
    }

    CNetCleanClass current;
    current.SetChosenProfile(2, chosen);
    current.SetOptions(&options.Container);
    EXPECT_EQ(current.CookiesToKeep.Items, std::vector<std::string>{"kept"}) << "the same folder at its new index";

    // The cookie window takes its profile as a run does: a stale index selects nothing.
    CNetCleanClass stale;
    stale.ChooseProfile(1, chosen);
    stale.ListCookies();
    EXPECT_TRUE(stale.FoundCookies.Items.empty()) << "d's cookies are not shown for c: " << stale.FoundCookies.Count();
    stale.CookiesToKeep.Items = {"changed"};
    stale.SaveCookiesToKeep();
    EXPECT_EQ(ReadFileBytes(d + "\\CookiesToKeep.dat"), "kept\r\n") << "d's keep list is not overwritten";
    CNetCleanClass shown;
    shown.ChooseProfile(2, chosen);
    EXPECT_EQ(shown.CookiesToKeep.Items, std::vector<std::string>{"kept"}) << "the chosen profile's stored list";

    // The cookie window's selection, then the profiles change under it.
    CNetCleanClass window;
    window.SelectProfile(1);
    ASSERT_EQ(window.CookiesToKeep.Count(), 1) << "d's keep list";
    WriteRegistry({a, c});
    window.FindProfiles();
    window.ListCookies();
    EXPECT_TRUE(window.FoundCookies.Items.empty()) << "c's cookies are not listed in d's place";
    window.CookiesToKeep.Items = {"changed"};
    window.SaveCookiesToKeep();
    EXPECT_EQ(ReadFileBytes(c + "\\CookiesToKeep.dat"), "kept\r\n") << "c's keep list is not overwritten";
}

TEST_F(NetCleanTest, ACancelBeforeTheGroupShowsItsTitleAndRunsNoItem)
{
    std::string p = MakeProfile("p");
    WriteRegistry({p});
    WriteFileBytes(p + "\\history.dat", "history");
    const std::string cookies = Joined(Concat(CookieHeader, {"c.example\tFALSE\t/\tFALSE\t1\tn\t1"}), "\n");
    WriteFileBytes(p + "\\cookies.txt", cookies);
    Options options;
    AddAllItems(options);
    CancelEvent cancel;
    cancel.Set();
    CNetCleanClass cleaner;
    Run(cleaner, options);
    EXPECT_EQ(Group.Caption(), GroupTitle) << "the title shows although the run was cancelled";
    EXPECT_TRUE(LogEntries().empty()) << "no item begun";
    EXPECT_EQ(ReadFileBytes(p + "\\history.dat"), "history") << "history.dat untouched";
    EXPECT_EQ(ReadFileBytes(p + "\\cookies.txt"), cookies) << "cookies.txt untouched";
}

TEST_F(NetCleanTest, WithoutASelectedProfileNothingIsShownOrLogged)
{
    std::string p = MakeProfile("p");
    WriteFileBytes(p + "\\history.dat", "history");
    Options options;
    AddAllItems(options);

    CNetCleanClass noRegistry;
    Run(noRegistry, options);
    EXPECT_EQ(Group.Caption(), "") << "no profiles at all";

    WriteRegistry({p});
    for (int index : {-1, 1}) {
        CNetCleanClass cleaner;
        cleaner.SetChosenProfile(index, index < 0 ? std::string() : p);
        Run(cleaner, options);
        EXPECT_EQ(Group.Caption(), "") << "chosen index " << index;
        cleaner.CookiesToKeep.Items = {"kept"};
        cleaner.SaveCookiesToKeep();
        EXPECT_FALSE(PathExists(p + "\\CookiesToKeep.dat")) << "chosen index " << index;
    }
    EXPECT_TRUE(LogEntries().empty()) << "nothing logged";
    EXPECT_EQ(ReadFileBytes(p + "\\history.dat"), "history") << "history.dat untouched";
}

TEST_F(NetCleanTest, TheSettingsPagesProfileBoxChoosesTheProfileCleaned)
{
    std::string first = MakeProfile("first");
    std::string second = MakeProfile("second");
    WriteRegistry({first, second});
    for (const std::string& p : {first, second})
        WriteFileBytes(p + "\\history.dat", "history");
    WriteFileBytes(second + "\\CookiesToKeep.dat", "kept\r\n");
    Options options;
    options.Add(options.Container.NetItems, 1, "History", true);
    // The settings page's boxes: interval (Tag 0), profile (Tag 1), language (Tag 0).
    TComboBox interval(nullptr), profile(nullptr), language(nullptr);
    profile.Tag = 1;
    for (TComboBox* box : {&interval, &profile, &language}) {
        box->Items.Add("one");
        box->Items.Add("two");
        box->SetItemIndex(0);
        options.Container.ComboBoxes.Add(box);
    }
    profile.SetItemIndex(1);

    CNetCleanClass cleaner;
    cleaner.Hdd().PassCount = 1;
    Run(cleaner, options);
    EXPECT_EQ(cleaner.CookiesToKeep.Items, std::vector<std::string>{"kept"}) << "the chosen profile's keep list";
    EXPECT_FALSE(PathExists(second + "\\history.dat")) << "the profile chosen in the box is cleaned";
    EXPECT_EQ(ReadFileBytes(first + "\\history.dat"), "history") << "the first profile is not";

    WriteFileBytes(second + "\\history.dat", "history");
    profile.SetItemIndex(-1);
    CNetCleanClass none;
    Run(none, options);
    EXPECT_EQ(ReadFileBytes(first + "\\history.dat"), "history") << "no choice in the box: the first stays";
    EXPECT_EQ(ReadFileBytes(second + "\\history.dat"), "history") << "no choice in the box: the second stays";
}
