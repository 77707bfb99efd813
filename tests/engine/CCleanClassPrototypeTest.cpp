#include "CCleanClassPrototype.h"
#include "CleanerTestSupport.h"
#include "MyGraphicLabel.h"

#include <gtest/gtest.h>

#include <climits>

using namespace testing_support;

namespace {

// A cleaner whose items write down their Tag; one Tag may press Cancel.
class Recorder : public CCleanClassPrototype {
public:
    void Clean() override { RunGroup("Test group", Options->WinItems, MaxTag, TitleFirst); }
    void RunItem(TMyRndRectBtn* item) override
    {
        Ran.push_back(item->Tag);
        if (item->Tag == CancelAt && Cancel)
            Cancel->Set();
        EndSection();
    }
    std::vector<int> Ran;
    int MaxTag = INT_MAX;
    bool TitleFirst = false;
    int CancelAt = -1000;
    CancelEvent* Cancel = nullptr;
};

class DispatchTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        StartRun();
        Group = new TMyGraphicLabel(nullptr);
        Indicator.GroupLabel = Group;
        C.SetOptions(&Opts.Container);
        C.SetIndicator(&Indicator);
    }
    void TearDown() override
    {
        Indicator.GroupLabel = nullptr;
        delete Group;
    }
    Options Opts;
    CIndicatorClass Indicator;
    TMyGraphicLabel* Group = nullptr;
    Recorder C;
};

}  // namespace

TEST_F(DispatchTest, RunsChosenItemsInListOrderWithinTheTagRange)
{
    CPoorVector<TMyRndRectBtn*>& l = Opts.Container.WinItems;
    Opts.Add(l, 0, "MS Windows", true);        // the group header
    Opts.Add(l, 5, "Temp folder", true);
    Opts.Add(l, -1, "Negative", true);
    Opts.Add(l, 2, "Find", false);
    Opts.Add(l, 111, "All", true);             // a sub-option button
    Opts.Add(l, 3, "Run", true);
    Opts.Add(l, 42, "Unknown", true);
    C.MaxTag = 99;
    C.Clean();
    EXPECT_EQ(C.Ran, (std::vector<int>{5, 3, 42})) << "list order, not Tag order; Tags 0, below and above skipped";
    EXPECT_EQ(Group->Caption(), " Test group");
    auto log = LogEntries();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[0], "   Temp folder      Done");
    EXPECT_EQ(log[1], "   Run      Done");
    C.Ran.clear();
    C.MaxTag = INT_MAX;
    C.Clean();
    EXPECT_EQ(C.Ran, (std::vector<int>{5, 111, 3, 42})) << "without an upper limit";
}

TEST_F(DispatchTest, ACancelEndsTheWalkAfterTheItemInProgress)
{
    CPoorVector<TMyRndRectBtn*>& l = Opts.Container.WinItems;
    Opts.Add(l, 1, "First", true);
    Opts.Add(l, 2, "Second", true);
    Opts.Add(l, 3, "Third", true);
    {
        CancelEvent cancel;
        C.Cancel = &cancel;
        C.CancelAt = 2;
        C.Clean();
        EXPECT_EQ(C.Ran, (std::vector<int>{1, 2}));
        auto log = LogEntries();
        ASSERT_EQ(log.size(), 2u) << "the third item is never begun";
        EXPECT_EQ(log[1], "   Second      Canceled...");

        C.Ran.clear();
        Group->SetCaption(" untouched");
        C.Clean();
        EXPECT_TRUE(C.Ran.empty()) << "a later cleaner of the cancelled run returns at once";
        EXPECT_EQ(Group->Caption(), " untouched") << "without showing its title";
        C.TitleFirst = true;
        C.Clean();
        EXPECT_EQ(Group->Caption(), " Test group") << "a group that shows its title first still does";
        EXPECT_TRUE(C.Ran.empty());
    }
    C.Cancel = nullptr;
    C.TitleFirst = false;
    EXPECT_FALSE(C.IsCancelRequested()) << "the next run starts with a fresh event";
    C.Clean();
    EXPECT_EQ(C.Ran, (std::vector<int>{1, 2, 3}));
}
