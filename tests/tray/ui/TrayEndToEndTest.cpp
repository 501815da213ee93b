// The real program under Xvfb with openbox and trayer: seven monitor icons
// in the tray, their pictures on screen, a menu on right click, the bar back
// on left click, and a second copy that adds no monitor twice.
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

class TrayEndToEnd : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (auto tool = XSession::MissingTool({"import", "convert"}))
            GTEST_SKIP() << *tool << " is not installed";
        ASSERT_TRUE(m_x.Start(m_dir.path())) << "Xvfb did not start";
    }

    // A copy of the program in its own folder, weather icon on.
    std::string Program(const std::string& folder)
    {
        fs::create_directories(m_dir.path() / folder);
        const fs::path target = m_dir.path() / folder / "tramble";
        fs::copy_file(TRAMBLE_EXECUTABLE, target);
        test::WriteFileBytes((m_dir.path() / folder / "tramble.ini").string(),
                             "[cfg]\nshowWeather=1\nSyncTime=0\nTitleBar=1\n[last]\nLeft=100\nTop=200\n");
        return target.string();
    }

    // The program's windows docked in trayer's panel at the bottom of the
    // screen, from the window tree (the embedded windows are children of the
    // panel, which a name search does not reach).
    std::vector<WindowInfo> TrayIcons()
    {
        std::vector<WindowInfo> icons;
        const std::string tree = m_x.X("xwininfo -root -tree");
        const std::regex docked(
            R"((0x[0-9a-f]+) "tramble": \("tramble" "tramble"\)\s+(\d+)x(\d+)\+-?\d+\+-?\d+\s+\+(-?\d+)\+(-?\d+))");
        for (auto it = std::sregex_iterator(tree.begin(), tree.end(), docked); it != std::sregex_iterator(); ++it) {
            const WindowInfo w{(*it)[1], std::stoi((*it)[4]), std::stoi((*it)[5]), std::stoi((*it)[2]),
                               std::stoi((*it)[3])};
            if (w.Y >= 768 - 24 && w.Width >= 16 && w.Width <= 24)
                icons.push_back(w);
        }
        return icons;
    }

    std::vector<WindowInfo> WaitForIcons(size_t count, std::chrono::milliseconds limit = 15s)
    {
        const auto end = std::chrono::steady_clock::now() + limit;
        std::vector<WindowInfo> icons = TrayIcons();
        while (icons.size() < count && std::chrono::steady_clock::now() < end) {
            std::this_thread::sleep_for(200ms);
            icons = TrayIcons();
        }
        return icons;
    }

    // The icon's 16×16 picture as text pixels "r,g,b" in rows, from a screenshot.
    std::vector<std::string> Picture(const WindowInfo& icon)
    {
        const int x = icon.X + (icon.Width - 16) / 2;
        const int y = icon.Y + (icon.Height - 16) / 2;
        const std::string shot = (m_dir.path() / "icon.png").string();
        m_x.X("import -window root -crop 16x16+" + std::to_string(x) + "+" + std::to_string(y) + " " + shot);
        std::istringstream text(m_x.X("convert " + shot + " -depth 8 txt:-"));
        std::vector<std::string> pixels(256);
        for (std::string line; std::getline(text, line);) {
            int px = 0, py = 0, r = 0, g = 0, b = 0;
            if (std::sscanf(line.c_str(), "%d,%d: (%d,%d,%d", &px, &py, &r, &g, &b) == 5 && px < 16 && py < 16)
                pixels[py * 16 + px] = std::to_string(r) + "," + std::to_string(g) + "," + std::to_string(b);
        }
        return pixels;
    }

    test::TempDir m_dir;
    XSession m_x;
};

// The free-memory icon: a black band at rows 11..15 holding a coloured bar,
// digits above it on white.
bool LooksLikeMemory(const std::vector<std::string>& p)
{
    const auto at = [&](int x, int y) { return p[y * 16 + x]; };
    if (at(0, 11) != "0,0,0" || at(15, 15) != "0,0,0" || at(0, 0) != "255,255,255")
        return false;
    int ink = 0;
    for (int y = 1; y < 10; ++y) {
        for (int x = 0; x < 16; ++x)
            ink += at(x, y) == "0,0,0";
    }
    return ink >= 10;
}

TEST_F(TrayEndToEnd, SevenMonitorsMenusAndASecondCopy)
{
    Process bar({Program("a")}, m_x.Env());
    const auto window = m_x.WaitForWindow("--name '^Kuv 2.0$'");
    ASSERT_TRUE(window) << "the bar did not appear";
    std::vector<WindowInfo> icons = WaitForIcons(7);
    ASSERT_EQ(icons.size(), 7u) << "seven monitor icons in the tray";
    std::this_thread::sleep_for(2500ms);

    std::optional<WindowInfo> memory;
    for (const WindowInfo& icon : icons) {
        const std::vector<std::string> picture = Picture(icon);
        int drawn = 0;
        for (const std::string& pixel : picture)
            drawn += !pixel.empty();
        EXPECT_EQ(drawn, 256) << "a 16x16 picture at " << icon.X;
        if (LooksLikeMemory(picture))
            memory = icon;
    }
    ASSERT_TRUE(memory) << "no icon shows the free memory in digits";

    // A right click opens the icon's menu.
    const size_t before = m_x.Windows("--pid " + std::to_string(bar.Pid())).size();
    m_x.X("xdotool mousemove " + std::to_string(memory->X + 8) + " " + std::to_string(memory->Y + 8) + " click 3");
    bool menuShown = false;
    for (int i = 0; i < 50 && !menuShown; ++i) {
        std::this_thread::sleep_for(100ms);
        menuShown = m_x.Windows("--pid " + std::to_string(bar.Pid())).size() > before;
    }
    EXPECT_TRUE(menuShown) << "no menu opened";
    m_x.X("xdotool key Escape");
    std::this_thread::sleep_for(300ms);

    // Minimised, the bar becomes the strip; a left click on an icon brings it back.
    m_x.X("xdotool windowminimize " + window->Id);
    bool hidden = false;
    for (int i = 0; i < 50 && !hidden; ++i) {
        std::this_thread::sleep_for(100ms);
        hidden = m_x.Windows("--name '^Kuv 2.0$'").empty();
    }
    ASSERT_TRUE(hidden) << "the bar did not go";
    m_x.X("xdotool mousemove " + std::to_string(memory->X + 8) + " " + std::to_string(memory->Y + 8) + " click 1");
    EXPECT_TRUE(m_x.WaitForWindow("--name '^Kuv 2.0$'", 10s)) << "the left click did not bring the bar back";

    // A second copy from another folder shows only what no lock guards.
    Process second({Program("b")}, m_x.Env());
    EXPECT_TRUE(m_x.WaitForWindow("--name '^\\[1\\] Kuv 2.0$'"));
    EXPECT_EQ(WaitForIcons(8).size(), 8u) << "the second copy adds its weather icon";
    std::this_thread::sleep_for(2s);
    EXPECT_EQ(TrayIcons().size(), 8u) << "and no monitor icon";

    second.Signal(SIGTERM);
    EXPECT_EQ(second.Wait(10s), 0);
    bar.Signal(SIGTERM);
    EXPECT_EQ(bar.Wait(10s), 0);
}

} // namespace
} // namespace tramble
