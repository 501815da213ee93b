#include "store/IconCache.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace tramble {
namespace {

namespace fs = std::filesystem;
using test::ReadFileBytes;
using test::WriteFileBytes;

std::string Asset(const char* name)
{
    return ReadFileBytes(std::string(TRAMBLE_SOURCE_DIR) + "/assets/" + name);
}

TIconCacheFiller Filler()
{
    TIconCacheFiller filler{};
    for (size_t i = 0; i < filler.size(); ++i)
        filler[i] = static_cast<uint8_t>(0xF0 + i);
    return filler;
}

std::vector<std::string> TwoImages()
{
    return {Asset("main.png"), Asset("bookmark.png")};
}

TEST(IconCache, ByteLayoutIsMagicFillerCountStreamsChecksum)
{
    const auto pngs = TwoImages();
    ASSERT_GT(pngs[0].size(), 100u);
    const std::string data = *EncodeIconCache(pngs, Filler());
    ASSERT_EQ(data.size(), 4 + 26 + 2 + pngs[0].size() + pngs[1].size() + 4);
    EXPECT_EQ(data.substr(0, 4), "Kuv2");
    EXPECT_EQ(static_cast<uint8_t>(data[4]), 0xF0);
    EXPECT_EQ(static_cast<uint8_t>(data[30]), 0);
    EXPECT_EQ(static_cast<uint8_t>(data[31]), 2);
    EXPECT_EQ(data.substr(32, pngs[0].size()), pngs[0]);
    uint32_t sum = 0;
    for (size_t i = 0; i + 4 < data.size(); ++i)
        sum += static_cast<uint8_t>(data[i]);
    const size_t end = data.size() - 4;
    EXPECT_EQ(static_cast<uint8_t>(data[end]), sum >> 24);
    EXPECT_EQ(static_cast<uint8_t>(data[end + 1]), (sum >> 16) & 0xFF);
    EXPECT_EQ(static_cast<uint8_t>(data[end + 2]), (sum >> 8) & 0xFF);
    EXPECT_EQ(static_cast<uint8_t>(data[end + 3]), sum & 0xFF);
}

TEST(IconCache, DecodesWhatItEncodes)
{
    const auto pngs = TwoImages();
    const std::string data = *EncodeIconCache(pngs, Filler());
    EXPECT_EQ(DecodeIconCache(data, 2), pngs);
    const std::string empty = *EncodeIconCache({}, Filler());
    EXPECT_EQ(empty.size(), 36u);
    EXPECT_EQ(DecodeIconCache(empty, 0), std::vector<std::string>{});
}

TEST(IconCache, RejectsDamagedTruncatedAndStaleCaches)
{
    const std::string good = *EncodeIconCache(TwoImages(), Filler());
    std::string badMagic = good;
    badMagic[3] = '3';
    std::string flipped = good;
    flipped[40] ^= 0x01;
    std::string extra = good;
    extra.insert(extra.size() - 4, "x");
    struct Case {
        const char* What;
        std::string Data;
        int Count;
    } cases[] = {
        {"wrong magic", badMagic, 2},
        {"one byte changed", flipped, 2},
        {"cut short", good.substr(0, good.size() - 10), 2},
        {"only a header", good.substr(0, 20), 2},
        {"empty file", "", 0},
        {"count differs from the entries", good, 3},
        {"fewer entries stored", good, 1},
        {"bytes after the last stream", extra, 2},
    };
    for (const Case& c : cases)
        EXPECT_FALSE(DecodeIconCache(c.Data, c.Count)) << c.What;
}

TEST(IconCache, AStreamThatIsNoPngIsRejectedEvenWithAGoodChecksum)
{
    std::vector<std::string> notPng{"just some bytes"};
    EXPECT_FALSE(EncodeIconCache(notPng, Filler()));
    // Build the file by hand: header, garbage, right checksum.
    std::string data = "Kuv2" + std::string(26, '\0') + std::string("\x00\x01", 2) + "garbage";
    uint32_t sum = 0;
    for (char c : data)
        sum += static_cast<uint8_t>(c);
    for (int shift : {24, 16, 8, 0})
        data.push_back(static_cast<char>((sum >> shift) & 0xFF));
    EXPECT_FALSE(DecodeIconCache(data, 1));
}

TEST(PngStream, FindsTheEndAfterIendAndRejectsBrokenChunks)
{
    const std::string png = Asset("main.png");
    EXPECT_EQ(PngStreamLength(png + "tail"), png.size());
    EXPECT_FALSE(PngStreamLength(png.substr(0, png.size() - 1)));
    std::string hugeChunk = png;
    hugeChunk[8] = '\x7F'; // first chunk's length far beyond the data
    EXPECT_FALSE(PngStreamLength(hugeChunk));
    EXPECT_FALSE(PngStreamLength(png.substr(1)));
}

TEST(IconCacheFile, SavesAndLoadsAndIgnoresMissingOrUnwritableFiles)
{
    test::TempDir dir;
    const std::string path = dir.file("tramble.dat");
    EXPECT_FALSE(LoadIconCacheFile(path, 0));
    ASSERT_TRUE(SaveIconCacheFile(path, TwoImages(), Filler()));
    EXPECT_EQ(LoadIconCacheFile(path, 2), TwoImages());

    WriteFileBytes(path, ReadFileBytes(path).substr(0, 50));
    EXPECT_FALSE(LoadIconCacheFile(path, 2));

    fs::permissions(dir.path(), fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    EXPECT_FALSE(SaveIconCacheFile(dir.file("other.dat"), TwoImages(), Filler()));
    EXPECT_FALSE(fs::exists(dir.file("other.dat")));
}

} // namespace
} // namespace tramble
