#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

bool InShellFolder(const fs::path& relative)
{
    for (const auto& part : relative) {
        if (part == "ui" || part == "app")
            return true;
    }
    return false;
}

// Files outside ui/ and app/ that include a Qt header.
std::vector<std::string> QtIncludesOutsideShell(const fs::path& root)
{
    static const std::regex qtInclude(R"(^\s*#\s*include\s*[<"](Q[A-Za-z]*|Qt[A-Za-z]*/[^>"]*)[>"])");
    std::vector<std::string> offenders;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        const auto ext = entry.path().extension();
        if (!entry.is_regular_file() || (ext != ".cpp" && ext != ".h" && ext != ".hpp"))
            continue;
        const fs::path relative = fs::relative(entry.path(), root);
        if (InShellFolder(relative))
            continue;
        std::ifstream in(entry.path());
        std::string line;
        while (std::getline(in, line)) {
            if (std::regex_search(line, qtInclude))
                offenders.push_back(relative.string() + ": " + line);
        }
    }
    return offenders;
}

} // namespace

TEST(Architecture, CoreAndPlatformIncludeNoQt)
{
    const auto offenders = QtIncludesOutsideShell(fs::path(TRAMBLE_SOURCE_DIR) / "src");
    std::string report;
    for (const auto& line : offenders)
        report += line + "\n";
    EXPECT_TRUE(offenders.empty()) << report;
}

TEST(Architecture, CheckerSeesQtIncludes)
{
    const fs::path root = fs::temp_directory_path() / ("tramble-arch-" + std::to_string(::getpid()));
    fs::create_directories(root / "store");
    fs::create_directories(root / "launcher" / "ui");
    std::ofstream(root / "store" / "Bad.cpp") << "#include <QString>\n";
    std::ofstream(root / "store" / "Good.cpp") << "#include <string>\n";
    std::ofstream(root / "launcher" / "ui" / "Fine.cpp") << "#include <QWidget>\n";
    const auto offenders = QtIncludesOutsideShell(root);
    fs::remove_all(root);
    ASSERT_EQ(offenders.size(), 1u);
    EXPECT_NE(offenders[0].find("Bad.cpp"), std::string::npos);
}
