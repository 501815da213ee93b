#include "text/TextConvert.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace tramble {
namespace {

TEST(TextConvert, ClassicIntegers)
{
    struct TCase {
        std::string Text;
        std::optional<int32_t> Value;
    };
    const std::vector<TCase> cases{
        {"0", 0},
        {"  42", 42},
        {"+7", 7},
        {"-2147483648", INT32_MIN},
        {"2147483647", INT32_MAX},
        {"2147483648", std::nullopt},
        {"-2147483649", std::nullopt},
        {"$FFFFFFFF", -1},
        {"0x7fffffff", INT32_MAX},
        {"-$10", -16},
        {"$100000000", std::nullopt},
        {"0x", std::nullopt},
        {"$", std::nullopt},
        {"", std::nullopt},
        {"-", std::nullopt},
        {"12 ", std::nullopt}, // trailing blanks are no digits
        {"\t1", std::nullopt}, // only spaces lead
        {"1e3", std::nullopt},
        {"99999999999999999999", std::nullopt},
    };
    for (const TCase& c : cases) {
        EXPECT_EQ(StrToInt(c.Text), c.Value) << '"' << c.Text << '"';
        EXPECT_EQ(StrToIntDef(c.Text, -5), c.Value.value_or(-5)) << '"' << c.Text << '"';
    }
}

TEST(TextConvert, TrimAndAsciiCase)
{
    EXPECT_EQ(Trim(" \t\r\n a b \x01"), "a b");
    EXPECT_EQ(TrimLeft("  a "), "a ");
    EXPECT_EQ(Trim("\x20\x20"), "");
    // Bytes above 127 are never blanks: a UTF-8 text keeps its ends.
    EXPECT_EQ(Trim("\xC3\xA9 "), "\xC3\xA9");

    EXPECT_TRUE(SameTextAscii("Button", "bUTTON"));
    EXPECT_FALSE(SameTextAscii("Button", "Buttons"));
    EXPECT_FALSE(SameTextAscii("\xC3\xA9", "\xC3\x89")); // é and É differ beyond ASCII
    EXPECT_EQ(UpperAscii('z'), 'Z');
    EXPECT_EQ(UpperAscii('{'), '{');
    EXPECT_EQ(UpperAscii('\xE9'), '\xE9');
}

} // namespace
} // namespace tramble
