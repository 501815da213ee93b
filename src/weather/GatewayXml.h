#pragma once

#include "weather/OpenMeteo.h"

#include <string>
#include <vector>

namespace tramble {

// The name a location code is shown by, as its city search reported it.
struct TPlaceName {
    std::string City;
    std::string State;
};

// "Region, Country", or the country alone.
std::string PlaceState(const TPlace& place);

// The weather service's two answers, written from Open-Meteo figures: metric
// units, whole degrees, weather texts in the language given.
std::string WeatherDataXml(const TForecastFigures& figures, const TPlaceName& place, TGatewayLanguage language);
std::string CityListXml(const std::vector<TPlace>& places);

} // namespace tramble
