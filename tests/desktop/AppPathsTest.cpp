// Where the settings and the language files of an installed program live.
#include "platform/AppPaths.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace tramble::platform {
namespace {

namespace fs = std::filesystem;

class AppPathsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_config = m_dir.path() / "config";
        ::setenv("XDG_CONFIG_HOME", m_config.c_str(), 1);
    }
    void TearDown() override { ::unsetenv("XDG_CONFIG_HOME"); }

    // prefix/bin/tramble, with prefix/share/tramble when installed.
    std::string Program(const std::string& prefix, bool installed)
    {
        fs::create_directories(m_dir.path() / prefix / "bin");
        if (installed)
            fs::create_directories(m_dir.path() / prefix / "share" / "tramble");
        const fs::path program = m_dir.path() / prefix / "bin" / "tramble";
        test::WriteFileBytes(program.string(), "");
        return program.string();
    }

    test::TempDir m_dir;
    fs::path m_config;
};

TEST_F(AppPathsTest, AnUnpackedCopyKeepsItsSettingsBesideIt)
{
    const std::string program = Program("copy", false);
    EXPECT_EQ(SettingsBase(program), (m_dir.path() / "copy" / "bin" / "tramble").string());
    EXPECT_EQ(InstalledDataFolder(program), "");
}

TEST_F(AppPathsTest, AnInstalledProgramKeepsItsSettingsInTheConfigFolderEvenForRoot)
{
    const std::string program = Program("usr", true);
    EXPECT_EQ(SettingsBase(program), (m_config / "tramble" / "tramble").string());
    EXPECT_TRUE(fs::is_directory(m_config / "tramble"));
    EXPECT_EQ(InstalledDataFolder(program), (m_dir.path() / "usr" / "share" / "tramble").string());
    // Nothing was written beside the program.
    EXPECT_FALSE(fs::exists(m_dir.path() / "usr" / "bin" / "tramble.ini"));
}

TEST_F(AppPathsTest, ASettingsFileBesideAnInstalledProgramStaysInUse)
{
    const std::string program = Program("opt", true);
    test::WriteFileBytes(program + ".ini", "[last]\nrun=2\n");
    EXPECT_EQ(SettingsBase(program), program);
}

TEST_F(AppPathsTest, AFolderThatCannotBeWrittenSendsTheSettingsToTheConfigFolder)
{
    const std::string program = Program("ro", false);
    fs::permissions(m_dir.path() / "ro" / "bin", fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_EQ(SettingsBase(program), (m_config / "tramble" / "tramble").string());
    fs::permissions(m_dir.path() / "ro" / "bin", fs::perms::owner_all);
}

} // namespace
} // namespace tramble::platform
