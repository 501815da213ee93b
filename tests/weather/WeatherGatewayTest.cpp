#include "weather/WeatherGateway.h"

#include "OpenMeteoFixtures.h"
#include "Servers.h"
#include "Wait.h"
#include "weather/GatewayServer.h"
#include "weather/WeatherRequests.h"
#include "weather/WeatherXml.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>

namespace tramble {
namespace {

using namespace std::chrono_literals;

// Open-Meteo on loopback: a forecast and a geocoding endpoint whose answers
// the test chooses.
struct TFakeOpenMeteo {
    std::atomic<int> ForecastStatus{200};
    std::string ForecastBody = test::ForecastJson();
    std::atomic<int> SearchStatus{200};
    std::string SearchBody = test::kGeocodingJson;
    std::atomic<int> DelayMs{0};
    std::mutex Lock; // the bodies

    test::TLoopbackHttp Server{[this](const httplib::Request& q, httplib::Response& r) {
        if (DelayMs > 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(int(DelayMs)));
        std::lock_guard lock(Lock);
        if (q.path == "/v1/forecast") {
            r.status = ForecastStatus;
            r.set_content(ForecastBody, "application/json");
        } else if (q.path == "/v1/search") {
            r.status = SearchStatus;
            r.set_content(SearchBody, "application/json");
        } else {
            r.status = 404;
        }
    }};

    void SetForecast(int status, std::string body)
    {
        std::lock_guard lock(Lock);
        ForecastStatus = status;
        ForecastBody = std::move(body);
    }
    void SetSearch(int status, std::string body)
    {
        std::lock_guard lock(Lock);
        SearchStatus = status;
        SearchBody = std::move(body);
    }
    TGatewaySettings Settings() const
    {
        TGatewaySettings s;
        s.ForecastBase = Server.Base();
        s.GeocodingBase = Server.Base() + "/";
        return s;
    }
};

TWeather Parsed(const TGatewayAnswer& answer)
{
    TWeather w;
    ParseWeatherData(answer.Body, w);
    return w;
}

TEST(WeatherGateway, WeatherAnswerIsTheClientsXml)
{
    TFakeOpenMeteo upstream;
    TManualClock clock;
    TWeatherGateway gateway(upstream.Settings(), clock);
    ASSERT_EQ(gateway.CityFind("Wuhan").Status, 200); // names the place
    const TGatewayAnswer answer = gateway.WeatherData("30.58,114.27");
    ASSERT_EQ(answer.Status, 200) << answer.Body;
    EXPECT_EQ(answer.ContentType, "text/xml; charset=utf-8");
    const TWeather w = Parsed(answer);
    EXPECT_EQ(w.Local.City, "Wuhan");
    EXPECT_EQ(w.Local.State, "Hubei, China");
    EXPECT_DOUBLE_EQ(w.Local.Lat, 30.58);
    EXPECT_EQ(w.Local.Time, "14:15");
    const TWeatherData& c = w.CurrentConditions;
    EXPECT_EQ(c.Temperature, 4);
    EXPECT_EQ(c.RealFeel, "0"); // -0.4 rounds to 0, never "-0"
    EXPECT_EQ(c.Humidity, "81%");
    EXPECT_EQ(c.WeatherText, "Overcast");
    EXPECT_EQ(c.WeatherIcon, 7);
    EXPECT_EQ(c.Pressure, "1012.3");
    EXPECT_EQ(c.WindDirection, "WSW");
    EXPECT_EQ(c.Visibility, "24.1");
    EXPECT_EQ(c.UVIndex, "0.6");
    EXPECT_EQ(w.Units.Temp, "C");
    EXPECT_EQ(w.DayTime[0].HighTemperature, "7");
    EXPECT_EQ(w.DayTime[0].LowTemperature, "-1");
    EXPECT_EQ(w.DayTime[1].TxtLong, "Light rain");
    EXPECT_EQ(w.DayTime[1].WeatherIcon, 18);
    EXPECT_EQ(w.DayTime[2].TxtLong, "Thunderstorm");
    EXPECT_EQ(w.DayTime[2].LowTemperature, ""); // null in the answer
    EXPECT_EQ(w.DayTime[2].TStormProb, "70");
    EXPECT_EQ(w.NightTime[0].WeatherIcon, 7);

    const auto seen = upstream.Server.Seen();
    ASSERT_EQ(seen.size(), 2u);
    const test::TSeenRequest& forecast = seen[1];
    EXPECT_EQ(forecast.Path, "/v1/forecast");
    EXPECT_EQ(forecast.Params.find("latitude")->second, "30.58");
    EXPECT_EQ(forecast.Params.find("longitude")->second, "114.27");
    EXPECT_EQ(forecast.Params.find("timezone")->second, "auto");
    EXPECT_EQ(forecast.Params.find("forecast_days")->second, "3");
    EXPECT_NE(forecast.Params.find("current")->second.find("weather_code"), std::string::npos);
    EXPECT_EQ(forecast.UserAgent, "Tramble/" TRAMBLE_VERSION);
    EXPECT_EQ(forecast.Accept, "application/json");
}

TEST(WeatherGateway, IconsAndTextsFollowDayNightAndLanguage)
{
    struct TCase {
        int Code;
        int IsDay;
        TGatewayLanguage Language;
        int Icon;
        std::string Text;
    };
    const TCase cases[] = {
        {0, 1, TGatewayLanguage::English, 1, "Clear sky"},      {0, 0, TGatewayLanguage::English, 33, "Clear sky"},
        {2, 0, TGatewayLanguage::Chinese, 35, "多云"},          {45, 1, TGatewayLanguage::English, 11, "Fog"},
        {61, 0, TGatewayLanguage::Chinese, 18, "小雨"},         {80, 0, TGatewayLanguage::English, 39, "Light showers"},
        {86, 0, TGatewayLanguage::English, 44, "Snow showers"}, {95, 1, TGatewayLanguage::Chinese, 15, "雷阵雨"},
        {42, 1, TGatewayLanguage::English, 0, "Unknown"},
    };
    for (const TCase& c : cases) {
        TFakeOpenMeteo upstream;
        upstream.SetForecast(200, test::ForecastJson(20, c.Code, c.IsDay));
        TManualClock clock;
        TWeatherGateway gateway(upstream.Settings(), clock);
        gateway.SetLanguage(c.Language);
        const TWeather w = Parsed(gateway.WeatherData("1,2"));
        EXPECT_EQ(w.CurrentConditions.WeatherIcon, c.Icon) << c.Code;
        EXPECT_EQ(w.CurrentConditions.WeatherText, c.Text) << c.Code;
        EXPECT_EQ(w.Local.City, "1,2") << "a code no search named shows as itself";
    }
}

TEST(WeatherGateway, AnswersAreKeptTenMinutesPerPlaceAndADayPerSearch)
{
    TFakeOpenMeteo upstream;
    TManualClock clock;
    TWeatherGateway gateway(upstream.Settings(), clock);
    ASSERT_EQ(gateway.WeatherData("30.58,114.27").Status, 200);
    clock.Advance(9min);
    // The same place written another way is the same place.
    ASSERT_EQ(gateway.WeatherData("30.580,114.2700").Status, 200);
    EXPECT_EQ(gateway.UpstreamCalls(), 1u);
    ASSERT_EQ(gateway.WeatherData("30.57,114.27").Status, 200);
    EXPECT_EQ(gateway.UpstreamCalls(), 2u);
    clock.Advance(2min);
    ASSERT_EQ(gateway.WeatherData("30.58,114.27").Status, 200);
    EXPECT_EQ(gateway.UpstreamCalls(), 3u);

    ASSERT_EQ(gateway.CityFind("Wuhan").Status, 200);
    clock.Advance(23h);
    ASSERT_EQ(gateway.CityFind("Wuhan").Status, 200);
    EXPECT_EQ(gateway.UpstreamCalls(), 4u);
    gateway.SetLanguage(TGatewayLanguage::Chinese);
    ASSERT_EQ(gateway.CityFind("Wuhan").Status, 200);
    EXPECT_EQ(gateway.UpstreamCalls(), 5u) << "names in another language are another search";
    gateway.SetLanguage(TGatewayLanguage::English);
    clock.Advance(1h);
    ASSERT_EQ(gateway.CityFind("Wuhan").Status, 200);
    EXPECT_EQ(gateway.UpstreamCalls(), 6u);
}

TEST(WeatherGateway, UpstreamFaultsFailWithoutAKeptAnswerAndGiveTheOldOneWithIt)
{
    struct TCase {
        const char* Name;
        int Status;
        std::string Body;
    };
    const TCase cases[] = {
        {"error answer", 400, test::kErrorJson},
        {"server error", 500, "Internal Server Error"},
        {"too many requests", 429, R"({"error":true,"reason":"Minutely API request limit exceeded"})"},
        {"not JSON", 200, "<html>maintenance</html>"},
        {"error flag in a 200", 200, test::kErrorJson},
        {"no current block", 200, R"({"latitude":1,"longitude":2,"daily":{}})"},
        {"temperature null", 200, R"({"current":{"temperature_2m":null,"weather_code":1}})"},
        {"over 1 MB", 200, test::ForecastJson() + std::string(1 << 20, ' ')},
        {"truncated JSON", 200, test::ForecastJson().substr(0, 200)},
    };
    for (const TCase& c : cases) {
        TFakeOpenMeteo upstream;
        upstream.SetForecast(c.Status, c.Body);
        TManualClock clock;
        TWeatherGateway gateway(upstream.Settings(), clock);
        const TGatewayAnswer none = gateway.WeatherData("1,2");
        EXPECT_EQ(none.Status, 502) << c.Name;

        upstream.SetForecast(200, test::ForecastJson(10));
        ASSERT_EQ(gateway.WeatherData("1,2").Status, 200) << c.Name;
        clock.Advance(11min);
        upstream.SetForecast(c.Status, c.Body);
        const TGatewayAnswer stale = gateway.WeatherData("1,2");
        EXPECT_EQ(stale.Status, 200) << c.Name;
        EXPECT_EQ(Parsed(stale).CurrentConditions.Temperature, 10) << c.Name;
        EXPECT_EQ(gateway.UpstreamCalls(), 3u) << c.Name;
    }
}

TEST(WeatherGateway, SlowUpstreamAnswersWithinTheClientsPatience)
{
    TFakeOpenMeteo upstream;
    TManualClock clock;
    TGatewaySettings settings = upstream.Settings();
    settings.Patience = 300ms;
    TWeatherGateway gateway(settings, clock);
    upstream.DelayMs = 1000;
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(gateway.WeatherData("1,2").Status, 504);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 900ms);
    // The call goes on and its answer is kept for the next ask.
    ASSERT_TRUE(test::WaitUntil([&] { return upstream.Server.Count() == 1; }));
    std::this_thread::sleep_for(1200ms);
    EXPECT_EQ(gateway.WeatherData("1,2").Status, 200);
    EXPECT_EQ(gateway.UpstreamCalls(), 1u);

    // Once the kept answer is old, a slow upstream gets the old one sent.
    upstream.SetForecast(200, test::ForecastJson(-8));
    clock.Advance(11min);
    start = std::chrono::steady_clock::now();
    const TGatewayAnswer stale = gateway.WeatherData("1,2");
    EXPECT_LT(std::chrono::steady_clock::now() - start, 900ms);
    EXPECT_EQ(stale.Status, 200);
    EXPECT_EQ(Parsed(stale).CurrentConditions.Temperature, 4);
}

TEST(WeatherGateway, ManyClientsAtOnceMakeOneUpstreamCall)
{
    TFakeOpenMeteo upstream;
    upstream.DelayMs = 200;
    TManualClock clock;
    TWeatherGateway gateway(upstream.Settings(), clock);
    std::atomic<int> ok{0};
    std::vector<std::thread> clients;
    for (int i = 0; i < 8; ++i)
        clients.emplace_back([&] { ok += gateway.WeatherData("5,5").Status == 200; });
    for (std::thread& t : clients)
        t.join();
    EXPECT_EQ(ok, 8);
    EXPECT_EQ(gateway.UpstreamCalls(), 1u);
    EXPECT_EQ(upstream.Server.Count(), 1u);
}

TEST(WeatherGateway, ClosingAbortsAHangingUpstreamCall)
{
    test::TSilentServer silent;
    TGatewaySettings settings;
    settings.ForecastBase = "http://" + silent.Host();
    settings.Patience = 100ms;
    TManualClock clock;
    auto gateway = std::make_unique<TWeatherGateway>(settings, clock);
    EXPECT_EQ(gateway->WeatherData("1,2").Status, 504);
    ASSERT_TRUE(test::WaitUntil([&] { return silent.Accepted() == 1; }));
    const auto start = std::chrono::steady_clock::now();
    gateway.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 1s);
}

TEST(WeatherGateway, CitySearchAnswers)
{
    struct TCase {
        const char* Name;
        int Status;
        std::string Body;
        int GatewayStatus;
        std::vector<TCityRow> Rows;
    };
    const TCase cases[] = {
        {"places",
         200,
         test::kGeocodingJson,
         200,
         {{"Wuhan", "Hubei, China", "30.58,114.27"}, {"Wuhan", "China", "32.03,118.73"}}},
        {"nothing found", 200, test::kGeocodingNothingJson, 200, {}},
        {"name refused", 400, R"({"error":true,"reason":"Parameter count must be between 1 and 100."})", 200, {}},
        {"server error", 503, "busy", 502, {}},
        {"not JSON", 200, "[1,", 502, {}},
        {"results of odd shape",
         200,
         R"({"results":[1,{"name":"X"},{"name":"Y","latitude":1,"longitude":2}]})",
         200,
         {{"Y", "", "1,2"}}},
    };
    for (const TCase& c : cases) {
        TFakeOpenMeteo upstream;
        upstream.SetSearch(c.Status, c.Body);
        TManualClock clock;
        TWeatherGateway gateway(upstream.Settings(), clock);
        const TGatewayAnswer answer = gateway.CityFind("Wuhan");
        EXPECT_EQ(answer.Status, c.GatewayStatus) << c.Name;
        EXPECT_EQ(ParseCityList(answer.Body), c.Rows) << c.Name;
    }
}

TEST(WeatherGateway, SearchAsksInTheUsersLanguage)
{
    TFakeOpenMeteo upstream;
    TManualClock clock;
    TWeatherGateway gateway(upstream.Settings(), clock);
    gateway.CityFind("Paris");
    gateway.SetLanguage(TGatewayLanguage::Chinese);
    gateway.CityFind("武汉");
    const auto seen = upstream.Server.Seen();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].Params.find("language")->second, "en");
    EXPECT_EQ(seen[1].Params.find("language")->second, "zh");
    EXPECT_EQ(seen[1].Params.find("name")->second, "武汉");
    EXPECT_EQ(seen[1].Params.find("format")->second, "json");
}

TEST(WeatherGateway, BadLocationCodesAndNamesAskNobody)
{
    TFakeOpenMeteo upstream;
    TManualClock clock;
    TWeatherGateway gateway(upstream.Settings(), clock);
    for (const char* code : {"", "Wuhan", "1", "1,", ",1", "91,0", "0,181", "nan,1", "1,2,3", "1;2"})
        EXPECT_EQ(gateway.WeatherData(code).Status, 400) << code;
    EXPECT_TRUE(ParseCityList(gateway.CityFind("").Body).empty());
    EXPECT_TRUE(ParseCityList(gateway.CityFind(std::string(300, 'x')).Body).empty());
    EXPECT_EQ(upstream.Server.Count(), 0u);
}

TEST(GatewayServer, HostileCityNamesReachUpstreamIntact)
{
    TFakeOpenMeteo upstream;
    TWeatherGateway gateway(upstream.Settings(), SystemClock());
    TGatewayServer server(gateway);
    ASSERT_TRUE(server.Start("127.0.0.1", 0));
    const std::string host = "127.0.0.1:" + std::to_string(server.Port());
    const std::vector<std::string> names{
        "a&b=c", "#hash", "a/b/../c", "\"quoted\" 'single'", "São Paulo", "武汉", "100%", "+plus+", "a\tb", "x?y"};
    THttpClient client;
    for (const std::string& name : names) {
        const THttpResult result = client.Get(WeatherServiceRequest(CitySearchUrl(host, name)));
        ASSERT_TRUE(result.Ok) << name << ": " << result.Error;
        EXPECT_EQ(ParseCityList(result.Body).size(), 2u) << name;
    }
    const auto seen = upstream.Server.Seen();
    ASSERT_EQ(seen.size(), names.size());
    for (size_t i = 0; i < names.size(); ++i)
        EXPECT_EQ(seen[i].Params.find("name")->second, names[i]);
}

TEST(GatewayServer, AnswersOnlyTheTwoPaths)
{
    TFakeOpenMeteo upstream;
    TWeatherGateway gateway(upstream.Settings(), SystemClock());
    TGatewayServer server(gateway);
    ASSERT_TRUE(server.Start("127.0.0.1", 0));
    const std::string base = "http://127.0.0.1:" + std::to_string(server.Port());
    THttpClient client;
    struct TCase {
        std::string Path;
        long Status;
    };
    const TCase cases[] = {
        {"/widget/ostre/weather-data.asp?location=1,2&metric=1", 200},
        {"/widget/ostre/city-find.asp?location=Wuhan", 200},
        {"/widget/ostre/weather-data.asp?location=Wuhan", 400},
        {"/widget/ostre/weather-dataXasp?location=1,2", 404},
        {"/", 404},
        {"/v1/forecast", 404},
    };
    for (const TCase& c : cases) {
        THttpRequest request;
        request.Url = base + c.Path;
        EXPECT_EQ(client.Get(request).Status, c.Status) << c.Path;
    }
    server.Stop();
    THttpRequest request;
    request.Url = base + "/";
    EXPECT_EQ(client.Get(request).Status, 0) << "nothing listens once stopped";
}

TEST(GatewayServer, ListenAddresses)
{
    struct TCase {
        const char* Text;
        bool Ok;
        std::string Host;
        int Port;
    };
    const TCase cases[] = {
        {"127.0.0.1:8080", true, "127.0.0.1", 8080},
        {"[::1]:80", true, "::1", 80},
        {"0.0.0.0:0", true, "0.0.0.0", 0},
        {"localhost", false, "", 0},
        {":80", false, "", 0},
        {"a:65536", false, "", 0},
        {"a:-1", false, "", 0},
        {"a:x", false, "", 0},
        {"[]:1", false, "", 0},
    };
    for (const TCase& c : cases) {
        const auto parsed = ParseListenAddress(c.Text);
        EXPECT_EQ(parsed.has_value(), c.Ok) << c.Text;
        if (parsed && c.Ok) {
            EXPECT_EQ(parsed->Host, c.Host) << c.Text;
            EXPECT_EQ(parsed->Port, c.Port) << c.Text;
        }
    }
}

} // namespace
} // namespace tramble
