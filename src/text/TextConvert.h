#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tramble {

// Removes bytes 0..32 from both ends.
std::string_view Trim(std::string_view text);
std::string_view TrimLeft(std::string_view text);

// Equal ignoring the case of ASCII letters; UTF-8 sequences compare as bytes.
bool SameTextAscii(std::string_view a, std::string_view b);
char UpperAscii(char c);

// A 32-bit integer in the classic form: optional leading blanks and sign, then
// decimal digits, or hexadecimal digits after "$" or "0x". Hexadecimal may use
// all 32 bits (so "$FFFFFFFF" is -1). Nothing on any other text.
std::optional<int32_t> StrToInt(std::string_view text);
int32_t StrToIntDef(std::string_view text, int32_t def);

} // namespace tramble
