#include "formula/CalcValue.h"

#include "formula/CalcError.h"
#include "store/TextConvert.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <locale.h>
#include <stdexcept>

namespace tramble {
namespace {

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Checks the classic real form; sets `integral` when it is only a sign and
// up to 18 digits, which need no library conversion.
bool IsRealForm(std::string_view s, bool& integral)
{
    size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        ++i;
    size_t digits = 0;
    while (i < s.size() && IsDigit(s[i]))
        ++i, ++digits;
    integral = digits > 0 && digits <= 18 && i == s.size();
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && IsDigit(s[i]))
            ++i, ++digits;
    }
    if (digits == 0)
        return false;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-'))
            ++i;
        size_t exponent = 0;
        while (i < s.size() && IsDigit(s[i]))
            ++i, ++exponent;
        if (exponent == 0)
            return false;
    }
    return i == s.size();
}

locale_t ClassicLocale()
{
    static const locale_t classic = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    return classic;
}

// Adds one unit in the last place to a decimal text such as "-0.129999".
void IncrementLastDigit(std::string& text)
{
    size_t i = text.size();
    while (i-- > 0) {
        char& c = text[i];
        if (c == '.' || c == '-')
            continue;
        if (c != '9') {
            ++c;
            return;
        }
        c = '0';
    }
    text.insert(text[0] == '-' ? 1 : 0, 1, '1');
}

std::string TrimFraction(std::string text)
{
    size_t dot = text.find('.');
    if (dot != std::string::npos) {
        size_t end = text.size();
        while (end > dot + 2 && text[end - 1] == '0')
            --end;
        text.resize(end);
        if (text.size() == dot + 2 && text[dot + 1] == '0')
            text.resize(dot);
    }
    if (text == "-0")
        text = "0";
    return text;
}

std::string FormatLarge(long double value)
{
    char buffer[64];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, 14);
    std::string text(buffer, result.ptr);
    size_t e = text.find('e');
    std::string mantissa = text.substr(0, e);
    size_t end = mantissa.size();
    while (end > 0 && mantissa[end - 1] == '0')
        --end;
    if (end > 0 && mantissa[end - 1] == '.')
        --end;
    mantissa.resize(end);
    return mantissa + "E" + text.substr(e + 1);
}

} // namespace

std::optional<long double> TextToValue(std::string_view text)
{
    text = Trim(text);
    char small[64];
    std::string large;
    char* s = small;
    if (text.size() < sizeof small) {
        text.copy(small, text.size());
        small[text.size()] = '\0';
    } else {
        large.assign(text);
        s = large.data();
    }
    for (size_t i = 0; i < text.size(); ++i) {
        if (s[i] == ',')
            s[i] = '.';
    }
    std::string_view form(s, text.size());
    bool integral = false;
    if (!IsRealForm(form, integral))
        return std::nullopt;
    if (integral) {
        int64_t n = 0;
        std::from_chars(s + (s[0] == '+' ? 1 : 0), s + text.size(), n);
        return static_cast<long double>(n);
    }
    long double value = strtold_l(s, nullptr, ClassicLocale());
    if (!std::isfinite(value))
        throw std::domain_error("number out of range");
    return value;
}

long double StrToValue(std::string_view text)
{
    std::optional<long double> value = TextToValue(text);
    if (!value)
        throw ECalcError("Error, convert to numeric value:" + std::string(text));
    return *value;
}

int32_t ValueToInt(std::string_view text)
{
    long double v = StrToValue(text);
    if (v > 0)
        v += 0.0000001L;
    else if (v < 0)
        v -= 0.0000001L;
    v = std::trunc(v);
    if (v > INT32_MAX || v < INT32_MIN)
        throw std::range_error("integer out of range");
    return static_cast<int32_t>(v);
}

std::string FormatValue(long double value)
{
    if (!std::isfinite(value))
        throw std::domain_error("number not finite");
    long double magnitude = std::fabs(value);
    if (magnitude >= 1e18L)
        return FormatLarge(value);
    if (value == std::trunc(value))
        return std::to_string(static_cast<long long>(value) == 0 ? 0LL : static_cast<long long>(value));
    char buffer[64];
    // A value with exactly 13 decimals ending in 5 is a tie, rounded away from zero.
    long double scaled = std::ldexp(value, 13);
    if (scaled == std::trunc(scaled)) {
        auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 13);
        std::string text(buffer, result.ptr);
        if (text.back() == '5') {
            text.pop_back();
            IncrementLastDigit(text);
            return TrimFraction(std::move(text));
        }
    }
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 12);
    return TrimFraction(std::string(buffer, result.ptr));
}

} // namespace tramble
