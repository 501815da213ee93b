// Matching typed text against names, and the order of what is found.
#include "search/SearchMatch.h"
#include "search/SearchItems.h"
#include "text/Utf8Text.h"

#include <gtest/gtest.h>

#include <clocale>
#include <utility>

namespace tramble {
namespace {

TEST(MatchText, KindsOfMatch)
{
    struct Case {
        const char* Text;
        const char* Query;
        TMatchKind Kind;
    };
    const Case cases[] = {
        {"firefox web browser", "fi", TMatchKind::WordPrefix},
        {"firefox web browser", "web", TMatchKind::WordPrefix},
        {"gnome-terminal", "term", TMatchKind::WordPrefix},
        {"org.kde.dolphin", "dol", TMatchKind::WordPrefix},
        {"libreoffice calc", "office", TMatchKind::Substring},
        // A later place at a word start beats an earlier one inside a word.
        {"terminator term", "term", TMatchKind::WordPrefix},
        {"banana band", "an", TMatchKind::Substring},
        {"thunderbird", "tbd", TMatchKind::InOrder},
        {"visual studio code", "vsc", TMatchKind::InOrder},
        {"thunderbird", "dbt", TMatchKind::None},
        {"gimp", "gimpy", TMatchKind::None},
        {"", "ab", TMatchKind::None},
        {"ab", "", TMatchKind::None},
        // Chinese has no blanks between words: any place is a word start.
        {"火狐网络浏览器", "浏览", TMatchKind::WordPrefix},
        {"火狐网络浏览器", "火器", TMatchKind::InOrder},
        // In-order letters never match half a character.
        {"浏览", "\xe6\xb5", TMatchKind::WordPrefix},
        {"a浏b", "ab", TMatchKind::InOrder},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.Text) + " / " + c.Query);
        EXPECT_EQ(MatchText(c.Text, c.Query), c.Kind);
    }
}

TEST(SearchQuery, WhatStartsASearch)
{
    struct Case {
        const char* Box;
        const char* Query;
    };
    const Case cases[] = {
        {"fi", "fi"}, {"  fire  ", "fire"}, {"f", ""},  {" f ", ""},      {"", ""},      {">Exit", ""},
        {">ex", ""},  {"2*3", "2*3"},       {"火", ""}, {"火狐", "火狐"}, {" >x", ">x"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Box);
        EXPECT_EQ(SearchQuery(c.Box), c.Query);
    }
}

std::vector<std::string> Titles(const std::vector<TSearchItem>& items, const std::vector<TSearchHit>& hits)
{
    std::vector<std::string> titles;
    for (const TSearchHit& hit : hits)
        titles.push_back(items[hit.Item].Title);
    return titles;
}

TDesktopApp App(std::string name, std::string generic = "", std::vector<std::string> keywords = {},
                std::string exec = "")
{
    TDesktopApp app;
    app.Id = name + ".desktop";
    app.Name = name;
    app.EnglishName = name;
    app.GenericName = generic;
    app.EnglishGenericName = generic;
    app.Keywords = std::move(keywords);
    app.Exec = exec.empty() ? "run-" + name : exec;
    return app;
}

TEST(RankItems, RankingTable)
{
    const std::vector<TDesktopApp> apps = {
        App("Terminal"),                                   // word prefix in the name
        App("Xterm"),                                      // substring in the name
        App("Tiled Emulator Rig Manager"),                 // letters in order only
        App("Console", "Terminal Emulator"),               // word prefix in the generic name
        App("Shell Box", "", {"prompt", "terminal"}),      // word prefix in a keyword
        App("Runner", "", {}, "/usr/bin/terminus-run %U"), // word prefix in the program's name
        App("Unrelated"),
    };
    TLaunchCounts none;
    std::vector<TSearchItem> items;
    for (size_t i = 0; i < apps.size(); ++i)
        items.push_back(AppItem(apps[i], i, none));

    // Word prefixes first, the name's field before the others, then titles;
    // substrings; then letters in order.
    EXPECT_EQ(Titles(items, RankItems(items, "term")),
              (std::vector<std::string>{"Terminal", "Console", "Runner", "Shell Box", "Xterm",
                                        "Tiled Emulator Rig Manager"}));
    EXPECT_EQ(Titles(items, RankItems(items, "trm")),
              (std::vector<std::string>{"Terminal", "Tiled Emulator Rig Manager", "Xterm", "Console", "Runner",
                                        "Shell Box"}));
    EXPECT_EQ(RankItems(items, "term", 2).size(), 2u);
    EXPECT_TRUE(RankItems(items, "zzz").empty());
}

TEST(RankItems, RecentLaunchesRankHigherWithinAKind)
{
    const std::vector<TDesktopApp> apps = {App("Files"), App("Firefox"), App("Fish"), App("Profile Tool")};
    TLaunchCounts launches;
    launches.Note("Fish.desktop");
    launches.Note("Fish.desktop");
    launches.Note("Firefox.desktop");
    launches.Note("Profile Tool.desktop");
    launches.Note("Profile Tool.desktop");
    launches.Note("Profile Tool.desktop");
    std::vector<TSearchItem> items;
    for (size_t i = 0; i < apps.size(); ++i)
        items.push_back(AppItem(apps[i], i, launches));
    // "Profile Tool" matches "fi" only inside a word: its launches do not lift it above word starts.
    EXPECT_EQ(Titles(items, RankItems(items, "fi")),
              (std::vector<std::string>{"Fish", "Firefox", "Files", "Profile Tool"}));
}

// Names in other scripts are found whichever case the user types, and the
// same way under any locale the bar runs in.
TEST(RankItems, LettersOfEveryScriptMatchWithoutRegardToCase)
{
    const std::vector<TSearchItem> items = {
        AppItem(App("Ärger Editor", "", {}), 0, TLaunchCounts()),
        AppItem(App("Браузер", "", {}), 1, TLaunchCounts()),
        AppItem(App("ΓΡΑΦΗ", "", {}), 2, TLaunchCounts()),
        AppItem(App("网页 Viewer", "", {}), 3, TLaunchCounts()),
    };
    const std::pair<const char*, const char*> cases[] = {
        {"är", "Ärger Editor"}, {"ÄRGER", "Ärger Editor"}, {"бра", "Браузер"},
        {"БРАУЗ", "Браузер"},   {"γραφη", "ΓΡΑΦΗ"},        {"网页 v", "网页 Viewer"},
    };
    for (const char* locale : {"C", "C.UTF-8"}) {
        const std::string old = std::setlocale(LC_ALL, nullptr);
        ASSERT_TRUE(std::setlocale(LC_ALL, locale));
        for (const auto& [query, title] : cases) {
            SCOPED_TRACE(std::string(locale) + ": " + query);
            EXPECT_EQ(Titles(items, RankItems(items, FoldText(query))), std::vector<std::string>{title});
        }
        std::setlocale(LC_ALL, old.c_str());
    }
}

TEST(RankItems, LocalizedAndEnglishNamesBothMatch)
{
    TDesktopApp firefox = App("Firefox 网络浏览器", "网络浏览器", {"互联网"});
    firefox.EnglishName = "Firefox Web Browser";
    firefox.EnglishGenericName = "Web Browser";
    const std::vector<TSearchItem> items = {AppItem(firefox, 0, TLaunchCounts())};
    for (const char* query : {"web", "browser", "浏览器", "互联网", "firefox", "run-firefox"}) {
        SCOPED_TRACE(query);
        EXPECT_EQ(RankItems(items, FoldText(query)).size(), 1u);
    }
}

TEST(RankItems, EntriesAndBookmarksByTheirTexts)
{
    const std::vector<TSearchItem> items = {
        TextItem(TSearchSource::Entry, 0, "Editor", {"Editor", "gedit"}),
        TextItem(TSearchSource::Bookmark, 7, "News", {"News", "https://lwn.net/"}),
    };
    const std::vector<TSearchHit> hits = RankItems(items, "lwn");
    ASSERT_EQ(hits.size(), 1u);
    EXPECT_EQ(items[hits[0].Item].Source, TSearchSource::Bookmark);
    EXPECT_EQ(items[hits[0].Item].Index, 7u);
    EXPECT_EQ(RankItems(items, "ged").size(), 1u);
}

TEST(LaunchCounts, CountsMoveToTheFrontAndStayBounded)
{
    TLaunchCounts counts;
    counts.Note("a.desktop");
    counts.Note("b.desktop");
    counts.Note("a.desktop");
    EXPECT_EQ(counts.Count("a.desktop"), 2);
    EXPECT_EQ(counts.Count("b.desktop"), 1);
    EXPECT_EQ(counts.Count("c.desktop"), 0);
    EXPECT_EQ(counts.Items().front().first, "a.desktop");
    for (size_t i = 0; i < TLaunchCounts::kMax; ++i)
        counts.Note("n" + std::to_string(i));
    EXPECT_EQ(counts.Items().size(), TLaunchCounts::kMax);
    EXPECT_EQ(counts.Count("a.desktop"), 0) << "the longest unused one drops out";
}

} // namespace
} // namespace tramble
