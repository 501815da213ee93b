#include "weather/WeatherWorker.h"

#include "Servers.h"
#include "Wait.h"
#include "formula/Stamp.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>

namespace tramble {
namespace {

using namespace std::chrono_literals;
using test::WaitUntil;

std::string Answer(const std::string& city, const std::string& humidity)
{
    return "<adc_database><local><city>" + city + "</city></local><currentconditions><humidity>" + humidity +
           "</humidity><temperature>21</temperature><weathericon>3</weathericon></currentconditions></adc_database>";
}

void Reply(httplib::Response& response, const std::string& body, int status = 200)
{
    response.status = status;
    response.set_content(body, "text/xml");
}

// 2024-03-01 12:00:00 UTC: the stamps below are checked against it.
const TClock::WallTime kNoon = TClock::WallTime(std::chrono::seconds(1709294400));

TEST(WeatherWorker, FetchesParsesAndPublishesOnWakeUp)
{
    test::TLoopbackHttp server([](const httplib::Request&, httplib::Response& r) { Reply(r, Answer("Wuhan", "85%")); });
    TManualClock clock(kNoon);
    TWeatherWorker worker(clock);
    worker.SetHost(server.Host());
    worker.SetCityCode("30.58,114.27");
    EXPECT_EQ(worker.AttemptCount(), 1);
    // It never fetches before it is woken.
    std::this_thread::sleep_for(50ms);
    EXPECT_EQ(server.Count(), 0u);

    worker.Wake();
    ASSERT_TRUE(WaitUntil([&] { return worker.Valid(); }));
    const TWeather w = worker.Snapshot();
    EXPECT_EQ(w.Local.City, "Wuhan");
    EXPECT_EQ(w.CurrentConditions.Humidity, "85%");
    EXPECT_EQ(w.CurrentConditions.Temperature, 21);
    EXPECT_DOUBLE_EQ(w.UpdateTime, LocalStamp(kNoon));
    EXPECT_EQ(worker.AttemptCount(), 0);

    const auto seen = server.Seen();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].Path, "/widget/ostre/weather-data.asp");
    EXPECT_EQ(seen[0].Params.find("location")->second, "30.58,114.27");
    EXPECT_EQ(seen[0].Params.find("metric")->second, "1");
    EXPECT_EQ(seen[0].UserAgent, "Mozilla/3.0 (compatible; Indy Library)");
    EXPECT_EQ(seen[0].Accept, "text/html, */*");
    EXPECT_EQ(seen[0].ContentType, "text/html");
}

TEST(WeatherWorker, LocationCodeReachesTheServerIntact)
{
    test::TLoopbackHttp server([](const httplib::Request&, httplib::Response& r) { Reply(r, Answer("x", "1%")); });
    TWeatherWorker worker(SystemClock());
    worker.SetHost(server.Host());
    const std::string code = "a & b #1/2 \"q\" 'r' +武汉";
    worker.SetCityCode(code);
    worker.Wake();
    ASSERT_TRUE(WaitUntil([&] { return worker.Valid(); }));
    EXPECT_EQ(server.Seen().at(0).Params.find("location")->second, code);
}

TEST(WeatherWorker, FailedAttemptsCountAndLeaveTheRecord)
{
    test::TSilentServer refused(false);
    test::TLoopbackHttp server([](const httplib::Request& q, httplib::Response& r) {
        if (q.get_param_value("location") == "error")
            Reply(r, "<adc_database/>", 500);
        else if (q.get_param_value("location") == "huge")
            Reply(r, "<a>" + std::string(1 << 20, 'x') + "</a>");
        else
            Reply(r, Answer("Oslo", "40%"));
    });
    struct TCase {
        const char* Name;
        std::string Host;
        std::string Code;
    };
    const TCase cases[] = {
        {"empty code", server.Host(), ""},          {"refused connection", refused.Host(), "1,2"},
        {"HTTP error", server.Host(), "error"},     {"answer over 1 MB", server.Host(), "huge"},
        {"host that is no host", "no/host", "1,2"},
    };
    for (const TCase& c : cases) {
        TWeatherWorker worker(SystemClock());
        worker.SetHost(server.Host());
        worker.SetCityCode("good");
        worker.Wake();
        ASSERT_TRUE(WaitUntil([&] { return worker.AttemptCount() == 0 && worker.Waiting(); })) << c.Name;
        const size_t before = server.Count();
        worker.SetHost(c.Host);
        worker.SetCityCode(c.Code);
        for (int attempt = 1; attempt <= 3; ++attempt) {
            worker.Wake();
            // The attempt ends before the next wake-up, which would be dropped.
            ASSERT_TRUE(WaitUntil([&] { return worker.AttemptCount() == attempt && worker.Waiting(); })) << c.Name;
        }
        EXPECT_FALSE(worker.Valid()) << c.Name;
        EXPECT_EQ(worker.Snapshot().Local.City, "Oslo") << c.Name;
        if (c.Code.empty()) {
            EXPECT_EQ(server.Count(), before) << c.Name << ": an empty code asks nobody";
        }
    }
}

TEST(WeatherWorker, AnswerThatIsNoWeatherStillCountsAsFetched)
{
    std::atomic<int> calls{0};
    test::TLoopbackHttp server([&](const httplib::Request&, httplib::Response& r) {
        Reply(r, calls++ == 0 ? Answer("Rome", "60%") : std::string("not xml at all"));
    });
    TWeatherWorker worker(SystemClock());
    worker.SetHost(server.Host());
    worker.SetCityCode("1,2");
    worker.Wake();
    ASSERT_TRUE(WaitUntil([&] { return worker.Valid(); }));
    worker.ClearValid();
    ASSERT_TRUE(WaitUntil([&] { return worker.Waiting(); }));
    worker.Wake();
    ASSERT_TRUE(WaitUntil([&] { return worker.Valid(); }));
    EXPECT_EQ(worker.AttemptCount(), 0);
    EXPECT_EQ(worker.Snapshot().Local.City, "Rome");
    EXPECT_EQ(calls, 2);
}

TEST(WeatherWorker, HangingServerIsCutOffAndWakeUpsWhileBusyAreDropped)
{
    test::TSilentServer silent;
    TWeatherWorker worker(SystemClock());
    worker.SetHost(silent.Host());
    worker.SetCityCode("1,2");
    worker.Wake();
    ASSERT_TRUE(WaitUntil([&] { return worker.Busy() && silent.Accepted() == 1; }));
    for (int i = 0; i < 3; ++i)
        worker.Wake(); // not queued: the worker is busy
    std::this_thread::sleep_for(100ms);
    EXPECT_TRUE(worker.Busy());

    worker.Abort();
    ASSERT_TRUE(WaitUntil([&] { return worker.Waiting(); }, 2s));
    EXPECT_EQ(worker.AttemptCount(), 2);
    EXPECT_EQ(silent.Accepted(), 1u);
    EXPECT_FALSE(worker.Valid());

    worker.Wake();
    ASSERT_TRUE(WaitUntil([&] { return silent.Accepted() == 2; }));
    EXPECT_EQ(worker.AttemptCount(), 3);
}

TEST(WeatherWorker, ShutDownDuringARequestReturnsWithinAboutASecond)
{
    test::TSilentServer silent;
    TWeatherWorker worker(SystemClock());
    worker.SetHost(silent.Host());
    worker.SetCityCode("1,2");
    worker.Wake();
    ASSERT_TRUE(WaitUntil([&] { return worker.Busy(); }));
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(worker.Stop());
    EXPECT_LT(std::chrono::steady_clock::now() - start, 1500ms);
    EXPECT_TRUE(worker.Stop()) << "a second stop has nothing left to do";
}

TEST(WeatherWorker, ShutDownOfAnIdleWorkerEndsIt)
{
    TWeatherWorker worker(SystemClock());
    EXPECT_TRUE(worker.Stop());
    worker.Wake(); // nobody waits any more: nothing happens
    EXPECT_EQ(worker.AttemptCount(), 1);
}

TEST(WeatherWorker, ReadersNeverSeeAHalfWrittenRecord)
{
    std::atomic<int> calls{0};
    test::TLoopbackHttp server([&](const httplib::Request&, httplib::Response& r) {
        Reply(r, calls++ % 2 ? Answer("Even", "20%") : Answer("Odd", "10%"));
    });
    TWeatherWorker worker(SystemClock());
    worker.SetHost(server.Host());
    worker.SetCityCode("1,2");
    std::atomic<bool> stop{false};
    std::atomic<int> torn{0};
    std::thread reader([&] {
        while (!stop) {
            const TWeather w = worker.Snapshot();
            const bool odd = w.Local.City == "Odd" && w.CurrentConditions.Humidity == "10%";
            const bool even = w.Local.City == "Even" && w.CurrentConditions.Humidity == "20%";
            if (!odd && !even && !w.Local.City.empty())
                ++torn;
        }
    });
    for (int i = 1; i <= 20; ++i) {
        worker.Wake();
        ASSERT_TRUE(WaitUntil([&] { return calls == i && worker.AttemptCount() == 0 && worker.Waiting(); }));
    }
    stop = true;
    reader.join();
    EXPECT_EQ(torn, 0);
}

} // namespace
} // namespace tramble
