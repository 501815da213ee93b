// The bookmark model, its stored form in section "NetBookmark" and the
// hand-over of the add dialogs through "temp", on real settings files.
#include "bookmarks/BookmarkStore.h"
#include "bookmarks/BookmarkHandOver.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <vector>

namespace tramble {
namespace {

using Groups = std::vector<TBookmarkGroup>;

class StoredBookmarks : public ::testing::Test {
protected:
    std::string Ini() const { return m_dir.file("tramble.ini"); }
    std::string Bytes() const { return test::ReadFileBytes(Ini()); }
    // The file with its line ends as plain "\n".
    std::string Lines() const
    {
        std::string text = Bytes();
        std::erase(text, '\r');
        return text;
    }

    TBookmarkModel Load(const std::string& text, TModes modes = {})
    {
        test::WriteFileBytes(Ini(), text);
        TFastIniFile ini(Ini());
        return LoadNetBookmarks(ini, modes, "Undefined");
    }

    // What a fresh store reads from the file.
    TBookmarkModel Reread() const
    {
        TFastIniFile ini(Ini());
        return ReadNetBookmarks(ini);
    }

    void Save(const TBookmarkModel& model) const
    {
        TFastIniFile ini(Ini());
        SaveNetBookmarks(ini, {}, model);
    }

    test::TempDir m_dir;
};

TEST_F(StoredBookmarks, LoadingSkipsEntriesWithoutCaptions)
{
    struct Row {
        const char* Name;
        std::string Section;
        Groups Expected;
    } rows[] = {
        {"plain",
         "GroupCount=2\nGroup1=Web\nGroup1ItemCount=2\nGroup1Item1=A\nGroup1Url1=http://a\nGroup1Item2=B\n"
         "Group1Url2=http://b\nGroup2=Empty\nGroup2ItemCount=0\n",
         {{"Web", {{"A", "http://a"}, {"B", "http://b"}}}, {"Empty", {}}}},
        {"missing group caption",
         "GroupCount=3\nGroup1=One\nGroup2ItemCount=1\nGroup2Item1=Lost\nGroup2Url1=x\n"
         "Group3=Three\nGroup3ItemCount=1\nGroup3Item1=C\nGroup3Url1=http://c\n",
         {{"One", {}}, {"Three", {{"C", "http://c"}}}}},
        {"empty group caption", "GroupCount=2\nGroup1=\nGroup2=Two\n", {{"Two", {}}}},
        {"missing item caption",
         "GroupCount=1\nGroup1=G\nGroup1ItemCount=2\nGroup1Url1=http://lost\nGroup1Item2=K\n"
         "Group1Url2=http://kept\n",
         {{"G", {{"K", "http://kept"}}}}},
        {"missing address", "GroupCount=1\nGroup1=G\nGroup1ItemCount=1\nGroup1Item1=NoUrl\n", {{"G", {{"NoUrl", ""}}}}},
        {"counts beyond the keys",
         "GroupCount=2000000000\nGroup1=G\nGroup1ItemCount=2000000000\nGroup1Item1=A\n"
         "Group1Url1=u\nGroup7=H\n",
         {{"G", {{"A", "u"}}}, {"H", {}}}},
        {"counts below the keys",
         "GroupCount=1\nGroup1=G\nGroup1ItemCount=1\nGroup1Item1=A\nGroup1Url1=u\n"
         "Group1Item2=B\nGroup1Url2=v\nGroup2=Hidden\n",
         {{"G", {{"A", "u"}}}}},
        {"key names in other case",
         "groupcount=1\nGROUP1=G\ngroup1itemcount=1\nGroup1ITEM1=A\ngroup1url1=u\n",
         {{"G", {{"A", "u"}}}}},
        {"comment and quotes of old files",
         "GroupCount=1\nGroup1=\"Quoted\"\nGroup1ItemCount=1\n"
         "Group1Item1=Site ; note\nGroup1Url1=http://h/p;x\n",
         {{"Quoted", {{"Site", "http://h/p"}}}}},
    };
    for (const Row& row : rows) {
        const TBookmarkModel model = Load("[cfg]\nx=1\n[NetBookmark]\n" + row.Section);
        EXPECT_EQ(model.Groups(), row.Expected) << row.Name;
    }
}

TEST_F(StoredBookmarks, SkippedEntriesAreRenumberedAtTheNextSave)
{
    TBookmarkModel model = Load("[NetBookmark]\nGroupCount=3\nGroup1=One\nGroup1ItemCount=2\nGroup1Url1=lost\n"
                                "Group1Item2=B\nGroup1Url2=http://b\nGroup3=Three\nGroup3ItemCount=0\n");
    Save(model);
    EXPECT_EQ(Lines(),
              "[NetBookmark]\nGroupCount=2\nGroup1=One\nGroup1ItemCount=1\nGroup1Item1=B\nGroup1Url1=http://b\n"
              "Group2=Three\nGroup2ItemCount=0\n");
}

TEST_F(StoredBookmarks, SavingMovesTheSectionToTheEndInKeyOrder)
{
    test::WriteFileBytes(Ini(), "[a]\nk=1\n[NetBookmark]\nGroupCount=1\nGroup1=Old\n[z]\nk=2\n");
    TBookmarkModel model;
    model.AppendGroup({"G1", {{"a", "http://a"}, {"b", "http://b"}}});
    model.AppendGroup({"G2", {{"c", ""}}});
    Save(model);
    EXPECT_EQ(Lines(), "[a]\nk=1\n[z]\nk=2\n\n[NetBookmark]\nGroupCount=2\nGroup1=G1\nGroup1ItemCount=2\n"
                       "Group1Item1=a\nGroup1Url1=http://a\nGroup1Item2=b\nGroup1Url2=http://b\nGroup2=G2\n"
                       "Group2ItemCount=1\nGroup2Item1=c\nGroup2Url1=\n");
}

TEST_F(StoredBookmarks, DefaultGroupWhenNoneIsStored)
{
    for (const std::string text :
         {"", "[NetBookmark]\nGroupCount=0\nGroup1=Ignored\n", "[NetBookmark]\nGroupCount=-4\n"}) {
        const TBookmarkModel model = Load(text);
        const Groups expected{{"Undefined", {{"Kuv Homepage", std::string(kHomePageAddress)}}}};
        EXPECT_EQ(model.Groups(), expected) << text;
        EXPECT_EQ(Reread().Groups(), expected) << "written back at once: " << text;
    }
}

TEST_F(StoredBookmarks, ReadOnlyModeWritesNothing)
{
    TModes readOnly;
    readOnly.ReadOnlyMode = true;
    const TBookmarkModel model = Load("[cfg]\nx=1\n", readOnly);
    EXPECT_EQ(model.GroupCount(), 1u);
    EXPECT_EQ(Bytes(), "[cfg]\nx=1\n");

    TFastIniFile ini(Ini());
    SaveNetBookmarks(ini, readOnly, DefaultNetBookmarks("X"));
    EXPECT_FALSE(ini.Modified());
    EXPECT_EQ(Bytes(), "[cfg]\nx=1\n");
}

// Values that the store's reader would cut, trim or unquote if written as
// they are, and two that no quoting can carry.
struct HostileValue {
    std::string Value;
    std::string Caption; // what a caption reads back as
    std::string Address; // what an address reads back as
};

std::vector<HostileValue> HostileValues()
{
    std::vector<HostileValue> rows;
    for (const std::string same : {"https://host/p;jsessionid=1",
                                   "\"Quoted title\"",
                                   "'single'",
                                   "  leading blanks",
                                   "trailing blanks  ",
                                   "\ttab",
                                   "semi; colon ;",
                                   ";",
                                   "\"",
                                   "\"\"",
                                   "''",
                                   "a \"b;c\"",
                                   "\"x\";y",
                                   "x = y",
                                   "[section]",
                                   "#hash",
                                   "ünïcödé 中文;注释",
                                   "' mixed \"",
                                   "end with quote\"",
                                   "\"start with quote",
                                   "plain"})
        rows.push_back({same, same, same});
    rows.push_back({"a;\"b;\"", "a;'b;'", "a;%22b;%22"});
    rows.push_back({"say \"hi;\" ; bye", "say 'hi;' ; bye", "say %22hi;%22 ; bye"});
    return rows;
}

TEST_F(StoredBookmarks, HostileCaptionsAndAddressesReadBackUnchanged)
{
    TBookmarkModel model;
    TBookmarkGroup expected;
    Groups expectedGroups;
    for (const HostileValue& row : HostileValues()) {
        TBookmarkGroup group{row.Value, {{row.Value, row.Value}, {"x", row.Value}}};
        model.AppendGroup(group);
        expectedGroups.push_back({row.Caption, {{row.Caption, row.Address}, {"x", row.Address}}});
    }
    Save(model);
    const TBookmarkModel back = Reread();
    ASSERT_EQ(back.GroupCount(), expectedGroups.size()) << Bytes();
    for (size_t i = 0; i < expectedGroups.size(); ++i)
        EXPECT_EQ(back.Group(i), expectedGroups[i]) << "value: [" << HostileValues()[i].Value << "]";
    // A second save of what was read changes nothing more.
    const std::string first = Bytes();
    Save(back);
    EXPECT_EQ(Bytes(), first);
}

TEST_F(StoredBookmarks, DialogInputCrossesTheScratchSectionUnchanged)
{
    for (const HostileValue& row : HostileValues()) {
        {
            TFastIniFile ini(Ini());
            WriteUrlInput(ini, {row.Value, row.Value, 3});
            WriteGroupInput(ini, row.Value);
            ini.Flush();
        }
        TFastIniFile ini(Ini());
        EXPECT_EQ(ReadGroupInput(ini), row.Caption) << row.Value;
        const TUrlInput input = ReadUrlInput(ini);
        EXPECT_EQ(input.Description, row.Caption) << row.Value;
        EXPECT_EQ(input.Url, row.Address) << row.Value;
    }
}

TEST(BookmarkCommands, AddGroupRefusesEmptyAndDuplicateNames)
{
    struct Row {
        std::string Name;
        TAddGroupResult Expected;
    } rows[] = {
        {"news", TAddGroupResult::Duplicate},     {"NEWS", TAddGroupResult::Duplicate},
        {"News", TAddGroupResult::Duplicate},     {"", TAddGroupResult::EmptyName},
        {"News ", TAddGroupResult::Added},        {"Nëws", TAddGroupResult::Added},
        {"Work / Tools", TAddGroupResult::Added},
    };
    for (const Row& row : rows) {
        TBookmarkModel model;
        model.AppendGroup({"Mail", {}});
        model.AppendGroup({"News", {{"n", "http://n"}}});
        TFastIniFile ini("");
        WriteGroupInput(ini, row.Name);
        EXPECT_EQ(AddGroupFromInput(model, ini), row.Expected) << row.Name;
        const size_t groups = row.Expected == TAddGroupResult::Added ? 3 : 2;
        ASSERT_EQ(model.GroupCount(), groups) << row.Name;
        if (groups == 3) {
            EXPECT_EQ(model.Group(2), (TBookmarkGroup{row.Name, {}}));
        }
    }
}

TEST(BookmarkCommands, AddBookmarkNeedsAnAddressAndAGroup)
{
    struct Row {
        const char* Name;
        TUrlInput Input;
        TAddBookmarkResult Expected;
        std::optional<TBookmark> Added; // at the end of group 1
    } rows[] = {
        {"plain", {"Site", "http://s", 1}, TAddBookmarkResult::Added, TBookmark{"Site", "http://s"}},
        {"empty description", {"", "http://s", 1}, TAddBookmarkResult::Added, TBookmark{"http://s", "http://s"}},
        {"prefix alone", {"", "http://", 1}, TAddBookmarkResult::Added, TBookmark{"http://", "http://"}},
        {"empty address", {"Site", "", 1}, TAddBookmarkResult::NoAddress, std::nullopt},
        {"no group chosen", {"Site", "http://s", -1}, TAddBookmarkResult::NoGroup, std::nullopt},
        {"group past the end", {"Site", "http://s", 2}, TAddBookmarkResult::NoGroup, std::nullopt},
    };
    for (const Row& row : rows) {
        TBookmarkModel model;
        model.AppendGroup({"A", {}});
        model.AppendGroup({"B", {{"old", "http://old"}}});
        const TBookmarkModel before = model;
        TFastIniFile ini("");
        WriteUrlInput(ini, row.Input);
        size_t group = 99;
        EXPECT_EQ(AddBookmarkFromInput(model, ini, &group), row.Expected) << row.Name;
        if (!row.Added) {
            EXPECT_EQ(model, before) << row.Name;
            continue;
        }
        EXPECT_EQ(group, 1u) << row.Name;
        EXPECT_EQ(model.Group(0).Items.size(), 0u) << row.Name;
        ASSERT_EQ(model.Group(1).Items.size(), 2u) << row.Name;
        EXPECT_EQ(model.Group(1).Items[1], *row.Added) << row.Name;
    }
    TBookmarkModel none;
    EXPECT_EQ(none.AddBookmark(0, "a", "http://a"), TAddBookmarkResult::NoGroup);
    EXPECT_TRUE(none.Empty());
}

TEST(BookmarkCommands, PreselectedGroupFallsBackToTheFirst)
{
    TFastIniFile ini("");
    EXPECT_EQ(ReadPreselectedGroup(ini), 0);
    WriteGroupInput(ini, "News");
    EXPECT_EQ(ReadPreselectedGroup(ini), 0);
    WritePreselectedGroup(ini, 4);
    EXPECT_EQ(ReadPreselectedGroup(ini), 4);
}

TEST(BookmarkModelEdits, MovesKeepEveryBookmarkWithItsAddress)
{
    TBookmarkModel model;
    model.AppendGroup({"A", {{"a1", "http://a1"}, {"a2", "http://a2"}}});
    model.AppendGroup({"B", {{"b1", "http://b1"}}});
    model.AppendGroup({"C", {}});

    EXPECT_FALSE(model.MoveGroup(0, true));
    EXPECT_FALSE(model.MoveGroup(2, false));
    EXPECT_FALSE(model.MoveGroup(7, true));
    EXPECT_TRUE(model.MoveGroup(1, true));
    EXPECT_EQ(model.Group(0), (TBookmarkGroup{"B", {{"b1", "http://b1"}}}));
    EXPECT_EQ(model.Group(1), (TBookmarkGroup{"A", {{"a1", "http://a1"}, {"a2", "http://a2"}}}));

    EXPECT_FALSE(model.MoveBookmark(1, 0, true));
    EXPECT_FALSE(model.MoveBookmark(1, 1, false));
    EXPECT_TRUE(model.MoveBookmark(1, 0, false));
    EXPECT_EQ(model.Group(1).Items, (std::vector<TBookmark>{{"a2", "http://a2"}, {"a1", "http://a1"}}));

    // To its own group: to the end.
    EXPECT_TRUE(model.MoveBookmarkToGroup(1, 0, 1));
    EXPECT_EQ(model.Group(1).Items, (std::vector<TBookmark>{{"a1", "http://a1"}, {"a2", "http://a2"}}));
    EXPECT_TRUE(model.MoveBookmarkToGroup(1, 0, 2));
    EXPECT_EQ(model.Group(2).Items, (std::vector<TBookmark>{{"a1", "http://a1"}}));
    EXPECT_FALSE(model.MoveBookmarkToGroup(1, 5, 0));
    EXPECT_FALSE(model.MoveBookmarkToGroup(1, 0, 3));
}

TEST(BookmarkModelEdits, RemovingTheLastGroupLeavesTheFallback)
{
    TBookmarkModel model;
    model.AppendGroup({"A", {{"a", "http://a"}}});
    model.AppendGroup({"B", {}});
    EXPECT_TRUE(model.RemoveGroup(0, "Undefined"));
    EXPECT_EQ(model.Groups(), (Groups{{"B", {}}}));
    EXPECT_TRUE(model.RemoveGroup(0, "Undefined"));
    EXPECT_EQ(model.Groups(), (Groups{{"Undefined", {}}}));
    EXPECT_FALSE(model.RemoveGroup(1, "Undefined"));
    EXPECT_FALSE(model.RemoveBookmark(0, 0));
}

TEST(BookmarkModelEdits, EditsFollowTheRulesOfAdding)
{
    TBookmarkModel model;
    model.AppendGroup({"Mail", {{"m", "http://m"}}});
    model.AppendGroup({"News", {}});
    EXPECT_EQ(model.RenameGroup(1, "MAIL"), TAddGroupResult::Duplicate);
    EXPECT_EQ(model.RenameGroup(1, ""), TAddGroupResult::EmptyName);
    EXPECT_EQ(model.Group(1).Caption, "News");
    EXPECT_EQ(model.RenameGroup(1, "NEWS"), TAddGroupResult::Added);
    EXPECT_EQ(model.Group(1).Caption, "NEWS");

    EXPECT_EQ(model.EditBookmark(0, 0, "x", ""), TAddBookmarkResult::NoAddress);
    EXPECT_EQ(model.EditBookmark(0, 1, "x", "http://x"), TAddBookmarkResult::NoGroup);
    EXPECT_EQ(model.Group(0).Items[0], (TBookmark{"m", "http://m"}));
    EXPECT_EQ(model.EditBookmark(0, 0, "", "http://new"), TAddBookmarkResult::Added);
    EXPECT_EQ(model.Group(0).Items[0], (TBookmark{"http://new", "http://new"}));
}

} // namespace
} // namespace tramble
