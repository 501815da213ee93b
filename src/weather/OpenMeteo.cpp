#include "weather/OpenMeteo.h"

#include "weather/WeatherRequests.h"
#include "weather/WeatherXml.h"

#include <nlohmann/json.hpp>

#include <charconv>
#include <cmath>
#include <limits>

namespace tramble {
namespace {

using nlohmann::json;

constexpr double kNone = std::numeric_limits<double>::quiet_NaN();

constexpr std::string_view kCurrentFields = "temperature_2m,relative_humidity_2m,apparent_temperature,is_day,"
                                            "precipitation,weather_code,pressure_msl,wind_speed_10m,"
                                            "wind_direction_10m,visibility,uv_index";
constexpr std::string_view kDailyFields = "weather_code,temperature_2m_max,temperature_2m_min,"
                                          "apparent_temperature_max,apparent_temperature_min,uv_index_max,"
                                          "precipitation_sum,rain_sum,snowfall_sum,precipitation_probability_max,"
                                          "wind_speed_10m_max,wind_gusts_10m_max,wind_direction_10m_dominant";

std::string CleanBase(std::string_view base)
{
    if (!base.starts_with("http://") && !base.starts_with("https://"))
        return {};
    if (base.ends_with('/'))
        base.remove_suffix(1);
    return std::string(base);
}

double Number(const json& object, const char* key)
{
    auto it = object.find(key);
    return it != object.end() && it->is_number() ? it->get<double>() : kNone;
}

std::string Text(const json& object, const char* key)
{
    auto it = object.find(key);
    return it != object.end() && it->is_string() ? it->get<std::string>() : std::string();
}

int Code(double value)
{
    return std::isfinite(value) && value >= 0 && value < 1000 ? int(value) : -1;
}

// Element i of the daily array of this name, NaN when absent or null.
double DailyNumber(const json& daily, const char* key, size_t i)
{
    auto it = daily.find(key);
    if (it == daily.end() || !it->is_array() || i >= it->size() || !(*it)[i].is_number())
        return kNone;
    return (*it)[i].get<double>();
}

bool ErrorAnswer(const json& doc)
{
    auto it = doc.find("error");
    return it != doc.end() && it->is_boolean() && it->get<bool>();
}

TCoordinates Coordinates(const json& object)
{
    return {Number(object, "latitude"), Number(object, "longitude")};
}

} // namespace

std::string FigureText(double value, int decimals)
{
    if (!std::isfinite(value))
        return {};
    const double scale = std::pow(10.0, decimals);
    double rounded = std::round(value * scale) / scale;
    if (rounded == 0)
        rounded = 0; // no "-0"
    char buffer[64];
    auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, rounded, std::chars_format::fixed, decimals);
    if (error != std::errc())
        return {};
    std::string text(buffer, end);
    if (text.find('.') != std::string::npos) {
        while (text.back() == '0')
            text.pop_back();
        if (text.back() == '.')
            text.pop_back();
    }
    return text;
}

std::string LocationCode(TCoordinates at)
{
    return FigureText(at.Lat, 2) + "," + FigureText(at.Lon, 2);
}

std::optional<TCoordinates> ParseLocationCode(std::string_view code)
{
    const size_t comma = code.find(',');
    if (comma == std::string_view::npos)
        return std::nullopt;
    TCoordinates at;
    if (!TextToDouble(code.substr(0, comma), at.Lat) || !TextToDouble(code.substr(comma + 1), at.Lon))
        return std::nullopt;
    if (std::fabs(at.Lat) > 90 || std::fabs(at.Lon) > 180)
        return std::nullopt;
    return at;
}

std::string ForecastUrl(std::string_view base, TCoordinates at)
{
    std::string url = CleanBase(base);
    if (url.empty())
        return url;
    url += "/v1/forecast?latitude=" + FigureText(at.Lat, 2) + "&longitude=" + FigureText(at.Lon, 2);
    url.append("&current=").append(kCurrentFields);
    url.append("&daily=").append(kDailyFields);
    url += "&timezone=auto&forecast_days=3";
    return url;
}

std::string GeocodingUrl(std::string_view base, std::string_view name, TGatewayLanguage language)
{
    std::string url = CleanBase(base);
    if (url.empty())
        return url;
    url += "/v1/search?name=" + UrlEncode(name) + "&count=10&language=";
    url.append(LanguageCode(language)).append("&format=json");
    return url;
}

std::optional<TForecastFigures> ParseForecast(std::string_view text)
{
    const json doc = json::parse(text, nullptr, false);
    if (!doc.is_object() || ErrorAnswer(doc))
        return std::nullopt;
    auto current = doc.find("current");
    if (current == doc.end() || !current->is_object())
        return std::nullopt;
    TForecastFigures f;
    f.At = Coordinates(doc);
    TCurrentFigures& c = f.Current;
    c.Time = Text(*current, "time");
    c.Temperature = Number(*current, "temperature_2m");
    c.ApparentTemperature = Number(*current, "apparent_temperature");
    c.Humidity = Number(*current, "relative_humidity_2m");
    c.Pressure = Number(*current, "pressure_msl");
    c.WindSpeed = Number(*current, "wind_speed_10m");
    c.WindDirection = Number(*current, "wind_direction_10m");
    c.Visibility = Number(*current, "visibility");
    c.Precipitation = Number(*current, "precipitation");
    c.UvIndex = Number(*current, "uv_index");
    c.WeatherCode = Code(Number(*current, "weather_code"));
    c.IsDay = Number(*current, "is_day") != 0;

    auto daily = doc.find("daily");
    if (daily == doc.end() || !daily->is_object())
        return f;
    auto dates = daily->find("time");
    const size_t days = dates != daily->end() && dates->is_array() ? dates->size() : 0;
    for (size_t i = 0; i < days && i < 3; ++i) {
        TDailyFigures d;
        d.Date = (*dates)[i].is_string() ? (*dates)[i].get<std::string>() : std::string();
        d.WeatherCode = Code(DailyNumber(*daily, "weather_code", i));
        d.TempMax = DailyNumber(*daily, "temperature_2m_max", i);
        d.TempMin = DailyNumber(*daily, "temperature_2m_min", i);
        d.FeelMax = DailyNumber(*daily, "apparent_temperature_max", i);
        d.FeelMin = DailyNumber(*daily, "apparent_temperature_min", i);
        d.WindMax = DailyNumber(*daily, "wind_speed_10m_max", i);
        d.GustMax = DailyNumber(*daily, "wind_gusts_10m_max", i);
        d.WindDirection = DailyNumber(*daily, "wind_direction_10m_dominant", i);
        d.UvMax = DailyNumber(*daily, "uv_index_max", i);
        d.RainSum = DailyNumber(*daily, "rain_sum", i);
        d.SnowSum = DailyNumber(*daily, "snowfall_sum", i);
        d.PrecipSum = DailyNumber(*daily, "precipitation_sum", i);
        d.PrecipProbability = DailyNumber(*daily, "precipitation_probability_max", i);
        f.Days.push_back(std::move(d));
    }
    return f;
}

std::optional<std::vector<TPlace>> ParseGeocoding(std::string_view text)
{
    const json doc = json::parse(text, nullptr, false);
    if (!doc.is_object() || ErrorAnswer(doc))
        return std::nullopt;
    std::vector<TPlace> places;
    auto results = doc.find("results");
    if (results == doc.end() || !results->is_array())
        return places;
    for (const json& r : *results) {
        if (!r.is_object())
            continue;
        TPlace p{Text(r, "name"), Text(r, "admin1"), Text(r, "country"), Coordinates(r)};
        if (p.Name.empty() || !std::isfinite(p.At.Lat) || !std::isfinite(p.At.Lon))
            continue;
        places.push_back(std::move(p));
    }
    return places;
}

} // namespace tramble
