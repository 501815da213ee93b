#pragma once

#include "weather/HttpClient.h"

#include <string>
#include <string_view>

namespace tramble {

inline constexpr std::string_view kWeatherDataPath = "/widget/ostre/weather-data.asp";
inline constexpr std::string_view kCityFindPath = "/widget/ostre/city-find.asp";

// Percent-encodes every byte but the unreserved ones (letters, digits, "-._~"),
// so blanks, "&", "#", "/", quotes and UTF-8 text travel as typed.
std::string UrlEncode(std::string_view text);

// Whether text is a host with an optional ":port" ("example.org",
// "127.0.0.1:8080", "[::1]:8080") and nothing else.
bool ValidWeatherHost(std::string_view host);

// The two requests of the weather service; empty for a host that is not valid.
std::string WeatherDataUrl(std::string_view host, std::string_view locationCode);
std::string CitySearchUrl(std::string_view host, std::string_view cityName);

// A GET of the weather service with the client's request settings.
THttpRequest WeatherServiceRequest(std::string url);

} // namespace tramble
