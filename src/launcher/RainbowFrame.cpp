#include "launcher/RainbowFrame.h"

#include "launcher/RainbowColours.h"

#include <algorithm>
#include <cstdlib>

namespace tramble {
namespace {

constexpr int kWheelSegments = 6;

void CrossLine(TStripFrame& frame, int along, TColor colour)
{
    if (along < 0 || along >= frame.Length)
        return;
    for (int across = 0; across < frame.Thickness; ++across)
        frame.Pixels[across * frame.Length + along] = colour;
}

// Fills `from` up to just before `to` along the strip, over the whole thickness.
void FillAlong(TStripFrame& frame, int from, int to, TColor colour)
{
    from = std::max(from, 0);
    to = std::min(to, frame.Length);
    for (int along = from; along < to; ++along)
        CrossLine(frame, along, colour);
}

int SegmentSize(int length)
{
    return std::max(length / kWheelSegments, 1);
}

int HalfOf(int length)
{
    return length <= 1 ? 1 : length / 2;
}

// Style 0: a gradient or the whole wheel travelling along the strip.
void DrawTravellingGradient(const TRainbowSettings& s, int phase, TStripFrame& frame)
{
    const int length = frame.Length;
    if (s.UserColor) {
        const int half = length / 2;
        for (int h = 0; h < half; ++h) {
            CrossLine(frame, (phase + h) % length, Blend(s.RBCC1, s.RBCC2, h, half));
            CrossLine(frame, (phase + half + h) % length, Blend(s.RBCC2, s.RBCC1, h, half));
        }
        return;
    }
    const int segment = SegmentSize(length);
    for (int v = 0; v < segment; ++v) {
        const int x = WheelOffset(v, segment);
        for (int k = 0; k < kWheelSegments; ++k)
            CrossLine(frame, (phase + k * segment + v) % length, Hue(k, x));
    }
}

// Style 1: the whole strip in one colour that cycles with the phase.
void DrawCyclingColour(const TRainbowSettings& s, int phase, TStripFrame& frame)
{
    const int period = s.Width;
    const int ph = phase % period;
    TColor colour;
    if (s.UserColor) {
        const int half = HalfOf(period);
        const int k = ph % half;
        colour = ph / half != 0 ? Blend(s.RBCC2, s.RBCC1, k, half) : Blend(s.RBCC1, s.RBCC2, k, half);
    } else {
        const int segment = SegmentSize(period);
        colour = Hue(std::min(ph / segment, kWheelSegments - 1), WheelOffset(ph % segment, segment));
    }
    FillAlong(frame, 0, frame.Length, colour);
}

TColor BandColour(const TRainbowSettings& s, int pos)
{
    if (!s.UserColor)
        return WheelColour(pos, SegmentSize(s.Width));
    const int half = HalfOf(s.Width);
    const int o = pos % half;
    return pos / half % 2 == 1 ? Blend(s.RBCC2, s.RBCC1, o, half) : Blend(s.RBCC1, s.RBCC2, o, half);
}

// Style 2: the colours squeezed into narrow bands. Line i stands at L − i,
// so the first one falls just outside the strip.
void DrawCompressedBands(const TRainbowSettings& s, int phase, TStripFrame& frame)
{
    const int step = std::abs(s.Speed) + 2;
    for (int i = 0; i <= s.Width; ++i)
        CrossLine(frame, frame.Length - i, BandColour(s, i * step + phase));
}

// Style 3: the bands of style 2 at step 1, with random lines sparkling in.
void DrawSparkle(const TRainbowSettings& s, int phase, TRandomSource& random, TStripFrame& frame)
{
    const int chance = 12 - std::abs(s.Speed);
    const int segment = SegmentSize(s.Width);
    for (int i = 0; i <= s.Width; ++i) {
        const int pos = phase + i;
        TColor colour;
        if (s.UserColor) {
            if (random.Below(chance) != 0) {
                colour = BandColour(s, pos);
            } else {
                const int r = random.Below(256);
                colour = Mix256(s.RBCC2, 256 - r, s.RBCC1, r);
            }
        } else {
            const int v = random.Below(chance) != 0 ? pos % segment : random.Below(segment);
            colour = Hue(pos / segment % kWheelSegments, WheelOffset(v, segment));
        }
        CrossLine(frame, frame.Length - i, colour);
    }
}

// Style 4: blocks of one thickness in length with a black gap, a new colour
// entering at one end each tick.
void DrawMarchingBlocks(const TRainbowSettings& s, TRandomSource& random, TBlockColours& blocks, TStripFrame& frame)
{
    const int r = random.Below(256);
    const int t = s.Height;
    const int n = (s.Width + t - 1) / t;
    const TColor colour = s.UserColor ? Mix256(s.RBCC2, 255 - r, s.RBCC1, r) : RandomColour(random);
    if (s.Speed < 1)
        blocks.PushAtEnd(n, colour);
    else
        blocks.PushAtStart(n, colour);
    FillAlong(frame, 0, frame.Length, clBlack);
    for (int i = 0; i <= s.Width / t + 1; ++i)
        FillAlong(frame, i * t, (i + 1) * t - 1, blocks[i]);
}

} // namespace

TStripFrame TStripFrame::Black(int length, int thickness)
{
    length = std::max(length, 0);
    thickness = std::max(thickness, 0);
    return {length, thickness, std::vector<TColor>(static_cast<size_t>(length) * thickness, clBlack)};
}

int NextPhase(int phase, int speed)
{
    phase = std::clamp(phase, 0, kPhaseWrap);
    phase += speed == 0 ? 1 : std::clamp(speed, -kPhaseWrap, kPhaseWrap);
    if (phase > kPhaseWrap)
        phase -= kPhaseWrap;
    else if (phase < 0)
        phase += kPhaseWrap;
    return phase;
}

TRainbowState NextRainbowState(const TRainbowSettings& settings, TRainbowState state, TRandomSource& random)
{
    const TRainbowSettings s = ClampedForDrawing(settings);
    state.Phase = NextPhase(state.Phase, s.Speed);
    if (state.Frame.Length != s.Width || state.Frame.Thickness != s.Height)
        state.Frame = TStripFrame::Black(s.Width, s.Height);
    switch (s.Style) {
    case 0: DrawTravellingGradient(s, state.Phase, state.Frame); break;
    case 1: DrawCyclingColour(s, state.Phase, state.Frame); break;
    case 2: DrawCompressedBands(s, state.Phase, state.Frame); break;
    case 3: DrawSparkle(s, state.Phase, random, state.Frame); break;
    case 4: DrawMarchingBlocks(s, random, state.Blocks, state.Frame); break;
    default: break;
    }
    return state;
}

} // namespace tramble
