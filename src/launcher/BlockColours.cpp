#include "launcher/BlockColours.h"

#include "launcher/RainbowColours.h"

#include <algorithm>

namespace tramble {

TBlockColours::TBlockColours(TRandomSource& random)
{
    for (TColor& colour : m_colours)
        colour = RandomColour(random);
}

int TBlockColours::Index(int i)
{
    return std::clamp(i, 0, kCount - 1);
}

void TBlockColours::PushAtEnd(int n, TColor colour)
{
    n = Index(n);
    std::copy(m_colours.begin() + 1, m_colours.begin() + n + 1, m_colours.begin());
    m_colours[n] = colour;
}

void TBlockColours::PushAtStart(int n, TColor colour)
{
    n = Index(n);
    std::copy_backward(m_colours.begin(), m_colours.begin() + n, m_colours.begin() + n + 1);
    m_colours[0] = colour;
}

TColor RandomColour(TRandomSource& random)
{
    const int red = random.Below(256);
    const int green = random.Below(256);
    const int blue = random.Below(256);
    return MakeColour(red, green, blue);
}

} // namespace tramble
