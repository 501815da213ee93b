#include "formula/CalcValue.h"

#include "formula/CalcError.h"
#include "text/TextConvert.h"

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

// Checks the classic real form: sign, digits, fraction, exponent.
bool IsRealForm(std::string_view s)
{
    size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        ++i;
    size_t digits = 0;
    while (i < s.size() && IsDigit(s[i]))
        ++i, ++digits;
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
    // Most values are plain integers, which need neither a copy nor a library call.
    const size_t sign = !text.empty() && (text[0] == '-' || text[0] == '+') ? 1 : 0;
    if (text.size() > sign && text.size() - sign <= 18) {
        int64_t n = 0;
        size_t i = sign;
        while (i < text.size() && IsDigit(text[i]))
            n = n * 10 + (text[i++] - '0');
        if (i == text.size())
            return static_cast<long double>(text[0] == '-' ? -n : n);
    }
    std::string s(text);
    for (char& c : s) {
        if (c == ',')
            c = '.';
    }
    if (!IsRealForm(s))
        return std::nullopt;
    long double value = strtold_l(s.c_str(), nullptr, ClassicLocale());
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
    // The cast truncates toward zero.
    if (!(v < 2147483648.0L && v > -2147483649.0L))
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
    char buffer[64];
    // |value| < 1E18 here, so the cast is exact for whole numbers; it is
    // much cheaper than truncl on the x87 unit.
    const long long whole = static_cast<long long>(value);
    if (static_cast<long double>(whole) == value) {
        auto result = std::to_chars(buffer, buffer + sizeof buffer, whole);
        return std::string(buffer, result.ptr);
    }
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
