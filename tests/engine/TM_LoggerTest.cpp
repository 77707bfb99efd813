#include "SysUtils.h"
#include "TApplication.h"
#include "TM_Logger.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <thread>
#include <vector>

using namespace testing_support;

namespace {

std::string LogPath()
{
    return ChangeFileExt(Application->ExeName(), ".log");
}

class LoggerTest : public ::testing::Test {
protected:
    void SetUp() override { Reset(); }
    void TearDown() override
    {
        TM_Logger::Release();
        Reset();
    }
    static void Reset()
    {
        RemoveDirectoryA(LogPath().c_str());
        SetFileAttributesA(LogPath().c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(LogPath().c_str());
    }
    static std::string FileText() { return ReadFileBytes(LogPath()); }
};

}  // namespace

TEST_F(LoggerTest, LiesBesideTheProgramUnderItsName)
{
    TM_Logger log;
    EXPECT_EQ(log.Path(), ExeDir() + "\\engine_tests.log");
}

TEST_F(LoggerTest, ItemLinesAndTheirEndings)
{
    TM_Logger log;
    std::string before = Copy(CurrentTimeText(), 1, 8);
    log.BeginEntry("History");
    std::string after = Copy(CurrentTimeText(), 1, 8);
    std::string line = log.Lines()[0];
    ASSERT_EQ(line.size(), 8u + 3 + 7) << line;
    EXPECT_TRUE(line.substr(0, 8) == before || line.substr(0, 8) == after) << "the time of day first: " << line;
    EXPECT_EQ(FileText(), line + "\r\n") << "the file follows at once";

    log.EndEntry("Done...OK", " 12Kb");
    EXPECT_EQ(log.Lines()[0].substr(8), "   History   12Kb   Done");
    log.BeginEntry("Recent documents");
    log.EndEntry("Canceled...", " ");
    EXPECT_EQ(log.Lines()[1].substr(8), "   Recent documents      Canceled...") << "six blanks without a size";
    log.BeginEntry("Expired Certificates");
    log.EndEntry("Fertig", " 1Kb");
    EXPECT_EQ(log.Lines()[2].substr(8), "   Expired Certificates   1Kb   Fertig") << "a translated ending is written as it is";
    log.AddLine("Total:   ...   13Kb   ...");
    TStringList lines = log.Lines();
    EXPECT_EQ(FileText(), lines.Text());
    EXPECT_EQ(lines.Count(), 4);
}

TEST_F(LoggerTest, EndingWithNoLineAppendsOne)
{
    TM_Logger log;
    log.EndEntry("Done...OK", " ");
    ASSERT_EQ(log.Lines().Count(), 1);
    EXPECT_EQ(log.Lines()[0], "      Done");
}

TEST_F(LoggerTest, ClearDeletesTheFileAndAStartLoadsTheLastRun)
{
    {
        TM_Logger log;
        log.AddLine("one");
        log.AddLine("two");
    }
    EXPECT_EQ(FileText(), "one\r\ntwo\r\n") << "destruction saves";
    TM_Logger log;
    EXPECT_EQ(log.Lines().Count(), 2) << "a new start holds the last run's log";
    log.Clear();
    EXPECT_FALSE(PathExists(LogPath())) << "the file goes at once";
    EXPECT_EQ(log.Lines().Count(), 0);
    log.Save();
    EXPECT_EQ(FileText(), "") << "an empty file while the first item is prepared";
}

TEST_F(LoggerTest, AnUnwritableLogNeverThrowsNorKeepsItsLock)
{
    ASSERT_TRUE(CreateDirectoryA(LogPath().c_str(), nullptr)) << "a folder stands where the file would be";
    TM_Logger log;
    EXPECT_NO_THROW(log.BeginEntry("History"));
    EXPECT_TRUE(log.LastWriteFailed());
    EXPECT_NO_THROW(log.EndEntry("Done...OK", " "));
    EXPECT_NO_THROW(log.Clear());
    EXPECT_EQ(log.Lines().Count(), 0) << "the list is emptied even when the file cannot go";

    auto other = std::async(std::launch::async, [&] { log.AddLine("from another thread"); });
    ASSERT_EQ(other.wait_for(std::chrono::seconds(10)), std::future_status::ready) << "the lock was left taken";
    EXPECT_EQ(log.Lines().Count(), 1);

    RemoveDirectoryA(LogPath().c_str());
    log.Save();
    EXPECT_FALSE(log.LastWriteFailed()) << "the next write succeeds once the way is clear";
    EXPECT_EQ(FileText(), "from another thread\r\n");
}

TEST_F(LoggerTest, TheSingleInstanceIsSharedAndMadeOnce)
{
    std::vector<TM_Logger*> seen(8);
    std::vector<std::thread> threads;
    for (size_t i = 0; i < seen.size(); ++i)
        threads.emplace_back([&, i] { seen[i] = TM_Logger::Instance(); });
    for (auto& t : threads)
        t.join();
    for (TM_Logger* p : seen)
        EXPECT_EQ(p, seen[0]);
    seen[0]->AddLine("kept");
    TM_Logger::Release();
    EXPECT_EQ(FileText(), "kept\r\n") << "release writes the file a last time";
    EXPECT_EQ(TM_Logger::Instance()->Lines().Count(), 1) << "the next instance loads it again";
}

TEST_F(LoggerTest, ConcurrentWritersLoseNoLine)
{
    TM_Logger& log = *TM_Logger::Instance();
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&log, t] {
            for (int i = 0; i < 25; ++i) {
                log.BeginEntry("item " + IntToStr(t) + "." + IntToStr(i));
                log.AddLine("line " + IntToStr(t));
            }
        });
    for (auto& t : threads)
        t.join();
    TStringList lines = log.Lines();
    EXPECT_EQ(lines.Count(), 200);
    EXPECT_EQ(FileText(), lines.Text()) << "the file holds exactly the list";
}

TEST_F(LoggerTest, ABatchWritesTheFileOnceAtItsEnd)
{
    TM_Logger log;
    log.AddLine("before");
    log.BeginBatch();
    for (int i = 0; i < 3; ++i) {
        log.BeginEntry("Skipped line " + std::to_string(i + 1));
        log.EndEntry("a protected place", "C:\\x");
    }
    EXPECT_EQ(FileText(), "before\r\n") << "the file while the batch runs";
    log.EndBatch();
    TStringList lines = log.Lines();
    ASSERT_EQ(lines.Count(), 4) << lines.Text();
    EXPECT_EQ(FileText(), lines.Text()) << "the file after the batch";
    EXPECT_EQ(lines[3].substr(8), "   Skipped line 3  C:\\x   a protected place");
}

TEST_F(LoggerTest, ALineAddedDuringAnItemStaysAndTheItemEndsOnItsOwnLine)
{
    TM_Logger log;
    log.BeginEntry("Temp folder");
    log.AddLine("Protected place left alone: C:\\users\\x");
    log.EndEntry("Done...OK", " ");
    TStringList lines = log.Lines();
    ASSERT_EQ(lines.Count(), 2) << lines.Text();
    EXPECT_EQ(lines[0].substr(8), "   Temp folder      Done");
    EXPECT_EQ(lines[1], "Protected place left alone: C:\\users\\x");
}
