#pragma once

#include <string>
#include <string_view>

namespace tramble {

// The languages of the gateway's texts.
enum class TGatewayLanguage { English, Chinese };

// "zh" or "en", as the geocoding service takes it.
std::string_view LanguageCode(TGatewayLanguage language);

// The weather picture (1..44) for a WMO weather code, by day or by night;
// 0 for a code the WMO table does not have.
int WmoIcon(int wmoCode, bool day);
// The weather text for a WMO code; "Unknown" (or its Chinese) for others.
std::string_view WmoText(int wmoCode, TGatewayLanguage language);
// One of the 16 compass points for a wind direction in degrees; empty for
// a value that is not finite.
std::string_view CompassPoint(double degrees);

} // namespace tramble
