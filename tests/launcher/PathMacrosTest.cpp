#include "launcher/PathMacros.h"

#include <gtest/gtest.h>

namespace tramble {
namespace {

const TMacroFolders kFolders{"/opt/tools", "/usr", "/usr/bin"};

TEST(PathMacros, ExpandsOnlyALeadingMacro)
{
    const struct {
        const char* Path;
        const char* Expanded;
    } cases[] = {
        {"$(Kuv)/a.exe", "/opt/tools/a.exe"},
        {"$(kuv)\\a.exe", "/opt/tools/a.exe"},
        {"$(KUV)/sub/b", "/opt/tools/sub/b"},
        {"$(Win)/share/x", "/usr/share/x"},
        {"$(sys)/gedit", "/usr/bin/gedit"},
        {"$(Sys)/", "/usr/bin/"},
        {"$(Kuv)a.exe", "$(Kuv)a.exe"},
        {"/x/$(Kuv)/a", "/x/$(Kuv)/a"},
        {"$(Kuv)", "$(Kuv)"},
        {"$(Kuv", "$(Kuv"},
        {"$(Foo)/a", "$(Foo)/a"},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ExpandMacros(c.Path, kFolders), c.Expanded) << c.Path;
}

TEST(PathMacros, CompressesTheFirstFolderThePathLiesIn)
{
    const struct {
        const char* Path;
        const char* Compressed;
    } cases[] = {
        {"/opt/tools/x.exe", "$(Kuv)/x.exe"},   {"/opt/toolsOther/y.exe", "/opt/toolsOther/y.exe"},
        {"/opt/tools", "/opt/tools"},           {"/opt/tools/", "$(Kuv)/"},
        {"/usr/bin/gedit", "$(Sys)/gedit"}, // not $(Win)/bin/gedit
        {"/usr/share/app", "$(Win)/share/app"}, {"/usr", "/usr"},
        {"/Opt/tools/x", "/Opt/tools/x"}, // file names differ in case here
        {"relative/x", "relative/x"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CompressMacros(c.Path, kFolders), c.Compressed) << c.Path;
    // A program inside the tool's folder that also lies in the system folder
    // takes the tool's macro, so it moves with the tool.
    EXPECT_EQ(CompressMacros("/usr/bin/tools/a", {"/usr/bin/tools", "/usr", "/usr/bin"}), "$(Kuv)/a");
    EXPECT_EQ(CompressMacros("/a/b", {"", "", ""}), "/a/b");
}

TEST(PathMacros, CompressedPathsExpandBack)
{
    for (const char* path : {"/opt/tools/a b/c", "/usr/bin/x", "/usr/lib/y", "/home/z"})
        EXPECT_EQ(ExpandMacros(CompressMacros(path, kFolders), kFolders), path);
}

} // namespace
} // namespace tramble
