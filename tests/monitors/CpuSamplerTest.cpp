#include "monitors/CpuHistory.h"
#include "monitors/CpuTimes.h"
#include "monitors/CpuUsage.h"
#include "monitors/PerfDataSampler.h"
#include "monitors/SystemInfoSampler.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <memory>
#include <numeric>

using namespace tramble;

namespace {

const std::string kProcessorObject = "Unable to locate the \"Processor\" performance object";
const std::string kCpuUsageCounter = "Unable to locate the \"% of CPU usage\" performance counter";

// A source that hands out its readings one per call; the last one repeats.
template <class T> std::function<TReading<T>()> Sequence(std::vector<TReading<T>> readings)
{
    auto queue = std::make_shared<std::deque<TReading<T>>>(readings.begin(), readings.end());
    return [queue] {
        TReading<T> next = queue->front();
        if (queue->size() > 1)
            queue->pop_front();
        return next;
    };
}

std::vector<TCpuTimes> Snapshot(int64_t idle, int64_t total)
{
    return {{"cpu0", idle, total}, {"cpu", idle, total}};
}

TPerfDataSampler SamplerOf(std::vector<TReading<std::vector<TCpuTimes>>> snapshots)
{
    return TPerfDataSampler(Sequence(std::move(snapshots)));
}

TSystemInfoSampler SystemSamplerOf(std::vector<TReading<TUptime>> values, int processors)
{
    return TSystemInfoSampler(Sequence(std::move(values)), [processors]() -> TReading<int> {
        if (processors <= 0)
            return TReading<int>::None();
        return processors;
    });
}

} // namespace

TEST(ProcStat, ProcessorLinesThenTotalWithIdleAndAllTicks)
{
    const std::string text = "cpu  10 1 5 100 4 2 3 0 7 0\n"
                             "cpu0 6 0 2 50 1 1 1 0 7 0\n"
                             "cpu1 4 1 3 50 3 1 2 0\n"
                             "intr 1 2 3\n"
                             "cpu9 1 1 1 1\n";
    auto lines = ParseProcStat(text);
    ASSERT_TRUE(lines) << lines.Message();
    ASSERT_EQ(lines.Value().size(), 3u);
    EXPECT_EQ(lines.Value()[0].Name, "cpu0");
    EXPECT_EQ(lines.Value()[1].Name, "cpu1");
    EXPECT_EQ(lines.Value()[2].Name, "cpu");
    // idle + iowait; guest time (7) is part of user time and not counted twice.
    EXPECT_EQ(lines.Value()[2].Idle, 104);
    EXPECT_EQ(lines.Value()[2].Total, 125);
    EXPECT_EQ(lines.Value()[0].Total, 61);
    EXPECT_EQ(lines.Value()[1].Total, 64);
}

TEST(ProcStat, BrokenTextsGiveTheFixedMessages)
{
    const struct {
        const char* text;
        const std::string& message;
    } cases[] = {
        {"", kProcessorObject},
        {"intr 1 2 3\nctxt 5\n", kProcessorObject},
        {"cpu0 1 2 3 4\n", kProcessorObject},
        {"cpu  1 2 3\n", kCpuUsageCounter},
        {"cpu  1 2 3 4\ncpu0 1 x 3 4\n", kCpuUsageCounter},
        {"cpu  1 2 3 -4\n", kCpuUsageCounter},
        {"cpu  1 2 3 99999999999999999999\n", kCpuUsageCounter},
        {"cpu  1 2 3 1152921504606846977\n", kCpuUsageCounter},
    };
    for (const auto& c : cases) {
        auto lines = ParseProcStat(c.text);
        EXPECT_FALSE(lines) << c.text;
        EXPECT_EQ(lines.Message(), c.message) << c.text;
    }
    EXPECT_TRUE(ParseProcStat("cpu 1 2 3 4"));
}

TEST(ProcStat, UptimeInHundredthsAndCpuLists)
{
    auto uptime = ParseUptime("654.95 1091.9\n");
    ASSERT_TRUE(uptime);
    EXPECT_EQ(uptime.Value().Time, 65495);
    EXPECT_EQ(uptime.Value().Idle, 109190);
    EXPECT_EQ(ParseUptime("12 34").Value().Idle, 3400);
    EXPECT_EQ(ParseUptime("1.999 2.5").Value().Time, 199);
    for (const char* bad : {"", "x 1", "12", "-1.0 2.0", "99999999999999999999 1"})
        EXPECT_FALSE(ParseUptime(bad)) << bad;

    const struct {
        const char* text;
        int count;
    } lists[] = {{"0-1\n", 2}, {"0", 1}, {"0-3,6,8-9", 7}, {"", 0}, {"3-1", 0}, {"a", 0}, {"0-", 0}, {"1,,2", 0}};
    for (const auto& l : lists)
        EXPECT_EQ(CountCpuList(l.text), l.count) << l.text;
}

TEST(PerfDataSampler, LoadIsBusyShareOfEachInstance)
{
    TPerfDataSampler sampler = SamplerOf({
        std::vector<TCpuTimes>{{"cpu0", 100, 400}, {"cpu1", 300, 400}, {"cpu", 400, 800}},
        std::vector<TCpuTimes>{{"cpu0", 125, 500}, {"cpu1", 400, 500}, {"cpu", 525, 1000}},
    });
    ASSERT_TRUE(sampler.CollectCpuSample());
    ASSERT_TRUE(sampler.CollectCpuSample());
    EXPECT_EQ(sampler.CpuInstanceCount().Value(), 3);
    EXPECT_DOUBLE_EQ(sampler.CpuLoadFraction(0).Value(), 0.75);
    EXPECT_DOUBLE_EQ(sampler.CpuLoadFraction(1).Value(), 0.0);
    EXPECT_DOUBLE_EQ(sampler.CpuLoadFraction(2).Value(), 0.375);
}

TEST(PerfDataSampler, IndexesOutsideTheInstancesAreRefused)
{
    TPerfDataSampler sampler = SamplerOf({Snapshot(10, 20)});
    // The count is learnt from a first snapshot taken on demand.
    EXPECT_EQ(sampler.CpuInstanceCount().Value(), 2);
    for (int index : {-1, 2, 100})
        EXPECT_EQ(sampler.CpuLoadFraction(index).Message(), "CPU index out of bounds") << index;
    EXPECT_TRUE(sampler.CpuLoadFraction(1));
}

TEST(PerfDataSampler, SameTimestampGivesZero)
{
    TPerfDataSampler sampler = SamplerOf({Snapshot(10, 100), Snapshot(10, 100)});
    sampler.CollectCpuSample();
    sampler.CollectCpuSample();
    EXPECT_EQ(sampler.CpuLoadFraction(1).Value(), 0.0);
}

TEST(PerfDataSampler, FailedSnapshotChangesNothing)
{
    TPerfDataSampler sampler = SamplerOf({
        Snapshot(0, 100),
        Snapshot(50, 200),
        TReading<std::vector<TCpuTimes>>::Error(kCpuUsageCounter),
        TReading<std::vector<TCpuTimes>>::None(),
    });
    sampler.CollectCpuSample();
    sampler.CollectCpuSample();
    EXPECT_EQ(sampler.CollectCpuSample().Message(), kCpuUsageCounter);
    // A source without a message of its own reports the missing object.
    EXPECT_EQ(sampler.CollectCpuSample().Message(), kProcessorObject);
    EXPECT_DOUBLE_EQ(sampler.CpuLoadFraction(1).Value(), 0.5);
}

TEST(PerfDataSampler, InstancesFollowTheirNamesWhenProcessorsGoOffline)
{
    TPerfDataSampler sampler = SamplerOf({
        std::vector<TCpuTimes>{{"cpu0", 0, 100}, {"cpu1", 0, 100}, {"cpu", 0, 200}},
        std::vector<TCpuTimes>{{"cpu1", 90, 200}, {"cpu", 90, 300}},
        std::vector<TCpuTimes>{{"cpu0", 50, 200}, {"cpu1", 90, 200}, {"cpu", 140, 400}},
    });
    sampler.CollectCpuSample();
    sampler.CollectCpuSample();
    EXPECT_EQ(sampler.CpuInstanceCount().Value(), 3);
    EXPECT_DOUBLE_EQ(sampler.CpuLoadFraction(0).Value(), 0.0); // gone: no time passed
    EXPECT_DOUBLE_EQ(sampler.CpuLoadFraction(1).Value(), 0.1);
    EXPECT_DOUBLE_EQ(sampler.CpuLoadFraction(2).Value(), 0.1);
    sampler.CollectCpuSample();
    EXPECT_DOUBLE_EQ(sampler.CpuLoadFraction(0).Value(), 0.5);
    EXPECT_DOUBLE_EQ(sampler.CpuLoadFraction(2).Value(), 0.5);
}

TEST(SystemInfoSampler, FirstCallSetsTheBaseline)
{
    // Initialise reads once. Two processors: per second 200 hundredths of
    // idle time are possible; 50 were idle, so x = 75 and 75.5 rounds to 76.
    TSystemInfoSampler sampler = SystemSamplerOf({TUptime{900, 1400}, TUptime{1000, 1500}, TUptime{1100, 1550}}, 2);
    ASSERT_TRUE(sampler.Initialise());
    EXPECT_EQ(sampler.SystemCpuPercent(), 0);
    EXPECT_EQ(sampler.SystemCpuPercent(), 76);
}

TEST(SystemInfoSampler, RoundsHalfAPercentUpThenTiesToEven)
{
    const struct {
        int64_t idle; // idle hundredths over 1000 hundredths on one processor
        int expected;
    } cases[] = {
        {500, 50},  // x = 50.0: 50.5 rounds to the even 50
        {490, 52},  // x = 51.0: 51.5 rounds to 52
        {498, 51},  // x = 50.2: 50.7
        {1000, 0},  // x = 0: 0.5 rounds to 0
        {0, 100},   // x = 100: 100.5 rounds to 100
        {1200, -20} // more idle than time: left for the caller to limit
    };
    for (const auto& c : cases) {
        TSystemInfoSampler sampler =
            SystemSamplerOf({TUptime{500, 500}, TUptime{1000, 1000}, TUptime{2000, 1000 + c.idle}}, 1);
        ASSERT_TRUE(sampler.Initialise());
        sampler.SystemCpuPercent();
        EXPECT_EQ(sampler.SystemCpuPercent(), c.expected) << c.idle;
    }
}

TEST(SystemInfoSampler, FailedOrStalledReadsGiveZeroAndKeepTheBaseline)
{
    TSystemInfoSampler sampler = SystemSamplerOf(
        {TUptime{900, 900}, TUptime{1000, 1000}, TUptime{1000, 1000}, TReading<TUptime>::None(), TUptime{1100, 1040}},
        1);
    ASSERT_TRUE(sampler.Initialise());
    EXPECT_EQ(sampler.SystemCpuPercent(), 0);
    EXPECT_EQ(sampler.SystemCpuPercent(), 0); // no time passed
    EXPECT_EQ(sampler.SystemCpuPercent(), 0); // read failed
    // Measured from the first baseline: 40 of 100 idle, 60.5 rounds to 60.
    EXPECT_EQ(sampler.SystemCpuPercent(), 60);
}

TEST(SystemInfoSampler, InitialisationNeedsProcessorsAndUptime)
{
    TSystemInfoSampler noCount = SystemSamplerOf({TUptime{1, 1}}, 0);
    EXPECT_EQ(noCount.Initialise().Message(), "Get CPU Usage error!");
    EXPECT_EQ(noCount.SystemCpuPercent(), 0);
    TSystemInfoSampler noUptime = SystemSamplerOf({TReading<TUptime>::None()}, 4);
    EXPECT_EQ(noUptime.Initialise().Message(), "Get CPU Usage error!");
}

TEST(CpuHistory, SumsAfterSixteenSamplesOfFifty)
{
    TCpuHistory history;
    for (int i = 0; i < 16; ++i)
        history.Add(50);
    EXPECT_EQ(history.CpuWindowSum, 750);
    EXPECT_EQ(history.CpuTotalSum, 800);
}

TEST(CpuHistory, LimitsAndKeepsTheWindowSumEqualToTheNewestFifteen)
{
    TCpuHistory history;
    const int samples[] = {130, -7, 99, 0, 100, 45, 250, 3, 61, -1000, 77, 12, 100, 5, 90, 33, 48, 101, 66, 20};
    int total = 0;
    for (int v : samples) {
        history.Add(v);
        total += std::clamp(v, 0, 100);
        EXPECT_EQ(history.Newest(), std::clamp(v, 0, 100));
        EXPECT_EQ(history.CpuWindowSum, std::accumulate(history.CpuHistory.begin() + 1, history.CpuHistory.end(), 0));
    }
    EXPECT_EQ(history.CpuTotalSum, total);
    history.Clear();
    EXPECT_EQ(history.CpuWindowSum + history.CpuTotalSum + history.Newest(), 0);
}

TEST(CpuUsage, StartUpPrefersThePerformanceSampler)
{
    TCpuUsage usage(SamplerOf({Snapshot(0, 100), Snapshot(50, 200), Snapshot(50, 300)}),
                    SystemSamplerOf({TUptime{1, 1}}, 1));
    usage.SelectMethod();
    EXPECT_EQ(usage.CpuUsageMethod(), cumPerfData);
    EXPECT_EQ(usage.Sample().Value(), 50);
    EXPECT_EQ(usage.Sample().Value(), 100);
    EXPECT_EQ(usage.History().CpuTotalSum, 150);
}

TEST(CpuUsage, FallsBackToTheSystemSamplerThenToNone)
{
    const auto broken = TReading<std::vector<TCpuTimes>>::Error(kProcessorObject);
    TCpuUsage usage(SamplerOf({broken}), SystemSamplerOf({TUptime{100, 100}, TUptime{100, 100}, TUptime{200, 120}}, 1));
    usage.SelectMethod();
    EXPECT_EQ(usage.CpuUsageMethod(), cumSystemInfo);
    // The probe's call was the baseline: 20 of 100 idle, 80.5 rounds to 80.
    EXPECT_EQ(usage.Sample().Value(), 80);

    TCpuUsage none(SamplerOf({broken}), SystemSamplerOf({TUptime{1, 1}}, 0));
    none.SelectMethod();
    EXPECT_EQ(none.CpuUsageMethod(), cumNone);
    auto sample = none.Sample();
    EXPECT_FALSE(sample);
    EXPECT_TRUE(sample.Message().empty());
    EXPECT_EQ(none.History().CpuTotalSum, 0);
}

TEST(CpuUsage, FailedSampleReportsAndLeavesTheHistory)
{
    TCpuUsage usage(
        SamplerOf({Snapshot(0, 100), Snapshot(20, 200), TReading<std::vector<TCpuTimes>>::Error(kCpuUsageCounter)}),
        SystemSamplerOf({TUptime{1, 1}}, 1));
    usage.SelectMethod();
    ASSERT_EQ(usage.Sample().Value(), 80);
    const TCpuHistory before = usage.History();
    EXPECT_EQ(usage.Sample().Message(), kCpuUsageCounter);
    EXPECT_EQ(usage.History().CpuHistory, before.CpuHistory);
    EXPECT_EQ(usage.History().CpuWindowSum, before.CpuWindowSum);
    EXPECT_EQ(usage.History().CpuTotalSum, before.CpuTotalSum);
}

TEST(CpuUsage, LoadsOutsideZeroToHundredAreLimited)
{
    // An idle counter running backwards or ahead of the time (per-CPU iowait
    // does both) must not leave 0..100.
    TCpuUsage usage(SamplerOf({Snapshot(100, 1000), Snapshot(50, 1100), Snapshot(400, 1200)}),
                    SystemSamplerOf({TUptime{1, 1}}, 1));
    usage.SelectMethod();
    EXPECT_EQ(usage.Sample().Value(), 100);
    EXPECT_EQ(usage.Sample().Value(), 0);
}
