// The real program under Xvfb with openbox and trayer: the options opened
// from the bar menu by keyboard, the CPU icon switched off on the tray page.
#include "support/TempDir.h"
#include "support/XSession.h"

#include "store/FastIniFile.h"

#include <gtest/gtest.h>

#include <regex>

namespace tramble {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using test::Process;
using test::XSession;

class OptionsEndToEnd : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_x.Start(m_dir.path())) << "Xvfb did not start"; }

    // The program's windows docked in trayer's panel at the bottom of the screen.
    size_t TrayIconCount()
    {
        const std::string tree = m_x.X("xwininfo -root -tree");
        const std::regex docked(R"("tramble": \("tramble" "tramble"\)\s+(\d+)x\d+\+-?\d+\+-?\d+\s+\+-?\d+\+(-?\d+))");
        size_t count = 0;
        for (auto it = std::sregex_iterator(tree.begin(), tree.end(), docked); it != std::sregex_iterator(); ++it) {
            const int width = std::stoi((*it)[1]);
            if (std::stoi((*it)[2]) >= 768 - 24 && width >= 16 && width <= 24)
                ++count;
        }
        return count;
    }

    size_t WaitForIconCount(size_t count)
    {
        size_t now = TrayIconCount();
        for (int i = 0; i < 100 && now != count; ++i) {
            std::this_thread::sleep_for(150ms);
            now = TrayIconCount();
        }
        return now;
    }

    test::TempDir m_dir;
    XSession m_x;
};

TEST_F(OptionsEndToEnd, UntickingCpuUsageRemovesItsIconAndStoresTheSetting)
{
    const fs::path program = m_dir.path() / "tramble";
    fs::copy_file(TRAMBLE_EXECUTABLE, program);
    const std::string ini = (m_dir.path() / "tramble.ini").string();
    test::WriteFileBytes(ini, "[cfg]\nSyncTime=0\nshowWeather=0\nTitleBar=1\n[last]\nLeft=100\nTop=200\n");
    Process bar({program.string()}, m_x.Env());
    const auto window = m_x.WaitForWindow("--name '^Kuv 2.0$'");
    ASSERT_TRUE(window) << "the bar did not appear";
    const size_t before = WaitForIconCount(6);
    ASSERT_EQ(before, 6u) << "six monitor icons in the tray";

    // The bar menu by a right click on the bar, then its "&Option" item.
    // The main image takes no click of its own, so the bar's menu opens.
    m_x.X("xdotool mousemove " + std::to_string(window->X + 18) + " " + std::to_string(window->Y + 18) + " click 3");
    std::this_thread::sleep_for(800ms);
    // Add, Sort, then Option.
    m_x.X("xdotool key Down Down Down Return");
    const auto options = m_x.WaitForWindow("--name '^Option$'", 10s);
    ASSERT_TRUE(options) << "the options did not open";
    m_x.X("xdotool windowactivate --sync " + options->Id);
    std::this_thread::sleep_for(300ms);
    // Two pages on to the tray page, into its boxes, the fifth is CPU usage;
    // past the last two boxes and Default lies OK.
    m_x.X("xdotool key ctrl+Tab ctrl+Tab");
    std::this_thread::sleep_for(200ms);
    m_x.X("xdotool key Tab Tab Tab Tab Tab space Tab Tab Tab Tab space");

    EXPECT_TRUE(m_x.Windows("--name '^Option$'").empty() || [&] {
        std::this_thread::sleep_for(1s);
        return m_x.Windows("--name '^Option$'").empty();
    }()) << "the options did not close";
    EXPECT_EQ(WaitForIconCount(5), 5u) << "the CPU icon stayed";
    TFastIniFile stored(ini);
    EXPECT_FALSE(stored.ReadFlag("cfg", "showCPUusage", true));
    EXPECT_TRUE(stored.ReadFlag("cfg", "showFreeMem", false));
}

} // namespace
} // namespace tramble
