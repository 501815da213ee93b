#pragma once

// Answers written after Open-Meteo's documented formats (forecast API with
// "current" and "daily" blocks, geocoding search, error answers).
#include <string>

namespace tramble::test {

inline std::string ForecastJson(double temperature = 3.6, int code = 3, int isDay = 1, double humidity = 81)
{
    return R"({"latitude":30.5,"longitude":114.25,"generationtime_ms":0.06,"utc_offset_seconds":28800,)"
           R"("timezone":"Asia/Shanghai","timezone_abbreviation":"CST","elevation":27.0,)"
           R"("current_units":{"time":"iso8601","interval":"seconds","temperature_2m":"°C",)"
           R"("relative_humidity_2m":"%","weather_code":"wmo code"},)"
           R"("current":{"time":"2024-03-01T14:15","interval":900,"temperature_2m":)" +
           std::to_string(temperature) + R"(,"relative_humidity_2m":)" + std::to_string(humidity) +
           R"(,"apparent_temperature":-0.4,"is_day":)" + std::to_string(isDay) +
           R"(,"precipitation":0.0,"weather_code":)" + std::to_string(code) +
           R"(,"pressure_msl":1012.34,"wind_speed_10m":11.2,"wind_direction_10m":250,"visibility":24140.0,)"
           R"("uv_index":0.55},)"
           R"("daily_units":{"time":"iso8601","weather_code":"wmo code","temperature_2m_max":"°C"},)"
           R"("daily":{"time":["2024-03-01","2024-03-02","2024-03-03"],"weather_code":[3,61,95],)"
           R"("temperature_2m_max":[7.4,5.0,12.6],"temperature_2m_min":[-1.2,0.4,null],)"
           R"("apparent_temperature_max":[5.1,3.0,11.0],"apparent_temperature_min":[-4.0,-2.2,4.5],)"
           R"("uv_index_max":[2.5,1.1,3.0],"precipitation_sum":[0.0,12.3,4.0],"rain_sum":[0.0,12.3,4.0],)"
           R"("snowfall_sum":[0.0,0.0,0.0],"precipitation_probability_max":[5,90,70],)"
           R"("wind_speed_10m_max":[15.3,20.1,9.0],"wind_gusts_10m_max":[30.2,41.0,18.0],)"
           R"("wind_direction_10m_dominant":[250,180,90]}})";
}

inline const char* const kGeocodingJson =
    R"({"results":[)"
    R"({"id":1791247,"name":"Wuhan","latitude":30.58333,"longitude":114.26667,"elevation":37.0,)"
    R"("feature_code":"PPLA","country_code":"CN","admin1_id":1806949,"timezone":"Asia/Shanghai",)"
    R"("population":9785388,"country_id":1814991,"country":"China","admin1":"Hubei"},)"
    R"({"id":6614567,"name":"Wuhan","latitude":32.03,"longitude":118.73,"feature_code":"PPL",)"
    R"("country_code":"CN","timezone":"Asia/Shanghai","country":"China"}],"generationtime_ms":0.9})";

inline const char* const kGeocodingNothingJson = R"({"generationtime_ms":0.5})";

inline const char* const kErrorJson =
    R"({"error":true,"reason":"Cannot initialize WeatherVariable from invalid String value tempeture_2m for key hourly"})";

} // namespace tramble::test
