// The tray in a running bar, offscreen: start-up and shut-down steps, the
// per-icon locks between two copies, adding and removing icons, the tick's
// pictures from a fixture system, the menus and their tools.
#include "tray/ui/TrayController.h"

#include "monitors/Fixture.h"
#include "support/QtWait.h"
#include "support/TempDir.h"
#include "support/TestBarLink.h"
#include "tray/DigitGlyphs.h"
#include "ui/BarLink.h"
#include "ui/Prompts.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QSystemTrayIcon>
#include <QWidget>

#include <filesystem>

namespace tramble {
namespace {

using test::Put;
using test::TempDir;

// The tray draws its blinking pictures at second 5 unless a test says otherwise.
class TestBar final : public test::TestBarLink {
public:
    explicit TestBar(const std::string& settings) : TestBarLink(settings) { Seconds = 5; }
};

// A desktop with 4 GB of memory, 1500 MB of it free, and two interfaces.
void PutSystem(const TempDir& dir)
{
    Put(dir, "proc/stat", "cpu  100 0 100 800 0 0 0 0 0 0\ncpu0 100 0 100 800 0 0 0 0 0 0\n");
    Put(dir, "proc/uptime", "500.00 900.00\n");
    Put(dir, "proc/meminfo", "MemTotal: 4194304 kB\nMemAvailable: 1536000 kB\n");
    Put(dir, "proc/net/dev",
        "h|h\nh|h\n eth0: 1000 0 0 0 0 0 0 0 2000 0 0 0 0 0 0 0\n"
        " eth1: 3000 0 0 0 0 0 0 0 4000 0 0 0 0 0 0 0\n");
    Put(dir, "sys/devices/system/cpu/online", "0\n");
    for (const auto& [name, index] : {std::pair{"eth0", "2"}, std::pair{"eth1", "3"}}) {
        Put(dir, std::string("sys/class/net/") + name + "/ifindex", index);
        Put(dir, std::string("sys/class/net/") + name + "/type", "1");
        Put(dir, std::string("sys/class/net/") + name + "/addr_len", "6");
        Put(dir, std::string("sys/class/net/") + name + "/operstate", "up");
    }
}

const std::string kAllShown = "[cfg]\nshowWeather=1\nTrayColor=255\n";

struct TrayControllerTest : ::testing::Test {
    TrayControllerTest() { PutSystem(system); }
    ~TrayControllerTest() override { SetMessageHook({}); }

    TTraySetup TraySetup()
    {
        TTraySetup setup;
        setup.Roots.Proc = (system.path() / "proc").string();
        setup.Roots.Sys = (system.path() / "sys").string();
        setup.Roots.Dev = (system.path() / "dev").string();
        setup.Roots.SystemBus = "unix:path=" + (system.path() / "no-bus").string();
        setup.LockFolder = locks.path().string();
        setup.ToolPath = tools.path().string();
        return setup;
    }

    std::vector<int> Shown(const TTrayController& tray)
    {
        std::vector<int> ids;
        for (int id = 0; id < 8; ++id) {
            if (tray.IconShown(TTrayIconId(id)))
                ids.push_back(id);
        }
        return ids;
    }

    TempDir system;
    TempDir locks;
    TempDir tools;
};

QImage IconImage(const QSystemTrayIcon* icon)
{
    return icon->icon().pixmap(16, 16).toImage().convertToFormat(QImage::Format_ARGB32);
}

TEST_F(TrayControllerTest, LoadShowsEveryMonitorAndShutDownRemovesThem)
{
    TestBar bar(kAllShown);
    TTrayController tray(bar, TraySetup());
    bar.Load();
    EXPECT_EQ(Shown(tray), (std::vector<int>{1, 2, 3, 4, 5, 6, 7}));
    EXPECT_TRUE(tray.TrayTimer().isActive());
    EXPECT_EQ(tray.TrayTimer().interval(), 1000);
    EXPECT_EQ(bar.Config().TrayColor, 255) << "the tray settings are read at start-up";
    bar.ShutDown();
    EXPECT_EQ(Shown(tray), std::vector<int>{});
    EXPECT_FALSE(tray.TrayTimer().isActive());
}

TEST_F(TrayControllerTest, ASecondCopySkipsTheIconsTheFirstShows)
{
    TestBar first(kAllShown);
    TTrayController one(first, TraySetup());
    first.Load();

    TestBar second(kAllShown);
    TTrayController two(second, TraySetup());
    second.Load();
    EXPECT_EQ(Shown(two), std::vector<int>{7}) << "the weather icon has no lock";

    TestBar third("[cfg]\nshowWeather=0\n");
    TTrayController three(third, TraySetup());
    third.Load();
    EXPECT_EQ(Shown(three), std::vector<int>{0}) << "nothing added: the plain icon";

    // The first copy gives its memory icon up; the next to ask gets it.
    one.RemoveTrayIcon(tiFreeMem);
    EXPECT_TRUE(three.AddTrayIcon(tiFreeMem));
    EXPECT_EQ(Shown(three), std::vector<int>{1}) << "the plain icon goes when a monitor comes";
    EXPECT_FALSE(two.AddTrayIcon(tiCpuUsage));
}

TEST_F(TrayControllerTest, ShowSettingsAddAndRemoveIconsInOrder)
{
    TestBar bar("[cfg]\nshowFreeMem=0\nshowBattery=0\nshowCPUusage=0\nshowDiskTemp=0\nshowNetMon=0\nshowCPUTemp=0\n");
    TTrayController tray(bar, TraySetup());
    bar.Load();
    EXPECT_EQ(Shown(tray), std::vector<int>{0});

    bar.Config().ShowBattery = true;
    bar.Config().ShowNetMon = true;
    tray.ApplyShowSettings();
    EXPECT_EQ(Shown(tray), (std::vector<int>{5, 6}));
    EXPECT_TRUE(tray.Icon(tiBattery)->toolTip().isEmpty()) << "a blank picture until the next tick";

    bar.Config().ShowBattery = false;
    bar.Config().ShowNetMon = false;
    tray.ApplyShowSettings();
    EXPECT_EQ(Shown(tray), std::vector<int>{0}) << "nothing left: the plain icon again";

    // Removed icons release their locks.
    TestBar other("[cfg]\nshowFreeMem=0\nshowBattery=1\nshowCPUusage=0\nshowDiskTemp=0\nshowNetMon=0\nshowCPUTemp=0\n");
    TTrayController another(other, TraySetup());
    other.Load();
    EXPECT_EQ(Shown(another), std::vector<int>{5});
}

TEST_F(TrayControllerTest, TickDrawsFromTheSystemAndKeepsThePictureWhenAReadFails)
{
    TestBar bar("[cfg]\nshowBattery=0\nshowCPUusage=0\nshowDiskTemp=0\nshowNetMon=0\nshowCPUTemp=0\nTrayColor=255\n");
    TTrayController tray(bar, TraySetup());
    bar.Load();
    tray.Tick();
    const QImage drawn = IconImage(tray.Icon(tiFreeMem));
    TTrayCanvas digits(kTransparent);
    DrawTrayNumber(digits, 1500, kRed, 1);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            if (digits.Pixel(x, y) != kTransparent) {
                EXPECT_EQ(drawn.pixel(x, y), kRed) << x << "," << y;
            }
        }
    }
    EXPECT_EQ(tray.Icon(tiFreeMem)->toolTip(),
              QStringLiteral("Free physics memories: 1500M\nTotal physics memories: 4096M"));

    std::filesystem::remove(system.path() / "proc/meminfo");
    bar.Seconds = 6;
    tray.Tick();
    EXPECT_EQ(IconImage(tray.Icon(tiFreeMem)), drawn);
    EXPECT_EQ(tray.Icon(tiFreeMem)->toolTip(),
              QStringLiteral("Free physics memories: 1500M\nTotal physics memories: 4096M"));
}

TEST_F(TrayControllerTest, LongTooltipsAreWholeAndTheWeatherComesFromItsSource)
{
    TestBar bar(kAllShown);
    TTrayController tray(bar, TraySetup());
    TTrayWeather weather;
    weather.Humidity = "55%";
    weather.City = std::string(80, 'W');
    weather.WeatherText = "Mostly cloudy w/ showers";
    weather.UpdateTime = "2024-05-01 10:20:30";
    weather.WeatherIcon = 13;
    tray.SetWeatherSource([&] { return weather; });
    bar.Load();
    bar.Seconds = 16;
    tray.Tick();
    EXPECT_EQ(tray.Icon(tiWeather)->toolTip(),
              QString::fromStdString("City Name: " + weather.City +
                                     "\nWeather: Mostly cloudy w/ showers\nUpdate: 2024-05-01 10:20:30"));
}

TEST_F(TrayControllerTest, TickKeepsItsOneSecondTimer)
{
    TestBar bar(kAllShown);
    TTrayController tray(bar, TraySetup());
    bar.Load();
    tray.TrayTimer().setInterval(5);
    tray.Tick();
    EXPECT_TRUE(tray.TrayTimer().isActive());
    EXPECT_EQ(tray.TrayTimer().interval(), 1000);
}

TEST_F(TrayControllerTest, RightClickOpensTheIconsMenuUnlessADialogIsOpen)
{
    TestBar bar(kAllShown);
    TTrayController tray(bar, TraySetup());
    bar.Load();
    struct Case {
        TTrayIconId id;
        const char* menu;
    };
    for (const Case c : {Case{tiFreeMem, "pmTraySys"}, Case{tiCpuUsage, "pmTraySys"}, Case{tiCpuTemp, "pmTraySys"},
                         Case{tiDiskTemp, "pmTraySys"}, Case{tiBattery, "pmTrayBattery"}, Case{tiNetMon, "pmTrayNet"},
                         Case{tiWeather, "pmTrayWeather"}, Case{tiPlain, "pmTray"}}) {
        QMenu* menu = tray.MenuFor(c.id);
        EXPECT_EQ(menu->objectName(), QLatin1String(c.menu)) << c.id;
        bar.Guard = true;
        tray.ShowMenu(c.id, QPoint(100, 100));
        EXPECT_FALSE(menu->isVisible()) << c.id;
        bar.Guard = false;
        tray.ShowMenu(c.id, QPoint(100, 100));
        EXPECT_TRUE(test::WaitFor([&] { return menu->isVisible(); })) << c.id;
        menu->hide();
    }
    tray.IconClicked();
    EXPECT_EQ(bar.Restores, 1);
}

TEST_F(TrayControllerTest, NetworkMenuChoosesTheInterfaceAndStoresIt)
{
    TestBar bar(kAllShown + "[last]\nIPNet=ETH1\n");
    TTrayController tray(bar, TraySetup());
    bar.Load();
    const QList<QAction*> items = tray.Menus().InterfaceItems();
    ASSERT_EQ(items.size(), 2);
    EXPECT_EQ(items[0]->text(), "eth0");
    EXPECT_TRUE(items[1]->isChecked()) << "the stored choice, letter case aside";
    EXPECT_EQ(tray.Monitors().Traffic().NetMon().SelectedInterface(), 2);
    EXPECT_EQ(tray.Menus().pmTrayNet->actions().indexOf(items[0]), 3) << "after Option, Net Connect and a separator";

    items[0]->trigger();
    EXPECT_TRUE(items[0]->isChecked());
    EXPECT_EQ(tray.Monitors().Traffic().NetMon().SelectedInterface(), 1);
    EXPECT_NE(bar.ShutDown().find("IPNet=eth0"), std::string::npos);
}

TEST_F(TrayControllerTest, ReadOnlyModeStoresNoInterfaceAndDisablesOption)
{
    TestBar bar(kAllShown + "[last]\nIPNet=eth1\n");
    TTrayController tray(bar, TraySetup());
    tray.SetOptionsAction([](int) {});
    bar.m_modes.ReadOnlyMode = true;
    bar.Load();
    tray.Menus().InterfaceItems()[0]->trigger();
    EXPECT_FALSE(tray.Menus().pmTraySysOption->isEnabled());
    EXPECT_NE(bar.ShutDown().find("IPNet=eth1"), std::string::npos);
}

TEST_F(TrayControllerTest, OptionItemsOpenTheOptionsAtTheirPage)
{
    TestBar bar(kAllShown);
    TTrayController tray(bar, TraySetup());
    EXPECT_FALSE(tray.Menus().pmTrayOption->isEnabled()) << "nothing to open yet";
    std::vector<int> pages;
    tray.SetOptionsAction([&](int page) { pages.push_back(page); });
    bar.Load();
    tray.Menus().pmTraySysOption->trigger();
    tray.Menus().pmTrayWeatherOption->trigger();
    EXPECT_EQ(pages, (std::vector<int>{-1, TTrayController::kWeatherPage}));
}

TEST_F(TrayControllerTest, MissingToolIsSaidAndAnInstalledOneStarts)
{
    TestBar bar(kAllShown);
    TTrayController tray(bar, TraySetup());
    bar.Load();
    QString said;
    SetMessageHook([&](QMessageBox::Icon, const QString& text, const QString&) {
        said = text;
        return QMessageBox::Ok;
    });
    tray.Menus().pmTrayNetConnect->trigger();
    EXPECT_TRUE(said.contains("nm-connection-editor")) << said.toStdString();
    EXPECT_EQ(bar.Holds, 0);

    said.clear();
    const std::string marker = tools.file("started");
    test::WriteFileBytes(tools.file("nm-connection-editor"), "#!/bin/sh\necho \"$@\" > '" + marker + "'\n");
    std::filesystem::permissions(tools.file("nm-connection-editor"), std::filesystem::perms::owner_all);
    tray.Menus().pmTrayNetNetConnect->trigger();
    EXPECT_TRUE(test::WaitFor([&] { return std::filesystem::exists(marker); }, 5000));
    EXPECT_TRUE(said.isEmpty());
}

TEST_F(TrayControllerTest, CaptionsFollowTheLanguage)
{
    TestBar bar(kAllShown);
    TTrayController tray(bar, TraySetup());
    EXPECT_EQ(tray.Menus().pmTarySysTaskman->text(), "Task Manager");
    bar.ChooseLanguage(kLangSimplifiedChinese);
    EXPECT_EQ(tray.Menus().pmTraySysOption->text(), QStringLiteral("选项"));
    EXPECT_EQ(tray.Menus().pmTrayNetConnect->text(), QStringLiteral("网络连接"));
}

} // namespace
} // namespace tramble
