#include "launcher/RainbowFrame.h"

#include "launcher/RainbowColours.h"
#include "launcher/ScriptedRandom.h"

#include <gtest/gtest.h>

#include <climits>

namespace tramble {
namespace {

const TColor kMarker = MakeColour(1, 2, 3);
const TColor kWhite = MakeColour(255, 255, 255);
const TColor kBlack = MakeColour(0, 0, 0);

TRainbowSettings Settings(int style, bool userColor, int width = 150, int height = 3, int speed = 1)
{
    TRainbowSettings s;
    s.Style = style;
    s.UserColor = userColor;
    s.Width = width;
    s.Height = height;
    s.Speed = speed;
    return s;
}

// A state whose next tick draws at `phase`, over a frame full of the marker.
TRainbowState Before(const TRainbowSettings& s, int phase)
{
    TRainbowState state;
    state.Phase = phase - (s.Speed == 0 ? 1 : s.Speed);
    state.Frame = TStripFrame::Black(s.Width, s.Height);
    std::fill(state.Frame.Pixels.begin(), state.Frame.Pixels.end(), kMarker);
    return state;
}

// The colour at `along`, checked to be the same over the whole thickness.
TColor Column(const TStripFrame& frame, int along)
{
    const TColor colour = frame.At(along, 0);
    for (int across = 1; across < frame.Thickness; ++across)
        EXPECT_EQ(frame.At(along, across), colour) << "along " << along << " across " << across;
    return colour;
}

TEST(RainbowPhase, StepsWrapIntoTheCycle)
{
    struct Row {
        int Phase;
        int Speed;
        int Expected;
    } rows[] = {
        {100, 2, 102}, {100, 0, 101},  {5, -10, 32763}, {0, -1, 32767},  {32767, 1, 32768},
        {32768, 1, 1}, {32760, 10, 2}, {-50, 1, 1},     {INT_MAX, 1, 1}, {200, INT_MIN, 200},
    };
    for (const Row& row : rows)
        EXPECT_EQ(NextPhase(row.Phase, row.Speed), row.Expected) << row.Phase << " + " << row.Speed;
}

TEST(RainbowPhase, EachTickMovesByTheSpeedWithinTheDialogRange)
{
    TScriptedRandom random;
    struct Row {
        int Speed;
        int Expected;
    } rows[] = {{2, 102}, {0, 101}, {-10, 90}, {1000, 110}, {-1000, 90}};
    for (const Row& row : rows) {
        TRainbowState state;
        state = NextRainbowState(Settings(0, false, 150, 3, row.Speed), state, random);
        EXPECT_EQ(state.Phase, row.Expected) << "speed " << row.Speed;
    }
    TRainbowState backwards;
    backwards.Phase = 5;
    backwards = NextRainbowState(Settings(0, false, 150, 3, -10), backwards, random);
    EXPECT_EQ(backwards.Phase, 32763);
}

TEST(RainbowStyle1, UserColoursGoToTheSecondIn75TicksAndBackIn75)
{
    TRainbowSettings s = Settings(1, true);
    s.RBCC1 = MakeColour(10, 20, 30);
    s.RBCC2 = MakeColour(250, 200, 100);
    TScriptedRandom random;
    TRainbowState state = Before(s, 150); // phase 150 is the start of the cycle
    std::vector<TColor> colours;
    for (int tick = 0; tick <= 150; ++tick) {
        state = NextRainbowState(s, state, random);
        const TColor colour = state.Frame.At(0, 0);
        EXPECT_TRUE(
            std::all_of(state.Frame.Pixels.begin(), state.Frame.Pixels.end(), [&](TColor c) { return c == colour; }))
            << "tick " << tick;
        colours.push_back(colour);
    }
    EXPECT_EQ(colours[0], s.RBCC1);
    EXPECT_EQ(colours[75], s.RBCC2);
    EXPECT_EQ(colours[150], s.RBCC1);
    for (int tick = 1; tick < 75; ++tick) {
        EXPECT_GT(RedOf(colours[tick]), RedOf(colours[tick - 1])) << "toward the second, tick " << tick;
        EXPECT_LT(RedOf(colours[tick + 75]), RedOf(colours[tick + 74])) << "back to the first, tick " << tick;
    }
}

TEST(RainbowStyle1, WheelColourStaysInTheLastSegment)
{
    struct Row {
        int Width;
        int Phase;
        TColor Expected;
    } rows[] = {
        {150, 150, MakeColour(255, 0, 0)},   // ph 0
        {150, 175, MakeColour(255, 255, 0)}, // segment 1, offset 0
        {150, 149, MakeColour(255, 0, 10)},  // segment 5, offset 245
        {37, 36, MakeColour(255, 0, 255)},   // 36 div 6 = 6 counts as 5
        {150, 160, MakeColour(255, 102, 0)}, // 10 of 25 in segment 0
    };
    TScriptedRandom random;
    for (const Row& row : rows) {
        const TRainbowSettings s = Settings(1, false, row.Width);
        const TRainbowState state = NextRainbowState(s, Before(s, row.Phase), random);
        EXPECT_EQ(state.Frame.At(0, 0), row.Expected) << row.Width << " at " << row.Phase;
        EXPECT_EQ(state.Frame.At(row.Width - 1, 2), row.Expected) << row.Width << " at " << row.Phase;
    }
}

TEST(RainbowStyle0, WheelLeavesTheRestOfAnUnevenLengthAsItWas)
{
    const TRainbowSettings s = Settings(0, false, 40); // six segments of 6, 4 pixels left
    const int phase = 1000;                            // 1000 mod 40 = 0
    TScriptedRandom random;
    const TRainbowState state = NextRainbowState(s, Before(s, phase + 7), random);
    for (int along = 0; along < 40; ++along) {
        const int offset = (along - 7 + 40) % 40; // place inside the moving wheel
        const TColor expected = offset < 36 ? Hue(offset / 6, WheelOffset(offset % 6, 6)) : kMarker;
        EXPECT_EQ(Column(state.Frame, along), expected) << "along " << along;
    }
}

TEST(RainbowStyle0, UserGradientRunsThereAndBackAndKeepsTheOddPixel)
{
    TRainbowSettings s = Settings(0, true, 41); // half 20, one pixel left over
    s.RBCC1 = kBlack;
    s.RBCC2 = kWhite;
    TScriptedRandom random;
    const TRainbowState state = NextRainbowState(s, Before(s, 41 * 3 + 5), random);
    EXPECT_EQ(Column(state.Frame, 5), kBlack);
    EXPECT_EQ(Column(state.Frame, 15), MakeColour(127, 127, 127));
    EXPECT_EQ(Column(state.Frame, 25), kWhite);
    EXPECT_EQ(Column(state.Frame, 35), MakeColour(127, 127, 127));
    EXPECT_EQ(Column(state.Frame, 44 % 41), Blend(kWhite, kBlack, 19, 20));
    EXPECT_EQ(Column(state.Frame, 4), kMarker);
}

TEST(RainbowStyle2, BandsAreDrawnFromTheFarEnd)
{
    TRainbowSettings s = Settings(2, true, 40, 3, 2); // step 4, half 20
    s.RBCC1 = kBlack;
    s.RBCC2 = kWhite;
    TScriptedRandom random;
    const TRainbowState state = NextRainbowState(s, Before(s, 100), random);
    // Line i stands at 40 − i and takes pos = 4i + 100.
    EXPECT_EQ(Column(state.Frame, 39), MakeColour(204, 204, 204)); // pos 104: odd band, 4 of 20 back
    EXPECT_EQ(Column(state.Frame, 35), kBlack);                    // pos 120: even band start
    EXPECT_EQ(Column(state.Frame, 0), kWhite);                     // pos 260: odd band start
    EXPECT_EQ(std::count(state.Frame.Pixels.begin(), state.Frame.Pixels.end(), kMarker), 0);
}

TEST(RainbowStyle2, WheelBandsUseTheWidthsSegments)
{
    const TRainbowSettings s = Settings(2, false, 36, 2, 0); // step 2, segment 6
    TScriptedRandom random;
    const TRainbowState state = NextRainbowState(s, Before(s, 12), random);
    EXPECT_EQ(Column(state.Frame, 35), Hue(2, WheelOffset(2, 6))); // pos 14
    EXPECT_EQ(Column(state.Frame, 0), Hue(2, WheelOffset(0, 6)));  // pos 84: 14th segment
}

TEST(RainbowStyle3, SparklesAskForOneChanceInTwelveMinusTheSpeed)
{
    struct Row {
        int Speed;
        int Chance;
    } rows[] = {{0, 12}, {-10, 2}, {7, 5}, {40, 2}};
    for (const Row& row : rows) {
        TScriptedRandom random(1);
        const TRainbowSettings s = Settings(3, false, 36, 3, row.Speed);
        NextRainbowState(s, Before(s, 500), random);
        ASSERT_EQ(random.Bounds.size(), 37u) << "one draw per line";
        EXPECT_EQ(random.Bounds.front(), row.Chance) << "speed " << row.Speed;
    }
}

TEST(RainbowStyle3, SparkleOrBandPerLine)
{
    TRainbowSettings s = Settings(3, true, 40, 3, 2);
    s.RBCC1 = kBlack;
    s.RBCC2 = kWhite;

    TScriptedRandom band(1); // never 0: the bands of style 2 at step 1
    const TRainbowState banded = NextRainbowState(s, Before(s, 100), band);
    EXPECT_EQ(Column(banded.Frame, 39), MakeColour(242, 242, 242)); // pos 101: odd band, 1 of 20 back
    EXPECT_EQ(Column(banded.Frame, 20), kBlack);                    // pos 120: even band start

    // Every line sparkles; line 1 with r = 64, the others with r = 0.
    TScriptedRandom sparkle(0, {0, 0, 0, 64});
    const TRainbowState sparkled = NextRainbowState(s, Before(s, 100), sparkle);
    EXPECT_EQ(Column(sparkled.Frame, 39), MakeColour(191, 191, 191));
    EXPECT_EQ(Column(sparkled.Frame, 0), kWhite);

    TRainbowSettings wheel = Settings(3, false, 36, 3, 2);
    TScriptedRandom jitter(0, {0, 0, 0, 5}); // line 1 sparkles with offset 5
    const TRainbowState jittered = NextRainbowState(wheel, Before(wheel, 100), jitter);
    EXPECT_EQ(Column(jittered.Frame, 35), Hue(101 / 6 % 6, WheelOffset(5, 6)));
    EXPECT_EQ(Column(jittered.Frame, 34), Hue(102 / 6 % 6, 0));
}

TEST(RainbowStyle4, SpeedBelowOneMarchesTowardZero)
{
    TRainbowSettings s = Settings(4, true, 150, 3, 0); // n = 50 blocks
    s.RBCC1 = kBlack;
    s.RBCC2 = kWhite;
    TRainbowState state = Before(s, 500);
    TSeededRandom seeded(42);
    state.Blocks = TBlockColours(seeded);
    const TBlockColours old = state.Blocks;

    TScriptedRandom random(0); // r = 0: the new colour is 255/256 of the second
    state = NextRainbowState(s, state, random);
    for (int j = 0; j < 50; ++j) {
        EXPECT_EQ(state.Frame.At(3 * j, 1), old[j + 1]) << "block " << j;
        EXPECT_EQ(state.Frame.At(3 * j + 1, 2), old[j + 1]) << "block " << j;
        EXPECT_EQ(Column(state.Frame, 3 * j + 2), kBlack) << "gap after block " << j;
    }
    EXPECT_EQ(state.Blocks[50], MakeColour(254, 254, 254));
}

TEST(RainbowStyle4, AnySpeedFromOneMarchesAwayFromZero)
{
    for (int speed : {1, 2, 10}) {
        TRainbowSettings s = Settings(4, false, 40, 4, speed); // n = 10 blocks of 3 pixels and a gap
        TSeededRandom seeded(7);
        TRainbowState state = Before(s, 500);
        state.Blocks = TBlockColours(seeded);
        const TBlockColours old = state.Blocks;

        TScriptedRandom random(0, {9, 10, 20, 30}); // r, then red, green and blue
        state = NextRainbowState(s, state, random);
        EXPECT_EQ(Column(state.Frame, 0), MakeColour(10, 20, 30)) << "speed " << speed;
        for (int j = 1; j < 10; ++j) {
            EXPECT_EQ(Column(state.Frame, 4 * j + 2), old[j - 1]) << "block " << j;
            EXPECT_EQ(Column(state.Frame, 4 * j + 3), kBlack) << "gap after block " << j;
        }
        EXPECT_EQ(state.Blocks[11], old[11]) << "entries after n stay";
    }
}

TEST(RainbowBounds, AnyStoredValuesGiveAFrameOfTheDialogsRanges)
{
    struct Row {
        int Width;
        int Height;
        int ExpectedLength;
        int ExpectedThickness;
    } sizes[] = {
        {0, 0, 36, 1},         {-5, -1, 36, 1},  {35, 13, 36, 12},
        {281, 65535, 280, 12}, {280, 1, 280, 1}, {INT_MAX, INT_MIN, 280, 1},
        {150, 3, 150, 3},
    };
    for (const Row& size : sizes) {
        for (int style = -1; style <= 5; ++style) {
            for (int speed : {INT_MIN, -11, 0, 11, INT_MAX}) {
                for (bool user : {false, true}) {
                    TSeededRandom random(1);
                    TRainbowState state;
                    for (int tick = 0; tick < 3; ++tick)
                        state = NextRainbowState(Settings(style, user, size.Width, size.Height, speed), state, random);
                    ASSERT_EQ(state.Frame.Length, size.ExpectedLength);
                    ASSERT_EQ(state.Frame.Thickness, size.ExpectedThickness);
                    ASSERT_EQ(state.Frame.Pixels.size(), size_t(size.ExpectedLength) * size.ExpectedThickness);
                    ASSERT_GE(state.Phase, 0);
                    ASSERT_LE(state.Phase, kPhaseWrap);
                }
            }
        }
    }
}

TEST(RainbowBounds, UnknownStyleDrawsNothingAndANewSizeStartsBlack)
{
    TScriptedRandom random;
    TRainbowState state = Before(Settings(9, false, 100, 3), 200);
    state = NextRainbowState(Settings(9, false, 100, 3), state, random);
    EXPECT_EQ(std::count(state.Frame.Pixels.begin(), state.Frame.Pixels.end(), kMarker), 300);

    state = NextRainbowState(Settings(9, false, 120, 2), state, random);
    EXPECT_EQ(state.Frame, TStripFrame::Black(120, 2));
}

TEST(BlockColours, PushesKeepTheTableWithinItsEntries)
{
    TSeededRandom seeded(3);
    TBlockColours blocks(seeded);
    const TBlockColours old = blocks;
    blocks.PushAtEnd(1000, kMarker);
    EXPECT_EQ(blocks[499], old[500]);
    EXPECT_EQ(blocks[500], kMarker);
    EXPECT_EQ(blocks[600], kMarker) << "reads past the end see the last entry";
    blocks.PushAtStart(-3, kWhite);
    EXPECT_EQ(blocks[0], kWhite);
    EXPECT_EQ(blocks[1], old[2]);
}

TEST(StripResize, ReplacedFlatAgainstItsEdgeWithTheNewSize)
{
    const TRect desk{0, 0, 1024, 768};
    TRainbowSettings s;
    s.Width = 200;
    s.Height = 5;
    struct Row {
        TEdge Edge;
        TRect Current;
        TRect Expected;
    } rows[] = {
        {TEdge::Left, {0, 300, 3, 150}, {0, 300, 5, 200}},
        {TEdge::Top, {400, 0, 150, 3}, {400, 0, 200, 5}},
        {TEdge::Right, {1021, 300, 3, 150}, {1019, 300, 5, 200}},
        {TEdge::Bottom, {400, 765, 150, 3}, {400, 763, 200, 5}},
        {TEdge::Bottom, {900, 765, 124, 3}, {824, 763, 200, 5}},
        {TEdge::Right, {1021, 700, 3, 68}, {1019, 568, 5, 200}},
    };
    for (const Row& row : rows)
        EXPECT_EQ(ReplaceStripAtEdge(row.Edge, row.Current, desk, s), row.Expected) << int(row.Edge);
}

} // namespace
} // namespace tramble
