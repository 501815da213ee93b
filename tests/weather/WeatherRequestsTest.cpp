#include "weather/WeatherRequests.h"

#include <gtest/gtest.h>

namespace tramble {
namespace {

TEST(WeatherRequests, QueryValuesArePercentEncoded)
{
    struct TCase {
        std::string Text;
        std::string Encoded;
    };
    const TCase cases[] = {
        {"Wuhan", "Wuhan"},        {"New York", "New%20York"},        {"a&b=c#d/e?f", "a%26b%3Dc%23d%2Fe%3Ff"},
        {"\"'+%", "%22%27%2B%25"}, {"武汉", "%E6%AD%A6%E6%B1%89"},    {"30.58,114.27", "30.58%2C114.27"},
        {"-_.~", "-_.~"},          {std::string("a\0b", 3), "a%00b"},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(UrlEncode(c.Text), c.Encoded) << c.Text;
}

TEST(WeatherRequests, UrlsCarryThePathsAndKeys)
{
    EXPECT_EQ(WeatherDataUrl("example.org", "30.58,114.27"),
              "http://example.org/widget/ostre/weather-data.asp?location=30.58%2C114.27&metric=1");
    EXPECT_EQ(CitySearchUrl("127.0.0.1:8080", "New York"),
              "http://127.0.0.1:8080/widget/ostre/city-find.asp?location=New%20York");
    EXPECT_EQ(CitySearchUrl("[::1]:81", "x"), "http://[::1]:81/widget/ostre/city-find.asp?location=x");
}

TEST(WeatherRequests, HostsThatAreNoHostGiveNoUrl)
{
    for (const char* host : {"", ":80", "a/b", "user@host", "host?x", "host#x", "a b", "http://x", "主机"}) {
        EXPECT_FALSE(ValidWeatherHost(host)) << host;
        EXPECT_EQ(WeatherDataUrl(host, "1,2"), "") << host;
        EXPECT_EQ(CitySearchUrl(host, "x"), "") << host;
    }
    for (const char* host : {"localhost", "weather.example.org:8080", "10.0.0.1", "[::1]:8080"})
        EXPECT_TRUE(ValidWeatherHost(host)) << host;
}

} // namespace
} // namespace tramble
