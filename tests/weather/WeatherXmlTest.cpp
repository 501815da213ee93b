#include "weather/WeatherXml.h"

#include <gtest/gtest.h>

#include <string>

namespace tramble {
namespace {

const char* const kFullAnswer = R"(<?xml version="1.0" encoding="utf-8"?>
<adc_database>
  <units><temp>F</temp><dist>mi</dist><speed>mph</speed><pres>in</pres><prec>in</prec></units>
  <local><city>Wuhan</city><state>Hubei</state><lat>30.58</lat><lon>114.27</lon><time>14:05</time></local>
  <currentconditions daylight="True">
    <observationtime>2:00 PM</observationtime><pressure>1012.5</pressure><temperature>-3</temperature>
    <realfeel>-7</realfeel><humidity>85%</humidity><weathertext>Light snow</weathertext>
    <weathericon>19</weathericon><windspeed>11.2</windspeed><winddirection>NNE</winddirection>
    <visibility>8</visibility><precip>0.4</precip><uvindex>1</uvindex>
  </currentconditions>
  <forecast>
    <day number="2">
      <daytime><txtlong>Rain</txtlong><weathericon>18</weathericon><hightemperature>5</hightemperature>
        <lowtemperature>1</lowtemperature><snowamount>9</snowamount><tstormprob>3</tstormprob></daytime>
      <nighttime><txtlong>Fog</txtlong><weathericon>11</weathericon><lowtemperature>-1</lowtemperature></nighttime>
    </day>
    <day number="1">
      <daytime><txtlong>Sunny</txtlong><weathericon>1</weathericon><hightemperature>7</hightemperature>
        <realfeelhigh>6</realfeelhigh><windgust>30</windgust><maxuv>2</maxuv><rainamount>0.1</rainamount>
        <iceamount>0.2</iceamount><precipamount>0.3</precipamount></daytime>
      <nighttime><txtlong>Clear</txtlong><weathericon>33</weathericon><realfeellow>-4</realfeellow>
        <windspeed>5</windspeed><winddirection>W</winddirection></nighttime>
    </day>
  </forecast>
</adc_database>)";

// A record whose every field holds a marker, to see what a parse leaves alone.
TWeather MarkedRecord()
{
    TWeather w;
    w.Units = {"old", "old", "old", "old", "old"};
    w.Local = {"oldcity", "oldstate", 1.5, 2.5, "oldtime"};
    TWeatherData& c = w.CurrentConditions;
    c.ObservationTime = c.Pressure = c.RealFeel = c.Humidity = c.WeatherText = "old";
    c.WindSpeed = c.WindDirection = c.Visibility = c.Precip = c.UVIndex = "old";
    c.Temperature = 99;
    c.WeatherIcon = 42;
    for (auto* parts : {&w.DayTime, &w.NightTime}) {
        for (TWeatherForecast& f : *parts) {
            f.TxtLong = f.HighTemperature = f.LowTemperature = f.RealFeelHigh = f.RealFeelLow = "old";
            f.WindSpeed = f.WindDirection = f.WindGust = f.MaxUV = f.RainAmount = "old";
            f.SnowAmount = f.IceAmount = f.PrecipAmount = f.TStormProb = "old";
            f.WeatherIcon = 44;
        }
    }
    return w;
}

TEST(ParseWeatherData, FullAnswerFillsEveryGroup)
{
    TWeather w = MarkedRecord();
    ParseWeatherData(kFullAnswer, w);
    EXPECT_EQ(w.Units.Temp, "F");
    EXPECT_EQ(w.Units.Prec, "in");
    EXPECT_EQ(w.Local.City, "Wuhan");
    EXPECT_DOUBLE_EQ(w.Local.Lat, 30.58);
    EXPECT_DOUBLE_EQ(w.Local.Lon, 114.27);
    EXPECT_EQ(w.Local.Time, "14:05");
    const TWeatherData& c = w.CurrentConditions;
    EXPECT_EQ(c.ObservationTime, "2:00 PM");
    EXPECT_EQ(c.Pressure, "1012.5");
    EXPECT_EQ(c.Temperature, -3);
    EXPECT_EQ(c.Humidity, "85%");
    EXPECT_EQ(c.WeatherText, "Light snow");
    EXPECT_EQ(c.WeatherIcon, 19);
    EXPECT_EQ(c.UVIndex, "1");
    // Days are found by their number, not their order.
    EXPECT_EQ(w.DayTime[0].TxtLong, "Sunny");
    EXPECT_EQ(w.DayTime[0].WindGust, "30");
    EXPECT_EQ(w.DayTime[0].IceAmount, "0.2");
    EXPECT_EQ(w.DayTime[0].PrecipAmount, "0.3");
    EXPECT_EQ(w.DayTime[0].LowTemperature, ""); // missing text takes the empty default
    EXPECT_EQ(w.NightTime[0].WeatherIcon, 33);
    EXPECT_EQ(w.NightTime[0].WindDirection, "W");
    EXPECT_EQ(w.DayTime[1].WeatherIcon, 18);
    EXPECT_EQ(w.DayTime[1].TStormProb, "3");
    EXPECT_EQ(w.NightTime[1].LowTemperature, "-1");
    // The snow amount is never read, even when sent.
    EXPECT_EQ(w.DayTime[1].SnowAmount, "old");
    // Day 3 is not in the answer and keeps what it had.
    EXPECT_EQ(w.DayTime[2].TxtLong, "old");
    EXPECT_EQ(w.NightTime[2].WeatherIcon, 44);
}

TEST(ParseWeatherData, EmptyGroupsGiveTheDefaults)
{
    TWeather w = MarkedRecord();
    ParseWeatherData("<any><units/><local/><currentconditions/></any>", w);
    EXPECT_EQ(w.Units.Temp, "C");
    EXPECT_EQ(w.Units.Dist, "km");
    EXPECT_EQ(w.Units.Speed, "km/h");
    EXPECT_EQ(w.Units.Pres, "KPA");
    EXPECT_EQ(w.Units.Prec, "mm");
    EXPECT_EQ(w.Local.City, "");
    EXPECT_EQ(w.Local.State, "");
    EXPECT_EQ(w.Local.Lat, 0);
    EXPECT_EQ(w.Local.Lon, 0);
    EXPECT_EQ(w.Local.Time, "0:0");
    const TWeatherData& c = w.CurrentConditions;
    EXPECT_EQ(c.ObservationTime, "0");
    EXPECT_EQ(c.Pressure, "0");
    EXPECT_EQ(c.Temperature, 0);
    EXPECT_EQ(c.RealFeel, "0");
    EXPECT_EQ(c.Humidity, "");
    EXPECT_EQ(c.WeatherText, "");
    EXPECT_EQ(c.WeatherIcon, 0);
    EXPECT_EQ(c.WindSpeed, "0");
    EXPECT_EQ(c.WindDirection, "");
    EXPECT_EQ(c.Visibility, "0");
    EXPECT_EQ(c.Precip, "0");
    EXPECT_EQ(c.UVIndex, "");
    EXPECT_EQ(w.DayTime[0].TxtLong, "old"); // no forecast: days untouched
}

TEST(ParseWeatherData, MissingGroupKeepsItsOldValues)
{
    TWeather w = MarkedRecord();
    ParseWeatherData("<adc_database><local><city>Oslo</city></local></adc_database>", w);
    EXPECT_EQ(w.Local.City, "Oslo");
    EXPECT_EQ(w.Units.Temp, "old");
    EXPECT_EQ(w.CurrentConditions.Humidity, "old");
    EXPECT_EQ(w.CurrentConditions.Temperature, 99);
}

TEST(ParseWeatherData, FractionalTemperatureEndsTheParseAfterPressure)
{
    TWeather w = MarkedRecord();
    ParseWeatherData("<a><currentconditions><observationtime>t</observationtime><pressure>1000</pressure>"
                     "<temperature>23.5</temperature><humidity>50%</humidity></currentconditions>"
                     "<forecast><day number=\"1\"><daytime><txtlong>new</txtlong></daytime>"
                     "<nighttime/></day></forecast></a>",
                     w);
    EXPECT_EQ(w.CurrentConditions.ObservationTime, "t");
    EXPECT_EQ(w.CurrentConditions.Pressure, "1000");
    EXPECT_EQ(w.CurrentConditions.Temperature, 99);
    EXPECT_EQ(w.CurrentConditions.Humidity, "old");
    EXPECT_EQ(w.DayTime[0].TxtLong, "old");
}

TEST(ParseWeatherData, ErrorsStopWhereTheyStand)
{
    struct TCase {
        const char* Name;
        const char* Xml;
        std::string City;     // Local.City afterwards
        std::string Humidity; // CurrentConditions.Humidity afterwards
        std::string Day1;     // DayTime[0].TxtLong afterwards
        std::string Day2;     // DayTime[1].TxtLong afterwards
    };
    const TCase cases[] = {
        {"not XML", "<a><local><city>X</city></local>", "oldcity", "old", "old", "old"},
        {"empty text", "", "oldcity", "old", "old", "old"},
        {"bad latitude", "<a><local><city>X</city><lat>north</lat></local><currentconditions/></a>", "X", "old", "old",
         "old"},
        {"empty weather icon",
         "<a><currentconditions><humidity>1%</humidity><weathericon></weathericon></currentconditions>"
         "<forecast><day number=\"1\"><daytime><txtlong>d</txtlong></daytime><nighttime/></day></forecast></a>",
         "oldcity", "1%", "old", "old"},
        {"day without night part",
         "<a><forecast><day number=\"1\"><daytime><txtlong>d1</txtlong></daytime></day>"
         "<day number=\"2\"><daytime><txtlong>d2</txtlong></daytime><nighttime/></day></forecast></a>",
         "oldcity", "old", "old", "old"},
        {"leading zero in the day number is not that day",
         "<a><forecast><day number=\"01\"><daytime><txtlong>d1</txtlong></daytime><nighttime/></day>"
         "<day number=\"2\"><daytime><txtlong>d2</txtlong></daytime><nighttime/></day></forecast></a>",
         "oldcity", "old", "old", "d2"},
        {"forecast icon that is no number",
         "<a><forecast><day number=\"1\"><daytime><txtlong>d1</txtlong><weathericon>x</weathericon></daytime>"
         "<nighttime/></day><day number=\"2\"><daytime><txtlong>d2</txtlong></daytime><nighttime/></day>"
         "</forecast></a>",
         "oldcity", "old", "d1", "old"},
        {"only the first forecast element counts",
         "<a><forecast/><forecast><day number=\"1\"><daytime><txtlong>d1</txtlong></daytime><nighttime/></day>"
         "</forecast></a>",
         "oldcity", "old", "old", "old"},
        {"external entity is not fetched",
         "<!DOCTYPE a [<!ENTITY x SYSTEM \"file:///etc/passwd\">]><a><local><city>&x;</city></local></a>", "", "old",
         "old", "old"},
    };
    for (const TCase& c : cases) {
        TWeather w = MarkedRecord();
        ParseWeatherData(c.Xml, w);
        EXPECT_EQ(w.Local.City, c.City) << c.Name;
        EXPECT_EQ(w.CurrentConditions.Humidity, c.Humidity) << c.Name;
        EXPECT_EQ(w.DayTime[0].TxtLong, c.Day1) << c.Name;
        EXPECT_EQ(w.DayTime[1].TxtLong, c.Day2) << c.Name;
    }
}

TEST(NumberTexts, ConvertAsTheServiceWritesThem)
{
    struct TIntCase {
        const char* Text;
        bool Ok;
        int32_t Value;
    };
    const TIntCase ints[] = {
        {"12", true, 12},   {" 12", true, 12}, {"-5", true, -5},         {"+7", true, 7},
        {"007", true, 7},   {"12 ", false, 0}, {"1.5", false, 0},        {"", false, 0},
        {"-", false, 0},    {"+-1", false, 0}, {"2147483648", false, 0}, {"-2147483648", true, INT32_MIN},
        {"0x10", false, 0}, {"1e3", false, 0},
    };
    for (const TIntCase& c : ints) {
        int32_t value = 0;
        EXPECT_EQ(TextToInt32(c.Text, value), c.Ok) << c.Text;
        if (c.Ok) {
            EXPECT_EQ(value, c.Value) << c.Text;
        }
    }
    struct TRealCase {
        const char* Text;
        bool Ok;
        double Value;
    };
    const TRealCase reals[] = {
        {"30.52", true, 30.52}, {" -0.5 ", true, -0.5}, {"1e2", true, 100}, {"+3", true, 3},   {"7.", true, 7},
        {"", false, 0},         {"abc", false, 0},      {"inf", false, 0},  {"nan", false, 0}, {"1.2.3", false, 0},
        {"0x1p3", false, 0},    {"1e999", false, 0},    {".", false, 0},    {"+-2", false, 0}, {"30,5", false, 0},
    };
    for (const TRealCase& c : reals) {
        double value = 0;
        EXPECT_EQ(TextToDouble(c.Text, value), c.Ok) << c.Text;
        if (c.Ok) {
            EXPECT_DOUBLE_EQ(value, c.Value) << c.Text;
        }
    }
}

TEST(ParseCityList, CountAttributeDecidesHowManyRows)
{
    const std::string rows = "<location city=\"Wuhan\" state=\"Hubei, China\" location=\"30.58,114.27\"/>"
                             "<location city=\"Paris\" state=\"France\" location=\"48.85,2.35\"/>"
                             "<location city=\"Lima\" location=\"-12.04,-77.03\"/>";
    struct TCase {
        std::string Attributes;
        size_t Rows;
    };
    const TCase cases[] = {
        {"intl=\"2\"", 2}, {"intl=\"3\"", 3}, {"intl=\"9\"", 3},  {"intl=\"0\"", 0},
        {"", 0},           {"intl=\"x\"", 0}, {"intl=\"-4\"", 0}, {"us=\"3\" intl=\"1\"", 1},
    };
    for (const TCase& c : cases) {
        const auto list =
            ParseCityList("<adc_database><citylist " + c.Attributes + ">" + rows + "</citylist></adc_database>");
        EXPECT_EQ(list.size(), c.Rows) << c.Attributes;
    }
    const auto list = ParseCityList("<r><citylist intl=\"3\">" + rows + "</citylist></r>");
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0], (TCityRow{"Wuhan", "Hubei, China", "30.58,114.27"}));
    EXPECT_EQ(list[2], (TCityRow{"Lima", "", "-12.04,-77.03"}));
}

TEST(ParseCityList, OddAnswersGiveWhatCameBeforeTheFault)
{
    struct TCase {
        const char* Name;
        const char* Xml;
        std::vector<TCityRow> Rows;
    };
    const TCase cases[] = {
        {"not XML", "<r><citylist intl=\"1\"><location city=\"A\"/>", {}},
        {"no city list", "<r><cities intl=\"1\"><location city=\"A\"/></cities></r>", {}},
        {"city list that is the document element", "<citylist intl=\"1\"><location city=\"A\"/></citylist>", {}},
        {"a comment ends the rows",
         "<r><citylist intl=\"3\"><location city=\"A\"/><!-- x --><location city=\"B\"/></citylist></r>",
         {{"A", "", ""}}},
        {"text ends the rows",
         "<r><citylist intl=\"2\"><location city=\"A\"/>text<location city=\"B\"/></citylist></r>",
         {{"A", "", ""}}},
        {"escaped and Chinese texts",
         "<r><citylist intl=\"1\"><location city=\"A &amp; &quot;B&quot;\" state=\"湖北\" "
         "location=\"1,2\"/></citylist></r>",
         {{"A & \"B\"", "湖北", "1,2"}}},
        {"any element name is a row", "<r><citylist intl=\"1\"><place city=\"C\"/></citylist></r>", {{"C", "", ""}}},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(ParseCityList(c.Xml), c.Rows) << c.Name;
}

} // namespace
} // namespace tramble
