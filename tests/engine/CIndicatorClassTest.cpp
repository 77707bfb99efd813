#include "CIndicatorClass.h"
#include "CleanerTestSupport.h"
#include "MyGraphicLabel.h"
#include "TCGauge.h"

#include <gtest/gtest.h>

#include <memory>

using namespace testing_support;

TEST(FormatSize, EveryRangeOfTheTable)
{
    struct {
        int bytes;
        const char* text;
    } cases[] = {{0, ""},          {-5, ""},           {1, "0.1Kb"},        {10, "0.1Kb"},
                 {11, "0.01Kb"},   {512, "0.50Kb"},    {1023, "1.00Kb"},    {1024, "1Kb"},
                 {1536, "1Kb"},    {1048575, "1023Kb"}, {1048576, "1M"},     {1572864, "1.5M"},
                 {10485760, "10M"}, {210239488, "201M"}, {1048051712, "1E3M"}, {1048576000, "1E3M"},
                 {1073741823, "1.02E3M"}, {1073741824, ""}, {2147483647, ""}};
    for (auto& c : cases)
        EXPECT_EQ(CIndicatorClass::FormatSize(c.bytes), c.text) << c.bytes << " bytes";
}

TEST(FormatSize, TheUsersDecimalSeparator)
{
    char old[8] = {};
    GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, old, sizeof old);
    if (!SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, ","))
        GTEST_SKIP() << "the decimal separator cannot be changed here";
    std::string half = CIndicatorClass::FormatSize(512);
    std::string mb = CIndicatorClass::FormatSize(1572864);
    std::string exp = CIndicatorClass::FormatSize(1073741823);
    SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, old);
    EXPECT_EQ(half, "0,50Kb");
    EXPECT_EQ(mb, "1,5M");
    EXPECT_EQ(exp, "1,02E3M");
    EXPECT_EQ(CIndicatorClass::FormatSize(10), "0.1Kb") << "the smallest size is written as it stands";
}

namespace {

class ReporterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        StartRun();
        for (auto* l : {&Group, &Section, &Status, &Size})
            l->reset(new TMyGraphicLabel(nullptr));
        Gauge.reset(new TCGauge(nullptr));
        R.reset(new CIndicatorClass());
        R->GroupLabel = Group.get();
        R->SectionLabel = Section.get();
        R->StatusLabel = Status.get();
        R->SizeLabel = Size.get();
        R->Gauge = Gauge.get();
    }
    std::unique_ptr<TMyGraphicLabel> Group, Section, Status, Size;
    std::unique_ptr<TCGauge> Gauge;
    std::unique_ptr<CIndicatorClass> R;
};

}  // namespace

TEST_F(ReporterTest, ASectionShowsAndLogsItsSteps)
{
    R->SetGroupTitle("MS Windows");
    EXPECT_EQ(Group->Caption(), " MS Windows");
    R->BeginSection("History");
    EXPECT_EQ(Section->Caption(), " History");
    EXPECT_EQ(Status->Caption(), " Preparing...");
    EXPECT_EQ(Size->Caption(), " ");
    EXPECT_EQ(Gauge->MaxValue(), 0);
    R->AddBytes(0);
    EXPECT_EQ(Size->Caption(), " ") << "nothing to free leaves the size label";
    R->AddBytes(12 * 1024);
    EXPECT_EQ(Size->Caption(), " 12Kb");
    R->SetMax(3);
    R->StatusDeleting("a.txt");
    EXPECT_EQ(Status->Caption(), " Deleting: a.txt");
    R->StatusEmptying("");
    EXPECT_EQ(Status->Caption(), " Emptying...");
    R->StatusWiping("C:\\x");
    EXPECT_EQ(Status->Caption(), " Wiping file: C:\\x");
    R->StatusDeletingFile("y");
    EXPECT_EQ(Status->Caption(), " Deleting file: y");
    R->Step();
    R->Step();
    EXPECT_EQ(Gauge->Progress(), 2);
    R->SectionDone();
    EXPECT_EQ(Status->Caption(), " Done...OK");
    auto log = LogEntries();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0], "   History   12Kb   Done");

    R->BeginSection("Expired");
    EXPECT_EQ(Section->Caption(), " Expired Certificates");
    R->ShowClearing();
    EXPECT_EQ(Gauge->MaxValue(), 30);
    EXPECT_EQ(Gauge->Progress(), 30) << "the bar fills at once";
    EXPECT_EQ(Status->Caption(), " Clearing...");
    R->Words.CancelWD = "Abgebrochen";
    R->SectionCancelled();
    log = LogEntries();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[1], "   Expired Certificates      Abgebrochen") << "a translated ending is logged as it is";
}

TEST_F(ReporterTest, TheTotalLineComesWithTheReportersEnd)
{
    R->BeginSection("One");
    R->AddBytes(3 * 1024);
    R->SectionDone();
    R->BeginSection("Two");
    R->AddBytes(5 * 1024);
    R->SectionDone();
    EXPECT_EQ(LogEntries().size(), 2u);
    R.reset();
    TStringList lines = LogLines();
    ASSERT_EQ(lines.Count(), 3);
    EXPECT_EQ(lines[2], "Total:   ...   8Kb   ...");
}

TEST_F(ReporterTest, AnEmptyRunLogsOnlyItsTotal)
{
    R.reset();
    TStringList lines = LogLines();
    ASSERT_EQ(lines.Count(), 1);
    EXPECT_EQ(lines[0], "Total:   ...      ...");
}
