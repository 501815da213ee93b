#include "store/Font.h"

#include "text/TextConvert.h"

#include <array>
#include <vector>

namespace tramble {
namespace {

struct StyleName {
    TFontStyle style;
    std::string_view name;
};

constexpr std::array kStyleNames = {
    StyleName{fsBold, "fsBold"},
    StyleName{fsItalic, "fsItalic"},
    StyleName{fsUnderline, "fsUnderline"},
    StyleName{fsStrikeOut, "fsStrikeOut"},
};

// Splits a list at commas and spaces; double quotes group, as comma texts do.
std::vector<std::string> SplitCommaText(std::string_view text)
{
    std::vector<std::string> items;
    size_t i = 0;
    auto skipSeparators = [&] {
        while (i < text.size() && static_cast<unsigned char>(text[i]) <= 32)
            ++i;
    };
    skipSeparators();
    while (i < text.size()) {
        std::string item;
        if (text[i] == '"') {
            ++i;
            while (i < text.size()) {
                if (text[i] == '"') {
                    if (i + 1 < text.size() && text[i + 1] == '"') {
                        item += '"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                item += text[i++];
            }
        } else {
            while (i < text.size() && static_cast<unsigned char>(text[i]) > 32 && text[i] != ',')
                item += text[i++];
        }
        items.push_back(std::move(item));
        skipSeparators();
        if (i < text.size() && text[i] == ',') {
            ++i;
            skipSeparators();
        }
    }
    return items;
}

// Cuts the text before the next ","; false when there is none.
bool TakeField(std::string_view& rest, std::string_view& field)
{
    size_t comma = rest.find(',');
    if (comma == std::string_view::npos)
        return false;
    field = rest.substr(0, comma);
    rest.remove_prefix(comma + 1);
    return true;
}

} // namespace

std::string FontStyleToText(TFontStyles styles)
{
    std::string text = "[";
    for (const auto& entry : kStyleNames) {
        if (styles & entry.style) {
            if (text.size() > 1)
                text += ',';
            text += entry.name;
        }
    }
    return text + "]";
}

TFontStyles TextToFontStyle(std::string_view text)
{
    if (text.size() <= 2 || text.front() != '[' || text.back() != ']')
        return 0;
    TFontStyles styles = 0;
    for (const auto& item : SplitCommaText(text.substr(1, text.size() - 2))) {
        for (const auto& entry : kStyleNames) {
            if (SameTextAscii(item, entry.name))
                styles |= entry.style;
        }
    }
    return styles;
}

std::string FontToText(const TFont& font)
{
    return font.Name + "," + std::to_string(font.Size) + "," + FontStyleToText(font.Style) + "," +
           ColorToString(font.Color) + "," + std::to_string(font.Pitch) + "," + std::to_string(font.Charset);
}

void TextToFont(std::string_view text, TFont& font)
{
    std::string_view rest = text;
    std::string_view field;
    if (!TakeField(rest, field))
        return;
    font.Name = std::string(Trim(field));

    if (!TakeField(rest, field))
        return;
    font.Size = StrToIntDef(field, font.Size);

    size_t close = rest.find(']');
    if (close == std::string_view::npos)
        return;
    font.Style = TextToFontStyle(Trim(rest.substr(0, close + 1)));
    rest.remove_prefix(std::min(rest.size(), close + 2));

    if (!TakeField(rest, field))
        return;
    std::string_view colorText = Trim(field);
    auto color = StringToColor(colorText);
    if (!color)
        throw EConvertError("'" + std::string(colorText) + "' is not a valid integer value");
    font.Color = *color;

    if (!TakeField(rest, field))
        return;
    font.Pitch = StrToIntDef(field, font.Pitch);
    font.Charset = StrToIntDef(Trim(rest), font.Charset);
}

} // namespace tramble
