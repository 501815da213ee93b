#pragma once

#include "launcher/StripPlacement.h"
#include "store/ColorNames.h"
#include "store/SettingsKeys.h"

namespace tramble {

// The strip's settings of section "cfg", as read from the file.
struct TRainbowSettings {
    int Speed = keys::RainBowSpeed.Number;   // phase step per tick, 0 means 1
    int Width = keys::RainBowWidth.Number;   // length along the edge
    int Height = keys::RainBowHeight.Number; // thickness
    int Style = keys::RainbowStyle.Number;   // 0..4, anything else draws nothing
    bool UserColor = keys::UserColor.Number != 0;
    TColor RBCC1 = keys::RBCC1.Number;
    TColor RBCC2 = keys::RBCC2.Number;
};

// The ranges the options dialog allows. The file may hold anything, so the
// strip is sized and drawn with the values forced into them.
constexpr int kStripMinLength = keys::RainBowWidth.Range.Min;
constexpr int kStripMaxLength = keys::RainBowWidth.Range.Max;
constexpr int kStripMinThickness = keys::RainBowHeight.Range.Min;
constexpr int kStripMaxThickness = keys::RainBowHeight.Range.Max;
constexpr int kRainbowMaxSpeed = keys::RainBowSpeed.Range.Max;

TRainbowSettings ClampedForDrawing(const TRainbowSettings& settings);

// The strip placed again at its edge after its size settings changed: flat
// against that edge, its place along the edge kept.
TRect ReplaceStripAtEdge(TEdge edge, const TRect& current, const TRect& desktop, const TRainbowSettings& settings);

} // namespace tramble
