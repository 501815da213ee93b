#include "launcher/BarLayout.h"

#include <algorithm>

namespace tramble {
namespace {

// Rows needed for the entries and the two fixed cells.
int RowsFor(int entries, int columns)
{
    return (entries + columns + 1) / columns;
}

} // namespace

TPoint CellPosition(int index, int columns, int cell)
{
    return {index % columns * cell, index / columns * cell};
}

TLayout LayOutBar(const TLayoutInput& in)
{
    const int s = std::max(in.Cell, 1);
    const int count = std::max(in.EntryCount, 0);
    const int frameWidth = in.Window.Width - in.ClientWidth;
    const int frameHeight = in.Window.Height - in.ClientHeight;
    const TRect& desk = in.Desktop;

    const int maxCols = std::max((desk.Width - frameWidth) / s, 1);
    const int maxRows = std::max((desk.Height - in.CommandBoxHeight - frameHeight) / s, 1);
    const bool atBottom = desk.Bottom() == in.Window.Bottom();
    const bool atRight = desk.Right() == in.Window.Right();

    int cols = in.ClientWidth / s;
    if (in.ClientWidth > in.NormalClientWidth + 5)
        ++cols;
    else if (in.ClientWidth < in.NormalClientWidth && in.NormalClientWidth - in.ClientWidth < 5)
        ++cols;
    cols = std::max(std::min(cols, maxCols), 3);

    int rows = RowsFor(count, cols);
    if (rows > maxRows) {
        // As many columns as leave every cell within maxRows rows.
        cols = (count + 2 + maxRows - 1) / maxRows;
        rows = RowsFor(count, cols);
    }
    rows = std::max(rows, 1);

    TLayout out;
    out.Columns = cols;
    out.Rows = rows;
    out.ClientWidth = cols * s;
    out.ClientHeight = rows * s + in.CommandBoxHeight;
    const int groupSide = std::max(in.CommandBoxHeight - 1, 0);
    out.CommandBox = {0, rows * s, out.ClientWidth - groupSide, in.CommandBoxHeight};
    out.GroupButton = {out.ClientWidth - groupSide, rows * s, groupSide, groupSide};

    TRect w{in.Window.Left, in.Window.Top, out.ClientWidth + frameWidth, out.ClientHeight + frameHeight};
    if (w.Bottom() > desk.Bottom() || atBottom)
        w.Top = desk.Bottom() - w.Height;
    if (w.Right() > desk.Right() || atRight)
        w.Left = desk.Right() - w.Width;
    w.Left = std::max(w.Left, desk.Left);
    w.Top = std::max(w.Top, desk.Top);
    out.Window = w;
    return out;
}

} // namespace tramble
