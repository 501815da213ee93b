// The digit glyphs and where numbers stand on the 16×16 picture.
#include "tray/DigitGlyphs.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace tramble {
namespace {

constexpr TArgb kInk = 0xFF123456;

// The picture's rows as text: "#" for ink, "." for anything else.
std::vector<std::string> Rows(const TTrayCanvas& c, int top, int bottom)
{
    std::vector<std::string> rows;
    for (int y = top; y < bottom; ++y) {
        std::string row;
        for (int x = 0; x < TTrayCanvas::kSize; ++x)
            row += c.Pixel(x, y) == kInk ? '#' : '.';
        rows.push_back(row);
    }
    return rows;
}

TEST(DigitGlyphs, GlyphsAreDrawnFromTheirRowsLeftmostColumnFirst)
{
    struct Case {
        int glyph;
        std::vector<std::string> rows; // 4 columns from x 0
    };
    const std::vector<Case> cases{
        {4, {"...#", "..##", "..##", ".#.#", ".#.#", "#..#", "####", "...#", "...#"}},
        {7, {"####", "#..#", "#..#", "..#.", "..#.", "..#.", ".#..", ".#..", ".#.."}},
        {11, {"....", "#...", ".#..", "..#.", "...#", "..#.", ".#..", "#...", "...."}},
        {12, {"#..#", "#.#.", "#.#.", "##..", "#...", "##..", "#.#.", "#.#.", "#..#"}},
    };
    for (const Case& c : cases) {
        TTrayCanvas canvas(kWhite);
        DrawGlyph(canvas, c.glyph, kInk, 0, 0);
        const std::vector<std::string> rows = Rows(canvas, 0, kGlyphHeight);
        for (int y = 0; y < kGlyphHeight; ++y)
            EXPECT_EQ(rows[y], c.rows[y] + "............") << "glyph " << c.glyph << " row " << y;
    }
}

TEST(DigitGlyphs, OnlyTheFigureIsPaintedAndTheEdgesClip)
{
    TTrayCanvas canvas(kCyan);
    DrawGlyph(canvas, 0, kInk, 14, 10);
    EXPECT_EQ(canvas.Pixel(14, 10), kCyan) << "glyph 0's first row is .##.";
    EXPECT_EQ(canvas.Pixel(15, 10), kInk);
    EXPECT_EQ(canvas.Pixel(14, 11), kInk);
    EXPECT_EQ(canvas.Pixel(15, 11), kCyan);
    DrawGlyph(canvas, 13, kInk, 0, 0);
    DrawGlyph(canvas, -1, kInk, 0, 0);
    EXPECT_EQ(canvas.Pixel(0, 0), kCyan) << "no glyph outside the list";
}

TEST(DrawTrayNumber, GlyphsStandWhereTheLengthPutsThem)
{
    struct Case {
        int32_t n;
        std::vector<std::pair<int, int>> glyphs; // glyph, x
    };
    const std::vector<Case> cases{
        {7, {{7, 5}}},
        {0, {{0, 5}}},
        {42, {{4, 3}, {2, 8}}},
        {100, {{1, 0}, {0, 5}, {0, 10}}},
        {999, {{9, 0}, {9, 5}, {9, 10}}},
        {-5, {{kGlyphMinus, 3}, {5, 8}}},
        {-45, {{kGlyphMinus, 0}, {4, 5}, {5, 10}}},
        {-100, {{kGlyphMinus, -2}, {1, 3}, {0, 8}, {0, 13}}},
        {1000, {{kGlyphGreater, 0}, {1, 5}, {kGlyphK, 10}}},
        {1500, {{kGlyphGreater, 0}, {1, 5}, {kGlyphK, 10}}},
        {2147483647, {{kGlyphGreater, 0}, {1, 5}, {kGlyphK, 10}}},
        {-1000, {{kGlyphMinus, 0}, {kGlyphGreater, 5}, {kGlyphK, 10}}},
        {-2147483647 - 1, {{kGlyphMinus, 0}, {kGlyphGreater, 5}, {kGlyphK, 10}}},
    };
    for (const Case& c : cases) {
        TTrayCanvas drawn(kWhite);
        DrawTrayNumber(drawn, c.n, kInk, 3);
        TTrayCanvas expected(kWhite);
        for (const auto& [glyph, x] : c.glyphs)
            DrawGlyph(expected, glyph, kInk, x, 3);
        EXPECT_EQ(Rows(drawn, 0, 16), Rows(expected, 0, 16)) << c.n;
    }
}

TEST(DrawTrayNumber, SevenStartsAtColumnFiveAndTopRowY)
{
    TTrayCanvas canvas(kWhite);
    DrawTrayNumber(canvas, 7, kInk, 1);
    EXPECT_EQ(Rows(canvas, 0, 3),
              (std::vector<std::string>{"................", ".....####.......", ".....#..#......."}));
    EXPECT_EQ(Rows(canvas, 10, 11), (std::vector<std::string>{"................"})) << "nine rows from y 1";
}

} // namespace
} // namespace tramble
