#include "weather/WeatherRequests.h"

#include <cctype>

namespace tramble {
namespace {

bool Unreserved(unsigned char c)
{
    return std::isalnum(c) || c == '-' || c == '.' || c == '_' || c == '~';
}

std::string ServiceUrl(std::string_view host, std::string_view path, std::string_view location)
{
    if (!ValidWeatherHost(host))
        return {};
    std::string url = "http://";
    url.append(host).append(path).append("?location=").append(UrlEncode(location));
    return url;
}

} // namespace

std::string UrlEncode(std::string_view text)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size() * 3);
    for (unsigned char c : text) {
        if (Unreserved(c) && c < 0x80) {
            out += char(c);
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 15];
        }
    }
    return out;
}

bool ValidWeatherHost(std::string_view host)
{
    if (host.empty() || host.front() == ':')
        return false;
    for (unsigned char c : host) {
        if (c >= 0x80 || !(std::isalnum(c) || c == '.' || c == '-' || c == '_' || c == ':' || c == '[' || c == ']'))
            return false;
    }
    return true;
}

std::string WeatherDataUrl(std::string_view host, std::string_view locationCode)
{
    std::string url = ServiceUrl(host, kWeatherDataPath, locationCode);
    if (!url.empty())
        url += "&metric=1";
    return url;
}

std::string CitySearchUrl(std::string_view host, std::string_view cityName)
{
    return ServiceUrl(host, kCityFindPath, cityName);
}

THttpRequest WeatherServiceRequest(std::string url)
{
    THttpRequest request;
    request.Url = std::move(url);
    request.UserAgent = "Mozilla/3.0 (compatible; Indy Library)";
    request.Headers = {"Accept: text/html, */*", "Content-Type: text/html"};
    request.ConnectTimeout = std::chrono::milliseconds(3000);
    return request;
}

} // namespace tramble
