#pragma once

#include "weather/Weather.h"

#include <string>
#include <string_view>
#include <vector>

namespace tramble {

// Reads a weather-data answer into the record. Elements that are missing take
// their defaults; a missing group keeps the record's old values. The first
// error (not XML, a number that does not convert, a day without its two
// parts) ends the parse: what was read stays, the rest keeps its old values.
void ParseWeatherData(std::string_view xml, TWeather& record);

// One row of a city search: caption and the two sub-items.
struct TCityRow {
    std::string City;
    std::string State;
    std::string Location;

    bool operator==(const TCityRow&) const = default;
};

// The rows of a city-search answer: as many as its "intl" count says, fewer
// when the list ends early or a row cannot be read; none for an answer that
// is not a city list.
std::vector<TCityRow> ParseCityList(std::string_view xml);

// The number conversions of both parsers: whole decimal numbers in 32 bits
// with optional leading blanks and sign; decimal reals with optional blanks
// around them. False when the text does not convert.
bool TextToInt32(std::string_view text, int32_t& value);
bool TextToDouble(std::string_view text, double& value);

} // namespace tramble
