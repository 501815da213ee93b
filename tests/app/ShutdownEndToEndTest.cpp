// The real program under Xvfb ends cleanly on SIGTERM while one of its
// prompts is open: the prompt closes as cancelled, its caller unwinds, and
// only then are the parts freed. Nothing the prompt asked about happens.
#include "store/FastIniFile.h"

#include "support/ArgvDump.h"
#include "support/TempDir.h"
#include "support/XSession.h"

#include <gtest/gtest.h>

#include <csignal>
#include <functional>

namespace tramble {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using test::Process;
using test::WindowInfo;
using test::XSession;

constexpr int kCell = 36; // icon size 32 + 4

struct PromptCase {
    const char* Name;
    const char* App;          // the one entry's program, in the tools folder
    bool PromptArguments;     // the entry asks for arguments
    bool OpenWithMenu;        // the prompt is the bar menu's "Add", else a click on the entry
    const char* PromptWindow; // the prompt's caption
};

void PrintTo(const PromptCase& c, std::ostream* out)
{
    *out << c.Name;
}

class ShutdownDuringPrompt : public ::testing::TestWithParam<PromptCase> {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_x.Start(m_dir.path())) << "Xvfb did not start";
        fs::create_directories(Folder() / "tools");
        fs::copy_file(TRAMBLE_EXECUTABLE, Folder() / "tramble");
        fs::copy_file(TRAMBLE_ARGV_DUMP, Folder() / "tools" / "dumper");
        const PromptCase& c = GetParam();
        test::WriteFileBytes(
            Ini(), std::string("[last]\nrun=3\nLeft=300\nTop=200\n[cfg]\nSyncTime=0\n"
                               "[Button]\nNum=1\nApp1=$(Kuv)/tools/") +
                       c.App + "\nAppDescript1=tool\nAppPromptArugment1=" + (c.PromptArguments ? "1" : "0") + "\n");
    }

    fs::path Folder() const { return m_dir.path() / "a"; }
    std::string Ini() const { return (Folder() / "tramble.ini").string(); }
    std::string Dump() const { return m_dir.file("dump"); }

    std::string Stored(const char* key) const
    {
        TFastIniFile ini(Ini());
        return ini.ReadText("Button", key, "<none>");
    }

    test::TempDir m_dir;
    XSession m_x;
};

TEST_P(ShutdownDuringPrompt, EndsCleanlyAndDoesNothingThePromptAskedAbout)
{
    const PromptCase& c = GetParam();
    std::map<std::string, std::string> env = m_x.Env();
    env["TRAMBLE_DUMP"] = Dump();
    Process bar({(Folder() / "tramble").string()}, env);
    const std::optional<WindowInfo> window = m_x.WaitForBar(bar.Pid());
    ASSERT_TRUE(window) << "the bar did not show";

    if (c.OpenWithMenu) {
        // The bar menu is one more window of the program once it is open.
        const std::string ours = "--pid " + std::to_string(bar.Pid());
        const size_t before = m_x.Windows(ours).size();
        m_x.X("xdotool mousemove --window " + window->Id + " 10 10 click 3");
        const auto end = std::chrono::steady_clock::now() + 5s;
        while (m_x.Windows(ours).size() <= before && std::chrono::steady_clock::now() < end)
            std::this_thread::sleep_for(50ms);
        m_x.X("xdotool key Down Return");
    } else {
        m_x.X("xdotool mousemove --window " + window->Id + " " + std::to_string(2 * kCell + kCell / 2) + " " +
              std::to_string(kCell / 2) + " click 1");
    }
    const std::optional<WindowInfo> prompt = m_x.WaitForWindow(std::string("--name '^") + c.PromptWindow + "$'", 10s);
    ASSERT_TRUE(prompt) << "the prompt did not open";

    bar.Signal(SIGTERM);
    const std::optional<int> status = bar.Wait(20s);
    ASSERT_TRUE(status) << "the bar did not end";
    EXPECT_EQ(*status, 0) << "the bar did not end cleanly";

    // The entry is still stored as it was, and its start was not counted.
    EXPECT_EQ(Stored("Num"), "1");
    EXPECT_EQ(Stored("App1"), std::string("$(Kuv)/tools/") + c.App);
    EXPECT_EQ(Stored("AppRunCount1"), "<none>");
    // Nothing was started: a started dumper writes its file at once.
    EXPECT_FALSE(test::WaitForArgvDump(Dump())) << "the program was started after shut-down began";
}

INSTANTIATE_TEST_SUITE_P(Prompts, ShutdownDuringPrompt,
                         ::testing::Values(PromptCase{"ArgumentPrompt", "dumper", true, false, "Arguments"},
                                           PromptCase{"MessageBox", "missing", false, false, "Error"},
                                           PromptCase{"FileDialog", "dumper", false, true, "Select Item"}),
                         [](const ::testing::TestParamInfo<PromptCase>& info) { return std::string(info.param.Name); });

} // namespace
} // namespace tramble
