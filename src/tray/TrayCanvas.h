#pragma once

#include "store/ColorNames.h"

#include <array>
#include <cstdint>
#include <vector>

namespace tramble {

// A pixel as 0xAARRGGBB; alpha 0 is transparent.
using TArgb = uint32_t;

inline constexpr TArgb kTransparent = 0x00000000;
inline constexpr TArgb kBlack = 0xFF000000;
inline constexpr TArgb kWhite = 0xFFFFFFFF;
inline constexpr TArgb kRed = 0xFFFF0000;
inline constexpr TArgb kLime = 0xFF00FF00;
inline constexpr TArgb kGreen = 0xFF008000;
inline constexpr TArgb kMaroon = 0xFF800000;
inline constexpr TArgb kBlue = 0xFF0000FF;
inline constexpr TArgb kOrange = 0xFFFF8000;
inline constexpr TArgb kCyan = 0xFF00FFFF;

// A stored colour (0x00BBGGRR) as an opaque pixel.
constexpr TArgb ArgbFromColor(TColor color)
{
    const auto c = static_cast<uint32_t>(color);
    return 0xFF000000u | (c & 0xFF) << 16 | (c & 0xFF00) | (c >> 16 & 0xFF);
}

// Every channel of an opaque colour inverted.
constexpr TArgb InverseColor(TArgb color)
{
    return 0xFF000000u | (~color & 0x00FFFFFFu);
}

struct TTrayPoint {
    int X = 0;
    int Y = 0;
};

// Columns Left..Right−1 and rows Top..Bottom−1.
struct TTrayRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
};

// The 16×16 picture of one tray icon. Drawing outside it is clipped.
class TTrayCanvas {
public:
    static constexpr int kSize = 16;

    explicit TTrayCanvas(TArgb fill = kWhite) { m_pixels.fill(fill); }

    TArgb Pixel(int x, int y) const { return m_pixels[y * kSize + x]; }
    void SetPixel(int x, int y, TArgb color);
    const std::array<TArgb, kSize * kSize>& Pixels() const { return m_pixels; }

    void Fill(TArgb color) { m_pixels.fill(color); }
    void FillRect(const TTrayRect& r, TArgb color);
    // A one-pixel border in pen with the inside filled by brush.
    void Outline(const TTrayRect& r, TArgb pen, TArgb brush);
    // Lines through the points; every point is drawn but the last, as a
    // pen moving from point to point leaves it.
    void Polyline(const std::vector<TTrayPoint>& points, TArgb pen);
    // Lays a picture over this one: its transparent pixels leave ours.
    void Draw(const TTrayCanvas& picture);

    bool operator==(const TTrayCanvas&) const = default;

private:
    void Line(TTrayPoint from, TTrayPoint to, TArgb pen);

    std::array<TArgb, kSize * kSize> m_pixels{};
};

} // namespace tramble
