#include "platform/SpecialFolders.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>

namespace tramble::platform {
namespace {

// Sets an environment variable for one test and puts the old value back.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : m_name(name)
    {
        if (const char* old = std::getenv(name))
            m_old = old;
        if (value)
            ::setenv(name, value, 1);
        else
            ::unsetenv(name);
    }
    ~ScopedEnv()
    {
        if (m_old)
            ::setenv(m_name, m_old->c_str(), 1);
        else
            ::unsetenv(m_name);
    }

private:
    const char* m_name;
    std::optional<std::string> m_old;
};

TEST(SpecialFolders, XdgVariablesAndDefaults)
{
    test::TempDir dir;
    const std::string home = dir.path().string();
    ScopedEnv h("HOME", home.c_str());
    {
        ScopedEnv c("XDG_CONFIG_HOME", nullptr);
        ScopedEnv d("XDG_DATA_HOME", "relative/is/ignored");
        EXPECT_EQ(SpecialFolderPath(TSpecialFolder::AppData), home + "/.config");
        EXPECT_EQ(SpecialFolderPath(TSpecialFolder::Startup), home + "/.config/autostart");
        EXPECT_EQ(SpecialFolderPath(TSpecialFolder::Programs), home + "/.local/share/applications");
        EXPECT_EQ(SpecialFolderPath(TSpecialFolder::Desktop), home + "/Desktop");
    }
    ScopedEnv c("XDG_CONFIG_HOME", (home + "/cfg").c_str());
    ScopedEnv d("XDG_DATA_HOME", (home + "/data").c_str());
    EXPECT_EQ(SpecialFolderPath(TSpecialFolder::Startup), home + "/cfg/autostart");
    EXPECT_EQ(SpecialFolderPath(TSpecialFolder::Programs), home + "/data/applications");
    EXPECT_EQ(SpecialFolderPath(TSpecialFolder::Windows), "/usr");
    EXPECT_EQ(SpecialFolderPath(TSpecialFolder::System), "/usr/bin");

    std::filesystem::create_directories(home + "/cfg");
    std::ofstream(home + "/cfg/user-dirs.dirs") << "# written by xdg-user-dirs-update\n"
                                                   "XDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n";
    EXPECT_EQ(SpecialFolderPath(TSpecialFolder::Desktop), home + "/Schreibtisch");
    std::ofstream(home + "/cfg/user-dirs.dirs") << "XDG_DESKTOP_DIR=\"/srv/desk\"\n";
    EXPECT_EQ(SpecialFolderPath(TSpecialFolder::Desktop), "/srv/desk");
}

} // namespace
} // namespace tramble::platform
