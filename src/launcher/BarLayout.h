#pragma once

#include "launcher/Geometry.h"

namespace tramble {

// What the layout of the bar starts from.
struct TLayoutInput {
    int Cell = 36;       // button size: icon size + 4
    int EntryCount = 0;  // application buttons besides the two fixed cells
    TRect Window;        // outer rectangle of the bar window
    int ClientWidth = 0; // current client size
    int ClientHeight = 0;
    int NormalClientWidth = 0; // client width the last layout produced
    int CommandBoxHeight = 0;
    TRect Desktop; // the virtual desktop
};

struct TLayout {
    int Columns = 3;
    int Rows = 1;
    int ClientWidth = 0;
    int ClientHeight = 0;
    TRect Window; // new outer rectangle, kept on the desktop
    TRect CommandBox;
    TRect GroupButton;
};

// The grid of the bar: cell 0 is the main image, cell 1 the bookmark button,
// cell i + 2 application button i. Columns follow the client width (a drag of
// more than 5 pixels beyond the normal width adds one, a shrink by less than 5
// keeps them), at least 3 and no more than the desktop holds; rows as many as
// the buttons need. A bar docked to the bottom or right edge stays docked.
TLayout LayOutBar(const TLayoutInput& in);

// Top-left corner of grid cell `index` in client coordinates.
TPoint CellPosition(int index, int columns, int cell);

} // namespace tramble
