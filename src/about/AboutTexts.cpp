#include "about/AboutTexts.h"

namespace tramble {
namespace {

// A number and its unit: the plural above 1, the singular for 0 and 1.
std::string Amount(int64_t value, const std::string& singular, const std::string& plural)
{
    return std::to_string(value) + " " + (value > 1 ? plural : singular);
}

} // namespace

std::string CountText(const TLanguage& language, std::string_view labelKey, uint32_t count)
{
    return language.Text("About", labelKey) + ":  " + std::to_string(count);
}

std::string DurationText(const TLanguage& language, std::string_view labelKey, int64_t seconds)
{
    const int64_t m = seconds / 60;
    const int64_t minutes = m % 60;
    const int64_t hours = (m % 1440) / 60;
    const int64_t days = m / 1440;
    const std::string minuteText = Amount(minutes, language.Text("About", "Minute"), language.Text("About", "Minutes"));
    const std::string hourText = Amount(hours, language.Text("About", "Hour", 0), language.Text("About", "Hour", 1));
    std::string text = language.Text("About", labelKey) + ": ";
    if (days > 0)
        return text + Amount(days, language.Text("About", "Day"), language.Text("About", "Days")) + " " + hourText +
               " " + minuteText;
    if (hours == 0)
        return text + minuteText;
    return text + hourText + " " + minuteText;
}

} // namespace tramble
