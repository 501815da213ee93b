#include "weather/WeatherGateway.h"

#include <algorithm>
#include <cmath>
#include <thread>

namespace tramble {
namespace {

constexpr size_t kMaxCityName = 200;

template <typename Map> void DropOldest(Map& kept)
{
    auto oldest = std::min_element(kept.begin(), kept.end(),
                                   [](const auto& a, const auto& b) { return a.second.Stored < b.second.Stored; });
    if (oldest != kept.end())
        kept.erase(oldest);
}

TGatewayAnswer PlainAnswer(int status, std::string text)
{
    return {status, std::move(text), "text/plain; charset=utf-8"};
}

} // namespace

struct TWeatherGateway::TFlight {
    THttpClient Http;
    std::thread Thread;
    bool Landed = false;
    TFetched Result;
};

std::string GatewayUserAgent()
{
    return "Tramble/" TRAMBLE_VERSION;
}

TWeatherGateway::TWeatherGateway(TGatewaySettings settings, const TClock& clock)
    : m_settings(std::move(settings)), m_clock(clock)
{
}

void TWeatherGateway::Close()
{
    std::lock_guard lock(m_lock);
    m_stopping = true;
    m_landed.notify_all();
    for (auto& [key, flight] : m_flights)
        flight->Http.Abort();
}

TWeatherGateway::~TWeatherGateway()
{
    Close();
    for (;;) {
        std::vector<std::shared_ptr<TFlight>> open;
        {
            std::lock_guard lock(m_lock);
            for (auto& [key, flight] : m_flights)
                open.push_back(flight);
        }
        if (open.empty())
            break;
        for (auto& flight : open)
            flight->Http.Abort();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    std::unique_lock lock(m_lock);
    ReapFlights(lock);
}

void TWeatherGateway::SetLanguage(TGatewayLanguage language)
{
    std::lock_guard lock(m_lock);
    m_language = language;
}

size_t TWeatherGateway::UpstreamCalls() const
{
    std::lock_guard lock(m_lock);
    return m_upstreamCalls;
}

TGatewayAnswer TWeatherGateway::WeatherData(std::string_view locationCode)
{
    const std::optional<TCoordinates> at = ParseLocationCode(locationCode);
    if (!at)
        return PlainAnswer(400, "unknown location code");
    const std::string code = LocationCode(*at);
    TGatewayLanguage language;
    TPlaceName name{code, {}};
    {
        std::lock_guard lock(m_lock);
        language = m_language;
        if (auto it = m_names.find(code); it != m_names.end())
            name = it->second;
    }
    const std::string key = std::string(LanguageCode(language)) + "|" + code;
    return Serve(m_weather, key, kWeatherFresh, [this, at = *at, name, language](THttpClient& http) {
        return FetchWeather(http, at, name, language);
    });
}

TGatewayAnswer TWeatherGateway::CityFind(std::string_view cityName)
{
    if (cityName.empty() || cityName.size() > kMaxCityName)
        return {200, CityListXml({})};
    TGatewayLanguage language;
    {
        std::lock_guard lock(m_lock);
        language = m_language;
    }
    const std::string key = std::string(LanguageCode(language)) + "|" + std::string(cityName);
    return Serve(m_cities, key, kCitiesFresh, [this, name = std::string(cityName), language](THttpClient& http) {
        return FetchCities(http, name, language);
    });
}

TGatewayAnswer TWeatherGateway::Serve(TKeptMap& kept, const std::string& key, std::chrono::seconds fresh, TFetch fetch)
{
    std::unique_lock lock(m_lock);
    ReapFlights(lock);
    if (auto it = kept.find(key); it != kept.end() && m_clock.Steady() - it->second.Stored < fresh)
        return {200, it->second.Xml};
    if (m_stopping)
        return PlainAnswer(503, "stopping");

    std::shared_ptr<TFlight>& slot = m_flights[key];
    if (!slot) {
        slot = std::make_shared<TFlight>();
        ++m_upstreamCalls;
        slot->Thread = std::thread([this, &kept, key, flight = slot, fetch = std::move(fetch)] {
            Finish(kept, key, flight, fetch(flight->Http));
        });
    }
    const std::shared_ptr<TFlight> flight = slot;
    m_landed.wait_for(lock, m_settings.Patience, [&] { return flight->Landed || m_stopping; });
    if (flight->Landed && flight->Result.Outcome == TOutcome::Answer)
        return {200, flight->Result.Xml};
    if (auto it = kept.find(key); it != kept.end())
        return {200, it->second.Xml}; // stale, but better than none
    if (flight->Landed)
        return PlainAnswer(502, "weather source failed");
    return PlainAnswer(504, "weather source is slow");
}

void TWeatherGateway::Finish(TKeptMap& kept, const std::string& key, const std::shared_ptr<TFlight>& flight,
                             TFetched fetched)
{
    std::lock_guard lock(m_lock);
    if (fetched.Outcome == TOutcome::Answer) {
        kept[key] = {fetched.Xml, m_clock.Steady()};
        if (kept.size() > kMaxKept)
            DropOldest(kept);
        for (const TPlace& place : fetched.Places) {
            if (m_names.size() >= kMaxKept * 4)
                m_names.erase(m_names.begin());
            m_names[LocationCode(place.At)] = {place.Name, PlaceState(place)};
        }
    }
    flight->Result = std::move(fetched);
    flight->Landed = true;
    if (auto it = m_flights.find(key); it != m_flights.end() && it->second == flight)
        m_flights.erase(it);
    m_landedFlights.push_back(flight);
    m_landed.notify_all();
}

void TWeatherGateway::ReapFlights(std::unique_lock<std::mutex>& lock)
{
    std::vector<std::shared_ptr<TFlight>> landed;
    landed.swap(m_landedFlights);
    lock.unlock();
    for (auto& flight : landed) {
        if (flight->Thread.joinable())
            flight->Thread.join();
    }
    lock.lock();
}

THttpRequest TWeatherGateway::UpstreamRequest(std::string url) const
{
    THttpRequest request;
    request.Url = std::move(url);
    request.UserAgent = m_settings.UserAgent.empty() ? GatewayUserAgent() : m_settings.UserAgent;
    request.Headers = {"Accept: application/json"};
    request.ConnectTimeout = std::min(request.ConnectTimeout, m_settings.UpstreamTimeout);
    request.TotalTimeout = m_settings.UpstreamTimeout;
    request.MaxBody = m_settings.UpstreamMaxBody;
    return request;
}

TWeatherGateway::TFetched TWeatherGateway::FetchWeather(THttpClient& http, TCoordinates at, TPlaceName name,
                                                        TGatewayLanguage language) const
{
    const THttpRequest request = UpstreamRequest(ForecastUrl(m_settings.ForecastBase, at));
    if (request.Url.empty())
        return {};
    const THttpResult answer = http.Get(request);
    if (!answer.Ok)
        return {};
    std::optional<TForecastFigures> figures = ParseForecast(answer.Body);
    if (!figures || !std::isfinite(figures->Current.Temperature))
        return {};
    figures->At = at;
    return {TOutcome::Answer, WeatherDataXml(*figures, name, language), {}};
}

TWeatherGateway::TFetched TWeatherGateway::FetchCities(THttpClient& http, std::string name,
                                                       TGatewayLanguage language) const
{
    const THttpRequest request = UpstreamRequest(GeocodingUrl(m_settings.GeocodingBase, name, language));
    if (request.Url.empty())
        return {};
    const THttpResult answer = http.Get(request);
    // The geocoder refuses a name it cannot search for: nothing is found.
    if (answer.Status == 400)
        return {TOutcome::Answer, CityListXml({}), {}};
    if (!answer.Ok)
        return {};
    std::optional<std::vector<TPlace>> places = ParseGeocoding(answer.Body);
    if (!places)
        return {};
    std::string xml = CityListXml(*places);
    return {TOutcome::Answer, std::move(xml), std::move(*places)};
}

} // namespace tramble
