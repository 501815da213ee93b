#include "launcher/BarLayout.h"

#include <gtest/gtest.h>

namespace tramble {
namespace {

constexpr int kCell = 36;
constexpr int kCmd = 22;
const TRect kDesk{0, 0, 1024, 768};

// A bar without frame at (100, 100) whose client is `width` wide and whose
// last layout gave `normal`.
TLayoutInput Bar(int entries, int width, int normal, int rows = 1)
{
    TLayoutInput in;
    in.Cell = kCell;
    in.EntryCount = entries;
    in.ClientWidth = width;
    in.ClientHeight = rows * kCell + kCmd;
    in.Window = {100, 100, in.ClientWidth, in.ClientHeight};
    in.NormalClientWidth = normal;
    in.CommandBoxHeight = kCmd;
    in.Desktop = kDesk;
    return in;
}

TEST(BarLayout, NoEntriesStillGiveThreeColumnsAndOneRow)
{
    for (int width : {0, 40, 108, 110}) {
        const TLayout out = LayOutBar(Bar(0, width, 108));
        EXPECT_EQ(out.Columns, 3) << width;
        EXPECT_EQ(out.Rows, 1) << width;
        EXPECT_EQ(out.ClientWidth, 3 * kCell);
        EXPECT_EQ(out.ClientHeight, kCell + kCmd);
    }
}

TEST(BarLayout, DraggedWidthAddsOrKeepsColumns)
{
    struct Row {
        int Width;
        int Columns;
    } rows[] = {
        {144, 4},                    // the normal width
        {144 + 6, 5},                // 6 pixels wider: one more column
        {144 + 5, 4},                // 5 wider is not enough
        {144 - 3, 4},                // a small shrink keeps the columns
        {144 - 4, 4},  {144 - 5, 3}, // a shrink of 5 drops one
        {144 + 36, 6},
    };
    for (const Row& row : rows) {
        const TLayout out = LayOutBar(Bar(10, row.Width, 144, 3));
        EXPECT_EQ(out.Columns, row.Columns) << row.Width;
        EXPECT_EQ(out.Rows, (10 + 2 + row.Columns - 1) / row.Columns) << row.Width;
        EXPECT_EQ(out.ClientWidth, row.Columns * kCell);
    }
}

TEST(BarLayout, ColumnsStopAtTheDesktopWidth)
{
    TLayoutInput in = Bar(40, 2000, 2000);
    in.Desktop = {0, 0, 200, 768};
    const TLayout out = LayOutBar(in);
    EXPECT_EQ(out.Columns, 200 / kCell);
    EXPECT_EQ(out.Rows, (42 + 4) / 5);
}

TEST(BarLayout, EveryButtonFitsWhenRowsRunOut)
{
    TLayoutInput in = Bar(0, 108, 108);
    in.Desktop = {0, 0, 1024, 2 * kCell + kCmd + 10}; // room for two rows
    for (int entries = 0; entries <= 60; ++entries) {
        in.EntryCount = entries;
        const TLayout out = LayOutBar(in);
        EXPECT_LE(out.Rows, 2) << entries;
        EXPECT_GE(out.Columns * out.Rows, entries + 2) << entries;
        const TPoint last = CellPosition(entries + 1, out.Columns, kCell);
        EXPECT_LT(last.Y, out.Rows * kCell) << entries;
    }
}

TEST(BarLayout, CommandBoxAndGroupButtonShareTheLastLine)
{
    const TLayout out = LayOutBar(Bar(4, 108, 108));
    EXPECT_EQ(out.Rows, 2);
    EXPECT_EQ(out.CommandBox, (TRect{0, 2 * kCell, 108 - (kCmd - 1), kCmd}));
    EXPECT_EQ(out.GroupButton, (TRect{108 - (kCmd - 1), 2 * kCell, kCmd - 1, kCmd - 1}));
}

TEST(BarLayout, CellsFillRowsLeftToRight)
{
    EXPECT_EQ(CellPosition(0, 3, kCell), (TPoint{0, 0}));
    EXPECT_EQ(CellPosition(1, 3, kCell), (TPoint{kCell, 0}));
    EXPECT_EQ(CellPosition(5, 3, kCell), (TPoint{2 * kCell, kCell}));
    EXPECT_EQ(CellPosition(6, 4, kCell), (TPoint{2 * kCell, kCell}));
}

TEST(BarLayout, WindowFrameIsKeptAroundTheClient)
{
    TLayoutInput in = Bar(0, 108, 108);
    in.Window.Width += 6;
    in.Window.Height += 30;
    const TLayout out = LayOutBar(in);
    EXPECT_EQ(out.Window.Width, out.ClientWidth + 6);
    EXPECT_EQ(out.Window.Height, out.ClientHeight + 30);
    EXPECT_EQ(out.Window.Left, 100);
    EXPECT_EQ(out.Window.Top, 100);
}

TEST(BarLayout, ABarDockedToTheBottomOrRightStaysDockedWhenItGrows)
{
    TLayoutInput in = Bar(1, 108, 108);
    in.Window.Top = kDesk.Height - in.Window.Height; // touching the bottom
    in.Window.Left = kDesk.Width - in.Window.Width;  // and the right edge
    in.EntryCount = 2;                               // a new button adds a row
    const TLayout out = LayOutBar(in);
    EXPECT_EQ(out.Rows, 2);
    EXPECT_EQ(out.Window.Bottom(), kDesk.Bottom());
    EXPECT_EQ(out.Window.Right(), kDesk.Right());

    in.EntryCount = 0; // and when it shrinks
    in.ClientHeight = 2 * kCell + kCmd;
    in.Window.Height = in.ClientHeight;
    in.Window.Top = kDesk.Height - in.Window.Height;
    EXPECT_EQ(LayOutBar(in).Window.Bottom(), kDesk.Bottom());
}

TEST(BarLayout, AFreeBarKeepsItsTopLeftUnlessItWouldLeaveTheDesktop)
{
    TLayoutInput in = Bar(20, 108, 108);
    TLayout out = LayOutBar(in);
    EXPECT_EQ(out.Window.Left, 100);
    EXPECT_EQ(out.Window.Top, 100);

    in.Window.Top = 740; // growing would push it below the desktop
    in.Window.Left = 1000;
    out = LayOutBar(in);
    EXPECT_EQ(out.Window.Bottom(), 768);
    EXPECT_EQ(out.Window.Right(), 1024);

    in.Window.Left = -50; // dragged off the left and top
    in.Window.Top = -20;
    out = LayOutBar(in);
    EXPECT_EQ(out.Window.Left, 0);
    EXPECT_EQ(out.Window.Top, 0);
}

TEST(BarLayout, DesktopNotStartingAtTheOrigin)
{
    TLayoutInput in = Bar(0, 108, 108);
    in.Desktop = {-1280, 0, 2304, 1024};
    in.Window = {-1280, 1024 - in.ClientHeight, in.ClientWidth, in.ClientHeight};
    in.EntryCount = 2;
    const TLayout out = LayOutBar(in);
    EXPECT_EQ(out.Window.Left, -1280);
    EXPECT_EQ(out.Window.Bottom(), 1024);
}

} // namespace
} // namespace tramble
