#include "store/FastIniFile.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace tramble;
using tramble::test::ReadFileBytes;
using tramble::test::TempDir;
using tramble::test::WriteFileBytes;

namespace {

class FastIniFileTest : public ::testing::Test {
protected:
    std::string Path() const { return m_dir.file("settings.ini"); }
    // A store over the given file text.
    std::unique_ptr<TFastIniFile> StoreWith(const std::string& text)
    {
        WriteFileBytes(Path(), text);
        return std::make_unique<TFastIniFile>(Path());
    }
    std::string Flushed(TFastIniFile& store)
    {
        store.Flush();
        return ReadFileBytes(Path());
    }

    TempDir m_dir;
};

// A section of `keys` numbered keys "k<n>=<value>" under header [name].
std::string SectionText(const std::string& name, int keys, const std::string& value)
{
    std::string text = "[" + name + "]\r\n";
    for (int i = 0; i < keys; ++i)
        text += "k" + std::to_string(i) + "=" + value + "\r\n";
    return text;
}

} // namespace

TEST_F(FastIniFileTest, MissingFileReadsDefaultsAndFirstFlushCreatesIt)
{
    TFastIniFile store(Path());
    EXPECT_EQ(store.ReadText("S", "k", "def"), "def");
    EXPECT_EQ(store.ReadNumber("S", "n", 42), 42);
    EXPECT_TRUE(store.ReadFlag("S", "f", true));
    store.WriteText("S", "k", "v");
    EXPECT_TRUE(store.Modified());
    EXPECT_EQ(Flushed(store), "[S]\r\nk=v\r\n");
    EXPECT_FALSE(store.Modified());
}

TEST_F(FastIniFileTest, NewSectionIsSeparatedByOneBlankLine)
{
    auto store = StoreWith("[A]\r\nx=1");
    store->WriteText("B", "y", "2");
    EXPECT_EQ(Flushed(*store), "[A]\r\nx=1\r\n\r\n[B]\r\ny=2\r\n");

    auto blankEnded = StoreWith("[A]\r\nx=1\r\n\r\n");
    blankEnded->WriteText("B", "y", "2");
    EXPECT_EQ(Flushed(*blankEnded), "[A]\r\nx=1\r\n\r\n[B]\r\ny=2\r\n");
}

TEST_F(FastIniFileTest, LineBreaksOfEveryKindAndNulEndingTheText)
{
    const char text[] = "[S]\ra=1\nb=2\r\nc=3\n\rd=4\0e=5\r\n";
    auto store = StoreWith(std::string(text, sizeof text - 1));
    EXPECT_EQ(store->ReadText("S", "a", ""), "1");
    EXPECT_EQ(store->ReadText("S", "b", ""), "2");
    EXPECT_EQ(store->ReadText("S", "c", ""), "3");
    EXPECT_EQ(store->ReadText("S", "d", ""), "4");
    EXPECT_EQ(store->ReadText("S", "e", "none"), "none");
    // "c=3\n\r" is a break followed by an empty line.
    EXPECT_EQ(store->Statistics().BlankLines, 1);
    EXPECT_EQ(store->Statistics().KeyLines, 4);
}

TEST_F(FastIniFileTest, InlineCommentKeepsItsColumn)
{
    auto store = StoreWith("[S]\r\nkey = value ; note\r\n");
    EXPECT_EQ(store->ReadText("S", "key", ""), "value");
    store->WriteText("S", "key", "v2");
    EXPECT_EQ(Flushed(*store), "[S]\r\nkey=v2    ; note\r\n");
    store->WriteText("S", "key", "a much longer value");
    EXPECT_EQ(Flushed(*store), "[S]\r\nkey=a much longer value ; note\r\n");
    EXPECT_EQ(store->ReadText("S", "key", ""), "a much longer value");
}

TEST_F(FastIniFileTest, ValuesAndQuotes)
{
    struct Row {
        const char* stored;
        const char* read;
    };
    const Row rows[] = {
        {"\"x;y\"", "x;y"},        // ";" inside double quotes belongs to the value
        {"'abc'", "abc"},          // single quotes are removed too
        {"'", "'"},                // one quote alone stays
        {"\"\"", ""},              // an empty quoted value
        {"'abc\"", "'abc\""},      // quotes must match
        {"x ; y ; z", "x"},        // the first comment wins
        {"'a' ; c", "a"},          // comment stripped, then quotes
        {"a=b", "a=b"},            // only the first "=" splits
        {"   padded   ", "padded"} // value trimmed when examined
    };
    for (const Row& row : rows) {
        auto store = StoreWith(std::string("[S]\nk=") + row.stored + "\n");
        EXPECT_EQ(store->ReadText("S", "k", "?"), row.read) << row.stored;
    }
}

TEST_F(FastIniFileTest, StripCommentsOffReadsWholeValue)
{
    auto store = StoreWith("[S]\nk=a ; b\n");
    store->SetStripComments(false);
    EXPECT_EQ(store->ReadText("S", "k", ""), "a ; b");
}

TEST_F(FastIniFileTest, SameValueDoesNotModify)
{
    auto store = StoreWith("[S]\nk=v ; c\n");
    store->WriteText("S", "k", "v");
    EXPECT_FALSE(store->Modified());
    // A missing key written empty is added in memory only.
    store->WriteText("S", "new", "");
    EXPECT_FALSE(store->Modified());
    EXPECT_TRUE(store->HasKey("S", "new"));
    store->Flush();
    EXPECT_EQ(ReadFileBytes(Path()), "[S]\nk=v ; c\n");
}

TEST_F(FastIniFileTest, EmptyKeyRemovesSectionOrFlushes)
{
    auto store = StoreWith("[A]\nx=1\n[B]\ny=2\n");
    store->WriteText("A", "", "ignored");
    EXPECT_FALSE(store->Modified());
    store->WriteText("A", "", "");
    EXPECT_TRUE(store->Modified());
    EXPECT_EQ(store->ReadText("A", "x", "gone"), "gone");
    store->WriteText("", "", "");
    EXPECT_FALSE(store->Modified());
    EXPECT_EQ(ReadFileBytes(Path()), "[B]\r\ny=2\r\n");
}

TEST_F(FastIniFileTest, RemoveSectionTakesTrailingBlanksButLeavesCommentsOfTheNext)
{
    struct Row {
        const char* name;
        std::string before;
        std::string after;
    };
    const Row rows[] = {
        {"blank lines go with the section", "[A]\nx=1\n\n\n[B]\ny=2\n", "[B]\r\ny=2\r\n"},
        {"comment before next header stays", "[A]\nx=1\n\n; about B\n[B]\n", "; about B\r\n[B]\r\n"},
        {"comment then two blanks goes", "[A]\nx=1\n;c\n\n\n[B]\n", "[B]\r\n"},
        {"comment then one blank stays", "[A]\nx=1\n;c\n\n[B]\n", ";c\r\n\r\n[B]\r\n"},
        {"section at the end", "[B]\ny=2\n[A]\nx=1\n\n", "[B]\r\ny=2\r\n"},
        {"invalid lines are key lines", "[A]\njunk\n;c\n[B]\n", ";c\r\n[B]\r\n"},
    };
    for (const Row& row : rows) {
        auto store = StoreWith(row.before);
        store->RemoveSection("a");
        EXPECT_EQ(Flushed(*store), row.after) << row.name;
    }
}

TEST_F(FastIniFileTest, RemoveSectionKeepsLaterSectionsReachable)
{
    auto store = StoreWith("[A]\nx=1\n[B]\ny=2\n[C]\nz=3\n");
    EXPECT_EQ(store->ReadText("B", "y", ""), "2"); // B is now the cached section
    store->RemoveSection("B");
    EXPECT_EQ(store->ReadText("B", "y", "none"), "none");
    EXPECT_EQ(store->ReadText("C", "z", ""), "3");
    store->WriteText("A", "w", "4");
    EXPECT_EQ(store->ReadText("C", "z", ""), "3");
    EXPECT_EQ(Flushed(*store), "[A]\r\nx=1\r\nw=4\r\n[C]\r\nz=3\r\n");
}

TEST_F(FastIniFileTest, RemoveOfMissingSectionSetsModifiedButMissingKeyDoesNot)
{
    auto store = StoreWith("[A]\nx=1\n");
    store->RemoveKey("A", "nothere");
    store->RemoveKey("Nope", "x");
    EXPECT_FALSE(store->Modified());
    store->RemoveSection("Nope");
    EXPECT_TRUE(store->Modified());
}

TEST_F(FastIniFileTest, NewKeyGoesAfterLastKeyLineBeforeTrailingComments)
{
    auto store = StoreWith("[A]\nx=1\n; tail\n\n[B]\n[C]\nz=1\n");
    store->WriteText("A", "y", "2");
    store->WriteText("B", "b", "3");
    store->WriteText("C", "c", "4");
    EXPECT_EQ(store->ReadText("C", "z", ""), "1");
    EXPECT_EQ(Flushed(*store), "[A]\r\nx=1\r\ny=2\r\n; tail\r\n\r\n[B]\r\nb=3\r\n[C]\r\nz=1\r\nc=4\r\n");
}

TEST_F(FastIniFileTest, RemoveKeyThenReadOthers)
{
    auto store = StoreWith("[A]\nx=1\ny=2\n[B]\nz=3\n");
    store->RemoveKey("A", "X");
    EXPECT_TRUE(store->Modified());
    EXPECT_FALSE(store->HasKey("A", "x"));
    EXPECT_EQ(store->ReadText("A", "y", ""), "2");
    EXPECT_EQ(store->ReadText("B", "z", ""), "3");
    EXPECT_EQ(store->Statistics().KeyLines, 2);
}

TEST_F(FastIniFileTest, DuplicateSectionsFindTheLaterOneAndListBoth)
{
    auto store = StoreWith("[A]\nx=first\n[a]\nx=second\n");
    EXPECT_EQ(store->ReadText("A", "x", ""), "second");
    std::vector<std::string> sections{"stale"};
    store->ListSections(sections);
    EXPECT_EQ(sections, (std::vector<std::string>{"A", "a"}));
}

TEST_F(FastIniFileTest, DuplicateKeysDependOnKeyHashing)
{
    auto small = StoreWith("[S]\nk=first\nk=last\n");
    EXPECT_FALSE(small->KeyHashing());
    EXPECT_EQ(small->ReadText("S", "k", ""), "first");

    // 250 key lines per section switch the per-section tables on.
    auto large = StoreWith("[S]\nk=first\n" + SectionText("T", 248, "v").substr(5) + "k=last\n");
    large->Load();
    EXPECT_TRUE(large->KeyHashing());
    EXPECT_EQ(large->ReadText("S", "k", ""), "last");
    // HasKey and RemoveKey stay linear: they find the first.
    large->RemoveKey("S", "k");
    EXPECT_EQ(large->ReadText("S", "k", ""), "last");
    large->RemoveKey("S", "k");
    EXPECT_EQ(large->ReadText("S", "k", "none"), "none");
}

TEST_F(FastIniFileTest, KeyHashingThresholdIsIntegerDivision)
{
    auto below = StoreWith(SectionText("A", 250, "v") + SectionText("B", 249, "v"));
    below->Load();
    EXPECT_FALSE(below->KeyHashing()) << "499 / 2 = 249";
    EXPECT_EQ(below->ReadText("B", "k248", ""), "v");
    auto at = StoreWith(SectionText("A", 250, "v") + SectionText("B", 250, "v"));
    at->Load();
    EXPECT_TRUE(at->KeyHashing());
    EXPECT_EQ(at->ReadText("B", "k249", ""), "v");
    auto noSections = StoreWith("a=1\nb=2\n");
    noSections->Load();
    EXPECT_FALSE(noSections->KeyHashing());
}

TEST_F(FastIniFileTest, HashedSectionsStayConsistentAcrossInsertsAndRemovals)
{
    auto store = StoreWith(SectionText("A", 300, "a") + SectionText("B", 300, "b") + SectionText("C", 300, "c"));
    store->Load();
    ASSERT_TRUE(store->KeyHashing());
    EXPECT_EQ(store->ReadText("C", "k10", ""), "c"); // builds C's table
    EXPECT_EQ(store->ReadText("B", "k10", ""), "b"); // builds B's table
    for (int i = 0; i < 50; ++i)
        store->WriteText("A", "new" + std::to_string(i), std::to_string(i));
    store->WriteText("B", "extra", "x");
    store->RemoveKey("B", "k0");
    store->RemoveSection("A");
    EXPECT_EQ(store->ReadText("B", "k299", ""), "b");
    EXPECT_EQ(store->ReadText("B", "extra", ""), "x");
    EXPECT_EQ(store->ReadText("B", "k0", "gone"), "gone");
    EXPECT_EQ(store->ReadText("C", "k299", ""), "c");
    store->WriteText("C", "k5", "changed");
    store->Flush();

    TFastIniFile reread(Path());
    EXPECT_EQ(reread.ReadText("C", "k5", ""), "changed");
    EXPECT_EQ(reread.ReadText("B", "extra", ""), "x");
    EXPECT_EQ(reread.ReadText("A", "new3", "gone"), "gone");
}

TEST_F(FastIniFileTest, NamesCompareIgnoringAsciiCaseOnly)
{
    auto store = StoreWith("[ A ]\nx=1\n[Straße]\nKey=2\n[Ä]\nk=3\n");
    EXPECT_EQ(store->ReadText("A", "x", "no"), "no") << "section names are not trimmed";
    EXPECT_EQ(store->ReadText(" a ", "X", "no"), "1");
    EXPECT_EQ(store->ReadText("STRAßE", "KEY", ""), "2");
    EXPECT_EQ(store->ReadText("ä", "k", "no"), "no") << "UTF-8 letters are compared as bytes";

    store->SetCaseSensitive(true);
    store->Reset();
    EXPECT_EQ(store->ReadText("straße", "Key", "no"), "no");
    EXPECT_EQ(store->ReadText("Straße", "Key", ""), "2");
}

TEST_F(FastIniFileTest, EmptyNamesNeverMatchWhenIgnoringCase)
{
    auto store = StoreWith("[]\n=x\n");
    EXPECT_EQ(store->ReadText("", "", "d"), "d");
    std::vector<std::string> keys;
    store->ListKeys("", keys);
    EXPECT_TRUE(keys.empty());
}

TEST_F(FastIniFileTest, LineKindsAndHowTheyAreWrittenBack)
{
    auto store = StoreWith("  [S]\n# not a comment\n   \n  junk\n=x\n[T]\n  untouched\n");
    store->Load();
    EXPECT_EQ(store->Statistics().SectionLines, 1);
    EXPECT_EQ(store->Statistics().KeyLines, 6);
    EXPECT_EQ(store->Statistics().BlankLines, 0);
    EXPECT_EQ(store->ReadText("S", "k", "none"), "none") << "an indented header is no header";
    std::vector<std::string> keys;
    store->ListKeys("T", keys);
    EXPECT_TRUE(keys.empty());
    // Only examined lines change form: the indented junk before [T] lost its
    // blanks; "=x" stays a key line with an empty key; lines of [T] keep theirs.
    store->WriteText("T", "n", "1");
    EXPECT_EQ(Flushed(*store), "  [S]\r\n# not a comment\r\n   \r\n  junk\r\n=x\r\n[T]\r\nuntouched\r\nn=1\r\n");
}

TEST_F(FastIniFileTest, ExaminedInvalidLineLosesLeadingBlanks)
{
    auto store = StoreWith("[S]\n  junk\n");
    store->HasKey("S", "x");
    store->WriteText("S", "a", "1");
    EXPECT_EQ(Flushed(*store), "[S]\r\njunk\r\na=1\r\n");
}

TEST_F(FastIniFileTest, ListsKeepFileOrder)
{
    auto store = StoreWith("[S]\nb=2 ; c\nnoequals\na='1'\n;x\n[T]\nz=9\n");
    std::vector<std::string> keys{"stale"};
    store->ListKeys("s", keys);
    EXPECT_EQ(keys, (std::vector<std::string>{"b", "a"}));
    std::vector<std::string> pairs;
    store->ListPairs("S", pairs);
    EXPECT_EQ(pairs, (std::vector<std::string>{"b=2", "a=1"}));
    store->ListPairs("missing", pairs);
    EXPECT_TRUE(pairs.empty());
}

TEST_F(FastIniFileTest, NumbersAndFlags)
{
    struct Row {
        const char* text;
        int32_t expected;
    };
    const Row rows[] = {
        {"12", 12},        {"-7", -7},
        {"0x1F", 31},      {"0X10", 16},
        {"$FF", 255},      {"0x", 5},
        {"abc", 5},        {"12a", 5},
        {"", 5},           {"2147483647", 2147483647},
        {"2147483648", 5}, {"-2147483648", INT32_MIN},
        {"$FFFFFFFF", -1}, {"$1FFFFFFFF", 5},
        {"+3", 3},
    };
    for (const Row& row : rows) {
        auto store = StoreWith(std::string("[S]\nn=") + row.text + "\n");
        EXPECT_EQ(store->ReadNumber("S", "n", 5), row.expected) << row.text;
    }
    TFastIniFile store(m_dir.file("flags.ini"));
    store.WriteFlag("S", "on", true);
    store.WriteFlag("S", "off", false);
    store.WriteNumber("S", "n", -12);
    EXPECT_EQ(store.ReadText("S", "on", ""), "1");
    EXPECT_EQ(store.ReadText("S", "off", ""), "0");
    EXPECT_FALSE(store.ReadFlag("S", "off", true));
    EXPECT_TRUE(store.ReadFlag("S", "missing", true));
    EXPECT_EQ(store.ReadNumber("S", "n", 0), -12);
}

TEST_F(FastIniFileTest, FontsRoundTripThroughTheStore)
{
    TFastIniFile store(Path());
    TFont font;
    font.Name = "Tahoma";
    font.Style = fsBold | fsUnderline;
    store.WriteFont("cfg", "Font", font);
    EXPECT_EQ(store.ReadText("cfg", "Font", ""), "Tahoma,8,[fsBold,fsUnderline],clWindowText,0,1");
    TFont read;
    EXPECT_EQ(store.ReadFont("cfg", "Font", read), font);
    TFont untouched;
    EXPECT_EQ(store.ReadFont("cfg", "Missing", untouched), TFont{});
}

TEST_F(FastIniFileTest, RoundTripKeepsEverythingElse)
{
    const std::string original = "; settings\r\n[cfg]\r\nFont=Tahoma,8,[],clWindowText,0,1\r\n"
                                 "x=1     ; keep me\r\n\r\n[last]\r\nrun=3\r\n";
    auto store = StoreWith(original);
    store->WriteNumber("last", "run", store->ReadNumber("last", "run", 0) + 1);
    store->WriteText("cfg", "x", "22");
    store->Flush();
    EXPECT_EQ(ReadFileBytes(Path()), "; settings\r\n[cfg]\r\nFont=Tahoma,8,[],clWindowText,0,1\r\n"
                                     "x=22    ; keep me\r\n\r\n[last]\r\nrun=4\r\n");
}

TEST_F(FastIniFileTest, ResetDiscardsChangesAndRereads)
{
    auto store = StoreWith("[S]\nk=disk\n");
    store->WriteText("S", "k", "memory");
    store->Reset();
    EXPECT_FALSE(store->Loaded());
    EXPECT_FALSE(store->Modified());
    EXPECT_EQ(store->ReadText("S", "k", ""), "disk");
    EXPECT_TRUE(store->Loaded());
}

TEST_F(FastIniFileTest, DestroyFlushes)
{
    {
        TFastIniFile store(Path());
        store.WriteText("S", "k", "v");
    }
    EXPECT_EQ(ReadFileBytes(Path()), "[S]\r\nk=v\r\n");
}

TEST_F(FastIniFileTest, UnreadableFileRaisesAndStaysUnloaded)
{
    std::filesystem::create_directory(Path());
    TFastIniFile store(Path());
    try {
        store.ReadText("S", "k", "");
        FAIL() << "expected a file error";
    } catch (const EFileError& error) {
        EXPECT_EQ(std::string(error.what()).rfind("Cannot open file \"" + Path() + "\". ", 0), 0u) << error.what();
    }
    EXPECT_FALSE(store.Loaded());
}

// A file that cannot be read can still be served as an empty one, for a
// read-only run: values read are the defaults, and nothing ever reaches the
// file, neither a flush, nor a reset and reload, nor the destructor.
TEST_F(FastIniFileTest, DetachedStoreServesDefaultsAndNeverWrites)
{
    std::filesystem::create_directory(Path());
    {
        TFastIniFile store(Path());
        EXPECT_THROW(store.ReadText("S", "k", ""), EFileError);
        store.DetachFromFile();
        EXPECT_TRUE(store.Loaded());
        EXPECT_EQ(store.ReadNumber("S", "k", 42), 42);
        store.WriteText("S", "k", "v");
        EXPECT_EQ(store.ReadText("S", "k", ""), "v");
        try {
            store.Flush();
            FAIL() << "expected a file error";
        } catch (const EFileError& error) {
            EXPECT_EQ(std::string(error.what()).rfind("Cannot create file \"" + Path() + "\". ", 0), 0u)
                << error.what();
        }
        store.Reset();
        EXPECT_EQ(store.ReadText("S", "k", "gone"), "gone");
        store.WriteText("S", "k", "again");
    }
    EXPECT_TRUE(std::filesystem::is_directory(Path()));
    EXPECT_TRUE(std::filesystem::is_empty(Path()));
}

TEST_F(FastIniFileTest, GrowthFollowsTheRoomRule)
{
    TFastIniFile store(m_dir.file("grow.ini"));
    store.WriteText("S", "k0", "v");
    EXPECT_EQ(store.Room(), 128u);
    for (int i = 1; i < 127; ++i)
        store.WriteText("S", "k" + std::to_string(i), "v");
    EXPECT_EQ(store.LineCount(), 128u);
    store.WriteText("S", "k127", "v");
    EXPECT_EQ(store.Room(), 256u);
    for (int i = 128; i < 256; ++i)
        store.WriteText("S", "k" + std::to_string(i), "v");
    EXPECT_EQ(store.Room(), 384u) << "below 256 the room grows by 128";
    for (int i = 256; i < 384; ++i)
        store.WriteText("S", "k" + std::to_string(i), "v");
    EXPECT_EQ(store.Room(), 896u) << "above 256 it grows by 512";
}

TEST_F(FastIniFileTest, AnyBytesLoadWithoutHarm)
{
    std::string junk;
    for (int i = 0; i < 20000; ++i)
        junk += static_cast<char>((i * 7919 + i / 13) % 256 | 1);
    junk += std::string(3 * 1024 * 1024, 'x') + "=" + "\n[";
    auto store = StoreWith(junk);
    std::vector<std::string> sections;
    store->ListSections(sections);
    store->WriteText("new", "k", "v");
    store->Flush();
    TFastIniFile reread(Path());
    EXPECT_EQ(reread.ReadText("new", "k", ""), "v");
}

TEST_F(FastIniFileTest, LineBreaksInWrittenTextCannotSplitTheLine)
{
    TFastIniFile store(Path());
    store.WriteText("S", "k", "a\r\n[Injected]\r\nx=1");
    store.WriteText("S\n2", "k\r", std::string("v\0w", 3));
    store.Flush();
    TFastIniFile reread(Path());
    std::vector<std::string> sections;
    reread.ListSections(sections);
    EXPECT_EQ(sections, (std::vector<std::string>{"S", "S 2"}));
    EXPECT_EQ(reread.ReadText("S", "k", ""), "a  [Injected]  x=1");
    EXPECT_EQ(reread.ReadText("S 2", "k", ""), "v w");
}
