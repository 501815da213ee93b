#include "shell/ShellWords.h"

#include <gtest/gtest.h>

namespace tramble {
namespace {

using Words = std::vector<std::string>;

TEST(ShellWords, SplitsByShellQuotingRules)
{
    const struct {
        const char* Line;
        Words Expected;
    } cases[] = {
        {"", {}},
        {"  a  b\tc \n d ", {"a", "b", "c", "d"}},
        {"'a b' \"c d\"", {"a b", "c d"}},
        {"a'b c'd", {"ab cd"}},
        {"'' \"\"", {"", ""}},
        {R"('$HOME \n' "$x")", {R"($HOME \n)", "$x"}},
        {R"("a\"b" "c\\d" "e\f" "\$")", {"a\"b", R"(c\d)", R"(e\f)", "$"}},
        {R"(a\ b \'c\")", {"a b", "'c\""}},
        {"a\\\nb", {"ab"}},
        {"a \\\n b", {"a", "b"}},
        {"; | & > $(rm -rf /) `x` *", {";", "|", "&", ">", "$(rm", "-rf", "/)", "`x`", "*"}},
        {"'open", {"open"}},
        {"\"open \\\"x", {"open \"x"}},
        {"trailing\\", {"trailing\\"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SplitShellWords(c.Line), c.Expected) << c.Line;
}

TEST(ShellWords, JoinedWordsSplitBackUnchanged)
{
    const Words samples[] = {
        {"plain", "words"},
        {"with space", "it's", "quote\"d", "back\\slash", "", "$HOME", "a;b|c", "tab\there", "new\nline"},
        {"'", "''", "\\'"},
    };
    for (const Words& words : samples)
        EXPECT_EQ(SplitShellWords(JoinShellWords(words)), words) << JoinShellWords(words);
    EXPECT_EQ(JoinShellWords({"a", "b c"}), "a 'b c'");
}

} // namespace
} // namespace tramble
