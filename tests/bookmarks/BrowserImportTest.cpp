// Import of the bookmarks of Firefox (a places.sqlite made here in its
// schema) and Chromium (a "Bookmarks" JSON file), the profiles found in a
// home folder, and files that are missing or damaged.
#include "bookmarks/BrowserImport.h"
#include "bookmarks/BrowserProfiles.h"
#include "bookmarks/ChromiumBookmarks.h"
#include "bookmarks/FirefoxBookmarks.h"

#include "bookmarks/PlacesBuilder.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace tramble {
namespace {

namespace fs = std::filesystem;
using Groups = std::vector<TBookmarkGroup>;

class FirefoxImport : public ::testing::Test {
protected:
    std::string Places() const { return m_dir.file("places.sqlite"); }
    std::string Temp() const
    {
        fs::create_directories(m_dir.path() / "tmp");
        return m_dir.file("tmp");
    }

    test::TempDir m_dir;
};

void FillTypicalProfile(test::PlacesBuilder& places)
{
    places.Bookmark(10, 2, 0, "Menu site", "https://menu.example/");
    places.Folder(11, 2, 1, "Work");
    places.Bookmark(12, 11, 0, "Wiki", "https://wiki.example/a;b?c=\"d\"");
    places.Folder(13, 11, 1, "Tools");
    places.Bookmark(14, 13, 0, "CI", "http://ci.example/");
    places.Bookmark(15, 13, 1, "CI again", "http://ci.example/");
    places.Bookmark(16, 11, 2, "", "ftp://files.example/pub");
    places.Separator(17, 2, 2);
    places.Bookmark(18, 2, 3, "Recent tags", "place:type=6&sort=14");
    places.Bookmark(19, 3, 0, "Script", "javascript:alert(1)");
    places.Bookmark(20, 3, 1, "Line\nbreak", "file:///home/u/notes.txt");
    places.Bookmark(21, 3, 2, "About", "about:config");
    // A tag is a folder under "tags" holding a second row for a bookmark.
    places.Folder(22, 4, 0, "rust");
    places.Bookmark(23, 22, 0, "Tagged", "https://tagged.example/");
    places.Bookmark(24, 5, 0, "Unsorted", "HTTPS://unsorted.example/");
}

const Groups kTypicalGroups{
    {"Bookmarks Menu", {{"Menu site", "https://menu.example/"}}},
    {"Work", {{"Wiki", "https://wiki.example/a;b?c=\"d\""}, {"ftp://files.example/pub", "ftp://files.example/pub"}}},
    {"Work / Tools", {{"CI", "http://ci.example/"}}},
    {"Bookmarks Toolbar", {{"Line break", "file:///home/u/notes.txt"}}},
    {"Other Bookmarks", {{"Unsorted", "HTTPS://unsorted.example/"}}},
};

TEST_F(FirefoxImport, FoldersBecomeGroupsAndOnlyWebAddressesCome)
{
    {
        test::PlacesBuilder places(Places());
        FillTypicalProfile(places);
    }
    EXPECT_EQ(ReadFirefoxBookmarks(Places(), Temp()).Groups(), kTypicalGroups);
    // The copy is gone again; the original is untouched.
    EXPECT_TRUE(fs::is_empty(Temp()));
}

TEST_F(FirefoxImport, ReadsADatabaseTheBrowserHoldsLocked)
{
    test::PlacesBuilder places(Places(), true);
    FillTypicalProfile(places);
    // The browser keeps the file locked, with recent changes only in its log.
    places.Exec("PRAGMA wal_autocheckpoint=0");
    places.Bookmark(30, 6, 0, "Phone", "https://phone.example/");
    places.Exec("PRAGMA locking_mode=EXCLUSIVE");
    places.Exec("BEGIN EXCLUSIVE");
    places.Exec("SELECT count(*) FROM moz_bookmarks");
    const TBookmarkModel model = ReadFirefoxBookmarks(Places(), Temp());
    places.Exec("COMMIT");
    ASSERT_EQ(model.GroupCount(), kTypicalGroups.size() + 1);
    EXPECT_EQ(model.Group(kTypicalGroups.size()),
              (TBookmarkGroup{"Mobile Bookmarks", {{"Phone", "https://phone.example/"}}}));
}

TEST_F(FirefoxImport, FoldersOutsideTheTreeArePassedOver)
{
    {
        test::PlacesBuilder places(Places());
        places.Folder(10, 12, 0, "A");
        places.Folder(11, 10, 0, "B");
        places.Folder(12, 11, 0, "C");
        places.Bookmark(13, 11, 1, "In B", "https://b.example/");
        places.Bookmark(14, 2, 0, "Menu", "https://m.example/");
    }
    EXPECT_EQ(ReadFirefoxBookmarks(Places(), Temp()).Groups(),
              (Groups{{"Bookmarks Menu", {{"Menu", "https://m.example/"}}}}));
}

TEST_F(FirefoxImport, DamagedOrMissingFilesGiveAClearError)
{
    std::string valid;
    {
        const std::string other = m_dir.file("valid.sqlite");
        test::PlacesBuilder places(other);
        FillTypicalProfile(places);
        for (int i = 100; i < 400; ++i)
            places.Bookmark(i, 2, i, "Filler " + std::to_string(i), "https://filler.example/" + std::to_string(i));
    }
    valid = test::ReadFileBytes(m_dir.file("valid.sqlite"));
    struct Row {
        const char* Name;
        std::function<void()> Make;
        const char* Reason;
    } rows[] = {
        {"missing", [&] { fs::remove(Places()); }, "does not exist"},
        {"not a database", [&] { test::WriteFileBytes(Places(), std::string(5000, 'x')); }, "not a database"},
        {"empty", [&] { test::WriteFileBytes(Places(), ""); }, "no such table"},
        {"cut short", [&] { test::WriteFileBytes(Places(), valid.substr(0, valid.size() / 3)); }, "malformed"},
        {"other schema",
         [&] {
             fs::remove(Places());
             sqlite3* db = nullptr;
             sqlite3_open(Places().c_str(), &db);
             sqlite3_exec(db, "CREATE TABLE notes (id INTEGER)", nullptr, nullptr, nullptr);
             sqlite3_close(db);
         },
         "no such table"},
        {"a folder", [&] { fs::create_directories(Places()); }, "does not exist"},
    };
    for (const Row& row : rows) {
        std::error_code ignored;
        fs::remove_all(Places(), ignored);
        row.Make();
        try {
            ReadFirefoxBookmarks(Places(), Temp());
            ADD_FAILURE() << row.Name << ": no error";
        } catch (const EImportError& error) {
            EXPECT_NE(std::string(error.what()).find(row.Reason), std::string::npos)
                << row.Name << ": " << error.what();
        }
        EXPECT_TRUE(fs::is_empty(Temp())) << row.Name;
    }
}

TEST(ChromiumImport, FoldersBecomeGroupsAndOnlyWebAddressesCome)
{
    const std::string json = R"json({
      "checksum": "0", "version": 1,
      "roots": {
        "bookmark_bar": {"name": "Bookmarks bar", "type": "folder", "children": [
          {"type": "url", "name": "Mail", "url": "https://mail.example/"},
          {"type": "folder", "name": "Dev", "children": [
            {"type": "url", "name": "Repo", "url": "https://git.example/x;y"},
            {"type": "folder", "name": "Docs", "children": [
              {"type": "url", "name": "", "url": "file:///usr/share/doc/index.html"}]},
            {"type": "url", "name": "Repo twice", "url": "https://git.example/x;y"},
            {"type": "url", "name": "Chrome page", "url": "chrome://settings"}]},
          {"type": "url", "name": "Tab\tname", "url": "ftp://ftp.example/"}]},
        "other": {"name": "Other bookmarks", "type": "folder", "children": [
          {"type": "url", "name": "Bookmarklet", "url": "javascript:void(0)"},
          {"type": "url", "name": "No address"},
          42, "text",
          {"type": "folder", "name": "Empty", "children": []}]},
        "synced": {"name": "", "type": "folder", "children": [
          {"type": "url", "name": "Phone", "url": "http://phone.example/"}]}
      }})json";
    EXPECT_EQ(ParseChromiumBookmarks(json).Groups(),
              (Groups{{"Bookmarks bar", {{"Mail", "https://mail.example/"}, {"Tab name", "ftp://ftp.example/"}}},
                      {"Dev", {{"Repo", "https://git.example/x;y"}}},
                      {"Dev / Docs", {{"file:///usr/share/doc/index.html", "file:///usr/share/doc/index.html"}}},
                      {"Mobile bookmarks", {{"Phone", "http://phone.example/"}}}}));
}

TEST(ChromiumImport, DamagedTextGivesAClearError)
{
    struct Row {
        const char* Name;
        std::string Text;
        const char* Reason;
    } rows[] = {
        {"cut short", R"({"roots": {"bookmark_bar": {"children": [)", "not valid JSON"},
        {"empty", "", "not valid JSON"},
        {"binary", std::string("\x00\xff\xfe", 3), "not valid JSON"},
        {"an array", "[1, 2]", "no browser bookmarks"},
        {"no roots", R"({"version": 1})", "no browser bookmarks"},
        {"roots not an object", R"({"roots": []})", "no browser bookmarks"},
    };
    for (const Row& row : rows) {
        try {
            ParseChromiumBookmarks(row.Text);
            ADD_FAILURE() << row.Name << ": no error";
        } catch (const EImportError& error) {
            EXPECT_NE(std::string(error.what()).find(row.Reason), std::string::npos)
                << row.Name << ": " << error.what();
        }
    }
    EXPECT_THROW(ReadChromiumBookmarks("/nonexistent/Bookmarks"), EImportError);
}

TEST(ChromiumImport, DeeplyNestedFoldersNeitherCrashNorRecurse)
{
    constexpr int kDepth = 100000;
    std::string json = R"({"roots": {"other": {"name": "O", "children": [)";
    for (int i = 0; i < kDepth; ++i)
        json += R"({"type": "folder", "name": "f", "children": [)";
    json += R"({"type": "url", "name": "deep", "url": "https://deep.example/"})";
    for (int i = 0; i < kDepth; ++i)
        json += "]}";
    json += "]}}}";
    const TBookmarkModel model = ParseChromiumBookmarks(json);
    ASSERT_EQ(model.GroupCount(), 1u);
    EXPECT_EQ(model.Group(0).Items, (std::vector<TBookmark>{{"deep", "https://deep.example/"}}));
    // Names stop growing at the depth limit.
    EXPECT_EQ(std::count(model.Group(0).Caption.begin(), model.Group(0).Caption.end(), '/'), kMaxFolderDepth - 1);
}

TEST(BrowserProfiles, FoundInTheHomeFolder)
{
    test::TempDir home;
    const fs::path firefox = home.path() / ".mozilla/firefox";
    fs::create_directories(firefox / "abc.default-release");
    fs::create_directories(firefox / "def.empty");
    fs::create_directories(home.path() / "elsewhere/work");
    test::WriteFileBytes((firefox / "abc.default-release/places.sqlite").string(), "");
    test::WriteFileBytes((home.path() / "elsewhere/work/places.sqlite").string(), "");
    test::WriteFileBytes((firefox / "profiles.ini").string(),
                         "[Install4F96D1932A9F858E]\nDefault=abc.default-release\nLocked=1\n\n"
                         "[Profile1]\nName=work;1\nIsRelative=0\nPath=" +
                             (home.path() / "elsewhere/work").string() +
                             "\n\n[Profile0]\nName=default-release\nIsRelative=1\nPath=abc.default-release\n"
                             "Default=1\n\n[Profile2]\nName=empty\nIsRelative=1\nPath=def.empty\n\n"
                             "[General]\nStartWithLastProfile=1\nVersion=2\n");
    const fs::path snap = home.path() / "snap/firefox/common/.mozilla/firefox";
    fs::create_directories(snap / "s.default");
    test::WriteFileBytes((snap / "s.default/places.sqlite").string(), "");
    test::WriteFileBytes((snap / "profiles.ini").string(), "[Profile0]\nName=snap\nPath=s.default\n");

    const fs::path config = home.path() / "config";
    for (const char* dir : {"chromium/Default", "chromium/Profile 10", "chromium/Profile 2", "chromium/System Profile",
                            "google-chrome/Default"})
        fs::create_directories(config / dir);
    for (const char* file : {"chromium/Default/Bookmarks", "chromium/Profile 10/Bookmarks",
                             "chromium/Profile 2/Bookmarks", "google-chrome/Default/Bookmarks"})
        test::WriteFileBytes((config / file).string(), "{}");
    test::WriteFileBytes(
        (config / "chromium/Local State").string(),
        R"({"profile": {"info_cache": {"Default": {"name": "Person 1"}, "Profile 2": {"name": "Work"}}}})");
    test::WriteFileBytes((config / "google-chrome/Local State").string(), "{damaged");

    const std::vector<TBrowserProfile> expected{
        {TBrowser::Firefox, "work;1", (home.path() / "elsewhere/work/places.sqlite").string()},
        {TBrowser::Firefox, "default-release", (firefox / "abc.default-release/places.sqlite").string()},
        {TBrowser::Firefox, "snap", (snap / "s.default/places.sqlite").string()},
        {TBrowser::Chromium, "Person 1", (config / "chromium/Default/Bookmarks").string()},
        {TBrowser::Chromium, "Work", (config / "chromium/Profile 2/Bookmarks").string()},
        {TBrowser::Chromium, "Profile 10", (config / "chromium/Profile 10/Bookmarks").string()},
        {TBrowser::Chrome, "Default", (config / "google-chrome/Default/Bookmarks").string()},
    };
    EXPECT_EQ(ListBrowserProfiles({home.path().string(), config.string()}), expected);
    EXPECT_TRUE(ListBrowserProfiles({(home.path() / "nobody").string(), ""}).empty());
}

TEST(MergeImport, SameNamedGroupsTakeOnlyNewAddresses)
{
    TBookmarkModel model;
    model.AppendGroup({"Work", {{"Mine", "https://a.example/"}}});
    TBookmarkModel imported;
    imported.AppendGroup({"WORK", {{"Theirs", "https://a.example/"}, {"New", "https://b.example/"}}});
    imported.AppendGroup({"Other", {{"O", "https://o.example/"}}});
    EXPECT_EQ(MergeImport(model, imported), 2u);
    EXPECT_EQ(model.Groups(), (Groups{{"Work", {{"Mine", "https://a.example/"}, {"New", "https://b.example/"}}},
                                      {"Other", {{"O", "https://o.example/"}}}}));
    EXPECT_EQ(MergeImport(model, imported), 0u);
}

TEST(MergeImport, OnlyWebFtpAndFileAddresses)
{
    struct Row {
        const char* Address;
        bool Importable;
    } rows[] = {
        {"http://a", true},         {"HTTPS://a", true},
        {"ftp://a", true},          {"file:///a", true},
        {"place:sort=8", false},    {"javascript:x()", false},
        {"data:text/html,", false}, {"about:blank", false},
        {"mailto:a@b", false},      {"", false},
        {"www.example.com", false}, {"httpx://a", false},
    };
    for (const Row& row : rows)
        EXPECT_EQ(IsImportableAddress(row.Address), row.Importable) << row.Address;
}

} // namespace
} // namespace tramble
