#include "launcher/BarPosition.h"

#include <gtest/gtest.h>

namespace tramble {
namespace {

const TRect kScreen{0, 0, 1024, 768};

TEST(BarPosition, TaskbarIsTheStripTheWorkAreaLeavesFree)
{
    struct Row {
        const char* What;
        TRect WorkArea;
        TTaskbarEdge Edge;
        TRect Taskbar;
    } rows[] = {
        {"bottom panel", {0, 0, 1024, 740}, TTaskbarEdge::Bottom, {0, 740, 1024, 28}},
        {"top panel", {0, 24, 1024, 744}, TTaskbarEdge::Top, {0, 0, 1024, 24}},
        {"left panel", {48, 0, 976, 768}, TTaskbarEdge::Left, {0, 0, 48, 768}},
        {"right panel", {0, 0, 990, 768}, TTaskbarEdge::Right, {990, 0, 34, 768}},
        {"top and wider bottom", {0, 24, 1024, 704}, TTaskbarEdge::Bottom, {0, 728, 1024, 40}},
    };
    for (const Row& row : rows) {
        const auto taskbar = TaskbarFromWorkArea(kScreen, row.WorkArea);
        ASSERT_TRUE(taskbar) << row.What;
        EXPECT_EQ(taskbar->Edge, row.Edge) << row.What;
        EXPECT_EQ(taskbar->Rect, row.Taskbar) << row.What;
    }
    EXPECT_FALSE(TaskbarFromWorkArea(kScreen, kScreen));
}

TEST(BarPosition, DefaultPlaceBesideTheTaskbar)
{
    const int w = 120;
    const int h = 80;
    struct Row {
        TTaskbarEdge Edge;
        TRect Taskbar;
        TPoint At;
    } rows[] = {
        {TTaskbarEdge::Left, {0, 0, 48, 768}, {48, 768}},
        {TTaskbarEdge::Top, {0, 0, 1024, 24}, {1024 - w, 24}},
        {TTaskbarEdge::Right, {990, 0, 34, 768}, {990 - w, 768}},
        {TTaskbarEdge::Bottom, {0, 740, 1024, 28}, {1024 - w, 740 - h}},
    };
    for (const Row& row : rows)
        EXPECT_EQ(DefaultBarPosition(TTaskbar{row.Taskbar, row.Edge}, w, h), row.At);
    EXPECT_EQ(DefaultBarPosition(std::nullopt, w, h), (TPoint{0, 0}));
}

} // namespace
} // namespace tramble
