#include "launcher/AutoHide.h"

#include <gtest/gtest.h>

#include <vector>

namespace tramble {
namespace {

const TRect kDesk{0, 0, 1024, 768};
const TRect kBarAtBottom{300, 668, 140, 100};
const TPoint kFarAway{10, 10};

TAutoHideView BarView(TPoint cursor = kFarAway, TRect window = kBarAtBottom)
{
    TAutoHideView view;
    view.Cursor = cursor;
    view.Window = window;
    view.Desktop = kDesk;
    view.FrameSize = {8, 30};
    return view;
}

TAutoHideView StripView(TPoint cursor)
{
    TAutoHideView view = BarView(cursor, {300, 765, 150, 3});
    view.InRainbowMode = true;
    return view;
}

auto Shows(TProbeSight sight)
{
    return [sight](TPoint) { return sight; };
}

// Ticks until something happens; the tick number (from 1) and the action.
std::pair<int, TAutoHideAction> TicksUntilAction(TAutoHide& hide, const TAutoHideView& view, TProbeSight sight,
                                                 int limit = 100)
{
    for (int tick = 1; tick <= limit; ++tick) {
        const TAutoHideAction action = hide.Tick(view, Shows(sight));
        if (action != TAutoHideAction::None)
            return {tick, action};
    }
    return {0, TAutoHideAction::None};
}

TEST(AutoHideGeometry, NearMeansWithinTwoPixels)
{
    const TRect bar{100, 200, 50, 40};
    struct Row {
        TPoint Cursor;
        bool Near;
    } rows[] = {
        {{125, 220}, true},  {{98, 198}, true},   {{152, 242}, true},  {{97, 220}, false},
        {{153, 220}, false}, {{125, 197}, false}, {{125, 243}, false}, {{-5, -5}, false},
    };
    for (const Row& row : rows)
        EXPECT_EQ(IsNear(row.Cursor, bar), row.Near) << row.Cursor.X << "," << row.Cursor.Y;
}

TEST(AutoHideGeometry, TouchingAnyOfTheFourEdges)
{
    struct Row {
        TRect Window;
        bool Touches;
    } rows[] = {
        {{0, 300, 100, 50}, true},    {{300, 0, 100, 50}, true}, {{924, 300, 100, 50}, true},
        {{300, 718, 100, 50}, true},  {{1, 1, 100, 50}, false},  {{923, 717, 100, 50}, false},
        {{300, 300, 100, 50}, false},
    };
    for (const Row& row : rows)
        EXPECT_EQ(TouchesDesktopEdge(row.Window, kDesk), row.Touches) << row.Window.Left << "," << row.Window.Top;
}

TEST(AutoHide, HidesOnTheTickAfterHideSpeedTicksAway)
{
    for (int speed : {1, 5, 18}) {
        TAutoHide hide;
        TAutoHideView view = BarView();
        view.HideSpeed = speed;
        const auto [tick, action] = TicksUntilAction(hide, view, TProbeSight::Bar);
        EXPECT_EQ(tick, speed + 1) << "speed " << speed;
        EXPECT_EQ(action, TAutoHideAction::Minimise);
        EXPECT_EQ(hide.HideCount(), 0);
    }
}

TEST(AutoHide, DelaysOutsideTheDialogRangeAreForcedIntoIt)
{
    struct Row {
        int Speed;
        int Tick;
    } rows[] = {{0, 2}, {-7, 2}, {19, 19}, {65535, 19}};
    for (const Row& row : rows) {
        TAutoHide hide;
        TAutoHideView bar = BarView();
        bar.HideSpeed = row.Speed;
        EXPECT_EQ(TicksUntilAction(hide, bar, TProbeSight::Bar).first, row.Tick) << "hide speed " << row.Speed;

        TAutoHideView strip = StripView({350, 766});
        strip.ResSpeed = row.Speed;
        EXPECT_EQ(TicksUntilAction(hide, strip, TProbeSight::Nothing).first, row.Tick) << "restore speed " << row.Speed;
    }
}

TEST(AutoHide, CursorNearTheBarOrSomethingElseAtTheProbeStartsTheCountAgain)
{
    struct Row {
        const char* What;
        TPoint Cursor;
        TProbeSight Sight;
    } rows[] = {
        {"cursor on the bar", {350, 700}, TProbeSight::Bar},
        {"cursor just beside the bar", {298, 700}, TProbeSight::Bar},
        {"another window over the corner", kFarAway, TProbeSight::OtherWindow},
        {"nothing at the probe", kFarAway, TProbeSight::Nothing},
    };
    for (const Row& row : rows) {
        TAutoHide hide;
        for (int tick = 0; tick < 4; ++tick)
            hide.Tick(BarView(), Shows(TProbeSight::Bar));
        ASSERT_EQ(hide.HideCount(), 4);
        EXPECT_EQ(hide.Tick(BarView(row.Cursor), Shows(row.Sight)), TAutoHideAction::None) << row.What;
        EXPECT_EQ(hide.HideCount(), 0) << row.What;
        EXPECT_EQ(TicksUntilAction(hide, BarView(), TProbeSight::Bar).first, 6) << row.What;
    }
}

TEST(AutoHide, ABarAwayFromEveryEdgeStaysAndKeepsItsCount)
{
    TAutoHide hide;
    hide.Tick(BarView(), Shows(TProbeSight::Bar));
    hide.Tick(BarView(), Shows(TProbeSight::Bar));
    const TRect floating{300, 300, 140, 100};
    bool asked = false;
    for (int tick = 0; tick < 20; ++tick) {
        EXPECT_EQ(hide.Tick(BarView(kFarAway, floating),
                            [&](TPoint) {
                                asked = true;
                                return TProbeSight::Bar;
                            }),
                  TAutoHideAction::None);
    }
    EXPECT_FALSE(asked);
    EXPECT_EQ(hide.HideCount(), 2);
}

TEST(AutoHide, ProbeIsTheFrameCornerUntilAMenuOpens)
{
    TAutoHide hide;
    std::vector<TPoint> probes;
    const auto record = [&](TPoint p) {
        probes.push_back(p);
        return TProbeSight::Bar;
    };
    hide.Tick(BarView(), record);
    hide.SetPopupPoint({40, 12});
    hide.Tick(BarView(), record);
    hide.Tick(BarView({350, 700}), record); // near the bar: no need to look
    ASSERT_EQ(probes.size(), 2u);
    EXPECT_EQ(probes[0], (TPoint{308, 698}));
    EXPECT_EQ(probes[1], (TPoint{340, 680}));
}

TEST(AutoHide, AnOpenMenuAtThePopupPointHoldsTheBar)
{
    TAutoHide hide;
    hide.SetPopupPoint({40, 12});
    const TPoint menuCorner{340, 680};
    const auto screen = [&](TPoint p) { return p == menuCorner ? TProbeSight::OtherWindow : TProbeSight::Bar; };
    for (int tick = 0; tick < 30; ++tick)
        EXPECT_EQ(hide.Tick(BarView(), screen), TAutoHideAction::None);
}

TEST(AutoHide, ModalGuardHoldsTheBarAndTheStripAndReleaseRestartsTheCount)
{
    TAutoHide hide;
    for (int tick = 0; tick < 3; ++tick)
        hide.Tick(BarView(), Shows(TProbeSight::Bar));
    hide.Hold();
    hide.Hold(); // a dialog opened from a dialog
    bool asked = false;
    for (int tick = 0; tick < 30; ++tick) {
        EXPECT_EQ(hide.Tick(BarView(),
                            [&](TPoint) {
                                asked = true;
                                return TProbeSight::Bar;
                            }),
                  TAutoHideAction::None);
        EXPECT_EQ(hide.Tick(StripView({350, 766}), Shows(TProbeSight::Nothing)), TAutoHideAction::None);
    }
    EXPECT_FALSE(asked);
    EXPECT_EQ(hide.HideCount(), 3);
    EXPECT_EQ(hide.RestoreCount(), 0);

    hide.Release();
    EXPECT_TRUE(hide.ModalGuard()) << "the outer dialog is still open";
    EXPECT_EQ(hide.HideCount(), 0);
    hide.Release();
    EXPECT_FALSE(hide.ModalGuard());
    hide.Release(); // one release too many changes nothing
    EXPECT_FALSE(hide.ModalGuard());
    EXPECT_EQ(TicksUntilAction(hide, BarView(), TProbeSight::Bar).first, 6);
}

TEST(AutoHide, HoveringTheStripBringsTheBarBackAfterResSpeedTicks)
{
    TAutoHide hide;
    const TAutoHideView onStrip = StripView({350, 763}); // two pixels off the strip still counts
    for (int tick = 0; tick < 2; ++tick)
        EXPECT_EQ(hide.Tick(onStrip, Shows(TProbeSight::Nothing)), TAutoHideAction::None);
    EXPECT_EQ(hide.Tick(StripView({350, 700}), Shows(TProbeSight::Nothing)), TAutoHideAction::None);
    EXPECT_EQ(hide.RestoreCount(), 0) << "moving away starts again";

    const auto [tick, action] = TicksUntilAction(hide, onStrip, TProbeSight::Nothing);
    EXPECT_EQ(tick, 4);
    EXPECT_EQ(action, TAutoHideAction::Restore);
    EXPECT_EQ(hide.RestoreCount(), 0);
}

} // namespace
} // namespace tramble
