#pragma once

#include "platform/Clock.h"
#include "weather/GatewayXml.h"
#include "weather/HttpClient.h"
#include "weather/WeatherCodes.h"

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace tramble {

struct TGatewaySettings {
    std::string ForecastBase{kOpenMeteoForecast};
    std::string GeocodingBase{kOpenMeteoGeocoding};
    std::string UserAgent; // "Tramble/<version>" when empty
    // How long a client waits for us: past it a stale answer is given, or none.
    std::chrono::milliseconds Patience{4000};
    // Bounds of every upstream answer.
    std::chrono::milliseconds UpstreamTimeout{10000};
    size_t UpstreamMaxBody = size_t(1) << 20;
};

struct TGatewayAnswer {
    int Status = 200;
    std::string Body;
    std::string ContentType = "text/xml; charset=utf-8";
};

// The weather service's two answers made from Open-Meteo: current weather and
// three days by location code ("lat,lon"), places by city name. Answers are
// kept ten minutes per location and a day per search. An upstream call runs
// on a thread of its own and outlives a client that stopped waiting, so its
// answer is kept for the next ask; a client that cannot wait for it gets the
// last answer kept, however old, rather than none. Safe to call from many threads.
class TWeatherGateway {
public:
    static constexpr std::chrono::minutes kWeatherFresh{10};
    static constexpr std::chrono::hours kCitiesFresh{24};
    static constexpr size_t kMaxKept = 512; // per kind; the oldest goes first

    TWeatherGateway(TGatewaySettings settings, const TClock& clock);
    // Close(), then waits for the threads of the upstream calls.
    ~TWeatherGateway();
    TWeatherGateway(const TWeatherGateway&) = delete;
    TWeatherGateway& operator=(const TWeatherGateway&) = delete;

    void SetLanguage(TGatewayLanguage language);
    // Stops answering: clients that wait are let go at once, upstream calls
    // under way are aborted. Does not wait.
    void Close();

    TGatewayAnswer WeatherData(std::string_view locationCode);
    TGatewayAnswer CityFind(std::string_view cityName);

    // Upstream calls made so far (for tests and the benchmark).
    size_t UpstreamCalls() const;

private:
    enum class TOutcome { Answer, Failed };
    struct TFetched {
        TOutcome Outcome = TOutcome::Failed;
        std::string Xml;
        std::vector<TPlace> Places; // a search's results
    };
    struct TFlight;
    struct TKept {
        std::string Xml;
        TClock::SteadyTime Stored;
    };
    using TKeptMap = std::map<std::string, TKept>;
    using TFetch = std::function<TFetched(THttpClient&)>;

    TGatewayAnswer Serve(TKeptMap& kept, const std::string& key, std::chrono::seconds fresh, TFetch fetch);
    void Finish(TKeptMap& kept, const std::string& key, const std::shared_ptr<TFlight>& flight, TFetched fetched);
    void ReapFlights(std::unique_lock<std::mutex>& lock);

    // A GET of Open-Meteo within the bounds of every upstream answer.
    THttpRequest UpstreamRequest(std::string url) const;
    TFetched FetchWeather(THttpClient& http, TCoordinates at, TPlaceName name, TGatewayLanguage language) const;
    TFetched FetchCities(THttpClient& http, std::string name, TGatewayLanguage language) const;

    const TGatewaySettings m_settings;
    const TClock& m_clock;

    mutable std::mutex m_lock;
    std::condition_variable m_landed;
    TGatewayLanguage m_language = TGatewayLanguage::English;
    TKeptMap m_weather;
    TKeptMap m_cities;
    std::map<std::string, TPlaceName> m_names; // location code → name from searches
    std::map<std::string, std::shared_ptr<TFlight>> m_flights;
    std::vector<std::shared_ptr<TFlight>> m_landedFlights; // threads to join
    bool m_stopping = false;
    size_t m_upstreamCalls = 0;
};

// "Tramble/<version>".
std::string GatewayUserAgent();

} // namespace tramble
