#include "launcher/EntryManager.h"
#include "launcher/ui/EntrySystem.h"

#include "../shell/LnkBuilder.h"
#include "RecordingEntryView.h"
#include "support/ArgvDump.h"
#include "support/TempDir.h"

#include "launcher/PlaceholderIcon.h"
#include "launcher/PngImage.h"
#include "store/IconCache.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace tramble {
namespace {

namespace fs = std::filesystem;
using test::ReadFileBytes;
using test::WriteFileBytes;
using Words = std::vector<std::string>;

// The real system, counting what it opens.
class TestSystem : public TEntrySystem {
public:
    int Opens = 0;
    int Open(const std::string& target, const std::string& arguments, const std::string& folder, uint8_t state) override
    {
        ++Opens;
        return TEntrySystem::Open(target, arguments, folder, state);
    }
};

class Entries : public ::testing::Test {
protected:
    void SetUp() override
    {
        fs::create_directories(m_dir.path() / "app");
        fs::create_directories(m_dir.path() / "usr/bin");
        ::setenv("TRAMBLE_DUMP", Dump().c_str(), 1);
    }
    void TearDown() override { ::unsetenv("TRAMBLE_DUMP"); }

    std::string Dump() const { return m_dir.file("dump"); }
    std::string Ini() const { return m_dir.file("app/tramble.ini"); }
    std::string Cache() const { return m_dir.file("app/tramble.dat"); }
    TMacroFolders Folders() const { return {m_dir.file("app"), m_dir.file("usr"), m_dir.file("usr/bin")}; }

    TEntryManager& Manager()
    {
        if (!m_manager) {
            m_ini = std::make_unique<TFastIniFile>(Ini());
            TEntrySettings s;
            s.Folders = Folders();
            s.IconCachePath = Cache();
            s.IconSize = 16;
            s.AutoSortByCount = &m_autoSort;
            m_manager = std::make_unique<TEntryManager>(*m_ini, m_modes, m_language, m_view, m_system, s, m_clock);
        }
        return *m_manager;
    }
    void Restart()
    {
        m_manager.reset();
        m_ini.reset();
        m_view = {};
    }
    // A copy of the argument-dump program at the path.
    std::string Program(const std::string& relative)
    {
        const std::string path = m_dir.file(relative);
        fs::create_directories(fs::path(path).parent_path());
        fs::copy_file(TRAMBLE_ARGV_DUMP, path, fs::copy_options::overwrite_existing);
        return path;
    }
    std::vector<TAppEntry> Table()
    {
        std::vector<TAppEntry> entries;
        for (int i = 0; i < Manager().Count(); ++i)
            entries.push_back(Manager().Entries()[i]);
        return entries;
    }
    std::string Stored(const std::string& key)
    {
        TFastIniFile ini(Ini());
        return ini.ReadText("Button", key, "<none>");
    }

    test::TempDir m_dir;
    TModes m_modes;
    TLanguage m_language;
    test::RecordingEntryView m_view;
    TestSystem m_system;
    TManualClock m_clock;
    bool m_autoSort = false;
    std::unique_ptr<TFastIniFile> m_ini;
    std::unique_ptr<TEntryManager> m_manager;
};

TEST_F(Entries, AddingAFileStoresItWithMacrosAndWritesTheCache)
{
    const std::string program = Program("app/tools/Editor.exe");
    Manager().AddApplication(program);
    ASSERT_EQ(Manager().Count(), 1);
    const TAppEntry& e = Manager().Entries()[0];
    EXPECT_EQ(e.App, "$(Kuv)/tools/Editor.exe");
    EXPECT_EQ(e.RunFolder, "$(Kuv)/tools/");
    EXPECT_EQ(e.IconFile, "$(Kuv)/tools/Editor.exe");
    EXPECT_EQ(e.Descript, "Editor");
    EXPECT_EQ(m_view.Buttons.size(), 1u);
    EXPECT_EQ(m_view.Buttons[0].Hint, "Editor, 0");
    EXPECT_EQ(m_view.Layouts, 1);
    EXPECT_EQ(m_view.Holds, 0);
    // Written and flushed at once.
    EXPECT_EQ(Stored("Num"), "1");
    EXPECT_EQ(Stored("App1"), "$(Kuv)/tools/Editor.exe");
    EXPECT_EQ(Stored("AppPromptArugment1"), "0");
    const auto cache = LoadIconCacheFile(Cache(), 1);
    ASSERT_TRUE(cache);
    EXPECT_EQ(cache->front(), m_view.Buttons[0].Png);

    // A folder and a document.
    fs::create_directories(m_dir.path() / "docs");
    Manager().AddApplication(m_dir.file("docs"));
    EXPECT_EQ(Manager().Entries()[1].IconFile, "folder");
    EXPECT_EQ(Manager().Entries()[1].Descript, "docs");
    WriteFileBytes(m_dir.file("docs/notes.txt"), "x");
    Manager().AddApplication(m_dir.file("docs/notes.txt"));
    EXPECT_EQ(Manager().Entries()[2].Descript, "notes.txt");
    EXPECT_EQ(Manager().Entries()[2].IconFile, m_system.IconForExtension(".txt"));
}

TEST_F(Entries, DuplicatesReadOnlyAndTheLimitAreRefused)
{
    const std::string program = Program("usr/bin/tool");
    Manager().AddApplication(program);
    Manager().AddApplication("$(sys)/tool"); // the same program by its macro
    ASSERT_EQ(Manager().Count(), 1);
    ASSERT_EQ(m_view.Boxes.size(), 1u);
    EXPECT_EQ(m_view.Boxes[0].Text, "Application does exist!    \r\n\r\n\"" + program + "\"     \r\n");
    EXPECT_EQ(m_view.Boxes[0].Caption, "Warning");
    EXPECT_TRUE(m_view.Buttons[0].Raised);

    // Paths compare with regard to case, as the file system does.
    const std::string upper = Program("usr/bin/TOOL");
    Manager().AddApplication(upper);
    EXPECT_EQ(Manager().Count(), 2);

    m_modes.ReadOnlyMode = true;
    Manager().AddApplication(Program("usr/bin/other"));
    EXPECT_EQ(Manager().Count(), 2);
    EXPECT_EQ(m_view.Boxes.back().Text, "Can't add application in readonly mode");
    EXPECT_EQ(m_view.MaxHolds, 1);
    EXPECT_EQ(m_view.Holds, 0);
}

TEST_F(Entries, The501stAddIsRefusedAndTheCacheRoundTrips)
{
    std::string text = "[Button]\nWidth=16\nNum=501\n";
    for (int n = 1; n <= 501; ++n)
        text += "App" + std::to_string(n) + "=/p/" + std::to_string(n) + "\nAppRunCount" + std::to_string(n) + "=" +
                std::to_string(n % 7) + "\n";
    WriteFileBytes(Ini(), text);
    m_modes.Loading = true;
    m_view.HasIcons = true;
    Manager().LoadEntries();
    m_modes.Loading = false;
    ASSERT_EQ(Manager().Count(), 500);
    EXPECT_EQ(m_view.Extractions, 500);
    Manager().AddApplication(Program("usr/bin/extra"));
    EXPECT_EQ(Manager().Count(), 500);
    EXPECT_EQ(m_view.Boxes.back().Text, "Too many applications");

    // The cache holds 500 images while "Num" says 501: it is stale and rebuilt.
    EXPECT_TRUE(LoadIconCacheFile(Cache(), 500));
    Restart();
    EXPECT_FALSE(Manager().LoadIconCache());

    // A cache that matches the count gives the same entries without drawing an icon.
    Restart();
    {
        TFastIniFile ini(Ini());
        ini.WriteNumber("Button", "Num", 500);
        ini.Flush();
    }
    m_modes.Loading = true;
    m_view.HasIcons = false;
    ASSERT_TRUE(Manager().LoadIconCache());
    m_modes.Loading = false;
    EXPECT_EQ(Manager().Count(), 500);
    EXPECT_EQ(m_view.Extractions, 0);
    EXPECT_EQ(Manager().Entries()[499].App, "/p/500");
    EXPECT_EQ(Manager().Entries()[6].RunCount, 0);
    EXPECT_EQ(m_view.Buttons[499].Hint, "500, 3");
    const std::vector<std::string> images = *LoadIconCacheFile(Cache(), 500);
    for (int i = 0; i < 500; ++i)
        ASSERT_EQ(m_view.Buttons[i].Png, images[i]) << i;

    // A damaged cache falls back to the settings file and is written anew.
    std::string damaged = ReadFileBytes(Cache());
    damaged[40] ^= 1;
    WriteFileBytes(Cache(), damaged);
    Restart();
    m_modes.Loading = true;
    Manager().LoadEntries();
    m_modes.Loading = false;
    EXPECT_EQ(m_view.Extractions, 500);
    EXPECT_TRUE(LoadIconCacheFile(Cache(), 500));
}

TEST_F(Entries, ShortcutFilesBecomeEntries)
{
    test::LnkBuilder b;
    b.LocalBasePath = m_dir.file("app/prog");
    b.Name = "Program";
    b.WorkingDir = m_dir.file("app");
    b.Arguments = "-v";
    b.ShowCommand = 3;
    WriteFileBytes(m_dir.file("Program.lnk"), b.Build());
    Manager().AddApplication(m_dir.file("Program.lnk"));
    ASSERT_EQ(Manager().Count(), 1);
    const TAppEntry link = Manager().Entries()[0];
    EXPECT_EQ(link.App, "$(Kuv)/prog");
    EXPECT_EQ(link.RunFolder, m_dir.file("app")); // equal to the folder: kept
    EXPECT_EQ(link.IconFile, "$(Kuv)/prog");
    EXPECT_EQ(link.Descript, "Program");
    EXPECT_EQ(link.Arguments, "-v");
    EXPECT_EQ(link.WS, wsMaximized);

    std::ofstream(m_dir.file("viewer.desktop")) << "[Desktop Entry]\nType=Application\nName=Viewer\n"
                                                   "Exec=/opt/viewer/run --new %U\nIcon=viewer\nPath=/opt\n"
                                                   "X-Tramble-ShowCmd=7\n";
    Manager().AddApplication(m_dir.file("viewer.desktop"));
    ASSERT_EQ(Manager().Count(), 2);
    const TAppEntry desktop = Manager().Entries()[1];
    EXPECT_EQ(desktop.App, "/opt/viewer/run");
    EXPECT_EQ(desktop.Arguments, "--new");
    EXPECT_EQ(desktop.IconFile, "viewer");
    EXPECT_EQ(desktop.Descript, "Viewer");
    EXPECT_EQ(desktop.WS, wsMinimized);

    WriteFileBytes(m_dir.file("bad.lnk"), "no link at all");
    Manager().AddApplication(m_dir.file("bad.lnk"));
    EXPECT_EQ(Manager().Count(), 2);
    EXPECT_EQ(m_view.Boxes.back().Text, "Get LNK information error!     \r\n");
    EXPECT_EQ(m_view.Boxes.back().Caption, "Error");
}

// A desktop entry of type Link becomes an entry for its address, which
// launching hands to the desktop's opener (here a stand-in that records
// its arguments) instead of looking for a program of that name.
TEST_F(Entries, LinkEntriesOpenTheirAddress)
{
    const std::string opener = Program("bin/xdg-open");
    const std::string oldPath = std::getenv("PATH") ? std::getenv("PATH") : "";
    ::setenv("PATH", (m_dir.file("bin") + ":" + oldPath).c_str(), 1);
    std::ofstream(m_dir.file("docs.desktop")) << "[Desktop Entry]\nType=Link\nName=Docs\n"
                                                 "URL=https://example.invalid/docs?a=1\n";
    Manager().AddApplication(m_dir.file("docs.desktop"));
    ASSERT_EQ(Manager().Count(), 1);
    EXPECT_EQ(Manager().Entries()[0].App, "https://example.invalid/docs?a=1");
    EXPECT_EQ(Manager().Entries()[0].Descript, "Docs");

    Manager().LaunchEntry(0);
    const std::optional<test::ArgvDump> dump = test::WaitForArgvDump(Dump());
    ::setenv("PATH", oldPath.c_str(), 1);
    ASSERT_TRUE(dump);
    EXPECT_EQ(dump->Argv, (Words{"xdg-open", "https://example.invalid/docs?a=1"}));
    EXPECT_TRUE(m_view.Boxes.empty());
    EXPECT_FALSE(m_view.Buttons[0].Raised);
    EXPECT_EQ(Stored("AppRunCount1"), "1");
}

TEST_F(Entries, LaunchStartsTheProgramAndCountsIt)
{
    const std::string program = Program("app/bin/my prog");
    Manager().AddApplication(program);
    TAppEntry edited = Manager().Entries()[0];
    edited.Arguments = "one 'two three' \"$HOME\"";
    edited.RunFolder = "$(Kuv)/";
    Manager().EntryEdited(0, edited);
    EXPECT_EQ(Stored("AppArguments1"), "one 'two three' \"$HOME\"");

    Manager().LaunchEntry(0);
    const std::optional<test::ArgvDump> dump = test::WaitForArgvDump(Dump());
    ASSERT_TRUE(dump);
    EXPECT_EQ(dump->Argv, (Words{program, "one", "two three", "$HOME"}));
    EXPECT_EQ(dump->Folder, m_dir.file("app"));
    EXPECT_TRUE(dump->OwnSession);
    EXPECT_EQ(Stored("AppRunCount1"), "1");
    EXPECT_EQ(m_view.Buttons[0].Hint, "my prog, 1");
    EXPECT_FALSE(m_view.Buttons[0].Raised);
    EXPECT_TRUE(m_view.Boxes.empty());
    EXPECT_EQ(m_view.Holds, 0);
}

TEST_F(Entries, ClickGuardIgnoresASecondClickWithinASecond)
{
    Manager().AddApplication(Program("app/prog"));
    Manager().LaunchEntry(0);
    m_clock.Advance(std::chrono::milliseconds(999));
    Manager().LaunchEntry(0);
    EXPECT_EQ(m_system.Opens, 1);
    m_clock.Advance(std::chrono::milliseconds(1));
    Manager().LaunchEntry(0);
    EXPECT_EQ(m_system.Opens, 2);
    EXPECT_EQ(Stored("AppRunCount1"), "2");
    EXPECT_EQ(m_view.Holds, 0);
}

TEST_F(Entries, PromptedArgumentsAndCancelledPrompt)
{
    const std::string program = Program("app/prog");
    Manager().AddApplication(program);
    TAppEntry edited = Manager().Entries()[0];
    edited.PromptArgument = true;
    edited.Arguments = "stored";
    Manager().EntryEdited(0, edited);

    m_view.ArgumentText.push_back("typed 'in here'");
    Manager().LaunchEntry(0);
    auto dump = test::WaitForArgvDump(Dump());
    ASSERT_TRUE(dump);
    EXPECT_EQ(dump->Argv, (Words{program, "typed", "in here"}));

    fs::remove(Dump());
    m_clock.Advance(std::chrono::milliseconds(5000));
    Manager().LaunchEntry(0); // the box is cancelled
    dump = test::WaitForArgvDump(Dump());
    ASSERT_TRUE(dump);
    EXPECT_EQ(dump->Argv, Words{program});
    EXPECT_EQ(m_view.ArgumentPrompts, 2);
}

TEST_F(Entries, FailedStartsLeaveTheButtonRaised)
{
    const std::string garbage = m_dir.file("app/garbage");
    WriteFileBytes(garbage, "\x01\x02 no program");
    fs::permissions(garbage, fs::perms::owner_all);
    Manager().AddApplication(garbage);
    Manager().LaunchEntry(0);
    ASSERT_EQ(m_view.Boxes.size(), 1u);
    EXPECT_EQ(m_view.Boxes[0].Text, "Run error");
    EXPECT_EQ(m_view.Boxes[0].Caption, "Warning: 31");
    EXPECT_TRUE(m_view.Buttons[0].Raised);
    EXPECT_EQ(Stored("AppRunCount1"), "1"); // counted whether or not it started

    fs::remove(garbage);
    m_clock.Advance(std::chrono::milliseconds(5000));
    Manager().LaunchEntry(0);
    EXPECT_EQ(m_view.Boxes.back().Text, "Application does not exist <" + garbage + ">!   ");
    EXPECT_EQ(m_view.Boxes.back().Caption, "Error");
    EXPECT_EQ(Stored("AppRunCount1"), "1");
    EXPECT_EQ(m_system.Opens, 1);
    EXPECT_EQ(m_view.Holds, 0);
}

TEST_F(Entries, AutoSortMovesAnEntryOnlyPastSmallerCounts)
{
    WriteFileBytes(Ini(), "[Button]\nWidth=48\nNum=3\nApp1=/a\nAppRunCount1=2\nApp2=/b\nAppRunCount2=1\n"
                          "App3=" +
                              Program("app/c") + "\nAppRunCount3=1\n");
    Manager().LoadEntries();
    m_autoSort = true;
    // c reaches 2: equal to a, so it passes b only.
    Manager().LaunchEntry(2);
    EXPECT_EQ(Manager().Entries()[0].App, "/a");
    EXPECT_EQ(Manager().Entries()[1].App, m_dir.file("app/c"));
    EXPECT_EQ(m_view.Buttons[1].Hint, "c, 2");
    EXPECT_EQ(Stored("App2"), m_dir.file("app/c"));
    EXPECT_EQ(Stored("AppRunCount2"), "2");
    EXPECT_EQ(Stored("Width"), "48");
    const auto cache = LoadIconCacheFile(Cache(), 3);
    ASSERT_TRUE(cache);
    EXPECT_EQ((*cache)[1], m_view.Buttons[1].Png);
    // Now c passes a.
    m_clock.Advance(std::chrono::milliseconds(5000));
    Manager().LaunchEntry(1);
    EXPECT_EQ(Manager().Entries()[0].App, m_dir.file("app/c"));
    // Sorting in read-only mode does nothing.
    m_modes.ReadOnlyMode = true;
    EXPECT_FALSE(Manager().SortByClickCount());
}

TEST_F(Entries, DeletingRenumbersAndKeepsTheIconSize)
{
    WriteFileBytes(Ini(), "[Button]\nWidth=24\nNum=3\nApp1=/a\nApp2=/b\nAppDescript2=Bee\nApp3=/c\nAppRunCount3=4\n");
    Manager().LoadEntries();
    Manager().DeleteEntry(1); // No
    EXPECT_EQ(Manager().Count(), 3);
    ASSERT_EQ(m_view.Boxes.size(), 1u);
    EXPECT_EQ(m_view.Boxes[0].Kind, TBoxKind::Question);
    EXPECT_EQ(m_view.Boxes[0].Text, "Do you really want to delete button <1>:\r\n\r\n\"Bee\" ?\r\n\r\n\"/b\"");
    EXPECT_EQ(m_view.Boxes[0].Caption, "Confirm");

    m_view.Answers.push_back(true);
    Manager().DeleteEntry(1);
    EXPECT_EQ(Manager().Count(), 2);
    EXPECT_EQ(m_view.Buttons.size(), 2u);
    EXPECT_EQ(Stored("Num"), "2");
    EXPECT_EQ(Stored("App2"), "/c");
    EXPECT_EQ(Stored("AppRunCount2"), "4");
    EXPECT_EQ(Stored("App3"), "<none>");
    EXPECT_EQ(Stored("Width"), "24");
    EXPECT_TRUE(LoadIconCacheFile(Cache(), 2));
    EXPECT_EQ(m_view.Holds, 0);
}

// Stored entries with a gap are written back under compact numbers at load,
// so that adding, counting and editing reach the right entry; a cache drawn
// for the old numbering is not used.
TEST_F(Entries, GapsInTheStoredNumbersAreClosedAtLoad)
{
    const std::string a = Program("usr/bin/alpha");
    const std::string b = Program("usr/bin/beta");
    const std::string c = Program("usr/bin/gamma");
    for (bool withCache : {false, true}) {
        Restart();
        fs::remove(Cache());
        WriteFileBytes(Ini(), "[Button]\nWidth=16\nNum=4\nApp1=" + a + "\nAppRunCount1=2\n" +
                                  "AppDescript2=stale\nAppRunCount2=99\n" + "App3=" + b +
                                  "\nAppDescript3=Bee\nAppRunCount3=5\nAppArguments3=-x\n");
        if (withCache) {
            const std::string png = EncodePng(DrawPlaceholderIcon(16));
            ASSERT_TRUE(SaveIconCacheFile(Cache(), {png, png, png, png}, {}));
        }
        m_modes.Loading = true;
        Manager().LoadEntries();
        m_modes.Loading = false;
        ASSERT_EQ(Manager().Count(), 2);
        EXPECT_EQ(Stored("Num"), "2");
        EXPECT_EQ(Stored("App2"), b);
        EXPECT_EQ(Stored("AppDescript2"), "Bee");
        EXPECT_EQ(Stored("App3"), "<none>");
        EXPECT_EQ(Stored("AppRunCount3"), "<none>");

        Manager().AddApplication(c);
        m_clock.Advance(std::chrono::milliseconds(5000));
        Manager().LaunchEntry(1);
        ASSERT_TRUE(test::WaitForArgvDump(Dump()));
        fs::remove(Dump());

        const std::vector<std::vector<std::string>> expected{{"App1", a},
                                                             {"AppRunCount1", "2"},
                                                             {"App2", b},
                                                             {"AppDescript2", "Bee"},
                                                             {"AppRunCount2", "6"},
                                                             {"AppArguments2", "-x"},
                                                             {"App3", "$(Sys)/gamma"},
                                                             {"AppDescript3", "gamma"},
                                                             {"AppRunCount3", "0"},
                                                             {"Num", "3"},
                                                             {"Width", "16"},
                                                             {"App4", "<none>"}};
        for (const auto& key : expected)
            EXPECT_EQ(Stored(key[0]), key[1]) << key[0] << (withCache ? " with a cache" : "");

        // What was written reads back as the same table, from the cache too.
        const std::vector<TAppEntry> before = Table();
        Restart();
        m_modes.Loading = true;
        Manager().LoadEntries();
        m_modes.Loading = false;
        EXPECT_EQ(Table(), before);
        EXPECT_EQ(m_view.Extractions, 0);
    }
}

// In read-only mode the gap stays in the file: nothing is written.
TEST_F(Entries, ReadOnlyLoadLeavesGapsAlone)
{
    const std::string text = "[Button]\nNum=3\nApp1=/a\nApp3=/c\n";
    WriteFileBytes(Ini(), text);
    m_modes.ReadOnlyMode = true;
    Manager().LoadEntries();
    EXPECT_EQ(Manager().Count(), 2);
    Restart();
    EXPECT_EQ(ReadFileBytes(Ini()), text);
}

TEST_F(Entries, AutorunAtStartNeedsNoGuardAndCounts)
{
    const std::string program = Program("app/auto");
    WriteFileBytes(Ini(), "[Button]\nNum=3\nApp1=" + program + "\nAutorun1=1\nApp2=/missing/x\nAutorun2=1\n" +
                              "App3=/b\nAppRunCount3=9\n");
    m_autoSort = true;
    m_modes.Loading = true;
    Manager().LoadEntries();
    Manager().RunAutorun();
    m_modes.Loading = false;
    EXPECT_TRUE(test::WaitForArgvDump(Dump()));
    EXPECT_EQ(m_system.Opens, 2); // no existence test while loading
    EXPECT_TRUE(m_view.Boxes.empty());
    // Each autorun entry started once although sorting moved them.
    EXPECT_EQ(Manager().Entries()[0].App, "/b");
    EXPECT_EQ(Manager().Entries()[1].RunCount, 1);
    EXPECT_EQ(Manager().Entries()[2].RunCount, 1);
}

TEST_F(Entries, DefaultProgramsTakeTheFirstOfEachRole)
{
    for (const char* name : {"xterm", "gedit", "mousepad", "gimp"})
        Program(std::string("usr/bin/") + name);
    Manager().AddDefaultApplications();
    ASSERT_EQ(Manager().Count(), 3);
    EXPECT_EQ(Manager().Entries()[0].App, "$(sys)/gedit");
    EXPECT_EQ(Manager().Entries()[0].RunFolder, "$(sys)/");
    EXPECT_EQ(Manager().Entries()[1].App, "$(sys)/gimp");
    EXPECT_EQ(Manager().Entries()[2].App, "$(sys)/xterm");
}

} // namespace
} // namespace tramble
