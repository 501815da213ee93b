#include "launcher/RainbowColours.h"

namespace tramble {
namespace {

template <typename Channel> TColor PerChannel(Channel channel)
{
    return MakeColour(channel(RedOf), channel(GreenOf), channel(BlueOf));
}

} // namespace

TColor Hue(int k, int x)
{
    switch (k) {
    case 0: return MakeColour(255, x, 0);
    case 1: return MakeColour(255 - x, 255, 0);
    case 2: return MakeColour(0, 255, x);
    case 3: return MakeColour(0, 255 - x, 255);
    case 4: return MakeColour(x, 0, 255);
    default: return MakeColour(255, 0, 255 - x);
    }
}

TColor Blend(TColor a, TColor b, int i, int n)
{
    return PerChannel([&](auto of) { return (of(a) * (n - i) + of(b) * i) / n; });
}

TColor Mix256(TColor a, int weightA, TColor b, int weightB)
{
    return PerChannel([&](auto of) { return (of(a) * weightA + of(b) * weightB) / 256; });
}

int WheelOffset(int v, int s)
{
    const int scaled = v * 255;
    const int quotient = scaled / s;
    const int twiceRest = 2 * (scaled % s);
    if (twiceRest > s || (twiceRest == s && quotient % 2 == 1))
        return quotient + 1;
    return quotient;
}

TColor WheelColour(int p, int s)
{
    return Hue(p / s % 6, WheelOffset(p % s, s));
}

} // namespace tramble
