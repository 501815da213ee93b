#include "weather/WeatherXml.h"

#include "weather/XmlDocument.h"

#include <charconv>
#include <string>

namespace tramble {
namespace {

// Ends a parse early; what was read before stays.
struct TStopParse {};

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

int32_t ToInt(const std::string& text)
{
    int32_t value = 0;
    if (!TextToInt32(text, value))
        throw TStopParse{};
    return value;
}

double ToDouble(const std::string& text)
{
    double value = 0;
    if (!TextToDouble(text, value))
        throw TStopParse{};
    return value;
}

void ReadUnits(const xmlNode* units, TUnits& u)
{
    u.Temp = ChildText(units, "temp", "C");
    u.Dist = ChildText(units, "dist", "km");
    u.Speed = ChildText(units, "speed", "km/h");
    u.Pres = ChildText(units, "pres", "KPA");
    u.Prec = ChildText(units, "prec", "mm");
}

void ReadLocal(const xmlNode* local, TLocation& l)
{
    l.City = ChildText(local, "city", "");
    l.State = ChildText(local, "state", "");
    l.Lat = ToDouble(ChildText(local, "lat", "0"));
    l.Lon = ToDouble(ChildText(local, "lon", "0"));
    l.Time = ChildText(local, "time", "0:0");
}

void ReadCurrent(const xmlNode* cc, TWeatherData& d)
{
    d.ObservationTime = ChildText(cc, "observationtime", "0");
    d.Pressure = ChildText(cc, "pressure", "0");
    d.Temperature = ToInt(ChildText(cc, "temperature", "0"));
    d.RealFeel = ChildText(cc, "realfeel", "0");
    d.Humidity = ChildText(cc, "humidity", "");
    d.WeatherText = ChildText(cc, "weathertext", "");
    d.WeatherIcon = ToInt(ChildText(cc, "weathericon", "0"));
    d.WindSpeed = ChildText(cc, "windspeed", "0");
    d.WindDirection = ChildText(cc, "winddirection", "");
    d.Visibility = ChildText(cc, "visibility", "0");
    d.Precip = ChildText(cc, "precip", "0");
    d.UVIndex = ChildText(cc, "uvindex", "");
}

void ReadForecast(const xmlNode* part, TWeatherForecast& f)
{
    f.TxtLong = ChildText(part, "txtlong", "");
    f.WeatherIcon = ToInt(ChildText(part, "weathericon", "0"));
    f.HighTemperature = ChildText(part, "hightemperature", "");
    f.LowTemperature = ChildText(part, "lowtemperature", "");
    f.RealFeelHigh = ChildText(part, "realfeelhigh", "");
    f.RealFeelLow = ChildText(part, "realfeellow", "");
    f.WindSpeed = ChildText(part, "windspeed", "");
    f.WindDirection = ChildText(part, "winddirection", "");
    f.WindGust = ChildText(part, "windgust", "");
    f.MaxUV = ChildText(part, "maxuv", "");
    f.RainAmount = ChildText(part, "rainamount", "");
    f.IceAmount = ChildText(part, "iceamount", "");
    f.PrecipAmount = ChildText(part, "precipamount", "");
    f.TStormProb = ChildText(part, "tstormprob", "");
}

void ReadDays(const xmlNode* root, TWeather& record)
{
    for (int i = 1; i <= kForecastDays; ++i) {
        const xmlNode* forecast = FirstChildElement(root, "forecast");
        const xmlNode* day = FirstChildElementWith(forecast, "day", "number", std::to_string(i));
        if (!day)
            continue;
        const xmlNode* daytime = FirstChildElement(day, "daytime");
        const xmlNode* nighttime = FirstChildElement(day, "nighttime");
        if (!daytime || !nighttime)
            throw TStopParse{};
        ReadForecast(daytime, record.DayTime[i - 1]);
        ReadForecast(nighttime, record.NightTime[i - 1]);
    }
}

} // namespace

bool TextToInt32(std::string_view text, int32_t& value)
{
    size_t i = 0;
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    if (i < text.size() && text[i] == '+') {
        ++i; // from_chars takes a minus only
        if (i < text.size() && (text[i] == '+' || text[i] == '-'))
            return false;
    }
    const char* end = text.data() + text.size();
    auto [stop, error] = std::from_chars(text.data() + i, end, value);
    return error == std::errc() && stop == end;
}

bool TextToDouble(std::string_view text, double& value)
{
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (!text.empty() && (text.front() == '+' || text.front() == '-'))
            return false;
    }
    // Only plain decimals: from_chars would also take "inf", "nan" and hex.
    bool digit = false;
    for (char c : text) {
        if (c >= '0' && c <= '9')
            digit = true;
        else if (c != '.' && c != '-' && c != '+' && c != 'e' && c != 'E')
            return false;
    }
    if (!digit)
        return false;
    auto [stop, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && stop == text.data() + text.size();
}

void ParseWeatherData(std::string_view xml, TWeather& record)
{
    const TXmlDocument doc = TXmlDocument::Parse(xml);
    const xmlNode* root = doc.Root();
    if (!root)
        return;
    try {
        if (const xmlNode* units = FirstChildElement(root, "units"))
            ReadUnits(units, record.Units);
        if (const xmlNode* local = FirstChildElement(root, "local"))
            ReadLocal(local, record.Local);
        if (const xmlNode* cc = FirstChildElement(root, "currentconditions"))
            ReadCurrent(cc, record.CurrentConditions);
        ReadDays(root, record);
    } catch (const TStopParse&) {
    }
}

std::vector<TCityRow> ParseCityList(std::string_view xml)
{
    std::vector<TCityRow> rows;
    const TXmlDocument doc = TXmlDocument::Parse(xml);
    const xmlNode* list = FirstChildElement(doc.Root(), "citylist");
    if (!list)
        return rows;
    int32_t count = 0;
    if (!TextToInt32(AttributeText(list, "intl", "0"), count))
        count = 0;
    const xmlNode* node = list->children;
    for (int32_t i = 0; i < count && node; ++i, node = node->next) {
        // A node that is no element has no attributes to read: the list ends there.
        if (node->type != XML_ELEMENT_NODE)
            break;
        rows.push_back(
            {AttributeText(node, "city", ""), AttributeText(node, "state", ""), AttributeText(node, "location", "")});
    }
    return rows;
}

} // namespace tramble
