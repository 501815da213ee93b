#include "store/SessionState.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace tramble {
namespace {

using Lines = std::vector<std::string>;

TEST(CommandStore, HistoryLinesOneToCountInOrder)
{
    const std::pair<const char*, Lines> cases[] = {
        {"", {}},
        {"[Command]\ncmd1=a\n", {}},
        {"[Command]\nCount=3\ncmd1=a\ncmd2=\ncmd3=b\ncmd4=beyond\n", {"a", "b"}},
        {"[command]\ncount=3\nCMD3=c\nCmd1=a\n", {"a", "c"}},
        {"[Command]\nCount=5\ncmd01=zero\ncmdx=x\ncmd=none\ncmd2=b\ncmd-1=m\ncmd 3=s\n", {"b"}},
        {"[Command]\nCount=-4\ncmd1=a\n", {}},
        {"[Command]\nCount=2\ncmd2=first\ncmd2=second\ncmd1=a\n", {"a", "first"}},
        // A damaged count reads only what is there, at once.
        {"[Command]\nCount=2147483647\ncmd2147483647=last\ncmd1=a\ncmd99999999999=over\n", {"a", "last"}},
    };
    test::TempDir dir;
    for (const auto& [text, expected] : cases) {
        test::WriteFileBytes(dir.file("t.ini"), text);
        TFastIniFile ini(dir.file("t.ini"));
        EXPECT_EQ(ReadCommandHistory(ini), expected) << text;
    }
}

} // namespace
} // namespace tramble
