#pragma once

#include "launcher/BlockColours.h"
#include "launcher/RainbowSettings.h"
#include "launcher/RandomSource.h"

#include <vector>

namespace tramble {

// The strip's pixels in strip terms: `along` runs along the edge
// (0..Length−1), `across` over its thickness (0..Thickness−1).
struct TStripFrame {
    int Length = 0;
    int Thickness = 0;
    std::vector<TColor> Pixels; // row by row across, each row along the strip

    static TStripFrame Black(int length, int thickness);
    TColor At(int along, int across) const { return Pixels[across * Length + along]; }
    bool operator==(const TStripFrame&) const = default;
};

// The phase wraps into 0..32768.
constexpr int kPhaseWrap = 32768;
constexpr int kStartPhase = 100;

// Everything one frame is drawn from besides the settings and the random
// numbers: the phase, the marching blocks and the previous frame, whose
// pixels some styles leave as they were.
struct TRainbowState {
    int Phase = kStartPhase;
    TBlockColours Blocks;
    TStripFrame Frame;
};

// The phase after one tick: speed 0 still moves it by 1.
int NextPhase(int phase, int speed);

// One tick of the animation: the phase moves on and the next frame is drawn
// over the previous one. The settings are forced into the dialog's ranges
// first, and the frame has the strip's size for them; a frame of another
// size starts again from black. Apart from the numbers drawn from `random`
// the result depends only on the arguments.
TRainbowState NextRainbowState(const TRainbowSettings& settings, TRainbowState state, TRandomSource& random);

} // namespace tramble
