#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tramble {

enum TResultKind : uint8_t { rkNone = 0, rkNumber = 1, rkText = 2 };

// Every intermediate value is a text; the kind is rkNone where an operation
// leaves the kind of its node as it was.
struct TValue {
    std::string Text;
    TResultKind Kind = rkNone;
};

// The text trimmed, every "," read as ".", in the classic real form (sign,
// digits, optional fraction and exponent). Nothing when it is no number.
// Raises std::domain_error for a number too large to hold.
std::optional<long double> TextToValue(std::string_view text);

// As TextToValue, but a text that is no number is the evaluator's
// conversion error.
long double StrToValue(std::string_view text);

// Rounds away from zero by 1E-7 and truncates to a 32-bit integer; beyond
// that range is a fault (std::range_error).
int32_t ValueToInt(std::string_view text);

// Twelve decimals with trailing zeros cut ("2.5", "3", "0.333333333333"),
// 15 significant digits from 1E18 on ("1.26765060022823E+30"), never "-0".
// A value that is not finite is a fault (std::domain_error).
std::string FormatValue(long double value);

} // namespace tramble
