#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace tramble {

// Units the weather service reports.
struct TUnits {
    std::string Temp;
    std::string Dist;
    std::string Speed;
    std::string Pres;
    std::string Prec;
};

// The place the service reports.
struct TLocation {
    std::string City;
    std::string State;
    double Lat = 0;
    double Lon = 0;
    std::string Time;
};

// One observation; numbers other than the temperature and the icon stay the
// service's text.
struct TWeatherData {
    std::string ObservationTime;
    std::string Pressure;
    int32_t Temperature = 0;
    std::string RealFeel;
    std::string Humidity;
    std::string WeatherText;
    int32_t WeatherIcon = 0;
    std::string WindSpeed;
    std::string WindDirection;
    std::string Visibility;
    std::string Precip;
    std::string UVIndex;
};

// The day or the night part of one forecast day.
struct TWeatherForecast {
    std::string TxtLong;
    int32_t WeatherIcon = 0;
    std::string HighTemperature;
    std::string LowTemperature;
    std::string RealFeelHigh;
    std::string RealFeelLow;
    std::string WindSpeed;
    std::string WindDirection;
    std::string WindGust;
    std::string MaxUV;
    std::string RainAmount;
    std::string SnowAmount; // never filled by the parser
    std::string IceAmount;
    std::string PrecipAmount;
    std::string TStormProb;
};

inline constexpr int kForecastDays = 3;

// The current weather: written whole by the worker, read by the bar.
struct TWeather {
    bool Valid = false;
    double UpdateTime = 0; // local stamp: days since 1899-12-30, time of day as fraction
    TUnits Units;
    TLocation Local;
    TWeatherData CurrentConditions;
    std::array<TWeatherForecast, kForecastDays> DayTime;
    std::array<TWeatherForecast, kForecastDays> NightTime;
};

} // namespace tramble
