#include "weather/GatewayXml.h"

#include <libxml/tree.h>

#include <cmath>
#include <memory>

namespace tramble {
namespace {

struct TFreeDoc {
    void operator()(xmlDoc* doc) const { xmlFreeDoc(doc); }
};
using TDoc = std::unique_ptr<xmlDoc, TFreeDoc>;

const xmlChar* X(const char* text)
{
    return reinterpret_cast<const xmlChar*>(text);
}

xmlNode* Add(xmlNode* parent, const char* name, const std::string& text)
{
    return xmlNewTextChild(parent, nullptr, X(name), X(text.c_str()));
}

xmlNode* AddGroup(xmlNode* parent, const char* name)
{
    return xmlNewChild(parent, nullptr, X(name), nullptr);
}

std::string Whole(double value)
{
    return FigureText(value, 0);
}

// "HH:MM" of an ISO local time "YYYY-MM-DDTHH:MM".
std::string ClockTime(const std::string& iso)
{
    const size_t t = iso.find('T');
    return t == std::string::npos ? iso : iso.substr(t + 1);
}

std::string Dump(xmlDoc* doc)
{
    xmlChar* buffer = nullptr;
    int size = 0;
    xmlDocDumpFormatMemoryEnc(doc, &buffer, &size, "UTF-8", 0);
    std::string text = buffer ? std::string(reinterpret_cast<const char*>(buffer), size_t(size)) : std::string();
    xmlFree(buffer);
    return text;
}

TDoc NewDocument(xmlNode*& root)
{
    TDoc doc(xmlNewDoc(X("1.0")));
    root = xmlNewNode(nullptr, X("adc_database"));
    xmlDocSetRootElement(doc.get(), root);
    return doc;
}

void AddDayPart(xmlNode* day, const char* name, const TDailyFigures& d, bool daytime, TGatewayLanguage language)
{
    xmlNode* part = AddGroup(day, name);
    Add(part, "txtlong", std::string(WmoText(d.WeatherCode, language)));
    Add(part, "weathericon", std::to_string(WmoIcon(d.WeatherCode, daytime)));
    Add(part, "hightemperature", Whole(d.TempMax));
    Add(part, "lowtemperature", Whole(d.TempMin));
    Add(part, "realfeelhigh", Whole(d.FeelMax));
    Add(part, "realfeellow", Whole(d.FeelMin));
    Add(part, "windspeed", FigureText(d.WindMax, 1));
    Add(part, "winddirection", std::string(CompassPoint(d.WindDirection)));
    Add(part, "windgust", FigureText(d.GustMax, 1));
    Add(part, "maxuv", FigureText(d.UvMax, 1));
    Add(part, "rainamount", FigureText(d.RainSum, 1));
    Add(part, "snowamount", FigureText(d.SnowSum, 1));
    Add(part, "iceamount", "0");
    Add(part, "precipamount", FigureText(d.PrecipSum, 1));
    const bool storm = d.WeatherCode >= 95;
    Add(part, "tstormprob", storm ? FigureText(d.PrecipProbability, 0) : "0");
}

} // namespace

std::string PlaceState(const TPlace& place)
{
    if (place.Admin1.empty() || place.Admin1 == place.Country)
        return place.Country;
    if (place.Country.empty())
        return place.Admin1;
    return place.Admin1 + ", " + place.Country;
}

std::string WeatherDataXml(const TForecastFigures& f, const TPlaceName& place, TGatewayLanguage language)
{
    xmlNode* root = nullptr;
    TDoc doc = NewDocument(root);

    xmlNode* units = AddGroup(root, "units");
    Add(units, "temp", "C");
    Add(units, "dist", "km");
    Add(units, "speed", "km/h");
    Add(units, "pres", "hPa");
    Add(units, "prec", "mm");

    xmlNode* local = AddGroup(root, "local");
    Add(local, "city", place.City);
    Add(local, "state", place.State);
    Add(local, "lat", FigureText(f.At.Lat, 2));
    Add(local, "lon", FigureText(f.At.Lon, 2));
    Add(local, "time", ClockTime(f.Current.Time));

    const TCurrentFigures& c = f.Current;
    xmlNode* cc = AddGroup(root, "currentconditions");
    Add(cc, "observationtime", ClockTime(c.Time));
    Add(cc, "pressure", FigureText(c.Pressure, 1));
    Add(cc, "temperature", Whole(c.Temperature));
    Add(cc, "realfeel", Whole(c.ApparentTemperature));
    Add(cc, "humidity", std::isfinite(c.Humidity) ? Whole(c.Humidity) + "%" : std::string());
    Add(cc, "weathertext", std::string(WmoText(c.WeatherCode, language)));
    Add(cc, "weathericon", std::to_string(WmoIcon(c.WeatherCode, c.IsDay)));
    Add(cc, "windspeed", FigureText(c.WindSpeed, 1));
    Add(cc, "winddirection", std::string(CompassPoint(c.WindDirection)));
    Add(cc, "visibility", FigureText(c.Visibility / 1000.0, 1));
    Add(cc, "precip", FigureText(c.Precipitation, 1));
    Add(cc, "uvindex", FigureText(c.UvIndex, 1));

    xmlNode* forecast = AddGroup(root, "forecast");
    for (size_t i = 0; i < f.Days.size(); ++i) {
        xmlNode* day = AddGroup(forecast, "day");
        xmlNewProp(day, X("number"), X(std::to_string(i + 1).c_str()));
        Add(day, "obsdate", f.Days[i].Date);
        AddDayPart(day, "daytime", f.Days[i], true, language);
        AddDayPart(day, "nighttime", f.Days[i], false, language);
    }
    return Dump(doc.get());
}

std::string CityListXml(const std::vector<TPlace>& places)
{
    xmlNode* root = nullptr;
    TDoc doc = NewDocument(root);
    xmlNode* list = AddGroup(root, "citylist");
    xmlNewProp(list, X("us"), X("0"));
    xmlNewProp(list, X("intl"), X(std::to_string(places.size()).c_str()));
    for (const TPlace& p : places) {
        xmlNode* row = AddGroup(list, "location");
        xmlNewProp(row, X("city"), X(p.Name.c_str()));
        xmlNewProp(row, X("state"), X(PlaceState(p).c_str()));
        xmlNewProp(row, X("location"), X(LocationCode(p.At).c_str()));
    }
    return Dump(doc.get());
}

} // namespace tramble
