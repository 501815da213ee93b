#include "weather/ForecastLines.h"

#include "formula/Stamp.h"
#include "weather/WeatherXml.h"

#include <cmath>

namespace tramble {
namespace {

std::string ShownText(const std::string& celsius, bool metric)
{
    double value = 0;
    if (!TextToDouble(celsius, value) || std::fabs(value) > 1e6)
        return celsius;
    return std::to_string(ShownTemperature(int(std::lround(value)), metric));
}

} // namespace

std::string UpdateTimeText(const TWeather& weather)
{
    if (weather.UpdateTime == 0)
        return {};
    try {
        return StampToStr(weather.UpdateTime);
    } catch (const EConvertError&) {
        return {};
    }
}

int ShownTemperature(int celsius, bool metric)
{
    return metric ? celsius : int(std::lround(celsius * 9.0 / 5.0 + 32.0));
}

std::vector<TForecastLine> ForecastLines(const TWeather& weather, bool metric)
{
    std::vector<TForecastLine> lines;
    for (int i = 0; i < kForecastDays; ++i) {
        const TWeatherForecast& day = weather.DayTime[size_t(i)];
        const TWeatherForecast& night = weather.NightTime[size_t(i)];
        if (day.TxtLong.empty() && night.TxtLong.empty() && day.HighTemperature.empty())
            continue;
        lines.push_back({i, day.TxtLong, night.TxtLong, ShownText(day.HighTemperature, metric),
                         ShownText(day.LowTemperature, metric), day.WeatherIcon});
    }
    return lines;
}

} // namespace tramble
