#include "launcher/StripPlacement.h"

#include <gtest/gtest.h>

namespace tramble {
namespace {

const TRect kDesk{0, 0, 1000, 800};

TEST(StripPlacement, NearestEdgeWithItsTieOrder)
{
    struct Row {
        const char* What;
        TRect Window;
        TEdge Edge;
        TRect Strip;
    } rows[] = {
        {"near the left", {5, 300, 100, 60}, TEdge::Left, {0, 300, 3, 150}},
        {"near the top", {300, 10, 100, 60}, TEdge::Top, {300, 0, 150, 3}},
        {"near the right", {880, 300, 100, 60}, TEdge::Right, {997, 300, 3, 150}},
        {"near the bottom", {300, 700, 100, 60}, TEdge::Bottom, {300, 797, 150, 3}},
        {"left ties top", {10, 10, 100, 60}, TEdge::Left, {0, 10, 3, 150}},
        {"top ties right", {450, 10, 540, 60}, TEdge::Top, {450, 0, 150, 3}},
        {"right ties bottom", {500, 340, 490, 450}, TEdge::Right, {997, 340, 3, 150}},
        {"touching the bottom", {300, 740, 100, 60}, TEdge::Bottom, {300, 797, 150, 3}},
        {"touching right and bottom", {900, 740, 100, 60}, TEdge::Right, {997, 650, 3, 150}},
    };
    for (const Row& row : rows) {
        const TStrip strip = PlaceStrip(row.Window, kDesk, 150, 3);
        EXPECT_EQ(strip.Edge, row.Edge) << row.What;
        EXPECT_EQ(strip.Rect, row.Strip) << row.What;
    }
}

TEST(StripPlacement, ABarTouchingTheRightEdgeKeepsAHorizontalStripThere)
{
    // Nearer the top than anything, and touching the right edge.
    const TStrip strip = PlaceStrip({980, 0, 20, 60}, kDesk, 150, 3);
    EXPECT_EQ(strip.Edge, TEdge::Top);
    EXPECT_EQ(strip.Rect, (TRect{850, 0, 150, 3}));
}

TEST(StripPlacement, StripNeverLeavesTheDesktop)
{
    for (int left : {-40, 0, 500, 950}) {
        for (int top : {-40, 0, 400, 790}) {
            const TStrip strip = PlaceStrip({left, top, 100, 60}, kDesk, 280, 12);
            EXPECT_GE(strip.Rect.Left, 0);
            EXPECT_GE(strip.Rect.Top, 0);
            EXPECT_LE(strip.Rect.Right(), 1000);
            EXPECT_LE(strip.Rect.Bottom(), 800);
        }
    }
}

TEST(StripPlacement, ZeroSizesBecomeOnePixel)
{
    const TStrip strip = PlaceStrip({300, 10, 100, 60}, kDesk, 0, 0);
    EXPECT_EQ(strip.Rect, (TRect{300, 0, 1, 1}));
}

TEST(DesktopClamp, MovingShiftsBackWithTheSizeKept)
{
    EXPECT_EQ(KeepInsideWhileMoving({-30, -5, 100, 60}, kDesk), (TRect{0, 0, 100, 60}));
    EXPECT_EQ(KeepInsideWhileMoving({950, 780, 100, 60}, kDesk), (TRect{900, 740, 100, 60}));
    EXPECT_EQ(KeepInsideWhileMoving({10, 20, 100, 60}, kDesk), (TRect{10, 20, 100, 60}));
    EXPECT_EQ(KeepInsideWhileMoving({-1300, 5, 100, 60}, {-1280, 0, 2280, 800}), (TRect{-1280, 5, 100, 60}));
}

TEST(DesktopClamp, SizingClampsEachEdge)
{
    EXPECT_EQ(KeepInsideWhileSizing({-30, -5, 100, 60}, kDesk), (TRect{0, 0, 70, 55}));
    EXPECT_EQ(KeepInsideWhileSizing({950, 780, 100, 60}, kDesk), (TRect{950, 780, 50, 20}));
    EXPECT_EQ(KeepInsideWhileSizing({10, 20, 100, 60}, kDesk), (TRect{10, 20, 100, 60}));
}

} // namespace
} // namespace tramble
