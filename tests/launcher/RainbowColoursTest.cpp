#include "launcher/RainbowColours.h"

#include <gtest/gtest.h>

namespace tramble {
namespace {

TEST(RainbowColours, HueFollowsTheSixSegmentWheel)
{
    struct Row {
        int K;
        int X;
        TColor Expected;
    } rows[] = {
        {0, 0, MakeColour(255, 0, 0)},     {0, 100, MakeColour(255, 100, 0)}, {1, 100, MakeColour(155, 255, 0)},
        {2, 100, MakeColour(0, 255, 100)}, {3, 100, MakeColour(0, 155, 255)}, {4, 100, MakeColour(100, 0, 255)},
        {5, 100, MakeColour(255, 0, 155)}, {5, 255, MakeColour(255, 0, 0)},   {9, 100, MakeColour(255, 0, 155)},
    };
    for (const Row& row : rows)
        EXPECT_EQ(Hue(row.K, row.X), row.Expected) << "k " << row.K << " x " << row.X;
}

TEST(RainbowColours, WheelOffsetRoundsHalvesToEven)
{
    struct Row {
        int V;
        int S;
        int Expected;
    } rows[] = {
        {0, 25, 0},  {1, 25, 10}, {24, 25, 245}, {1, 2, 128}, {1, 10, 26},
        {3, 10, 76}, {5, 6, 212}, {1, 6, 42},    {2, 6, 85},  {1, 1000, 0},
    };
    for (const Row& row : rows)
        EXPECT_EQ(WheelOffset(row.V, row.S), row.Expected) << row.V << " of " << row.S;
}

TEST(RainbowColours, BlendMovesEachChannelFromAToB)
{
    const TColor a = MakeColour(255, 0, 30);
    const TColor b = MakeColour(0, 255, 90);
    EXPECT_EQ(Blend(a, b, 0, 3), a);
    EXPECT_EQ(Blend(a, b, 3, 3), b);
    EXPECT_EQ(Blend(a, b, 1, 3), MakeColour(170, 85, 50));
    EXPECT_EQ(Blend(a, b, 2, 3), MakeColour(85, 170, 70));
}

} // namespace
} // namespace tramble
