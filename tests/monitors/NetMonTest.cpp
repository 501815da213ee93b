#include "monitors/NetMon.h"
#include "monitors/TrafficMonitor.h"
#include "store/FastIniFile.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <memory>
#include <numeric>

using namespace tramble;

namespace {

TIfRow Row(const std::string& name, uint32_t physLength, uint64_t in, uint64_t out)
{
    return TIfRow{name, physLength, in, out};
}

// The interface table a test changes between samples.
struct FakeTable {
    TIfTable rows;
    bool fails = false;
    int reads = 0;
};

TNetMon::TSource SourceOf(const std::shared_ptr<FakeTable>& table)
{
    return [table]() -> TReading<TIfTable> {
        ++table->reads;
        if (table->fails)
            return TReading<TIfTable>::None();
        return table->rows;
    };
}

int32_t WindowSum(const std::array<int32_t, 60>& history)
{
    return std::accumulate(history.begin() + 51, history.end(), 0);
}

} // namespace

TEST(NetDev, CountersOfEachInterfaceLine)
{
    const std::string text =
        "Inter-|   Receive                                                |  Transmit\n"
        " face |bytes    packets errs drop fifo frame compressed multicast|bytes    packets errs drop fifo colls "
        "carrier compressed\n"
        "    lo:    3267      29    0    0    0     0          0         0     3267      29    0    0    0     0 0 0\n"
        "  eth0:18446744073709551615 2635 0 0 0 0 0 0    94235    1204    0    0    0     0       0          0\n"
        "wlan0:1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16\n"
        " bad: 1 2 3\n"
        "  : 1 2 3 4 5 6 7 8 9\n"
        "junk line\n";
    const auto rows = ParseNetDev(text);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].Name, "lo");
    EXPECT_EQ(rows[0].ReceivedBytes, 3267u);
    EXPECT_EQ(rows[1].ReceivedBytes, UINT64_MAX);
    EXPECT_EQ(rows[1].SentBytes, 94235u);
    EXPECT_EQ(rows[2].Name, "wlan0");
    EXPECT_EQ(rows[2].ReceivedBytes, 1u);
    EXPECT_EQ(rows[2].SentBytes, 9u);
}

TEST(NetMon, StartsOnTheFirstInterfaceWithAPhysicalAddress)
{
    auto table = std::make_shared<FakeTable>();
    table->rows = {Row("lo", 0, 500, 500), Row("tun0", 0, 7, 7), Row("eth0", 6, 1000, 2000), Row("wlan0", 6, 0, 0)};
    TNetMon netmon(SourceOf(table));
    netmon.Initialise();
    EXPECT_EQ(netmon.SelectedInterface(), 3);
    EXPECT_EQ(netmon.InterfaceCount(), 4);
    EXPECT_EQ(netmon.InterfaceDescription(3), "eth0");
    EXPECT_EQ(netmon.InterfaceDescription(0), "");
    EXPECT_EQ(netmon.InterfaceDescription(5), "");
    // The start is the baseline: the first sample is the traffic since then.
    table->rows[2] = Row("eth0", 6, 1500, 2100);
    int32_t down = -1;
    int32_t up = -1;
    netmon.SampleTraffic(down, up);
    EXPECT_EQ(down, 500);
    EXPECT_EQ(up, 100);
}

TEST(NetMon, CountersAreTakenModuloTwoToThe32)
{
    const struct {
        uint64_t before;
        uint64_t after;
        int32_t expected;
    } cases[] = {
        {(uint64_t(1) << 32) - 16, 16, 32},                          // 32-bit wrap
        {(uint64_t(5) << 32) + 100, (uint64_t(6) << 32) + 300, 200}, // 64-bit counters: low half only
        {1000, 400, 0},                                              // went backwards: a reset
        {0, 0x7FFFFFFF, 0x7FFFFFFF},
        {0, 0x80000000, 0}, // reads as negative
    };
    for (const auto& c : cases) {
        auto table = std::make_shared<FakeTable>();
        table->rows = {Row("eth0", 6, c.before, c.before)};
        TNetMon netmon(SourceOf(table));
        netmon.Initialise();
        table->rows[0] = Row("eth0", 6, c.after, c.after);
        int32_t down = -1;
        int32_t up = -1;
        netmon.SampleTraffic(down, up);
        EXPECT_EQ(down, c.expected) << c.before << " -> " << c.after;
        EXPECT_EQ(up, c.expected) << c.before << " -> " << c.after;
    }
}

TEST(NetMon, FailedReadsWriteNothingAndEmptyTheTable)
{
    auto table = std::make_shared<FakeTable>();
    table->rows = {Row("eth0", 6, 100, 100)};
    TNetMon netmon(SourceOf(table));
    netmon.Initialise();
    table->fails = true;
    table->rows[0] = Row("eth0", 6, 300, 300);
    int32_t down = 7;
    int32_t up = 8;
    netmon.SampleTraffic(down, up);
    EXPECT_EQ(down, 7);
    EXPECT_EQ(up, 8);
    EXPECT_FALSE(netmon.LastResult());
    EXPECT_EQ(netmon.InterfaceCount(), 0);
    EXPECT_EQ(netmon.SelectedRow(), nullptr);
    table->fails = false;
    netmon.SampleTraffic(down, up);
    EXPECT_EQ(down, 200); // the baseline survived the failed read
}

TEST(NetMon, LoopbackOnlyMachineSelectsNothingUntilPicked)
{
    auto table = std::make_shared<FakeTable>();
    table->rows = {Row("lo", 0, 100, 100)};
    TNetMon netmon(SourceOf(table));
    netmon.Initialise();
    EXPECT_EQ(netmon.SelectedInterface(), -1);
    const int readsAfterStart = table->reads;
    int32_t down = 5;
    int32_t up = 5;
    netmon.SampleTraffic(down, up);
    EXPECT_EQ(down, 5);
    EXPECT_EQ(table->reads, readsAfterStart); // nothing is read without a selection
    EXPECT_EQ(netmon.InterfaceCount(), 1);

    netmon.SelectInterface(1);
    table->rows[0] = Row("lo", 0, 164, 100);
    netmon.SampleTraffic(down, up);
    EXPECT_EQ(down, 64);
    EXPECT_EQ(up, 0);
}

TEST(NetMon, SelectingTakesANewBaseline)
{
    auto table = std::make_shared<FakeTable>();
    table->rows = {Row("eth0", 6, 100, 100), Row("wlan0", 6, 5000, 9000)};
    TNetMon netmon(SourceOf(table));
    netmon.Initialise();
    table->rows = {Row("eth0", 6, 150, 100), Row("wlan0", 6, 6000, 9500)};
    netmon.SelectInterface(2);
    table->rows[1] = Row("wlan0", 6, 6010, 9520);
    int32_t down = -1;
    int32_t up = -1;
    netmon.SampleTraffic(down, up);
    EXPECT_EQ(down, 10);
    EXPECT_EQ(up, 20);
    // Beyond the table nothing changes.
    netmon.SelectInterface(3);
    EXPECT_EQ(netmon.SelectedInterface(), 2);
}

TEST(NetMon, SelectionFollowsItsInterfaceWhenRowsShift)
{
    auto table = std::make_shared<FakeTable>();
    table->rows = {Row("docker0", 6, 0, 0), Row("eth0", 6, 100, 100)};
    TNetMon netmon(SourceOf(table));
    netmon.Initialise();
    netmon.SelectInterface(2);
    // docker0 goes away: eth0 is now row 1, and its delta stays its own.
    table->rows = {Row("eth0", 6, 130, 140)};
    int32_t down = -1;
    int32_t up = -1;
    netmon.SampleTraffic(down, up);
    EXPECT_EQ(netmon.SelectedInterface(), 1);
    EXPECT_EQ(down, 30);
    EXPECT_EQ(up, 40);
    // The selected interface itself goes away: nothing is selected.
    table->rows = {Row("wlan0", 6, 9999, 9999)};
    down = up = -1;
    netmon.SampleTraffic(down, up);
    EXPECT_EQ(netmon.SelectedInterface(), -1);
    EXPECT_EQ(down, -1);
}

TEST(TrafficMonitor, NineSecondsOfTenKilobytesShowNinePointZero)
{
    auto table = std::make_shared<FakeTable>();
    uint64_t counter = 1u << 20;
    table->rows = {Row("eth0", 6, counter, 0)};
    TTrafficMonitor monitor(SourceOf(table));
    monitor.Initialise();
    monitor.Start();
    for (int second = 1; second <= 30; ++second) {
        counter += 10240;
        table->rows = {Row("eth0", 6, counter, 0)};
        monitor.Sample();
        if (second == 9 || second == 30) {
            EXPECT_DOUBLE_EQ(monitor.DownloadRateK(), 9.0) << second;
            EXPECT_EQ(monitor.DownloadHistory()[59], 10240);
        }
    }
    EXPECT_EQ(monitor.UploadRateK(), 0.0);
}

TEST(TrafficMonitor, WindowSumsStayTheNewestNineAcrossRepeats)
{
    auto table = std::make_shared<FakeTable>();
    uint64_t in = 0;
    uint64_t out = 0;
    table->rows = {Row("eth0", 6, in, out)};
    TTrafficMonitor monitor(SourceOf(table));
    monitor.Initialise();
    monitor.Start();
    for (int second = 0; second < 90; ++second) {
        in += static_cast<uint64_t>(second * 37 % 1000);
        out += static_cast<uint64_t>(second * 53 % 700);
        table->rows = {Row("eth0", 6, in, out)};
        table->fails = second % 7 == 3; // a failed read repeats the newest entry
        const int32_t newestDown = monitor.DownloadHistory()[59];
        monitor.Sample();
        if (table->fails) {
            EXPECT_EQ(monitor.DownloadHistory()[59], newestDown);
        }
        EXPECT_EQ(monitor.DownloadWindowSum(), WindowSum(monitor.DownloadHistory())) << second;
        EXPECT_EQ(monitor.UploadWindowSum(), WindowSum(monitor.UploadHistory())) << second;
    }
}

// Nine seconds at a gigabyte per second are far beyond 32 bits: the rates
// stay exact, the 32-bit sums the icon reads stop at their largest value,
// and quiet seconds bring both back down.
TEST(TrafficMonitor, FastLinksNeitherOverflowNorWrap)
{
    auto table = std::make_shared<FakeTable>();
    uint64_t in = 0;
    table->rows = {Row("eth0", 6, in, 0)};
    TTrafficMonitor monitor(SourceOf(table));
    monitor.Initialise();
    monitor.Start();
    struct TPhase {
        int Seconds;
        uint64_t PerSecond;
        double RateK;
        int32_t IconSum;
    };
    const double gigabyte = 1u << 30;
    for (const TPhase& phase :
         {TPhase{12, 1u << 30, 9 * gigabyte / 10240, INT32_MAX}, TPhase{3, 0, 6 * gigabyte / 10240, INT32_MAX},
          TPhase{6, 0, 0.0, 0}, TPhase{9, 0x7FFFFFFF, 9 * double(0x7FFFFFFF) / 10240, INT32_MAX}}) {
        for (int second = 0; second < phase.Seconds; ++second) {
            in += phase.PerSecond;
            table->rows = {Row("eth0", 6, in, 0)};
            monitor.Sample();
        }
        EXPECT_DOUBLE_EQ(monitor.DownloadRateK(), phase.RateK) << phase.PerSecond;
        EXPECT_EQ(monitor.DownloadWindowSum(), phase.IconSum) << phase.PerSecond;
        EXPECT_EQ(monitor.DownloadWindowBytes(),
                  std::accumulate(monitor.DownloadHistory().begin() + 51, monitor.DownloadHistory().end(), int64_t{0}));
        EXPECT_EQ(monitor.UploadWindowSum(), 0);
    }
}

TEST(TrafficMonitor, StartMarksTheSelectedItemOrTheFirstWithAnAddress)
{
    auto table = std::make_shared<FakeTable>();
    table->rows = {Row("lo", 0, 0, 0), Row("eth0", 6, 0, 0)};
    TTrafficMonitor monitor(SourceOf(table));
    monitor.Initialise();
    monitor.Start();
    EXPECT_EQ(monitor.MenuItems(), (std::vector<std::string>{"lo", "eth0"}));
    EXPECT_EQ(monitor.MarkedItem(), 1);
    EXPECT_TRUE(monitor.NetMonAvailable());

    // Only loopback: listed, but nothing is selected until the user picks it.
    auto loopback = std::make_shared<FakeTable>();
    loopback->rows = {Row("lo", 0, 100, 0)};
    TTrafficMonitor only(SourceOf(loopback));
    only.Initialise();
    only.Start();
    EXPECT_EQ(only.MenuItems(), (std::vector<std::string>{"lo"}));
    EXPECT_EQ(only.MarkedItem(), -1);
    EXPECT_EQ(only.NetMon().SelectedInterface(), -1);
    loopback->rows = {Row("lo", 0, 400, 0)};
    only.Sample();
    EXPECT_EQ(only.DownloadHistory()[59], 0);
    only.ItemAction(0);
    loopback->rows = {Row("lo", 0, 700, 0)};
    only.Sample();
    EXPECT_EQ(only.DownloadHistory()[59], 300);

    // The marked interface goes away: loopback and the tunnel before the
    // remaining wired interface are passed over.
    auto changing = std::make_shared<FakeTable>();
    changing->rows = {Row("lo", 0, 0, 0), Row("eth0", 6, 0, 0)};
    TTrafficMonitor watched(SourceOf(changing));
    watched.Initialise();
    watched.Start();
    ASSERT_EQ(watched.MarkedItem(), 1);
    changing->rows = {Row("lo", 0, 0, 0), Row("wg0", 0, 0, 0), Row("eth1", 6, 0, 0)};
    watched.Sample();
    EXPECT_TRUE(watched.WatchInterfaces());
    EXPECT_EQ(watched.MarkedItem(), 2);
    EXPECT_EQ(watched.InterfaceChoice(), "eth1");

    auto none = std::make_shared<FakeTable>();
    none->fails = true;
    TTrafficMonitor unavailable(SourceOf(none));
    unavailable.Initialise();
    unavailable.Start();
    EXPECT_FALSE(unavailable.NetMonAvailable());
    EXPECT_TRUE(unavailable.MenuItems().empty());
    const int reads = none->reads;
    unavailable.Sample();
    EXPECT_EQ(none->reads, reads);
}

TEST(TrafficMonitor, PickingAnItemClearsTheGraphEvenWhenAlreadySelected)
{
    auto table = std::make_shared<FakeTable>();
    table->rows = {Row("eth0", 6, 0, 0)};
    TTrafficMonitor monitor(SourceOf(table));
    monitor.Initialise();
    monitor.Start();
    table->rows = {Row("eth0", 6, 5000, 6000)};
    monitor.Sample();
    ASSERT_EQ(monitor.DownloadWindowSum(), 5000);
    monitor.ItemAction(0);
    EXPECT_EQ(monitor.DownloadWindowSum(), 0);
    EXPECT_EQ(monitor.UploadWindowSum(), 0);
    EXPECT_EQ(monitor.DownloadHistory()[59], 0);
    EXPECT_EQ(monitor.MarkedItem(), 0);
    monitor.ItemAction(3); // no such item
    EXPECT_EQ(monitor.MarkedItem(), 0);
}

TEST(TrafficMonitor, StoredChoiceSelectsByCaption)
{
    auto table = std::make_shared<FakeTable>();
    table->rows = {Row("eth0", 6, 0, 0), Row("wlan0", 6, 0, 0)};
    TTrafficMonitor monitor(SourceOf(table));
    monitor.Initialise();
    monitor.Start();
    monitor.RestoreInterfaceChoice("vpn9");
    EXPECT_EQ(monitor.MarkedItem(), 0); // names nothing: the default stays
    monitor.RestoreInterfaceChoice("&WLAN0");
    EXPECT_EQ(monitor.MarkedItem(), 1);
    EXPECT_EQ(monitor.NetMon().SelectedInterface(), 2);
    EXPECT_EQ(monitor.InterfaceChoice(), "wlan0");

    EXPECT_TRUE(SameCaption("E&th0", "eth0"));
    EXPECT_FALSE(SameCaption("eth0", "eth1"));
}

TEST(TrafficMonitor, ChoiceRoundTripsThroughTheSettings)
{
    tramble::test::TempDir dir;
    auto table = std::make_shared<FakeTable>();
    table->rows = {Row("eth0", 6, 0, 0), Row("wlan0", 6, 0, 0)};
    {
        TTrafficMonitor monitor(SourceOf(table));
        monitor.Initialise();
        monitor.Start();
        monitor.ItemAction(1);
        TFastIniFile settings(dir.file("t.ini"));
        monitor.SaveInterfaceChoice(settings);
        settings.Flush();
    }
    EXPECT_NE(tramble::test::ReadFileBytes(dir.file("t.ini")).find("IPNet=wlan0"), std::string::npos);
    TTrafficMonitor monitor(SourceOf(table));
    monitor.Initialise();
    monitor.Start();
    TFastIniFile settings(dir.file("t.ini"));
    monitor.LoadInterfaceChoice(settings);
    EXPECT_EQ(monitor.MarkedItem(), 1);

    // Without a selection nothing is written over the stored choice.
    auto loopback = std::make_shared<FakeTable>();
    loopback->rows = {Row("lo", 0, 0, 0)};
    TTrafficMonitor bare(SourceOf(loopback));
    bare.Initialise();
    EXPECT_EQ(bare.InterfaceChoice(), std::nullopt);
    bare.SaveInterfaceChoice(settings);
    EXPECT_EQ(settings.ReadText("last", "IPNet", ""), "wlan0");
}

TEST(TrafficMonitor, WatchRebuildsTheItemsAndKeepsTheMarkedOne)
{
    auto table = std::make_shared<FakeTable>();
    table->rows = {Row("eth0", 6, 0, 0), Row("wlan0", 6, 0, 0)};
    TTrafficMonitor monitor(SourceOf(table));
    monitor.Initialise();
    monitor.Start();
    monitor.ItemAction(1);
    monitor.Sample();
    EXPECT_FALSE(monitor.WatchInterfaces());

    // An interface appears before the marked one.
    table->rows = {Row("docker0", 6, 0, 0), Row("eth0", 6, 0, 0), Row("wlan0", 6, 50, 0)};
    monitor.Sample();
    EXPECT_TRUE(monitor.WatchInterfaces());
    EXPECT_EQ(monitor.MenuItems(), (std::vector<std::string>{"docker0", "eth0", "wlan0"}));
    EXPECT_EQ(monitor.MarkedItem(), 2);
    EXPECT_EQ(monitor.NetMon().SelectedInterface(), 3);

    // The same count under other names still rebuilds.
    table->rows = {Row("docker0", 6, 0, 0), Row("eth0", 6, 0, 0), Row("wlan1", 6, 0, 0)};
    monitor.Sample();
    EXPECT_TRUE(monitor.WatchInterfaces());
    EXPECT_EQ(monitor.MenuItems()[2], "wlan1");
    EXPECT_EQ(monitor.MarkedItem(), 0); // the marked one is gone: the first is picked
    EXPECT_TRUE(monitor.NetMonAvailable());

    // A failed read empties the items and stops the monitor.
    table->fails = true;
    monitor.Sample();
    EXPECT_TRUE(monitor.WatchInterfaces());
    EXPECT_TRUE(monitor.MenuItems().empty());
    EXPECT_FALSE(monitor.NetMonAvailable());
}
