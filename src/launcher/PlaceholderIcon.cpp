#include "launcher/PlaceholderIcon.h"

#include <cstdlib>

namespace tramble {
namespace {

// A pen two pixels wide covers the point and its neighbours above and left.
void Plot2(TRgbaImage& image, int x, int y)
{
    for (int dy = -1; dy <= 0; ++dy)
        for (int dx = -1; dx <= 0; ++dx)
            image.SetPixel(x + dx, y + dy, kPlaceholderRed);
}

// A 45-degree line from (x0, y0) towards (x1, y1), the last point left out.
void DiagonalLine(TRgbaImage& image, int x0, int y0, int x1, int y1)
{
    const int steps = std::abs(x1 - x0);
    const int sx = x1 > x0 ? 1 : -1;
    const int sy = y1 > y0 ? 1 : -1;
    for (int i = 0; i < steps; ++i)
        Plot2(image, x0 + i * sx, y0 + i * sy);
}

} // namespace

TRgbaImage DrawPlaceholderIcon(int size)
{
    TRgbaImage image(size, size);
    const int lo = 9;
    const int hi = size - 9 - 1; // the frame's last row and column
    for (int i = lo; i <= hi; ++i) {
        image.SetPixel(i, lo, kPlaceholderRed);
        image.SetPixel(i, hi, kPlaceholderRed);
        image.SetPixel(lo, i, kPlaceholderRed);
        image.SetPixel(hi, i, kPlaceholderRed);
    }
    DiagonalLine(image, 6, 6, size - 6, size - 6);
    DiagonalLine(image, size - 6, 6, 6, size - 6);
    return image;
}

} // namespace tramble
