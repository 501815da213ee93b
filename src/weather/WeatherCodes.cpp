#include "weather/WeatherCodes.h"

#include <array>
#include <cmath>

namespace tramble {
namespace {

struct TWmoRow {
    int Code;
    int DayIcon;
    int NightIcon;
    std::string_view English;
    std::string_view Chinese;
};

// Pictures: 1..8 sun and clouds, 11 fog, 12..14 showers, 15..17 storms,
// 18 rain, 19..21 flurries, 22..23 snow, 25 sleet, 26 freezing rain; the
// night pictures 33..44 carry the moon.
constexpr std::array kWmo{
    TWmoRow{0, 1, 33, "Clear sky", "晴"},
    TWmoRow{1, 2, 34, "Mainly clear", "晴间少云"},
    TWmoRow{2, 3, 35, "Partly cloudy", "多云"},
    TWmoRow{3, 7, 7, "Overcast", "阴"},
    TWmoRow{45, 11, 11, "Fog", "雾"},
    TWmoRow{48, 11, 11, "Rime fog", "雾凇"},
    TWmoRow{51, 12, 40, "Light drizzle", "小毛毛雨"},
    TWmoRow{53, 12, 40, "Drizzle", "毛毛雨"},
    TWmoRow{55, 12, 40, "Dense drizzle", "大毛毛雨"},
    TWmoRow{56, 26, 26, "Light freezing drizzle", "小冻毛毛雨"},
    TWmoRow{57, 26, 26, "Freezing drizzle", "冻毛毛雨"},
    TWmoRow{61, 18, 18, "Light rain", "小雨"},
    TWmoRow{63, 18, 18, "Rain", "中雨"},
    TWmoRow{65, 18, 18, "Heavy rain", "大雨"},
    TWmoRow{66, 26, 26, "Light freezing rain", "小冻雨"},
    TWmoRow{67, 26, 26, "Freezing rain", "冻雨"},
    TWmoRow{71, 19, 19, "Light snow", "小雪"},
    TWmoRow{73, 22, 22, "Snow", "中雪"},
    TWmoRow{75, 22, 22, "Heavy snow", "大雪"},
    TWmoRow{77, 19, 19, "Snow grains", "米雪"},
    TWmoRow{80, 14, 39, "Light showers", "小阵雨"},
    TWmoRow{81, 13, 40, "Showers", "阵雨"},
    TWmoRow{82, 18, 18, "Violent showers", "强阵雨"},
    TWmoRow{85, 21, 43, "Light snow showers", "小阵雪"},
    TWmoRow{86, 23, 44, "Snow showers", "阵雪"},
    TWmoRow{95, 15, 15, "Thunderstorm", "雷阵雨"},
    TWmoRow{96, 16, 42, "Thunderstorm with hail", "雷阵雨伴有冰雹"},
    TWmoRow{99, 16, 42, "Thunderstorm with heavy hail", "雷阵雨伴有大冰雹"},
};

const TWmoRow* FindRow(int code)
{
    for (const TWmoRow& row : kWmo) {
        if (row.Code == code)
            return &row;
    }
    return nullptr;
}

} // namespace

std::string_view LanguageCode(TGatewayLanguage language)
{
    return language == TGatewayLanguage::Chinese ? "zh" : "en";
}

int WmoIcon(int wmoCode, bool day)
{
    const TWmoRow* row = FindRow(wmoCode);
    if (!row)
        return 0;
    return day ? row->DayIcon : row->NightIcon;
}

std::string_view WmoText(int wmoCode, TGatewayLanguage language)
{
    const bool chinese = language == TGatewayLanguage::Chinese;
    const TWmoRow* row = FindRow(wmoCode);
    if (!row)
        return chinese ? "未知" : "Unknown";
    return chinese ? row->Chinese : row->English;
}

std::string_view CompassPoint(double degrees)
{
    static constexpr std::array<std::string_view, 16> kPoints{"N", "NNE", "NE", "ENE", "E", "ESE", "SE", "SSE",
                                                              "S", "SSW", "SW", "WSW", "W", "WNW", "NW", "NNW"};
    if (!std::isfinite(degrees))
        return {};
    double d = std::fmod(degrees, 360.0);
    if (d < 0)
        d += 360.0;
    return kPoints[size_t(std::lround(d / 22.5)) % kPoints.size()];
}

} // namespace tramble
