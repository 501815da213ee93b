#pragma once

#include "weather/WeatherCodes.h"

#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tramble {

inline constexpr std::string_view kOpenMeteoForecast = "https://api.open-meteo.com";
inline constexpr std::string_view kOpenMeteoGeocoding = "https://geocoding-api.open-meteo.com";

inline constexpr double kNoFigure = std::numeric_limits<double>::quiet_NaN();

// A place on the globe; the gateway's location codes are "lat,lon" with two decimals.
struct TCoordinates {
    double Lat = 0;
    double Lon = 0;
};

std::string LocationCode(TCoordinates at);
// Empty for a text that is no "lat,lon" inside the globe's ranges.
std::optional<TCoordinates> ParseLocationCode(std::string_view code);

// Figures of the forecast answer; NaN where the answer has none.
struct TCurrentFigures {
    std::string Time; // local "YYYY-MM-DDTHH:MM"
    double Temperature = kNoFigure;
    double ApparentTemperature = kNoFigure;
    double Humidity = kNoFigure;
    double Pressure = kNoFigure;
    double WindSpeed = kNoFigure;
    double WindDirection = kNoFigure;
    double Visibility = kNoFigure; // metres
    double Precipitation = kNoFigure;
    double UvIndex = kNoFigure;
    int WeatherCode = -1;
    bool IsDay = true;
};

struct TDailyFigures {
    std::string Date; // "YYYY-MM-DD"
    int WeatherCode = -1;
    double TempMax = kNoFigure;
    double TempMin = kNoFigure;
    double FeelMax = kNoFigure;
    double FeelMin = kNoFigure;
    double WindMax = kNoFigure;
    double GustMax = kNoFigure;
    double WindDirection = kNoFigure;
    double UvMax = kNoFigure;
    double RainSum = kNoFigure;
    double SnowSum = kNoFigure;
    double PrecipSum = kNoFigure;
    double PrecipProbability = kNoFigure;
};

struct TForecastFigures {
    TCoordinates At;
    TCurrentFigures Current;
    std::vector<TDailyFigures> Days;
};

// One result of a city search.
struct TPlace {
    std::string Name;
    std::string Admin1;
    std::string Country;
    TCoordinates At;
};

// The upstream addresses; the bases are "scheme://host[:port][/path]" without
// a trailing "/" (one is dropped). Empty for a base that is not http(s).
std::string ForecastUrl(std::string_view base, TCoordinates at);
std::string GeocodingUrl(std::string_view base, std::string_view name, TGatewayLanguage language);

// Reads a forecast answer; empty when it is not JSON, is an error answer or
// has no "current" object.
std::optional<TForecastFigures> ParseForecast(std::string_view json);
// Reads a geocoding answer; empty when it is not JSON or an error answer; an
// answer without "results" is a search that found nothing.
std::optional<std::vector<TPlace>> ParseGeocoding(std::string_view json);

// A figure as text: rounded to `decimals`, trailing zeros dropped; empty for NaN.
std::string FigureText(double value, int decimals);

} // namespace tramble
