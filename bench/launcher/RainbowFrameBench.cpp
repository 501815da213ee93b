// One frame of the strip per style, next to the least a frame can cost (one
// fill of the same pixels) and to turning a frame into the painted image.
#include "launcher/RainbowFrame.h"
#include "launcher/ui/RainbowStrip.h"

#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>

#include <algorithm>

namespace {

using namespace tramble;

TRainbowSettings Settings(int style, bool user, int width, int height)
{
    TRainbowSettings s;
    s.Style = style;
    s.UserColor = user;
    s.Width = width;
    s.Height = height;
    s.RBCC1 = 0x203040;
    s.RBCC2 = 0xF0E0D0;
    return s;
}

// Arguments: style, user colours, length, thickness.
void BM_RainbowFrame(benchmark::State& state)
{
    const TRainbowSettings s =
        Settings(int(state.range(0)), state.range(1) != 0, int(state.range(2)), int(state.range(3)));
    TSeededRandom random(1);
    TRainbowState rainbow;
    rainbow.Blocks = TBlockColours(random);
    for (auto _ : state) {
        rainbow = NextRainbowState(s, std::move(rainbow), random);
        benchmark::DoNotOptimize(rainbow.Frame.Pixels.data());
    }
}

void FrameArguments(benchmark::internal::Benchmark* b)
{
    for (int style = 0; style <= 4; ++style) {
        for (int user : {0, 1}) {
            b->Args({style, user, 150, 3});
            b->Args({style, user, 280, 12});
        }
    }
}
BENCHMARK(BM_RainbowFrame)->Apply(FrameArguments);

// The floor: every pixel of the strip written once.
void BM_FillStrip(benchmark::State& state)
{
    TStripFrame frame = TStripFrame::Black(int(state.range(0)), int(state.range(1)));
    TColor colour = 0;
    for (auto _ : state) {
        std::fill(frame.Pixels.begin(), frame.Pixels.end(), ++colour);
        benchmark::DoNotOptimize(frame.Pixels.data());
    }
}
BENCHMARK(BM_FillStrip)->Args({150, 3})->Args({280, 12});

// What the strip's paint adds: the frame as an image, drawn.
void BM_PaintFrame(benchmark::State& state)
{
    const TRainbowSettings s = Settings(0, false, int(state.range(0)), int(state.range(1)));
    TSeededRandom random(1);
    const TRainbowState rainbow = NextRainbowState(s, TRainbowState{}, random);
    QImage canvas(s.Width, s.Height, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&canvas);
        painter.drawImage(0, 0, FrameImage(rainbow.Frame, true));
    }
}
BENCHMARK(BM_PaintFrame)->Args({150, 3})->Args({280, 12});

} // namespace

BENCHMARK_MAIN();
