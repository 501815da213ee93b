#include "launcher/EntryTable.h"
#include "launcher/PlaceholderIcon.h"
#include "launcher/PngImage.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace tramble {
namespace {

class EntryStore : public ::testing::Test {
protected:
    std::string File() const { return m_dir.file("tramble.ini"); }
    test::TempDir m_dir;
};

TEST_F(EntryStore, DefaultsOfMissingKeys)
{
    test::WriteFileBytes(File(), "[Button]\nApp1=/opt/tools/run.sh\nApp2=/x/y\nAppIconFile2=\nAppWS2=258\n");
    TFastIniFile ini(File());
    const TAppEntry e = ReadEntry(ini, 1);
    EXPECT_EQ(e.RunFolder, "/opt/tools/");
    EXPECT_EQ(e.IconFile, "/opt/tools/run.sh");
    EXPECT_EQ(e.Descript, "run.sh");
    EXPECT_EQ(e.IconIndex, 0);
    EXPECT_FALSE(e.PromptArgument);
    EXPECT_EQ(ReadEntry(ini, 2).IconFile, "/x/y"); // empty after reading: App
    EXPECT_EQ(ReadEntry(ini, 2).WS, 2);            // kept as one byte
    EXPECT_EQ(ReadEntry(ini, 3), TAppEntry{});
}

TEST_F(EntryStore, WritesEveryKeyWithItsStoredName)
{
    TAppEntry e{"$(Kuv)/a", "$(Kuv)/", "icon", 3, "A", "-x", true, 2, 7, 9, true};
    {
        TFastIniFile ini(File());
        WriteEntry(ini, 12, e);
        ini.Flush();
    }
    const std::string text = test::ReadFileBytes(File());
    for (const char* line : {"App12=$(Kuv)/a", "AppRunFolder12=$(Kuv)/", "AppIconFile12=icon", "AppIconIndex12=3",
                             "AppDescript12=A", "AppArguments12=-x", "AppPromptArugment12=1", "Autorun12=1",
                             "AppWS12=2", "AppRunCount12=7", "AppRunTimer12=9"})
        EXPECT_NE(text.find(std::string(line) + "\r\n"), std::string::npos) << line;
    TFastIniFile ini(File());
    EXPECT_EQ(ReadEntry(ini, 12), e);
}

TEST_F(EntryStore, LoadSkipsEmptyEntriesAndStopsAt500)
{
    std::string text = "[Button]\nNum=700\n";
    for (int n = 1; n <= 700; ++n)
        text += "App" + std::to_string(n) + "=" + (n == 2 ? "" : "/p" + std::to_string(n)) + "\n";
    test::WriteFileBytes(File(), text);
    TFastIniFile ini(File());
    const std::vector<TStoredEntry> stored = ReadStoredEntries(ini);
    ASSERT_EQ(stored.size(), 500u);
    EXPECT_EQ(stored[1].Number, 3);
    EXPECT_EQ(stored[1].Entry.App, "/p3");
    EXPECT_EQ(stored.back().Number, 501);

    // A huge count with few keys ends quickly.
    test::WriteFileBytes(File(), "[Button]\nNum=2147483647\nApp5=/x\n");
    TFastIniFile huge(File());
    ASSERT_EQ(ReadStoredEntries(huge).size(), 1u);
}

TEST(EntryTableSort, StableByRunCountLargestFirst)
{
    const struct {
        std::vector<int> Counts;
        std::vector<int> Order; // empty: nothing moves
    } cases[] = {
        {{}, {}},
        {{5}, {}},
        {{3, 2, 2, 1}, {}},
        {{1, 1, 1}, {}},
        {{0, 1, 1}, {1, 2, 0}},
        {{1, 2}, {1, 0}},
        {{2, 5, 2, 5, 0, 9}, {5, 1, 3, 0, 2, 4}},
    };
    for (const auto& c : cases) {
        TEntryTable table;
        for (size_t i = 0; i < c.Counts.size(); ++i) {
            TAppEntry e;
            e.App = "/p" + std::to_string(i);
            e.RunCount = c.Counts[i];
            table.Append(e, "png" + std::to_string(i));
        }
        const std::optional<std::vector<int>> order = table.SortByClickCount();
        EXPECT_EQ(order.value_or(std::vector<int>{}), c.Order);
        for (size_t i = 0; i < c.Order.size(); ++i) {
            EXPECT_EQ(table[static_cast<int>(i)].App, "/p" + std::to_string(c.Order[i]));
            EXPECT_EQ(table.Image(static_cast<int>(i)), "png" + std::to_string(c.Order[i]));
        }
    }
}

TEST(PlaceholderIcon, RedFrameAndDiagonalsOnTransparent)
{
    const TRgbaImage image = DrawPlaceholderIcon(32);
    const auto red = [&](int x, int y) { return image.Pixel(x, y) == kPlaceholderRed; };
    // The frame from (9, 9) up to but not including (23, 23).
    for (int i = 9; i <= 22; ++i) {
        EXPECT_TRUE(red(i, 9) && red(i, 22) && red(9, i) && red(22, i)) << i;
    }
    EXPECT_FALSE(red(23, 15));
    EXPECT_FALSE(red(15, 23));
    // Diagonals: from (6, 6) and (26, 6), the last point left out.
    EXPECT_TRUE(red(6, 6) && red(5, 5) && red(25, 25));
    EXPECT_FALSE(red(26, 26));
    EXPECT_TRUE(red(26, 6) && red(7, 25));
    // Everything else is fully transparent.
    EXPECT_EQ(image.Pixel(0, 0), 0u);
    EXPECT_EQ(image.Pixel(31, 31), 0u);
    EXPECT_EQ(image.Pixel(12, 16), 0u);
    EXPECT_EQ(image.Pixel(15, 11), 0u);
    int redPixels = 0;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            redPixels += red(x, y) ? 1 : (image.Pixel(x, y) == 0 ? 0 : 1000);
    EXPECT_GT(redPixels, 52);
    EXPECT_LT(redPixels, 1000);
}

TEST(PngImage, KeepsEveryPixelAndItsAlpha)
{
    TRgbaImage image = DrawPlaceholderIcon(32);
    image.SetPixel(0, 0, 0x11223380); // half transparent
    const std::string png = EncodePng(image);
    ASSERT_TRUE(png.starts_with("\x89PNG\r\n\x1a\n"));
    const std::optional<TRgbaImage> decoded = DecodePng(png);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->Width, 32);
    EXPECT_EQ(decoded->Pixels, image.Pixels);
    EXPECT_EQ(EncodePng(TRgbaImage{}), "");
    EXPECT_FALSE(DecodePng(png.substr(0, png.size() / 2)));
    EXPECT_FALSE(DecodePng("no picture"));
}

} // namespace
} // namespace tramble
