#include "store/Font.h"
#include "store/ColorNames.h"

#include <gtest/gtest.h>

using namespace tramble;

TEST(FontText, WritesNameSizeStylesColourPitchCharset)
{
    TFont font;
    font.Name = "Tahoma";
    font.Style = fsBold | fsUnderline;
    EXPECT_EQ(FontToText(font), "Tahoma,8,[fsBold,fsUnderline],clWindowText,0,1");
    font.Style = fsStrikeOut | fsItalic | fsBold | fsUnderline;
    font.Color = 0x123456;
    font.Pitch = fpFixed;
    font.Charset = 134;
    EXPECT_EQ(FontToText(font), "Tahoma,8,[fsBold,fsItalic,fsUnderline,fsStrikeOut],$00123456,2,134");
    font.Style = 0;
    font.Color = clNone;
    EXPECT_EQ(FontToText(font), "Tahoma,8,[],clNone,2,134");
}

TEST(FontText, ReadsBackWhatItWrites)
{
    TFont font;
    font.Name = "宋体";
    font.Size = 9;
    font.Style = fsItalic;
    font.Color = clRed;
    font.Charset = 134;
    TFont read;
    TextToFont(FontToText(font), read);
    EXPECT_EQ(read, font);
}

TEST(FontText, StopsAtTheFirstMissingSeparator)
{
    struct Row {
        const char* text;
        const char* name;
        int size;
        TFontStyles style;
        TColor color;
        int pitch;
        int charset;
    };
    const TFont base; // MS Sans Serif, 8, [], clWindowText, 0, 1
    const Row rows[] = {
        {"Arial", "MS Sans Serif", 8, 0, clWindowText, 0, 1},
        {"Arial,12", "Arial", 8, 0, clWindowText, 0, 1},
        {"Arial,x,[fsBold]", "Arial", 8, fsBold, clWindowText, 0, 1},
        {" Arial ,12, [fsBold fsitalic],clRed", "Arial", 12, fsBold | fsItalic, clWindowText, 0, 1},
        {"Arial,12,[fsBold],clRed,2", "Arial", 12, fsBold, clRed, 0, 1},
        {"Arial,12,[fsBold],clRed,z,zz", "Arial", 12, fsBold, clRed, 0, 1},
        {"Arial,12,[],$0000FF00,1, 134 ", "Arial", 12, 0, 0xFF00, 1, 134},
        {"Arial,12,[bogus,fsUnderline],255,1,0", "Arial", 12, fsUnderline, 255, 1, 0},
        {"Arial,12,nostyles", "Arial", 12, 0, clWindowText, 0, 1},
        {"Arial,12,[fsBold]XclRed,1,2", "Arial", 12, fsBold, clRed, 1, 2}, // any one character follows "]"
    };
    for (const Row& row : rows) {
        TFont font = base;
        TextToFont(row.text, font);
        EXPECT_EQ(font.Name, row.name) << row.text;
        EXPECT_EQ(font.Size, row.size) << row.text;
        EXPECT_EQ(font.Style, row.style) << row.text;
        EXPECT_EQ(font.Color, row.color) << row.text;
        EXPECT_EQ(font.Pitch, row.pitch) << row.text;
        EXPECT_EQ(font.Charset, row.charset) << row.text;
    }
}

TEST(FontText, UnknownColourRaisesAfterNameSizeAndStyles)
{
    TFont font;
    EXPECT_THROW(TextToFont("Arial,14,[fsBold],clNoSuchColour,0,1", font), EConvertError);
    EXPECT_EQ(font.Name, "Arial");
    EXPECT_EQ(font.Size, 14);
    EXPECT_EQ(font.Style, fsBold);
    EXPECT_EQ(font.Color, clWindowText);
}

TEST(FontText, StyleSetNeedsBrackets)
{
    EXPECT_EQ(TextToFontStyle("[]"), 0);
    EXPECT_EQ(TextToFontStyle("fsBold"), 0);
    EXPECT_EQ(TextToFontStyle("[fsBold"), 0);
    EXPECT_EQ(TextToFontStyle("[\"fsBold\",FSSTRIKEOUT]"), fsBold | fsStrikeOut);
    EXPECT_EQ(FontStyleToText(0), "[]");
}

TEST(ColorNames, NamesAndNumbers)
{
    EXPECT_EQ(ColorToString(clBtnFace), "clBtnFace");
    EXPECT_EQ(ColorToString(0x00FFFF), "clYellow");
    EXPECT_EQ(ColorToString(0x010203), "$00010203");
    EXPECT_EQ(ColorToString(clSystemColor + 24), "clInfoBk");
    EXPECT_EQ(StringToColor("clwindowtext"), clWindowText);
    EXPECT_EQ(StringToColor("$FF000005"), clWindow);
    EXPECT_EQ(StringToColor("16777215"), clWhite);
    EXPECT_FALSE(StringToColor("clRainbow").has_value());
    for (TColor color = clSystemColor; color <= clSystemColor + 24; ++color)
        EXPECT_EQ(StringToColor(ColorToString(color)), color);
}
