#include "tray/TrayCanvas.h"

#include <algorithm>
#include <cstdlib>

namespace tramble {

void TTrayCanvas::SetPixel(int x, int y, TArgb color)
{
    if (x >= 0 && y >= 0 && x < kSize && y < kSize)
        m_pixels[y * kSize + x] = color;
}

void TTrayCanvas::FillRect(const TTrayRect& r, TArgb color)
{
    const int left = std::max(r.Left, 0);
    const int right = std::min(r.Right, kSize);
    const int top = std::max(r.Top, 0);
    const int bottom = std::min(r.Bottom, kSize);
    if (left >= right)
        return;
    for (int y = top; y < bottom; ++y)
        std::fill_n(m_pixels.begin() + y * kSize + left, right - left, color);
}

void TTrayCanvas::Outline(const TTrayRect& r, TArgb pen, TArgb brush)
{
    if (r.Right <= r.Left || r.Bottom <= r.Top)
        return;
    FillRect(r, pen);
    FillRect({r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1}, brush);
}

void TTrayCanvas::Polyline(const std::vector<TTrayPoint>& points, TArgb pen)
{
    for (size_t i = 1; i < points.size(); ++i)
        Line(points[i - 1], points[i], pen);
}

void TTrayCanvas::Line(TTrayPoint from, TTrayPoint to, TArgb pen)
{
    // Bresenham; the end point is left for the next segment.
    const int dx = std::abs(to.X - from.X);
    const int dy = -std::abs(to.Y - from.Y);
    const int sx = from.X < to.X ? 1 : -1;
    const int sy = from.Y < to.Y ? 1 : -1;
    int error = dx + dy;
    int x = from.X;
    int y = from.Y;
    while (x != to.X || y != to.Y) {
        SetPixel(x, y, pen);
        const int twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            x += sx;
        }
        if (twice <= dx) {
            error += dx;
            y += sy;
        }
    }
}

void TTrayCanvas::Draw(const TTrayCanvas& picture)
{
    for (size_t i = 0; i < m_pixels.size(); ++i) {
        if (picture.m_pixels[i] >> 24 != 0)
            m_pixels[i] = picture.m_pixels[i];
    }
}

} // namespace tramble
