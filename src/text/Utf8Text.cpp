#include "text/Utf8Text.h"

#include <clocale>
#include <cstring>
#include <langinfo.h>
#include <locale.h>
#include <wctype.h>

namespace tramble {
namespace {

// Invalid bytes are carried in this private range so they re-encode as the
// byte they were.
constexpr uint32_t kRawByte = 0x80000000u;

locale_t Utf8Fallback()
{
    static const locale_t fallback = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0));
    return fallback;
}

bool CurrentLocaleIsUtf8()
{
    const char* codeset = nl_langinfo(CODESET);
    return codeset && (std::strcmp(codeset, "UTF-8") == 0 || std::strcmp(codeset, "utf8") == 0);
}

void AppendUtf8(std::string& out, uint32_t code)
{
    if (code & kRawByte) {
        out.push_back(static_cast<char>(code & 0xFF));
    } else if (code < 0x80) {
        out.push_back(static_cast<char>(code));
    } else if (code < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (code >> 6)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else if (code < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (code >> 12)));
        out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (code >> 18)));
        out.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
}

template <typename Map> std::string MapText(std::string_view text, Map map, bool useCurrent)
{
    locale_t fallback = Utf8Fallback();
    std::string out;
    out.reserve(text.size());
    for (size_t pos = 0; pos < text.size();) {
        size_t length;
        uint32_t code = DecodeUtf8(text, pos, length);
        pos += length;
        if (code & kRawByte) {
            AppendUtf8(out, code);
            continue;
        }
        locale_t loc = useCurrent ? static_cast<locale_t>(0) : fallback;
        AppendUtf8(out, static_cast<uint32_t>(map(static_cast<wint_t>(code), loc)));
    }
    return out;
}

wint_t ToUpper(wint_t c, locale_t loc)
{
    if (c < 0x80)
        return (c >= 'a' && c <= 'z') ? c - 'a' + 'A' : c;
    return loc ? towupper_l(c, loc) : towupper(c);
}

wint_t ToLower(wint_t c, locale_t loc)
{
    if (c < 0x80)
        return (c >= 'A' && c <= 'Z') ? c - 'A' + 'a' : c;
    return loc ? towlower_l(c, loc) : towlower(c);
}

} // namespace

uint32_t DecodeUtf8(std::string_view text, size_t pos, size_t& length)
{
    auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    unsigned char lead = byte(pos);
    length = 1;
    if (lead < 0x80)
        return lead;
    size_t need;
    uint32_t code;
    uint32_t minimum;
    if ((lead & 0xE0) == 0xC0) {
        need = 1, code = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        need = 2, code = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        need = 3, code = lead & 0x07, minimum = 0x10000;
    } else {
        return kRawByte | lead;
    }
    if (pos + need >= text.size())
        return kRawByte | lead;
    for (size_t i = 1; i <= need; ++i) {
        unsigned char next = byte(pos + i);
        if ((next & 0xC0) != 0x80)
            return kRawByte | lead;
        code = (code << 6) | (next & 0x3F);
    }
    if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return kRawByte | lead;
    length = need + 1;
    return code;
}

std::string UpperText(std::string_view text)
{
    return MapText(text, ToUpper, CurrentLocaleIsUtf8());
}

std::string LowerText(std::string_view text)
{
    return MapText(text, ToLower, CurrentLocaleIsUtf8());
}

std::string FoldText(std::string_view text)
{
    return MapText(text, ToLower, false);
}

std::optional<std::string> CodePointText(int64_t code)
{
    if (code < 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return std::nullopt;
    std::string out;
    AppendUtf8(out, static_cast<uint32_t>(code));
    return out;
}

uint32_t FoldCase(uint32_t code)
{
    if (code & kRawByte)
        return code;
    if (code < 0x80)
        return (code >= 'a' && code <= 'z') ? code - 'a' + 'A' : code;
    locale_t fallback = Utf8Fallback();
    return static_cast<uint32_t>(fallback ? towupper_l(static_cast<wint_t>(code), fallback)
                                          : towupper(static_cast<wint_t>(code)));
}

} // namespace tramble
