// The gateway's warm answer (a cache hit, asked over loopback HTTP as the bar
// asks it) against a plain loopback HTTP round trip of the same size served
// by the same server library; and the gateway's own share without HTTP. The
// memory the weather adds to a process (worker, gateway, server, one fetch)
// is reported as a counter.
#include "weather/GatewayServer.h"
#include "weather/WeatherGateway.h"
#include "weather/WeatherRequests.h"
#include "weather/WeatherWorker.h"

#include <benchmark/benchmark.h>
#include <httplib.h>

#include <fstream>
#include <string>
#include <thread>

using namespace tramble;

namespace {

const char* const kForecast =
    R"({"latitude":30.5,"longitude":114.25,"timezone":"Asia/Shanghai","current":{"time":"2024-03-01T14:15",)"
    R"("temperature_2m":3.6,"relative_humidity_2m":81,"apparent_temperature":-0.4,"is_day":1,"precipitation":0,)"
    R"("weather_code":3,"pressure_msl":1012.3,"wind_speed_10m":11.2,"wind_direction_10m":250,"visibility":24140,)"
    R"("uv_index":0.55},"daily":{"time":["2024-03-01","2024-03-02","2024-03-03"],"weather_code":[3,61,95],)"
    R"("temperature_2m_max":[7.4,5.0,12.6],"temperature_2m_min":[-1.2,0.4,3.0]}})";

// An httplib server on a free loopback port answering every GET with body.
class TPlainServer {
public:
    explicit TPlainServer(std::string body, const char* type) : m_body(std::move(body))
    {
        m_server.set_tcp_nodelay(true);
        m_server.Get(".*",
                     [this, type](const httplib::Request&, httplib::Response& r) { r.set_content(m_body, type); });
        m_port = m_server.bind_to_any_port("127.0.0.1");
        m_thread = std::thread([this] { m_server.listen_after_bind(); });
        while (!m_server.is_running())
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ~TPlainServer()
    {
        m_server.stop();
        m_thread.join();
    }
    std::string Host() const { return "127.0.0.1:" + std::to_string(m_port); }

private:
    std::string m_body;
    httplib::Server m_server;
    int m_port = 0;
    std::thread m_thread;
};

long RssKb()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stol(line.substr(6));
    }
    return 0;
}

// What turning the weather on adds to a process: the worker thread, the
// gateway with its listening server, one fetch through both.
void BM_WeatherOnResidentMemory(benchmark::State& state)
{
    TPlainServer upstream(kForecast, "application/json");
    for (auto _ : state) {
        const long before = RssKb();
        TGatewaySettings settings;
        settings.ForecastBase = "http://" + upstream.Host();
        TWeatherGateway gateway(settings, SystemClock());
        TGatewayServer server(gateway);
        server.Start("127.0.0.1", 0);
        TWeatherWorker worker(SystemClock());
        worker.SetHost("127.0.0.1:" + std::to_string(server.Port()));
        worker.SetCityCode("30.58,114.27");
        worker.Wake();
        while (!worker.Valid())
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        state.counters["rss_added_kb"] = double(RssKb() - before);
    }
}
BENCHMARK(BM_WeatherOnResidentMemory)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_GatewayWarmAnswer(benchmark::State& state)
{
    TPlainServer upstream(kForecast, "application/json");
    TGatewaySettings settings;
    settings.ForecastBase = "http://" + upstream.Host();
    TWeatherGateway gateway(settings, SystemClock());
    TGatewayServer server(gateway);
    server.Start("127.0.0.1", 0);
    THttpClient client;
    const THttpRequest request =
        WeatherServiceRequest(WeatherDataUrl("127.0.0.1:" + std::to_string(server.Port()), "30.58,114.27"));
    if (!client.Get(request).Ok)
        state.SkipWithError("gateway did not answer");
    for (auto _ : state)
        benchmark::DoNotOptimize(client.Get(request));
    state.counters["upstream_calls"] = double(gateway.UpstreamCalls());
}
BENCHMARK(BM_GatewayWarmAnswer)->Unit(benchmark::kMicrosecond)->UseRealTime();

void BM_PlainLoopbackRoundTrip(benchmark::State& state)
{
    TPlainServer upstream(kForecast, "application/json");
    TGatewaySettings settings;
    settings.ForecastBase = "http://" + upstream.Host();
    TWeatherGateway gateway(settings, SystemClock());
    // The same answer the gateway gives, served as a fixed text.
    TPlainServer plain(gateway.WeatherData("30.58,114.27").Body, "text/xml");
    THttpClient client;
    const THttpRequest request = WeatherServiceRequest(WeatherDataUrl(plain.Host(), "30.58,114.27"));
    for (auto _ : state)
        benchmark::DoNotOptimize(client.Get(request));
}
BENCHMARK(BM_PlainLoopbackRoundTrip)->Unit(benchmark::kMicrosecond)->UseRealTime();

void BM_GatewayCacheHitInProcess(benchmark::State& state)
{
    TPlainServer upstream(kForecast, "application/json");
    TGatewaySettings settings;
    settings.ForecastBase = "http://" + upstream.Host();
    TWeatherGateway gateway(settings, SystemClock());
    gateway.WeatherData("30.58,114.27");
    for (auto _ : state)
        benchmark::DoNotOptimize(gateway.WeatherData("30.58,114.27"));
}
BENCHMARK(BM_GatewayCacheHitInProcess)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
