#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tramble {

// A picture of Width × Height pixels, four bytes each (red, green, blue,
// alpha), rows from the top.
struct TRgbaImage {
    int Width = 0;
    int Height = 0;
    std::vector<uint8_t> Pixels;

    TRgbaImage() = default;
    TRgbaImage(int width, int height) : Width(width), Height(height), Pixels(size_t(width) * height * 4, 0) {}

    bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < Width && y < Height; }
    uint32_t Pixel(int x, int y) const; // 0xRRGGBBAA
    // Pixels outside the picture are ignored.
    void SetPixel(int x, int y, uint32_t rgba);
};

inline uint32_t TRgbaImage::Pixel(int x, int y) const
{
    const uint8_t* p = &Pixels[(size_t(y) * Width + x) * 4];
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}

inline void TRgbaImage::SetPixel(int x, int y, uint32_t rgba)
{
    if (!Contains(x, y))
        return;
    uint8_t* p = &Pixels[(size_t(y) * Width + x) * 4];
    p[0] = uint8_t(rgba >> 24);
    p[1] = uint8_t(rgba >> 16);
    p[2] = uint8_t(rgba >> 8);
    p[3] = uint8_t(rgba);
}

} // namespace tramble
