// The application index over a desktop tree the tests write: which files
// count, which ID wins, what is hidden, localized names, bad files.
#include "search/AppIndex.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <stop_token>

namespace tramble {
namespace {

namespace fs = std::filesystem;
using test::WriteFileBytes;

class AppIndexTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* folder : {"home", "system", "bin"})
            fs::create_directories(m_dir.path() / folder);
        m_places.DataFolders = {(m_dir.path() / "home").string(), (m_dir.path() / "system").string()};
        m_places.Filter.Desktops = {"XFCE"};
        m_places.Filter.Locale = "zh_CN.UTF-8";
        m_places.Filter.PathList = (m_dir.path() / "bin").string();
    }

    // Writes a desktop file below a data folder's "applications".
    void Write(const std::string& folder, const std::string& relative, const std::string& body) const
    {
        const fs::path path = m_dir.path() / folder / "applications" / relative;
        fs::create_directories(path.parent_path());
        WriteFileBytes(path.string(), body);
    }

    static std::string Entry(const std::string& name, const std::string& extra = "")
    {
        return "[Desktop Entry]\nType=Application\nName=" + name + "\nExec=" + name + "-bin %U\n" + extra;
    }

    const TDesktopApp* Find(const TAppIndex& index, const std::string& id) const
    {
        const auto it =
            std::find_if(index.Apps.begin(), index.Apps.end(), [&id](const TDesktopApp& app) { return app.Id == id; });
        return it == index.Apps.end() ? nullptr : &*it;
    }

    std::vector<std::string> Ids(const TAppIndex& index) const
    {
        std::vector<std::string> ids;
        for (const TDesktopApp& app : index.Apps)
            ids.push_back(app.Id);
        std::sort(ids.begin(), ids.end());
        return ids;
    }

    test::TempDir m_dir;
    TIndexPlaces m_places;
};

TEST_F(AppIndexTest, SubfoldersGiveDashedIdsAndTheEarlierFolderWins)
{
    Write("home", "editor.desktop", Entry("Home Editor"));
    Write("system", "editor.desktop", Entry("System Editor"));
    Write("system", "kde/konsole.desktop", Entry("Konsole"));
    Write("system", "deep/er/tool.desktop", Entry("Tool"));
    Write("system", "notes.txt", Entry("Not A Desktop File"));

    const TAppIndex index = BuildAppIndex(m_places);
    EXPECT_EQ(Ids(index), (std::vector<std::string>{"deep-er-tool.desktop", "editor.desktop", "kde-konsole.desktop"}));
    ASSERT_NE(Find(index, "editor.desktop"), nullptr);
    EXPECT_EQ(Find(index, "editor.desktop")->Name, "Home Editor");
    EXPECT_EQ(Find(index, "kde-konsole.desktop")->Path,
              (m_dir.path() / "system" / "applications" / "kde" / "konsole.desktop").string());
}

TEST_F(AppIndexTest, HiddenEntriesKeepTheirIdFromLaterFolders)
{
    // A user's Hidden or NoDisplay copy removes the system entry of the same ID.
    Write("home", "gone.desktop", Entry("Gone", "Hidden=true\n"));
    Write("system", "gone.desktop", Entry("Gone System"));
    Write("home", "quiet.desktop", Entry("Quiet", "NoDisplay=true\n"));
    Write("system", "quiet.desktop", Entry("Quiet System"));
    // A damaged user copy does not: the system entry shows.
    Write("home", "broken.desktop", "Name=No group at all\nExec=x\n");
    Write("system", "broken.desktop", Entry("Broken System"));

    const TAppIndex index = BuildAppIndex(m_places);
    EXPECT_EQ(Ids(index), (std::vector<std::string>{"broken.desktop"}));
    EXPECT_EQ(Find(index, "broken.desktop")->Name, "Broken System");
    EXPECT_EQ(index.SkippedFiles, 1u);
}

TEST_F(AppIndexTest, WhatIsShownFollowsTheEntry)
{
    WriteFileBytes((m_dir.path() / "bin" / "present").string(), "#!/bin/sh\n");
    fs::permissions(m_dir.path() / "bin" / "present", fs::perms::owner_all);
    WriteFileBytes((m_dir.path() / "bin" / "notexecutable").string(), "data");
    const std::string absent = (m_dir.path() / "bin" / "absent").string();

    struct Case {
        const char* Extra;
        bool Shown;
    };
    const Case cases[] = {
        {"", true},
        {"Hidden=true\n", false},
        {"NoDisplay=true\n", false},
        {"NoDisplay=false\n", true},
        {"OnlyShowIn=GNOME;KDE;\n", false},
        {"OnlyShowIn=GNOME;XFCE;\n", true},
        {"NotShowIn=XFCE;\n", false},
        {"NotShowIn=GNOME;\n", true},
        {"TryExec=present\n", true},
        {"TryExec=missing-program\n", false},
        {"TryExec=notexecutable\n", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Extra);
        fs::remove_all(m_dir.path() / "system" / "applications");
        Write("system", "app.desktop", Entry("App", c.Extra));
        EXPECT_EQ(BuildAppIndex(m_places).Apps.size(), c.Shown ? 1u : 0u);
    }
    for (const char* type : {"Link", "Directory", "Service"}) {
        SCOPED_TRACE(type);
        Write("system", "app.desktop",
              std::string("[Desktop Entry]\nType=") + type + "\nName=App\nExec=app\nURL=https://example.org\n");
        EXPECT_TRUE(BuildAppIndex(m_places).Apps.empty());
    }
    Write("system", "app.desktop", "[Desktop Entry]\nName=App\nExec=app\n");
    EXPECT_EQ(BuildAppIndex(m_places).Apps.size(), 1u) << "an entry without a type is taken for an application";
    Write("system", "app.desktop", Entry("App", "TryExec=" + absent + "\n"));
    EXPECT_TRUE(BuildAppIndex(m_places).Apps.empty()) << "an absolute TryExec that is missing";
    m_places.Filter.Desktops = {"ubuntu", "GNOME"};
    Write("system", "app.desktop", Entry("App", "OnlyShowIn=GNOME;\n"));
    EXPECT_EQ(BuildAppIndex(m_places).Apps.size(), 1u) << "any of the current desktops counts";
}

TEST_F(AppIndexTest, LocalizedNamesWithEnglishBeside)
{
    Write("system", "firefox.desktop",
          "[Desktop Entry]\nType=Application\nName=Firefox Web Browser\nName[zh_CN]=Firefox 网络浏览器\n"
          "Name[zh]=火狐\nName[de]=Firefox-Webbrowser\nGenericName=Web Browser\nGenericName[zh_CN]=网络浏览器\n"
          "Keywords=Internet;WWW;\nKeywords[zh_CN]=互联网;网页;\nExec=firefox %u\nIcon=firefox\n");
    Write("system", "plain.desktop", Entry("Plain", "Name[zh]=朴素\n"));

    const TAppIndex index = BuildAppIndex(m_places);
    const TDesktopApp* firefox = Find(index, "firefox.desktop");
    ASSERT_NE(firefox, nullptr);
    EXPECT_EQ(firefox->Name, "Firefox 网络浏览器");
    EXPECT_EQ(firefox->EnglishName, "Firefox Web Browser");
    EXPECT_EQ(firefox->GenericName, "网络浏览器");
    EXPECT_EQ(firefox->EnglishGenericName, "Web Browser");
    EXPECT_EQ(firefox->Keywords, (std::vector<std::string>{"互联网", "网页", "Internet", "WWW"}));
    EXPECT_EQ(firefox->Icon, "firefox");
    // zh_CN falls back to zh before the plain key.
    EXPECT_EQ(Find(index, "plain.desktop")->Name, "朴素");

    m_places.Filter.Locale = "C";
    EXPECT_EQ(Find(BuildAppIndex(m_places), "firefox.desktop")->Name, "Firefox Web Browser");
}

TEST_F(AppIndexTest, LocaleSuffixesBestFirst)
{
    EXPECT_EQ(LocaleSuffixes("sr_RS.UTF-8@latin"),
              (std::vector<std::string>{"sr_RS@latin", "sr_RS", "sr@latin", "sr"}));
    EXPECT_EQ(LocaleSuffixes("zh_CN.UTF-8"), (std::vector<std::string>{"zh_CN", "zh"}));
    EXPECT_EQ(LocaleSuffixes("de"), (std::vector<std::string>{"de"}));
    EXPECT_TRUE(LocaleSuffixes("C.UTF-8").empty());
    EXPECT_TRUE(LocaleSuffixes("POSIX").empty());
    EXPECT_TRUE(LocaleSuffixes("").empty());
}

TEST_F(AppIndexTest, ListValuesSplitAtUnescapedSemicolons)
{
    EXPECT_EQ(SplitDesktopList("a;b\\;c;;d"), (std::vector<std::string>{"a", "b;c", "d"}));
    EXPECT_TRUE(SplitDesktopList(";;").empty());
}

TEST_F(AppIndexTest, DamagedAndOversizedFilesAreSkipped)
{
    Write("system", "good.desktop", Entry("Good"));
    Write("system", "noexec.desktop", "[Desktop Entry]\nType=Application\nName=No Exec\n");
    Write("system", "noname.desktop", "[Desktop Entry]\nType=Application\nExec=x\n");
    Write("system", "binary.desktop", std::string("\0\x01\xff[Desktop", 11));
    Write("system", "huge.desktop", Entry("Huge", "Comment=" + std::string(1 << 20, 'x') + "\n"));
    Write("system", "empty.desktop", "");

    const TAppIndex index = BuildAppIndex(m_places);
    EXPECT_EQ(Ids(index), (std::vector<std::string>{"good.desktop"}));
    EXPECT_EQ(index.SkippedFiles, 5u);
}

TEST_F(AppIndexTest, LimitsBoundTheIndex)
{
    for (int i = 0; i < 30; ++i)
        Write("system", "app" + std::to_string(i) + ".desktop", Entry("App" + std::to_string(i)));
    Write("system", "a/b/c/d/deep.desktop", Entry("Deep"));

    TIndexLimits limits;
    limits.MaxApps = 10;
    EXPECT_EQ(BuildAppIndex(m_places, {}, limits).Apps.size(), 10u);
    limits = {};
    limits.MaxDepth = 2;
    EXPECT_EQ(Find(BuildAppIndex(m_places, {}, limits), "a-b-c-d-deep.desktop"), nullptr);
    EXPECT_NE(Find(BuildAppIndex(m_places), "a-b-c-d-deep.desktop"), nullptr);

    std::stop_source stop;
    stop.request_stop();
    EXPECT_TRUE(BuildAppIndex(m_places, stop.get_token()).Apps.empty());
}

TEST_F(AppIndexTest, FolderLinkLoopsEnd)
{
    Write("system", "one.desktop", Entry("One"));
    fs::create_directory_symlink(m_dir.path() / "system" / "applications",
                                 m_dir.path() / "system" / "applications" / "loop");
    const TAppIndex index = BuildAppIndex(m_places);
    EXPECT_EQ(Ids(index), (std::vector<std::string>{"one.desktop"}));
}

TEST_F(AppIndexTest, IndexedFoldersAreListedForWatching)
{
    Write("system", "kde/one.desktop", Entry("One"));
    const TAppIndex index = BuildAppIndex(m_places);
    const std::string applications = (m_dir.path() / "system" / "applications").string();
    EXPECT_EQ(index.Folders, (std::vector<std::string>{applications, applications + "/kde"}));
}

TEST(XdgDataFolders, DefaultsAndOrder)
{
    struct Case {
        const char* Home;
        const char* DataHome;
        const char* DataDirs;
        std::vector<std::string> Expected;
    };
    const Case cases[] = {
        {"/home/u", nullptr, nullptr, {"/home/u/.local/share", "/usr/local/share", "/usr/share"}},
        {"/home/u", "/data/home/", "/a:/b/", {"/data/home", "/a", "/b"}},
        {"/home/u", "", "", {"/home/u/.local/share", "/usr/local/share", "/usr/share"}},
        {"/home/u", "relative", "rel:/x::/x:/y", {"/home/u/.local/share", "/x", "/y"}},
        {nullptr, nullptr, "/only", {"/only"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.DataDirs ? c.DataDirs : "(none)");
        EXPECT_EQ(XdgDataFolders(c.Home, c.DataHome, c.DataDirs), c.Expected);
    }
}

} // namespace
} // namespace tramble
