#pragma once

#include "launcher/StripPlacement.h"
#include "store/ColorNames.h"

namespace tramble {

// The strip's settings of section "cfg", as read from the file.
struct TRainbowSettings {
    int Speed = 2;   // RainBowSpeed: phase step per tick, 0 means 1
    int Width = 150; // RainBowWidth: length along the edge
    int Height = 3;  // RainBowHeight: thickness
    int Style = 0;   // RainbowStyle: 0..4, anything else draws nothing
    bool UserColor = false;
    TColor RBCC1 = 0;
    TColor RBCC2 = 0xFFFFFF;
};

// The ranges the options dialog allows. The file may hold anything, so the
// strip is sized and drawn with the values forced into them.
constexpr int kStripMinLength = 36;
constexpr int kStripMaxLength = 280;
constexpr int kStripMinThickness = 1;
constexpr int kStripMaxThickness = 12;
constexpr int kRainbowMaxSpeed = 10;

TRainbowSettings ClampedForDrawing(const TRainbowSettings& settings);

// The strip placed again at its edge after its size settings changed: flat
// against that edge, its place along the edge kept.
TRect ReplaceStripAtEdge(TEdge edge, const TRect& current, const TRect& desktop, const TRainbowSettings& settings);

} // namespace tramble
