#include "store/Backups.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace tramble {
namespace {

namespace fs = std::filesystem;
using test::ReadFileBytes;
using test::WriteFileBytes;

void RemoveWriteBits(const fs::path& path)
{
    fs::permissions(path, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
}

TEST(Backups, FourStartsKeepTheFileAsItWasBeforeEachOfThem)
{
    test::TempDir dir;
    const std::string base = dir.file("tramble");
    for (int start = 1; start <= 5; ++start) {
        if (start > 1)
            WriteFileBytes(base + ".ini", "run=" + std::to_string(start - 1) + "\n");
        RotateBackups(base);
    }
    EXPECT_EQ(ReadFileBytes(base + ".in0"), "run=4\n");
    EXPECT_EQ(ReadFileBytes(base + ".in1"), "run=3\n");
    EXPECT_EQ(ReadFileBytes(base + ".in2"), "run=2\n");
    EXPECT_EQ(ReadFileBytes(base + ".in3"), "run=1\n");
    EXPECT_EQ(ReadFileBytes(base + ".ini"), "run=4\n");
}

TEST(Backups, NothingToCopyIsNoError)
{
    test::TempDir dir;
    RotateBackups(dir.file("tramble"));
    EXPECT_TRUE(fs::is_empty(dir.path()));
}

TEST(Backups, AReadOnlySettingsFileLeavesTheGenerationsAlone)
{
    test::TempDir dir;
    const std::string base = dir.file("tramble");
    WriteFileBytes(base + ".ini", "now\n");
    WriteFileBytes(base + ".in0", "older\n");
    WriteFileBytes(base + ".in1", "oldest\n");
    RemoveWriteBits(base + ".ini");
    RotateBackups(base);
    EXPECT_EQ(ReadFileBytes(base + ".in0"), "older\n");
    EXPECT_EQ(ReadFileBytes(base + ".in1"), "oldest\n");
    EXPECT_FALSE(fs::exists(base + ".in2"));
}

TEST(Backups, AProtectedGenerationIsNotWrittenOverAndTheOthersStillMove)
{
    test::TempDir dir;
    const std::string base = dir.file("tramble");
    WriteFileBytes(base + ".ini", "now\n");
    WriteFileBytes(base + ".in0", "older\n");
    WriteFileBytes(base + ".in1", "middle\n");
    WriteFileBytes(base + ".in2", "old\n");
    WriteFileBytes(base + ".in3", "protected\n");
    RemoveWriteBits(base + ".in3");
    RotateBackups(base);
    EXPECT_EQ(ReadFileBytes(base + ".in3"), "protected\n");
    EXPECT_EQ(ReadFileBytes(base + ".in2"), "middle\n");
    EXPECT_EQ(ReadFileBytes(base + ".in1"), "older\n");
    EXPECT_EQ(ReadFileBytes(base + ".in0"), "now\n");
    EXPECT_EQ(ReadFileBytes(base + ".ini"), "now\n");
}

TEST(Backups, GenerationsMoveOverGaps)
{
    test::TempDir dir;
    const std::string base = dir.file("tramble");
    WriteFileBytes(base + ".ini", "now\n");
    WriteFileBytes(base + ".in1", "middle\n");
    RotateBackups(base);
    EXPECT_EQ(ReadFileBytes(base + ".in0"), "now\n");
    EXPECT_FALSE(fs::exists(base + ".in1"));
    EXPECT_EQ(ReadFileBytes(base + ".in2"), "middle\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 3); // no temporary left
}

} // namespace
} // namespace tramble
