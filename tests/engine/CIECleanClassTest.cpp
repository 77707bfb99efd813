#include "CIECleanClass.h"
#include "CleanerTestSupport.h"
#include "MyGraphicLabel.h"

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

// The Internet Explorer cleaner with its operations written down instead of run.
class IERecorder : public CIECleanClass {
public:
    void ClearCache(int kind) override { Did("cache" + std::to_string(kind)); }
    void ClearCookies(int mode) override { Did("cookies" + std::to_string(mode)); }
    void ClearHistory(int mode) override { Did("history" + std::to_string(mode)); }
    void ClearTypedUrls() override { Did("typed"); }
    void ClearDownloadedPrograms() override { Did("downloaded"); }
    void ScheduleIndexDatDeletion(int flag) override { Did("index" + std::to_string(flag)); }
    void ClearProtectedStorage() override { Did("forms"); }
    void ClearIntelliForms() override { Did("passwords"); }
    void ResetStartPage() override { Did("startpage"); }
    void RestoreUrlPrefixes() override { Did("prefixes"); }
    void Did(const std::string& what)
    {
        Ran += what + ";";
        if (what == CancelOn && Cancel)
            Cancel->Set();
        EndClearing();
    }
    std::string Ran;
    std::string CancelOn;
    CancelEvent* Cancel = nullptr;
};

class IEDispatchTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        StartRun();
        Indicator.GroupLabel = &Group;
        Cleaner.SetOptions(&Opts.Container);
        Cleaner.SetIndicator(&Indicator);
    }
    void Add(int tag, const std::string& caption, bool down = true, const std::string& keyword = "")
    {
        Opts.Add(Opts.Container.IEItems, tag, caption, down, keyword);
    }
    Options Opts;
    TMyGraphicLabel Group{nullptr};
    CIndicatorClass Indicator;
    IERecorder Cleaner;
};

}  // namespace

TEST_F(IEDispatchTest, EveryTagRunsItsOperationInListOrder)
{
    Add(0, "MS Internet Explorer");
    Add(11, "URL prefixes");
    Add(1, "Temporary Internet Files", true, "TIEFAll");
    Add(111, "All", true);
    Add(112, "Pages", true);
    Add(2, "Cookies");
    Add(3, "History");
    Add(4, "Address Bar");
    Add(5, "Downloaded Program Files");
    Add(6, "Index.dat");
    Add(8, "Passwords");
    Add(9, "Forms");
    Add(10, "Home page");
    Add(12, "Nothing here");
    Add(99, "Nothing either");
    Cleaner.Clean();
    EXPECT_EQ(Cleaner.Ran,
              "prefixes;cache0;cookies1;history1;typed;downloaded;index0;passwords;forms;startpage;")
        << "sub-options never run by themselves; Tags 12 to 99 run nothing";
    EXPECT_EQ(Group.Caption(), " MS Internet Explorer");
    EXPECT_EQ(LogEntries().size(), 12u) << "every item in range begins its section, also one with nothing to run";
}

TEST_F(IEDispatchTest, TheCacheItemsKeywordChoosesTheKindExactly)
{
    TMyRndRectBtn* cache = Opts.Add(Opts.Container.IEItems, 1, "Temporary Internet Files", true);
    for (auto kw : {std::pair<const char*, const char*>{"TIEFAll", "cache0;"},
                    {"TIEFPages", "cache1;"},
                    {"TIEFGraph", "cache2;"},
                    {"tiefpages", ""},
                    {"", ""}}) {
        cache->HelpKeyword = kw.first;
        Cleaner.Ran.clear();
        Cleaner.Clean();
        EXPECT_EQ(Cleaner.Ran, kw.second) << "keyword '" << kw.first << "'";
    }
}

TEST_F(IEDispatchTest, ACancelStopsTheGroupAfterTheItemInProgress)
{
    Add(2, "Cookies");
    Add(3, "History");
    CancelEvent cancel;
    Cleaner.Cancel = &cancel;
    Cleaner.CancelOn = "cookies1";
    Cleaner.Clean();
    EXPECT_EQ(Cleaner.Ran, "cookies1;");
    Cleaner.Ran.clear();
    Group.SetCaption(" before");
    Cleaner.Clean();
    EXPECT_EQ(Cleaner.Ran, "") << "a cancelled run starts nothing";
    EXPECT_EQ(Group.Caption(), " before") << "and shows no title";
}
