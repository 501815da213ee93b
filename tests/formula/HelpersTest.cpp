#include "formula/GroupArguments.h"
#include "formula/Text.h"
#include "formula/TextHelpers.h"
#include "formula/Wildcard.h"
#include "text/Utf8Text.h"

#include <gtest/gtest.h>

#include <locale.h>

namespace tramble {
namespace {

TEST(GroupArgumentsTest, WrapsEveryArgument)
{
    struct TCase {
        const char* Formula;
        const char* Grouped;
    };
    const TCase cases[] = {
        {"copy(s,1,2)", "copy((s),(1),(2))"},
        {"1+2", "1+2"},
        {"maxval(1,maxval(2,3))", "maxval((1),(maxval((2),(3))))"},
        {"f(g(1,2),3)", "f((g((1),(2))),(3))"},
        {"maxval(1,maxval(2,3),4)", "maxval((1),(maxval((2),(3))),(4))"},
        {"f((1+2),3)", "f(((1+2)),(3))"},
        {"(1,2)", "((1),(2))"},
        {"f(\"a,(b\",2)", "f((\"a,(b\"),(2))"},
        {"pos(\"(\",s)", "pos((\"(\"),(s))"},
        {"x in [1,2]", "x in [1,2]"},
        {"iff(x in [1,2],\"y\",\"n\")", "iff((x in [1,2]),(\"y\"),(\"n\"))"},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(GroupArguments(c.Formula, '"'), c.Grouped) << c.Formula;
}

TEST(GroupArgumentsTest, LimitsOpenGroups)
{
    std::string nested;
    for (int i = 0; i < 100; ++i)
        nested += "f(1,";
    EXPECT_NO_THROW(GroupArguments(nested, '"'));
    EXPECT_THROW(GroupArguments(nested + "f(1,", '"'), std::runtime_error);
}

TEST(TextTest, StoresByNameWithoutCase)
{
    TText text;
    EXPECT_FALSE(text.VariableExists("x"));
    EXPECT_EQ(text.GetVariable("x"), "");
    text.SetVariable("x", "1");
    EXPECT_EQ(text.GetVariable("X"), "1");
    text.SetVariable("X", "2");
    EXPECT_EQ(text.Count(), 1u);
    EXPECT_EQ(text.GetVariable("x"), "2");
    text.SetVariable("a;b=c", "odd");
    EXPECT_FALSE(text.VariableExists("a"));
    EXPECT_EQ(text.GetVariable("A;B=C"), "odd");
    text.FreeVariable("x");
    EXPECT_FALSE(text.VariableExists("x"));
    text.FreeVariable("x");
    EXPECT_EQ(text.Count(), 1u);
}

TEST(TextHelpersTest, ReplaceAllGoesLeftToRightOnce)
{
    EXPECT_EQ(ReplaceAll("a , b , c", " ,", ","), "a, b, c");
    // Spaces left by a replacement are not looked at again.
    EXPECT_EQ(ReplaceAll("a    b", "  ", " "), "a  b");
    EXPECT_EQ(ReplaceAll("aaa", "aa", "b"), "ba");
    EXPECT_EQ(ReplaceAll("", "x", "y"), "");
    EXPECT_EQ(ReplaceAll("abc", "", "y"), "abc");
    EXPECT_EQ(ReplaceAll("x", "x", ""), "");
}

TEST(TextHelpersTest, BasesAndPadding)
{
    EXPECT_EQ(IntToBase(255, 16), "FF");
    EXPECT_EQ(IntToBase(0, 2), "0");
    EXPECT_EQ(IntToBase(5, 1), "");
    EXPECT_EQ(IntToBase(5, 17), "");
    EXPECT_EQ(IntToBase(-255, 16), "-FF");
    EXPECT_EQ(IntToBase(INT32_MIN, 2), "-1" + std::string(31, '0'));
    EXPECT_EQ(IntToBase(INT32_MAX, 2), std::string(31, '1'));

    EXPECT_EQ(BaseToInt("ff", 16), 255);
    EXPECT_EQ(BaseToInt("0", 10), 0);
    EXPECT_EQ(BaseToInt("000", 10), 0);
    EXPECT_EQ(BaseToInt("G", 16), -1);
    EXPECT_EQ(BaseToInt("1", 1), -1);
    EXPECT_EQ(BaseToInt("F", 2), 15);
    EXPECT_EQ(BaseToInt("-1", 10), -1);
    EXPECT_EQ(BaseToInt("2147483647", 10), INT32_MAX);
    EXPECT_EQ(BaseToInt("2147483648", 10), -1);
    EXPECT_EQ(BaseToInt("0000000000000000000000000000012", 10), 12);
    EXPECT_EQ(BaseToInt(std::string(40, '1'), 2), -1);

    EXPECT_EQ(PadLeft(5, '0', "42"), "00042");
    EXPECT_EQ(PadLeft(1, '0', "42"), "42");
    EXPECT_EQ(PadLeft(-3, '0', "42"), "42");
    EXPECT_EQ(PadLeft(260, '*', "1"), "***1");
    EXPECT_EQ(PadLeft(0, ' ', std::string(300, 'a')).size(), 255u);
}

TEST(Utf8TextTest, CaseMappingKeepsBytesIntact)
{
    EXPECT_EQ(UpperText("abc xyz"), "ABC XYZ");
    EXPECT_EQ(UpperText("ÿéñ"), "ŸÉÑ");
    EXPECT_EQ(LowerText("ΣΑΣ"), "σασ");
    EXPECT_EQ(FoldText("FireFox ÄÖ БРАУЗЕР 网页 Z9"), "firefox äö браузер 网页 z9");
    EXPECT_EQ(FoldText("A\xff\xc3"), "a\xff\xc3");
    EXPECT_EQ(UpperText("a\xff\xc3"), "A\xff\xc3"); // invalid bytes pass through
    EXPECT_EQ(UpperText("\xe2\x82"), "\xe2\x82");
    EXPECT_EQ(CodePointText(0x20AC), "€");
    EXPECT_EQ(CodePointText(0xD800), std::nullopt);
    EXPECT_EQ(CodePointText(0x110000), std::nullopt);
    size_t length;
    EXPECT_EQ(DecodeUtf8("€", 0, length), 0x20ACu);
    EXPECT_EQ(length, 3u);
    EXPECT_EQ(DecodeUtf8("\xc0\x80", 0, length) & 0xFF, 0xC0u); // overlong form is no character
    EXPECT_EQ(length, 1u);
}

TEST(WildcardTest, GlobbingTable)
{
    struct TCase {
        const char* Text;
        const char* Pattern;
        bool Match;
    };
    const TCase cases[] = {
        {"abc", "a*", true},
        {"abc", "A?C", true},
        {"abc", "a?", false},
        {"", "*", true},
        {"", "?", false},
        {"a.b", "*.*", true},
        {"ab", "*.*", false},
        {"abc", "[a-c]bc", true},
        {"dbc", "[a-c]bc", false},
        {"dbc", "[!a-c]bc", true},
        {"éa", "?a", true},
        {"ÉCOLE", "éc*", true},
        {"aaaaaaaaab", "*a*a*b", true},
        {"aaaaaaaaaa", "*a*a*b", false},
        {"a[b", "a[[]b", true},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(MatchWildcard(c.Text, c.Pattern), c.Match) << c.Text << " / " << c.Pattern;
    EXPECT_THROW(MatchWildcard("a", "[a"), EBadPattern);
    EXPECT_THROW(MatchWildcard("a", "*[!"), EBadPattern);
}

} // namespace
} // namespace tramble
