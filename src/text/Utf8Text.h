#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tramble {

// Case mapping of UTF-8 text by the current locale's rules when it is a UTF-8
// locale, else by those of C.UTF-8. Bytes that are not valid UTF-8 pass
// through unchanged.
std::string UpperText(std::string_view text);
std::string LowerText(std::string_view text);

// The UTF-8 encoding of one code point; nothing for a surrogate or a value
// beyond U+10FFFF.
std::optional<std::string> CodePointText(int64_t code);

// Decodes the sequence at text[pos]: its code point and length in bytes. A
// byte that starts no valid sequence stands for itself with length 1.
uint32_t DecodeUtf8(std::string_view text, size_t pos, size_t& length);

// Folds a code point for comparisons without regard to case.
uint32_t FoldCase(uint32_t code);

// UTF-8 text in lower case by the rules of C.UTF-8, the same in every
// locale, for comparisons without regard to case ("ÄRGER" and "ärger").
// Bytes that are not valid UTF-8 pass through unchanged.
std::string FoldText(std::string_view text);

} // namespace tramble
