#include "store/SessionState.h"
#include "store/SessionClock.h"
#include "store/StartupOrder.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>

namespace tramble {
namespace {

namespace fs = std::filesystem;
using test::ReadFileBytes;
using test::WriteFileBytes;

TEST(RunCounter, RaisesTheStoredCountAndWritesItAtOnce)
{
    test::TempDir dir;
    WriteFileBytes(dir.file("t.ini"), "[last]\nrun=4\n");
    TFastIniFile ini(dir.file("t.ini"));
    EXPECT_EQ(CountRun(ini), 5);
    TFastIniFile reread(dir.file("t.ini"));
    EXPECT_EQ(reread.ReadNumber("last", "run", 0), 5);
}

// The count needs a writable file; a folder that takes no new file does not
// matter, since the file is then written in place.
TEST(RunCounter, CountsWhereTheFileCanBeWrittenElseRaisesAndLeavesIt)
{
    const auto noWrite = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    struct TCase {
        bool LockFile;
        bool LockFolder;
        bool Counts;
    };
    for (const TCase& c : {TCase{true, false, false}, TCase{false, true, true}, TCase{true, true, false}}) {
        test::TempDir dir;
        const std::string path = dir.file("t.ini");
        WriteFileBytes(path, "[last]\nrun=4\n");
        if (c.LockFile)
            fs::permissions(path, noWrite, fs::perm_options::remove);
        if (c.LockFolder)
            fs::permissions(dir.path(), noWrite, fs::perm_options::remove);
        const std::string name = std::string(c.LockFile ? "file" : "") + (c.LockFolder ? " folder" : "");
        TFastIniFile ini(path);
        if (c.Counts) {
            EXPECT_EQ(CountRun(ini), 5) << name;
            EXPECT_EQ(ReadFileBytes(path), "[last]\r\nrun=5\r\n") << name;
        } else {
            EXPECT_THROW(CountRun(ini), EFileError) << name;
            EXPECT_EQ(ini.ReadNumber("last", "run", 0), 5) << name; // counts for this start
            EXPECT_EQ(ReadFileBytes(path), "[last]\nrun=4\n") << name;
        }
        ini.Reset();
        fs::permissions(dir.path(), fs::perms::owner_all, fs::perm_options::add);
    }
}

TEST(BarPlace, LeftAndTopAreEmptyUntilStored)
{
    test::TempDir dir;
    TFastIniFile ini(dir.file("t.ini"));
    TStoredPlace place = ReadBarPlace(ini);
    EXPECT_FALSE(place.Left);
    EXPECT_FALSE(place.Top);
    EXPECT_EQ(place.Width, 140);
    EXPECT_EQ(place.Height, 32);

    StoreBarPlace(ini, {-5, 700, 300, 80});
    place = ReadBarPlace(ini);
    EXPECT_EQ(place.Left, -5);
    EXPECT_EQ(place.Top, 700);
    EXPECT_EQ(place.Width, 300);
    EXPECT_EQ(place.Height, 80);
}

TEST(CommandHistory, KeepsTheNonEmptyTextsInOrder)
{
    test::TempDir dir;
    WriteFileBytes(dir.file("t.ini"), "[Command]\nCount=4\ncmd1=a\ncmd2=\ncmd3=1+2\ncmd5=beyond count\n");
    TFastIniFile ini(dir.file("t.ini"));
    EXPECT_EQ(ReadCommandHistory(ini), (std::vector<std::string>{"a", "1+2"}));
}

TEST(ShutdownState, RewritesTheHistoryWholeAndDropsTheScratchSection)
{
    test::TempDir dir;
    WriteFileBytes(dir.file("t.ini"), "[temp]\nx=1\n[Command]\nCount=3\ncmd1=a\ncmd2=b\ncmd3=c\n");
    TFastIniFile ini(dir.file("t.ini"));
    TShutdownState state;
    state.Place = TBarPlace{10, 20, 108, 58};
    state.Elapse = 99;
    state.History = std::vector<std::string>{"new"};
    StoreShutdownState(ini, state);

    TFastIniFile reread(dir.file("t.ini"));
    EXPECT_FALSE(reread.HasKey("temp", "x"));
    EXPECT_EQ(ReadCommandHistory(reread), std::vector<std::string>{"new"});
    EXPECT_FALSE(reread.HasKey("Command", "cmd2"));
    EXPECT_EQ(reread.ReadNumber("last", "Left", 0), 10);
    EXPECT_EQ(reread.ReadNumber("last", "Height", 0), 58);
    EXPECT_EQ(reread.ReadNumber("last", "elapse", 0), 99);
}

TEST(ShutdownState, ValuesTheLoadNeverReadKeepTheirStoredText)
{
    test::TempDir dir;
    WriteFileBytes(dir.file("t.ini"),
                   "[last]\nelapse=500\nIPNet=wlan0\nSyncTimeTime=s\nLeft=9\nTop=8\nWidth=7\nHeight=6\n"
                   "[Command]\nCount=1\ncmd1=keep\n");
    TFastIniFile ini(dir.file("t.ini"));
    StoreShutdownState(ini, TShutdownState{});

    TFastIniFile reread(dir.file("t.ini"));
    EXPECT_EQ(ReadBarPlace(reread).Left, 9);
    EXPECT_EQ(ReadBarPlace(reread).Top, 8);
    EXPECT_EQ(ReadBarPlace(reread).Width, 7);
    EXPECT_EQ(ReadBarPlace(reread).Height, 6);
    EXPECT_EQ(reread.ReadNumber("last", "elapse", 0), 500);
    EXPECT_EQ(reread.ReadText("last", "IPNet", ""), "wlan0");
    EXPECT_EQ(reread.ReadText("last", "SyncTimeTime", ""), "s");
    EXPECT_EQ(ReadCommandHistory(reread), std::vector<std::string>{"keep"});
}

TEST(ScratchSection, RemovedWhenThereAndNothingChangesWithoutIt)
{
    test::TempDir dir;
    WriteFileBytes(dir.file("t.ini"), "[last]\nrun=1\n[TEMP]\nx=1\n");
    TFastIniFile ini(dir.file("t.ini"));
    RemoveScratchSection(ini);
    EXPECT_FALSE(ini.HasKey("temp", "x"));
    ini.Flush();
    RemoveScratchSection(ini);
    EXPECT_FALSE(ini.Modified());
}

TEST(SessionClock, CountsEachNewSecondOnceAndSavesEvery8And64)
{
    TSessionClock clock(1000);
    int stores = 0;
    int flushes = 0;
    for (int i = 0; i < 128; ++i) {
        const int second = i % 60;
        for (int look = 0; look < 3; ++look) {
            const TClockTick tick = clock.Look(second);
            EXPECT_EQ(tick.Counted, look == 0);
            stores += tick.StoreState;
            flushes += tick.FlushSettings;
            EXPECT_TRUE(!tick.FlushSettings || tick.StoreState);
        }
    }
    EXPECT_EQ(clock.SecondsCounter(), 128);
    EXPECT_EQ(clock.Elapse(), 1128);
    EXPECT_EQ(stores, 16);
    EXPECT_EQ(flushes, 2);
}

TEST(StartupOrder, RunsStepsInTheirOrderWhateverOrderTheyWereSet)
{
    TStartupLoad load;
    std::vector<TLoadStep> ran;
    for (TLoadStep step : {TLoadStep::BookmarkMenu, TLoadStep::RunCounter, TLoadStep::Language, TLoadStep::Caption})
        load.Set(step, [&ran, step] { ran.push_back(step); });
    TModes modes;
    EXPECT_FALSE(RunStartupLoad(load, modes));
    EXPECT_EQ(ran,
              (std::vector{TLoadStep::RunCounter, TLoadStep::Language, TLoadStep::Caption, TLoadStep::BookmarkMenu}));
}

TEST(StartupOrder, AnErrorEndsTheLoadSilentlyAndClearsLoading)
{
    TStartupLoad load;
    TModes modes;
    bool loadingSeen = false;
    std::vector<TLoadStep> done;
    load.Set(TLoadStep::RunCounter, [&] { loadingSeen = modes.Loading; });
    load.Set(TLoadStep::BarLook, [] { throw std::runtime_error("bad"); });
    load.Set(TLoadStep::Language, [] { FAIL() << "ran after the error"; });
    const auto failed = RunStartupLoad(load, modes, [&](TLoadStep step) { done.push_back(step); });
    EXPECT_EQ(failed, TLoadStep::BarLook);
    EXPECT_TRUE(loadingSeen);
    EXPECT_FALSE(modes.Loading);
    EXPECT_EQ(done, std::vector{TLoadStep::RunCounter});
}

TEST(ShutdownOrder, EveryStepRunsEvenAfterOneFails)
{
    TShutdownOrder order;
    std::vector<TShutdownStep> ran;
    order.Set(TShutdownStep::FreeObjects, [&] { ran.push_back(TShutdownStep::FreeObjects); });
    order.Set(TShutdownStep::StoreState, [&] {
        ran.push_back(TShutdownStep::StoreState);
        throw EFileError("disk full");
    });
    order.Set(TShutdownStep::StopTimers, [&] { ran.push_back(TShutdownStep::StopTimers); });
    EXPECT_EQ(order.RunAll(), std::vector{TShutdownStep::StoreState});
    EXPECT_EQ(ran, (std::vector{TShutdownStep::StopTimers, TShutdownStep::StoreState, TShutdownStep::FreeObjects}));
}

} // namespace
} // namespace tramble
