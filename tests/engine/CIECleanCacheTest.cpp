#include "CIECleanClass.h"
#include "CleanerTestSupport.h"
#include "Exceptions.h"
#include "MyGraphicLabel.h"
#include "TCGauge.h"
#include "TRegistry.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <wininet.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

using namespace testing_support;

namespace {

// The run log's own line for a file whose second name kept it from being overwritten.
const char SecondName[] = "the file has another name: not overwritten, only this name removed";

const char CacheCaption[] = "Temporary Internet Files";
const char CookiesCaption[] = "Cookies";

// An entry as the URL cache lists it; File is empty for an entry without a local file.
struct Entry {
    std::string Url;
    std::string File;
    bool Cookie;
};

// The cache's entries in its own order, read with a buffer that holds any of them.
std::vector<Entry> CacheEntries()
{
    std::vector<Entry> out;
    std::vector<char> buf(1 << 16);
    auto* e = reinterpret_cast<INTERNET_CACHE_ENTRY_INFOA*>(buf.data());
    DWORD size = static_cast<DWORD>(buf.size());
    HANDLE find = FindFirstUrlCacheEntryA(nullptr, e, &size);
    if (!find)
        return out;
    do {
        out.push_back({e->lpszSourceUrlName, e->lpszLocalFileName ? e->lpszLocalFileName : "",
                       (e->CacheEntryType & COOKIE_CACHE_ENTRY) != 0});
        size = static_cast<DWORD>(buf.size());
    } while (FindNextUrlCacheEntryA(find, e, &size));
    FindCloseUrlCache(find);
    return out;
}

bool HasEntry(const std::string& url)
{
    for (const Entry& e : CacheEntries())
        if (e.Url == url)
            return true;
    return false;
}

// Position of the entry in the cache's order, -1 when it is not there.
int EntryIndex(const std::string& url)
{
    std::vector<Entry> all = CacheEntries();
    for (size_t i = 0; i < all.size(); ++i)
        if (all[i].Url == url)
            return static_cast<int>(i);
    return -1;
}

std::vector<std::string> CookieUrls()
{
    std::vector<std::string> out;
    for (const Entry& e : CacheEntries())
        if (e.Cookie)
            out.push_back(e.Url);
    return out;
}

void Commit(const std::string& url, const std::string& file, DWORD type, const std::string& headers = "")
{
    FILETIME none = {};
    std::string h = headers;
    ASSERT_TRUE(CommitUrlCacheEntryA(url.c_str(), file.empty() ? nullptr : file.c_str(), none, none, type,
                                     h.empty() ? nullptr : reinterpret_cast<BYTE*>(&h[0]),
                                     static_cast<DWORD>(h.size()), nullptr, nullptr))
        << url << " error " << GetLastError();
}

// A cached download (or a cookie, with its type) whose file the cache names and holds the
// bytes; headers make an entry as large as wanted. The file's path.
std::string AddEntry(const std::string& url, const std::string& ext, const std::string& bytes,
                     DWORD type = NORMAL_CACHE_ENTRY, const std::string& headers = "")
{
    char file[MAX_PATH] = {};
    EXPECT_TRUE(CreateUrlCacheEntryA(url.c_str(), 0, ext.c_str(), file, 0)) << url;
    WriteFileBytes(file, bytes);
    Commit(url, file, type, headers);
    return file;
}

const DWORD CookieType = COOKIE_CACHE_ENTRY;

void SetShellFolder(const std::string& name, const std::string& value)
{
    TRegistry reg(HKEY_CURRENT_USER);
    ASSERT_TRUE(reg.OpenKey(ShellKey, false));
    reg.WriteString(name, value);
}

std::string ShellFolder(const std::string& name)
{
    TRegistry reg(HKEY_CURRENT_USER);
    return reg.OpenKey(ShellKey, false) ? reg.ReadString(name) : std::string();
}

// A second name for the file, outside the cache, that still shows its bytes after the
// cleaner has overwritten or deleted it; empty when the system makes no hard links.
std::string Witness(const std::string& file)
{
    static int n = 0;
    MakeDirs("C:\\qtest\\witness");
    std::string link = "C:\\qtest\\witness\\" + std::to_string(++n);
    return CreateHardLinkA(link.c_str(), file.c_str(), nullptr) ? link : std::string();
}

// The cleaner with its keep-list path shown, and the status label read at each cancel
// test, which comes before every file and every entry. From the trigger file's removal
// on, it presses Cancel.
class WatchedCleaner : public CIECleanClass {
public:
    bool IsCancelRequested() override
    {
        if (Status) {
            std::string s = Status->Caption();
            if (Statuses.empty() || Statuses.back() != s)
                Statuses.push_back(s);
        }
        if (!Trigger.empty() && !PathExists(Trigger))
            Cancel.Set();
        return CIECleanClass::IsCancelRequested();
    }
    bool Saw(const std::string& status) const
    {
        return std::find(Statuses.begin(), Statuses.end(), status) != Statuses.end();
    }
    using CCleanClassPrototype::PathText;
    TMyGraphicLabel* Status = nullptr;
    std::vector<std::string> Statuses;
    std::string Trigger;
    CancelEvent Cancel;
};

std::string KeepFile()
{
    return ExeDir() + "\\CookiesToKeep.dat";
}

class IECacheTest : public ReporterFixture {
protected:
    void SetUp() override
    {
        StartRun();
        Cache = ShellFolder("Cache");
        Cookies = ShellFolder("Cookies");
        ASSERT_FALSE(Cache.empty());
        ASSERT_FALSE(Cookies.empty());
    }

    // Runs one chosen item of the group with a cleaner that overwrites once; the run
    // log's lines of this run.
    std::vector<std::string> Run(WatchedCleaner& cleaner, int tag, const std::string& caption,
                                 const std::string& keyword = "")
    {
        StartRun();
        Options options;
        options.Add(options.Container.IEItems, tag, caption, true, keyword);
        cleaner.Hdd().PassCount = 1;
        cleaner.Status = Status.get();
        cleaner.SetOptions(&options.Container);
        cleaner.SetIndicator(&Indicator);
        cleaner.Clean();
        return LogEntries();
    }
    std::vector<std::string> RunCache(WatchedCleaner& cleaner, const std::string& keyword)
    {
        return Run(cleaner, 1, CacheCaption, keyword);
    }
    std::vector<std::string> RunCookies(WatchedCleaner& cleaner) { return Run(cleaner, 2, CookiesCaption); }

    std::string Cache, Cookies;
};

}  // namespace

TEST_F(IECacheTest, EverythingButTheIndexAndTheCookiesGoes)
{
    const std::string k1(1024, 'x');
    const std::string page = AddEntry("http://www.example.com/index.htm", "htm", k1);
    const std::string picture = AddEntry("http://www.example.com/logo.GIF", "GIF", std::string(2048, 'g'));
    const std::string script = AddEntry("http://www.example.com/app.js", "js", k1);
    // An entry larger than the first buffer of the walk.
    const std::string big = AddEntry("http://www.example.com/big.css", "css", k1, NORMAL_CACHE_ENTRY,
                                     "X-Padding: " + std::string(6000, 'p') + "\r\n");
    Commit("http://www.example.com/nofile", "", NORMAL_CACHE_ENTRY);
    const std::string cookie = AddEntry("Cookie:ann@example.com/", "txt", "ann", CookieType);
    const std::string stray = Cache + "\\stray.tmp";
    WriteFileBytes(stray, k1);
    const std::string witness = Witness(page);
    const std::string index = Cache + "\\Content.IE5\\index.dat";
    ASSERT_TRUE(PathExists(index)) << "the cache's index file";
    CHddClass below;
    below.CollectByExtension(Cache, ".*", true);

    WatchedCleaner cleaner;
    auto log = RunCache(cleaner, "TIEFAll");

    // A page with a second name is not overwritten: only its name in the cache goes.
    const std::string pageEnd = witness.empty() ? "Done" : "Not overwritten: " + page.substr(page.rfind('\\') + 1);
    std::vector<std::string> expected = {Line(CacheCaption, "6Kb", pageEnd)};
    if (!witness.empty())
        expected.push_back("   Not overwritten: " + page + "      " + SecondName);
    EXPECT_EQ(Joined(log), Joined(expected)) << "every file but the in-use index";
    EXPECT_EQ(Indicator.RunTotal, 6 * 1024);
    for (const std::string& gone : {page, picture, script, big, stray})
        EXPECT_FALSE(PathExists(gone)) << gone;
    if (!witness.empty()) {
        EXPECT_EQ(ReadFileBytes(witness), k1) << "the page's other name keeps every byte";
    }
    for (const Entry& e : CacheEntries())
        EXPECT_TRUE(e.Cookie) << "entry " << e.Url << " is still there";
    EXPECT_TRUE(HasEntry("Cookie:ann@example.com/")) << "cookies are not the cache's files";
    EXPECT_EQ(ReadFileBytes(cookie), "ann");
    EXPECT_TRUE(PathExists(index)) << "the index is held open and stays";
    EXPECT_TRUE(PathExists(Cache + "\\Content.IE5")) << "folders are passed over";
    EXPECT_EQ(Gauge->MaxValue(), below.CollectedPaths.Count() + 1) << "every path below the cache, and the end";
    EXPECT_EQ(Gauge->Progress(), Gauge->MaxValue());
    EXPECT_TRUE(cleaner.Saw(" Deleting file: " + page.substr(page.rfind('\\') + 1)))
        << "statuses: " << Joined(cleaner.Statuses);
}

TEST_F(IECacheTest, PagesAndGraphicsAreChosenByTheirExactExtensions)
{
    const std::string k1(1024, 'x');
    struct Cached {
        std::string Url, File;
    };
    auto add = [&](const std::string& name, const std::string& ext) {
        std::string url = "http://www.example.com/" + name + "." + ext;
        return Cached{url, AddEntry(url, ext, k1)};
    };
    const std::vector<Cached> pages = {add("a", "htm"), add("b", "html"), add("c", "shtml")};
    const std::vector<Cached> graphics = {add("e", "gif"), add("f", "jpg"), add("g", "png"), add("h", "jpeg")};
    const std::vector<Cached> others = {add("D", "HTM"), add("I", "GIF"), add("J", "Jpg"), add("k", "css"),
                                        add("l", "htm5")};
    auto gone = [](const Cached& c) { return !PathExists(c.File) && !HasEntry(c.Url); };
    auto kept = [&](const Cached& c) { return ReadFileBytes(c.File) == k1 && HasEntry(c.Url); };

    WatchedCleaner cleaner;
    auto log = RunCache(cleaner, "TIEFPages");
    EXPECT_EQ(Joined(log), Joined({Line(CacheCaption, "3Kb")})) << "the pages' files";
    for (const Cached& c : pages)
        EXPECT_TRUE(gone(c)) << c.Url << " is a page";
    for (const auto* list : {&graphics, &others})
        for (const Cached& c : *list)
            EXPECT_TRUE(kept(c)) << c.Url << " is no page";
    EXPECT_EQ(Gauge->MaxValue(), 4);

    log = RunCache(cleaner, "TIEFGraph");
    EXPECT_EQ(Joined(log), Joined({Line(CacheCaption, "4Kb")})) << "the graphics' files";
    for (const Cached& c : graphics)
        EXPECT_TRUE(gone(c)) << c.Url << " is a graphic";
    for (const Cached& c : others)
        EXPECT_TRUE(kept(c)) << c.Url << " is neither, as its extension is written";
}

TEST_F(IECacheTest, EntriesAreMatchedToTheCollectedFilesByName)
{
    // Entries whose files are already gone are deleted after the files, by their kind.
    const std::string goneFile = AddEntry("http://gone.example/page.htm", "htm", "p");
    const std::string goneStyle = AddEntry("http://gone.example/style.css", "css", "s");
    DeleteFileA(goneFile.c_str());
    DeleteFileA(goneStyle.c_str());
    WatchedCleaner cleaner;
    auto log = RunCache(cleaner, "TIEFPages");
    EXPECT_EQ(Joined(log), Joined({Line(CacheCaption, "")}));
    EXPECT_FALSE(HasEntry("http://gone.example/page.htm")) << "a page entry without its file";
    EXPECT_TRUE(HasEntry("http://gone.example/style.css")) << "not a page";

    // Two entries that name one file: the later one in the cache's order owns it. The
    // same holds for the entries without a file, which all share the empty name.
    const std::string shared = AddEntry("http://shared.example/1.htm", "htm", "s");
    Commit("http://shared.example/2.htm", shared, NORMAL_CACHE_ENTRY);
    Commit("http://nofile.example/1", "", NORMAL_CACHE_ENTRY);
    Commit("http://nofile.example/2", "", NORMAL_CACHE_ENTRY);
    auto earlier = [](const std::string& a, const std::string& b) { return EntryIndex(a) < EntryIndex(b) ? a : b; };
    auto later = [](const std::string& a, const std::string& b) { return EntryIndex(a) < EntryIndex(b) ? b : a; };
    const std::string sharedFirst = earlier("http://shared.example/1.htm", "http://shared.example/2.htm");
    const std::string sharedLast = later("http://shared.example/1.htm", "http://shared.example/2.htm");
    const std::string noFileFirst = earlier("http://nofile.example/1", "http://nofile.example/2");
    const std::string noFileLast = later("http://nofile.example/1", "http://nofile.example/2");
    ASSERT_NE(EntryIndex(sharedFirst), -1);
    ASSERT_NE(EntryIndex(noFileFirst), -1);

    log = RunCache(cleaner, "TIEFAll");
    EXPECT_FALSE(PathExists(shared));
    EXPECT_FALSE(HasEntry(sharedLast)) << "the entry that owns the file goes with it";
    EXPECT_TRUE(HasEntry(sharedFirst)) << "the earlier entry of a shared file was replaced in the map";
    EXPECT_FALSE(HasEntry(noFileLast)) << "the last entry without a file is deleted after the files";
    EXPECT_TRUE(HasEntry(noFileFirst)) << "only one entry without a file is in the map";
    EXPECT_FALSE(HasEntry("http://gone.example/style.css")) << "with every kind, any entry without its file";
}

TEST_F(IECacheTest, ACancelLeavesTheFilesAndEntriesNotYetReached)
{
    const std::string k1(1024, 'x');
    std::vector<std::string> files;
    for (const char* name : {"p1", "p2", "p3"})
        files.push_back(AddEntry(std::string("http://www.example.com/") + name + ".htm", "htm", k1));
    const std::string goneFile = AddEntry("http://gone.example/page.htm", "htm", "p");
    DeleteFileA(goneFile.c_str());
    CHddClass order;
    order.CollectByExtension(Cache, ".htm", true);
    ASSERT_EQ(order.CollectedPaths.Count(), 3);
    const std::string first = order.CollectedPaths[0];

    {
        // Cancel pressed while the first file goes: the loop stops before the next one.
        WatchedCleaner cleaner;
        cleaner.Trigger = first;
        auto log = RunCache(cleaner, "TIEFPages");
        EXPECT_EQ(Joined(log), Joined({Line(CacheCaption, "3Kb", "Canceled...")}));
        for (const std::string& f : files) {
            std::string url = "http://www.example.com/" + f.substr(f.rfind('\\') + 1, 2) + ".htm";
            if (f == first) {
                EXPECT_FALSE(PathExists(f)) << f << " was in progress";
                EXPECT_FALSE(HasEntry(url)) << url << " goes with its file";
            } else {
                EXPECT_EQ(ReadFileBytes(f), k1) << f << " was not reached";
                EXPECT_TRUE(HasEntry(url)) << url;
            }
        }
        EXPECT_TRUE(HasEntry("http://gone.example/page.htm")) << "the leftover entries are not deleted";
        EXPECT_EQ(Gauge->Progress(), 1) << "one file's step, no closing step";
        EXPECT_EQ(Gauge->MaxValue(), 4);
    }
    {
        // Cancel pressed before the operation: not one file is touched.
        CancelEvent cancel;
        cancel.Set();
        WatchedCleaner cleaner;
        cleaner.Hdd().PassCount = 1;
        cleaner.SetIndicator(&Indicator);
        StartRun();
        Indicator.BeginSection(CacheCaption);
        cleaner.ClearCache(0);
        EXPECT_EQ(Joined(LogEntries()), Joined({Line(CacheCaption, "2Kb", "Canceled...")}));
        for (const std::string& f : files) {
            if (f != first) {
                EXPECT_EQ(ReadFileBytes(f), k1) << f;
            }
        }
        EXPECT_TRUE(HasEntry("http://gone.example/page.htm"));
        EXPECT_EQ(Gauge->Progress(), 0);
    }
}

TEST_F(IECacheTest, CookiesGoUnlessTheKeepListNamesThemExactly)
{
    // A blank line, a line that differs in case only, a duplicate and a last line without
    // its end.
    WriteFileBytes(KeepFile(), "Cookie:keep@kept.example/\r\n\r\nCookie:KEEP@case.example/\r\n"
                               "Cookie:keep@kept.example/\nCookie:last@end.example/");
    const std::string k1(1024, 'c');
    const std::string kept = AddEntry("Cookie:keep@kept.example/", "txt", k1, CookieType);
    const std::string last = AddEntry("Cookie:last@end.example/", "txt", k1, CookieType);
    const std::string cased = AddEntry("Cookie:keep@case.example/", "txt", k1, CookieType);
    const std::string ann = AddEntry("Cookie:ann@a.example/", "txt", k1, CookieType);
    const std::string big = AddEntry("Cookie:big@b.example/", "txt", k1, CookieType,
                                     "X-Padding: " + std::string(6000, 'p') + "\r\n");
    Commit("Cookie:nofile@c.example/", "", CookieType);
    Commit("ck", "", CookieType);
    ASSERT_TRUE(InternetSetCookieA("http://www.d.example/", "session", "1; expires=Fri, 01-Jan-2038 00:00:00 GMT"));
    const std::string page = AddEntry("http://www.example.com/index.htm", "htm", "p");
    const std::string annWitness = Witness(ann);
    const std::string keptWitness = Witness(kept);

    WatchedCleaner cleaner;
    auto log = RunCookies(cleaner);

    const std::string annEnd = annWitness.empty() ? "Done" : "Not overwritten: " + ann.substr(ann.rfind('\\') + 1);
    std::vector<std::string> expected = {Line(CookiesCaption, "5Kb", annEnd)};
    if (!annWitness.empty())
        expected.push_back("   Not overwritten: " + ann + "      " + SecondName);
    EXPECT_EQ(Joined(log), Joined(expected)) << "every cookie file of the folder, kept too";
    std::vector<std::string> left = CookieUrls();
    std::sort(left.begin(), left.end());
    EXPECT_EQ(Joined(left), Joined({"Cookie:keep@kept.example/", "Cookie:last@end.example/"}));
    EXPECT_EQ(ReadFileBytes(kept), k1);
    EXPECT_EQ(ReadFileBytes(last), k1);
    for (const std::string& f : {cased, ann, big})
        EXPECT_FALSE(PathExists(f)) << f;
    if (!annWitness.empty()) {
        EXPECT_EQ(ReadFileBytes(annWitness), k1) << "a cookie file with a second name goes unwritten";
        EXPECT_EQ(ReadFileBytes(keptWitness), k1);
    }
    EXPECT_TRUE(HasEntry("http://www.example.com/index.htm")) << "the cache's pages are not cookies";
    EXPECT_EQ(ReadFileBytes(page), "p");
    EXPECT_EQ(Gauge->MaxValue(), 7) << "six cookies to delete and the end";
    EXPECT_EQ(Gauge->Progress(), 7);
    for (const char* shown : {" Deleting file: ann@a.example", " Deleting file: keep@case.example",
                              " Deleting file: nofile@c.example", " Deleting file: "})
        EXPECT_TRUE(cleaner.Saw(shown)) << shown << " in " << Joined(cleaner.Statuses);
    EXPECT_FALSE(cleaner.Saw(" Deleting file: keep@kept.example")) << Joined(cleaner.Statuses);
}

TEST_F(IECacheTest, AnUnreadableKeepListLeavesEveryCookieAndFailsTheItem)
{
    WriteFileBytes(KeepFile(), "Cookie:keep@kept.example/\r\n");
    const std::string kept = AddEntry("Cookie:keep@kept.example/", "txt", "k", CookieType);
    const std::string other = AddEntry("Cookie:other@o.example/", "txt", "o", CookieType);
    HANDLE held = CreateFileA(KeepFile().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    WatchedCleaner cleaner;   // built while the list cannot be read, as a run's would be
    CloseHandle(held);
    auto log = RunCookies(cleaner);
    ASSERT_EQ(log.size(), 1u) << Joined(log);
    EXPECT_EQ(log[0].find("Done"), std::string::npos) << "never done without the keep list: " << log[0];
    EXPECT_NE(log[0].find("keep list cannot be read"), std::string::npos) << log[0];
    EXPECT_EQ(ReadFileBytes(kept), "k") << "the kept cookie stays";
    EXPECT_EQ(ReadFileBytes(other), "o") << "no cookie is judged without the list";

    cleaner.LoadCookiesToKeep();
    log = RunCookies(cleaner);
    EXPECT_EQ(log[0].substr(log[0].size() - 4), "Done") << "a later successful load clears the failure";
    EXPECT_FALSE(PathExists(other));
    EXPECT_EQ(ReadFileBytes(kept), "k");
}

TEST_F(IECacheTest, WithoutAKeepListEveryCookieGoes)
{
    for (bool emptyFile : {false, true}) {
        DeleteFileA(KeepFile().c_str());
        if (emptyFile)
            WriteFileBytes(KeepFile(), "");
        const std::string a = AddEntry("Cookie:a@a.example/", "txt", "a", CookieType);
        const std::string b = AddEntry("Cookie:b@b.example/", "txt", "b", CookieType);
        WatchedCleaner cleaner;
        auto log = RunCookies(cleaner);
        EXPECT_EQ(Joined(log), Joined({Line(CookiesCaption, "0.1Kb")})) << "empty file: " << emptyFile;
        EXPECT_EQ(Joined(CookieUrls()), "") << "empty file: " << emptyFile;
        EXPECT_FALSE(PathExists(a));
        EXPECT_FALSE(PathExists(b));
    }
}

TEST_F(IECacheTest, TheCountPassMeasuresAndDeletesNothing)
{
    WriteFileBytes(KeepFile(), "Cookie:keep@kept.example/\r\n");
    AddEntry("Cookie:keep@kept.example/", "txt", std::string(1024, 'k'), CookieType);
    AddEntry("Cookie:a@a.example/", "txt", std::string(1024, 'a'), CookieType);
    AddEntry("Cookie:b@b.example/", "txt", std::string(1024, 'b'), CookieType);
    WriteFileBytes(Cookies + "\\nocookie.txt", std::string(1024, 'n'));
    WriteFileBytes(Cookies + "\\notes.log", std::string(1024, 'l'));
    WatchedCleaner cleaner;
    cleaner.SetIndicator(&Indicator);

    cleaner.ClearCookies(0);

    EXPECT_EQ(Gauge->MaxValue(), 3) << "two cookies to delete and the end";
    EXPECT_EQ(Gauge->Progress(), 0);
    EXPECT_EQ(Indicator.RunTotal, 4 * 1024) << "the folder's *.txt files, whether entries name them or not";
    EXPECT_EQ(Joined(LogEntries()), "") << "the count pass opens and ends no section";
    EXPECT_EQ(CookieUrls().size(), 3u);
}

TEST_F(IECacheTest, CookieFilesOutsideTheCookieFolderAreNotOverwritten)
{
    const std::string k1(1024, 'c');
    const std::string other = ScratchDir("othercookies");
    WriteFileBytes(other + "\\old.txt", std::string(2048, 'o'));
    const std::string outside = AddEntry("Cookie:out@a.example/", "txt", k1, CookieType);
    const std::string witness = Witness(outside);
    if (witness.empty())
        GTEST_SKIP() << "no hard links here to see whether a deleted file was overwritten";

    // The cleaner reads the cookie folder from the shell's values; the cache keeps its own.
    SetShellFolder("Cookies", other);
    {
        WatchedCleaner cleaner;
        auto log = RunCookies(cleaner);
        EXPECT_EQ(Joined(log), Joined({Line(CookiesCaption, "2Kb")})) << "the folder the shell names";
        EXPECT_FALSE(HasEntry("Cookie:out@a.example/")) << "the entry goes all the same";
        EXPECT_EQ(ReadFileBytes(witness), k1) << "a file outside the cookie folder is never written";
        EXPECT_EQ(ReadFileBytes(other + "\\old.txt"), std::string(2048, 'o')) << "a file no entry names";
    }

    // Folder values that are no place to search or wipe in.
    WriteFileBytes("C:\\cookie.txt", k1);
    for (const std::string& value : {std::string(), std::string("C:\\"), std::string("INetCookies")}) {
        SetShellFolder("Cookies", value);
        const std::string file = AddEntry("Cookie:unsafe@a.example/", "txt", k1, CookieType);
        const std::string seen = Witness(file);
        WatchedCleaner cleaner;
        auto log = RunCookies(cleaner);
        EXPECT_EQ(Joined(log), Joined({Line(CookiesCaption, "")})) << "Cookies \"" << value << "\" measures nothing";
        EXPECT_FALSE(HasEntry("Cookie:unsafe@a.example/")) << "Cookies \"" << value << "\"";
        EXPECT_EQ(ReadFileBytes(seen), k1) << "Cookies \"" << value << "\"";
    }
    EXPECT_EQ(ReadFileBytes("C:\\cookie.txt"), k1);

    // Where the shell and the cache agree, the same file goes, and its second name keeps its bytes.
    SetShellFolder("Cookies", Cookies);
    const std::string inside = AddEntry("Cookie:in@a.example/", "txt", k1, CookieType);
    const std::string insideWitness = Witness(inside);
    WatchedCleaner cleaner;
    RunCookies(cleaner);
    EXPECT_FALSE(PathExists(inside)) << "a cookie in the folder goes";
    EXPECT_EQ(ReadFileBytes(insideWitness), k1) << "its second name is never written";
}

TEST_F(IECacheTest, ACancelStopsTheCookieWalk)
{
    std::vector<std::string> files;
    for (const char* user : {"a", "b", "c"})
        files.push_back(AddEntry(std::string("Cookie:") + user + "@x.example/", "txt", "c", CookieType));
    {
        // Cancel pressed during the count or before the walk: no cookie goes.
        CancelEvent cancel;
        cancel.Set();
        WatchedCleaner cleaner;
        cleaner.SetIndicator(&Indicator);
        StartRun();
        Indicator.BeginSection(CookiesCaption);
        cleaner.ClearCookies(1);
        EXPECT_EQ(Joined(LogEntries()), Joined({Line(CookiesCaption, "0.1Kb", "Canceled...")}));
        EXPECT_EQ(CookieUrls().size(), 3u);
        for (const std::string& f : files)
            EXPECT_TRUE(PathExists(f)) << f;
    }
    {
        // Cancel pressed as one cookie goes: the others stay.
        std::vector<std::string> order = CookieUrls();
        ASSERT_EQ(order.size(), 3u);
        const std::string first = files[order[0][7] - 'a'];
        WatchedCleaner cleaner;
        cleaner.Trigger = first;
        auto log = RunCookies(cleaner);
        EXPECT_EQ(Joined(log), Joined({Line(CookiesCaption, "0.1Kb", "Canceled...")}));
        EXPECT_EQ(Joined(CookieUrls()), Joined({order[1], order[2]})) << "the walk ends after the first";
        EXPECT_EQ(Gauge->Progress(), 1);
    }
}

TEST_F(IECacheTest, ListingFindsEveryCookieInTheCachesOrder)
{
    WriteFileBytes(KeepFile(), "Cookie:keep@kept.example/\r\n");
    AddEntry("Cookie:keep@kept.example/", "txt", "k", CookieType);
    AddEntry("Cookie:big@b.example/", "txt", "b", CookieType, "X-Padding: " + std::string(6000, 'p') + "\r\n");
    Commit("Cookie:nofile@c.example/", "", CookieType);
    ASSERT_TRUE(InternetSetCookieA("http://www.d.example/", "session", "1; expires=Fri, 01-Jan-2038 00:00:00 GMT"));
    AddEntry("http://www.example.com/index.htm", "htm", "p");
    std::vector<std::string> expected = CookieUrls();
    ASSERT_EQ(expected.size(), 4u);

    WatchedCleaner cleaner;
    cleaner.FoundCookies.Add("stale");
    CancelEvent cancel;
    cancel.Set();
    cleaner.ListCookies();

    EXPECT_EQ(Joined(cleaner.FoundCookies.Items), Joined(expected))
        << "kept ones too, without pages, the old list replaced, whatever Cancel says";
    EXPECT_EQ(CookieUrls().size(), 4u) << "listing deletes nothing";
}

TEST(IECacheKeepListTest, TheListIsReadLineByLineFromBesideTheProgram)
{
    WriteFileBytes(KeepFile(), "a\r\n\r\nb\nb\rCookie:Last");
    WatchedCleaner cleaner;
    EXPECT_EQ(Joined(cleaner.CookiesToKeep.Items), Joined({"a", "", "b", "b", "Cookie:Last"}))
        << "loaded when built: CR, LF and CR LF end lines, a last line without one counts";
    EXPECT_EQ(cleaner.PathText, KeepFile());

    WriteFileBytes(KeepFile(), "c\r\n");
    cleaner.LoadCookiesToKeep();
    EXPECT_EQ(Joined(cleaner.CookiesToKeep.Items), Joined({"c"})) << "loading replaces the list";

    DeleteFileA(KeepFile().c_str());
    cleaner.PathText.clear();
    cleaner.LoadCookiesToKeep();
    EXPECT_EQ(cleaner.CookiesToKeep.Count(), 0) << "no file, no list";
    EXPECT_EQ(cleaner.PathText, KeepFile()) << "the path is known even without the file";
}

TEST(IECacheKeepListTest, SavingWritesEveryLineWithItsEnd)
{
    WriteFileBytes(KeepFile(), "old\r\nlonger\r\ncontent\r\n");
    WatchedCleaner cleaner;
    cleaner.CookiesToKeep.Items = {"Cookie:a@b.example/", "", "Cookie:a@b.example/"};
    cleaner.SaveCookiesToKeep();
    EXPECT_EQ(ReadFileBytes(KeepFile()), "Cookie:a@b.example/\r\n\r\nCookie:a@b.example/\r\n");
    WatchedCleaner again;
    EXPECT_EQ(Joined(again.CookiesToKeep.Items), Joined(cleaner.CookiesToKeep.Items)) << "the round trip";

    cleaner.CookiesToKeep.Clear();
    cleaner.SaveCookiesToKeep();
    EXPECT_EQ(ReadFileBytes(KeepFile()), "") << "an empty list is an empty file";
    WatchedCleaner empty;
    EXPECT_EQ(empty.CookiesToKeep.Count(), 0);
}

TEST(IECacheKeepListTest, AFileThatCannotBeCreatedRaises)
{
    ASSERT_TRUE(CreateDirectoryA(KeepFile().c_str(), nullptr));
    std::unique_ptr<WatchedCleaner> cleaner;
    ASSERT_NO_THROW(cleaner.reset(new WatchedCleaner)) << "a folder by the name is no keep list";
    EXPECT_EQ(cleaner->CookiesToKeep.Count(), 0);
    cleaner->CookiesToKeep.Add("Cookie:a@b.example/");
    EXPECT_THROW(cleaner->SaveCookiesToKeep(), EFCreateError);
}

TEST(IECacheKeepListTest, AListThatCannotBeReadRaisesInsteadOfKeepingNothing)
{
    WriteFileBytes(KeepFile(), "Cookie:keep@kept.example/\r\n");
    HANDLE held = CreateFileA(KeepFile().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    std::unique_ptr<WatchedCleaner> built;
    ASSERT_NO_THROW(built.reset(new WatchedCleaner)) << "a run's cleaner is built on the window thread";
    EXPECT_THROW(built->LoadCookiesToKeep(), EFOpenError) << "an empty list would delete the kept cookies";
    CloseHandle(held);
    WatchedCleaner cleaner;
    EXPECT_EQ(Joined(cleaner.CookiesToKeep.Items), Joined({"Cookie:keep@kept.example/"}));
}
