#pragma once

#include "weather/Weather.h"

#include <string>
#include <vector>

namespace tramble {

// One day of the forecast as the weather icon's menu shows it.
struct TForecastLine {
    int Day = 0; // 0 for the day of the update, then 1, 2
    std::string DayText;
    std::string NightText;
    std::string High; // in the shown unit, without it
    std::string Low;
    int WeatherIcon = 0; // of the day part
};

// The forecast days that carry any text; temperatures in °F unless metric.
// A temperature that is no number is shown as sent.
std::vector<TForecastLine> ForecastLines(const TWeather& weather, bool metric);

// The time of the last update as date-time text; empty before the first.
std::string UpdateTimeText(const TWeather& weather);

// A temperature in °C as the shown unit gives it, rounded to whole degrees.
int ShownTemperature(int celsius, bool metric);

} // namespace tramble
