// The weather in a running bar: its start-up and shut-down steps, the timer
// that wakes the worker, the built-in gateway on loopback, the city finder,
// the forecast menu and what the tray draws. Open-Meteo is a server of the
// test's own on loopback.
#include "weather/ui/WeatherController.h"

#include "store/SettingsKeys.h"
#include "support/QtWait.h"
#include "support/TempDir.h"
#include "support/TestBarLink.h"
#include "tray/TrayPictures.h"
#include "tray/ui/TrayController.h"
#include "ui/BarLink.h"
#include "ui/Prompts.h"
#include "weather/OpenMeteoFixtures.h"
#include "weather/Servers.h"
#include "weather/ui/frmFindCity.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSystemTrayIcon>
#include <QTreeWidget>
#include <QWidget>

#include <chrono>

namespace tramble {
namespace {

using namespace std::chrono_literals;

using TestBar = test::TestBarLink;

// Open-Meteo on loopback.
struct TFakeOpenMeteo {
    test::TLoopbackHttp Server{[](const httplib::Request& q, httplib::Response& r) {
        if (q.path == "/v1/forecast")
            r.set_content(test::ForecastJson(), "application/json");
        else if (q.path == "/v1/search")
            r.set_content(test::kGeocodingJson, "application/json");
        else
            r.status = 404;
    }};
};

struct WeatherUi : ::testing::Test {
    TestBar bar;
    TFakeOpenMeteo upstream;

    void SetUp() override
    {
        ReopenPrompts();
        TConfig& c = bar.Config();
        c.ShowWeather = true;
        c.WeatherForecastUrl = upstream.Server.Base();
        c.WeatherGeocodingUrl = upstream.Server.Base();
    }
    void TearDown() override
    {
        SetPromptHook({});
        SetMessageHook({});
    }
    void Load() { ASSERT_FALSE(bar.StartupLoad().RunUntilError().has_value()); }
};

// Answers the finder: types name, searches, picks the first row and confirms.
void PickFirst(QDialog& dialog, const QString& name)
{
    auto& finder = dynamic_cast<TfrmFindCity&>(dialog);
    finder.edtCity->setText(name);
    finder.btnSearch->click(); // returns once the search has ended
    if (finder.lvCity->topLevelItemCount() == 0) {
        finder.btnCancel->click();
        return;
    }
    finder.lvCity->setCurrentItem(finder.lvCity->topLevelItem(0));
    finder.btnOk->click();
}

TEST_F(WeatherUi, FoundCityWeatherReachesTheTrayPictureThroughTheBuiltInGateway)
{
    TWeatherController weather(bar);
    SetPromptHook([](QDialog& d) { PickFirst(d, QStringLiteral("Wuhan")); });
    const std::optional<TCityRow> city = weather.FindCity();
    ASSERT_TRUE(city.has_value());
    EXPECT_EQ(*city, (TCityRow{"Wuhan", "Hubei, China", "30.58,114.27"}));
    EXPECT_TRUE(weather.GatewayRunning());
    EXPECT_EQ(bar.Holds, 0);

    bar.Config().CityCode = city->Location;
    Load();
    EXPECT_TRUE(weather.TimerActive());
    ASSERT_TRUE(test::WaitFor([&] { return !weather.TrayFigures().Humidity.empty(); }, 8000));
    const TTrayWeather figures = weather.TrayFigures();
    EXPECT_EQ(figures.Humidity, "81%");
    EXPECT_EQ(figures.Temperature, 4);
    EXPECT_EQ(figures.WeatherIcon, 7);
    EXPECT_EQ(figures.City, "Wuhan");
    EXPECT_EQ(figures.FailureCount, 0);
    EXPECT_FALSE(figures.UpdateTime.empty());

    TTrayLook look;
    look.Language = &bar.Language();
    const TTrayImage image = DrawWeather(figures, look);
    TTrayCanvas expected(kWhite);
    expected.Draw(WeatherPicture(6));
    EXPECT_TRUE(image.Picture == expected);
    EXPECT_NE(image.Tip.find("Wuhan"), std::string::npos);
    EXPECT_NE(image.Tip.find("Overcast"), std::string::npos);

    const auto seen = upstream.Server.Seen();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[1].Params.find("latitude")->second, "30.58");
}

TEST(WeatherTray, WeatherIconDrawsWhatTheBuiltInGatewayFetched)
{
    TFakeOpenMeteo upstream;
    TestBar bar("[cfg]\nshowWeather=1\nshowFreeMem=0\nshowBattery=0\nshowCPUusage=0\nshowDiskTemp=0\n"
                "showNetMon=0\nshowCPUTemp=0\nCityCode=30.58,114.27\nWeatherForecastUrl=" +
                upstream.Server.Base() + "\nWeatherGeocodingUrl=" + upstream.Server.Base() + "\n");
    test::TempDir system;
    test::TempDir locks;
    TTraySetup setup;
    setup.Roots.Proc = (system.path() / "proc").string();
    setup.Roots.Sys = (system.path() / "sys").string();
    setup.Roots.Dev = (system.path() / "dev").string();
    setup.Roots.SystemBus = "unix:path=" + (system.path() / "no-bus").string();
    setup.LockFolder = locks.path().string();
    TTrayController tray(bar, setup);
    TWeatherController weather(bar);
    weather.ConnectTray(tray);
    ASSERT_FALSE(bar.StartupLoad().RunUntilError().has_value());
    ASSERT_TRUE(tray.IconShown(tiWeather));
    ASSERT_TRUE(test::WaitFor([&] { return !weather.TrayFigures().Humidity.empty(); }, 8000));

    tray.Tick();
    const QImage drawn = tray.Icon(tiWeather)->icon().pixmap(16, 16).toImage().convertToFormat(QImage::Format_ARGB32);
    TTrayCanvas expected(kWhite);
    expected.Draw(WeatherPicture(6)); // WMO 3, overcast
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x)
            ASSERT_EQ(drawn.pixel(x, y), expected.Pixel(x, y)) << x << "," << y;
    }
    EXPECT_TRUE(tray.Icon(tiWeather)->toolTip().contains(QStringLiteral("Overcast")));

    QMenu* menu = tray.WeatherMenu();
    ASSERT_NE(weather.ForecastMenu(), nullptr);
    EXPECT_TRUE(menu->actions().contains(weather.ForecastMenu()->menuAction()));
    EXPECT_EQ(weather.ForecastMenu()->title(), QStringLiteral("Forecast"));
    emit menu->aboutToShow();
    EXPECT_EQ(weather.ForecastMenu()->actions().size(), 3);
    EXPECT_TRUE(weather.ForecastMenu()->menuAction()->isEnabled());
    bar.ShutdownOrder().RunAll();
}

TEST_F(WeatherUi, ForecastMenuShowsTheThreeDaysInTheShownUnit)
{
    bar.Config().CityCode = "30.58,114.27";
    TWeatherController weather(bar);
    QMenu menu;
    weather.FillForecastMenu(menu);
    EXPECT_TRUE(menu.actions().isEmpty());
    EXPECT_FALSE(menu.isEnabled());

    Load();
    ASSERT_TRUE(test::WaitFor([&] { return !weather.TrayFigures().Humidity.empty(); }, 8000));
    weather.FillForecastMenu(menu);
    ASSERT_EQ(menu.actions().size(), 3);
    EXPECT_TRUE(menu.isEnabled());
    EXPECT_TRUE(menu.actions()[0]->text().contains(QStringLiteral("Overcast / Overcast, 7 / -1 °C")))
        << menu.actions()[0]->text().toStdString();
    EXPECT_TRUE(menu.actions()[2]->text().contains(QStringLiteral("Thunderstorm")));
    EXPECT_FALSE(menu.actions()[1]->icon().isNull());

    bar.Config().Metric = false;
    weather.FillForecastMenu(menu);
    ASSERT_EQ(menu.actions().size(), 3);
    EXPECT_TRUE(menu.actions()[0]->text().contains(QStringLiteral("45 / 30 °F")))
        << menu.actions()[0]->text().toStdString();
}

TEST_F(WeatherUi, WeatherOffAsksNobodyAndStartsNoGateway)
{
    bar.Config().ShowWeather = false;
    bar.Config().CityCode = "1,2";
    TWeatherController weather(bar);
    Load();
    EXPECT_FALSE(weather.TimerActive());
    test::WaitFor([] { return false; }, 1500);
    EXPECT_FALSE(weather.GatewayRunning());
    EXPECT_EQ(weather.AttemptCount(), 1);
    EXPECT_EQ(upstream.Server.Count(), 0u);
}

TEST_F(WeatherUi, ConfirmedOptionsStartAndStopTheTimer)
{
    bar.Config().ShowWeather = false;
    bar.Config().CityCode = "30.58,114.27";
    TWeatherController weather(bar);
    Load();
    EXPECT_FALSE(weather.TimerActive());

    bar.Config().ShowWeather = true;
    bar.Settings().WriteFlag(keys::kTempSection, "QueryWeather", true);
    weather.ApplyOptions();
    EXPECT_TRUE(weather.TimerActive());
    EXPECT_EQ(weather.Pacing().Interval(), TWeatherPacing::kFirst);
    ASSERT_TRUE(test::WaitFor([&] { return !weather.TrayFigures().Humidity.empty(); }, 8000));

    // Confirming again with the flag still set restarts the fetch, showing
    // no weather until it arrives.
    weather.ApplyOptions();
    EXPECT_TRUE(weather.TrayFigures().Humidity.empty());
    EXPECT_EQ(weather.Pacing().Interval(), TWeatherPacing::kFirst);

    bar.Config().ShowWeather = false;
    weather.ApplyOptions();
    EXPECT_FALSE(weather.TimerActive());
}

TEST_F(WeatherUi, ShutDownDuringAHangingRequestTakesAboutASecond)
{
    test::TSilentServer silent;
    bar.Config().WeatherHost = silent.Host();
    bar.Config().CityCode = "1,2";
    TWeatherController weather(bar);
    Load();
    ASSERT_TRUE(test::WaitFor([&] { return silent.Accepted() == 1; }, 5000));
    EXPECT_FALSE(weather.GatewayRunning()) << "a set host needs no gateway";
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(bar.ShutdownOrder().RunAll().empty());
    EXPECT_LT(std::chrono::steady_clock::now() - start, 1500ms);
    EXPECT_FALSE(weather.TimerActive());
}

TEST_F(WeatherUi, FinderReportsConnectErrorAfterFiveFailedAttempts)
{
    struct TCase {
        const char* Name;
        bool Accepting; // a server that hangs, cut off by the watchdog; else refused
    };
    for (const TCase& c : {TCase{"refused", false}, TCase{"hanging", true}}) {
        test::TSilentServer service(c.Accepting);
        bar.Config().WeatherHost = service.Host();
        TWeatherController weather(bar);
        QStringList messages;
        SetMessageHook([&](QMessageBox::Icon icon, const QString& text, const QString& caption) {
            EXPECT_EQ(icon, QMessageBox::Warning);
            messages << caption + "|" + text;
            return QMessageBox::Ok;
        });
        bool searchEnabledAfter = false;
        SetPromptHook([&](QDialog& d) {
            auto& finder = dynamic_cast<TfrmFindCity&>(d);
            finder.tmrCity.setInterval(100);
            finder.edtCity->setText(QStringLiteral("Nowhere"));
            finder.btnSearch->click();
            searchEnabledAfter = finder.btnSearch->isEnabled();
            finder.btnCancel->click();
        });
        EXPECT_FALSE(weather.FindCity().has_value()) << c.Name;
        EXPECT_EQ(messages, QStringList{QStringLiteral("Error|Connect Error\r\n")}) << c.Name;
        EXPECT_TRUE(searchEnabledAfter) << c.Name;
        if (c.Accepting) {
            EXPECT_EQ(service.Accepted(), 5u);
        }
    }
}

TEST_F(WeatherUi, CancelEndsASearchWithoutFurtherAttemptsOrMessage)
{
    test::TSilentServer silent;
    bar.Config().WeatherHost = silent.Host();
    TWeatherController weather(bar);
    int messages = 0;
    SetMessageHook([&](QMessageBox::Icon, const QString&, const QString&) {
        ++messages;
        return QMessageBox::Ok;
    });
    SetPromptHook([&](QDialog& d) {
        auto& finder = dynamic_cast<TfrmFindCity&>(d);
        finder.edtCity->setText(QStringLiteral("Wuhan"));
        QTimer::singleShot(300, &finder, [&finder] { finder.btnCancel->click(); });
        finder.btnSearch->click();
    });
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(weather.FindCity().has_value());
    EXPECT_LT(std::chrono::steady_clock::now() - start, 2s);
    EXPECT_EQ(messages, 0);
    EXPECT_EQ(silent.Accepted(), 1u);
}

TEST_F(WeatherUi, FinderControlsFollowTheTypedTextAndTheSelection)
{
    TWeatherController weather(bar);
    bool checked = false;
    SetPromptHook([&](QDialog& d) {
        auto& f = dynamic_cast<TfrmFindCity&>(d);
        EXPECT_FALSE(f.btnSearch->isEnabled());
        EXPECT_FALSE(f.btnOk->isEnabled());
        f.edtCity->setText(QStringLiteral("Wu"));
        EXPECT_TRUE(f.btnSearch->isEnabled());
        f.edtCity->clear();
        EXPECT_FALSE(f.btnSearch->isEnabled());
        f.edtCity->setText(QStringLiteral("Wuhan"));
        emit f.edtCity->returnPressed();
        EXPECT_EQ(f.lvCity->topLevelItemCount(), 2);
        EXPECT_EQ(f.windowTitle(), QStringLiteral("Find <2>"));
        EXPECT_FALSE(f.btnOk->isEnabled());
        f.lvCity->setCurrentItem(f.lvCity->topLevelItem(1));
        EXPECT_TRUE(f.btnOk->isEnabled());
        f.lvCity->clearSelection();
        EXPECT_FALSE(f.btnOk->isEnabled());
        checked = true;
        f.btnCancel->click();
    });
    EXPECT_FALSE(weather.FindCity().has_value());
    EXPECT_TRUE(checked);
}

TEST_F(WeatherUi, ChineseLanguageSearchesInChinese)
{
    TWeatherController weather(bar);
    bar.ChooseLanguage(kLangSimplifiedChinese);
    SetPromptHook([](QDialog& d) { PickFirst(d, QStringLiteral("武汉")); });
    ASSERT_TRUE(weather.FindCity().has_value());
    const auto seen = upstream.Server.Seen();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].Params.find("language")->second, "zh");
    EXPECT_EQ(seen[0].Params.find("name")->second, "武汉");
}

} // namespace
} // namespace tramble
