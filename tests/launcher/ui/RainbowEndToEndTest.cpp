// The real program under Xvfb with openbox: the bar minimised into the strip,
// the strip's colours on screen, hover restore and auto-hide.
#include "store/FastIniFile.h"

#include "support/TempDir.h"
#include "support/XSession.h"

#include <gtest/gtest.h>

#include <sstream>

namespace tramble {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using test::Process;
using test::WindowInfo;
using test::XSession;

constexpr int kLength = 200;
constexpr int kThickness = 6;

class RainbowEndToEnd : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (auto tool = XSession::MissingTool({"import", "identify"}))
            GTEST_SKIP() << *tool << " is not installed";
        ASSERT_TRUE(m_x.Start(m_dir.path())) << "Xvfb did not start";
    }

    std::string Program()
    {
        fs::create_directories(m_dir.path() / "a");
        const fs::path target = m_dir.path() / "a" / "tramble";
        fs::copy_file(TRAMBLE_EXECUTABLE, target);
        test::WriteFileBytes((m_dir.path() / "a" / "tramble.ini").string(),
                             "[cfg]\nSyncTime=0\nRainBowWidth=" + std::to_string(kLength) +
                                 "\nRainBowHeight=" + std::to_string(kThickness) +
                                 "\nRainbowStyle=0\nHideSpeed=2\nResSpeed=2\n[last]\nLeft=0\nTop=200\n");
        return target.string();
    }

    // The program's visible window of the strip's size, once there is one.
    std::optional<WindowInfo> WaitForStrip(pid_t pid, std::chrono::milliseconds limit = 5s)
    {
        const auto end = std::chrono::steady_clock::now() + limit;
        for (;;) {
            for (const WindowInfo& w : m_x.Windows("--pid " + std::to_string(pid))) {
                if (w.Width == kThickness && w.Height == kLength)
                    return w;
            }
            if (std::chrono::steady_clock::now() >= end)
                return std::nullopt;
            std::this_thread::sleep_for(100ms);
        }
    }

    bool StripShown(pid_t pid) { return WaitForStrip(pid, 0ms).has_value(); }

    // Minimising folds the bar into the strip; asked again should the window
    // manager have missed the first request on a busy machine.
    std::optional<WindowInfo> Minimise(const WindowInfo& bar, pid_t pid)
    {
        for (int i = 0; i < 3; ++i) {
            m_x.X("xdotool windowminimize " + bar.Id);
            if (auto strip = WaitForStrip(pid, 3s))
                return strip;
        }
        return std::nullopt;
    }

    void Pointer(int x, int y) { m_x.X("xdotool mousemove " + std::to_string(x) + " " + std::to_string(y)); }

    test::TempDir m_dir;
    XSession m_x;
};

TEST_F(RainbowEndToEnd, MinimisedBarShowsTheStripAndComesBackOnHover)
{
    Process bar({Program()}, m_x.Env());
    // The tray icons carry the bar's caption too: the bar is the largest.
    const auto window = m_x.WaitForBar(bar.Pid());
    ASSERT_TRUE(window) << "the bar did not appear";
    Pointer(window->X + window->Width / 2, window->Y + window->Height / 2);

    const auto strip = Minimise(*window, bar.Pid());
    ASSERT_TRUE(strip) << "no strip of " << kThickness << "x" << kLength << " appeared";
    EXPECT_EQ(strip->X, 0) << "the strip lies on the left edge";
    Pointer(600, 500);

    // A few frames, then the strip as the screen shows it.
    std::this_thread::sleep_for(700ms);
    const std::string shot = (m_dir.path() / "strip.png").string();
    std::ostringstream crop;
    crop << kThickness << "x" << kLength << "+" << strip->X << "+" << strip->Y;
    m_x.X("import -window root -crop " + crop.str() + " " + shot);
    std::istringstream picture(m_x.X("identify -format '%w %h %k %[fx:maxima]' " + shot));
    int width = 0, height = 0, colours = 0;
    double brightest = 0;
    picture >> width >> height >> colours >> brightest;
    EXPECT_EQ(width, kThickness);
    EXPECT_EQ(height, kLength);
    EXPECT_GT(colours, 6) << "the wheel shows many colours";
    EXPECT_GT(brightest, 0.5) << "the strip is not black";

    // Hovering over the strip brings the bar back, under the pointer, so
    // that it stays.
    Pointer(strip->X + 1, strip->Y + 5);
    EXPECT_TRUE(m_x.WaitForBar(bar.Pid(), 10s)) << "hovering did not restore the bar";
    EXPECT_FALSE(StripShown(bar.Pid()));

    // The bar touches the left edge, so it hides again once the pointer leaves.
    Pointer(600, 500);
    EXPECT_TRUE(WaitForStrip(bar.Pid())) << "the bar did not hide itself";

    bar.Signal(SIGTERM);
    ASSERT_EQ(bar.Wait(10s), 0);
    TFastIniFile ini((m_dir.path() / "a" / "tramble.ini").string());
    EXPECT_GT(ini.ReadNumber("last", "elapse", 0), 0);
}

} // namespace
} // namespace tramble
