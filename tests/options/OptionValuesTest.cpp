#include "options/OptionValues.h"

#include <gtest/gtest.h>

#include <deque>

namespace tramble {
namespace {

struct SizeRow {
    const TSettingKey* Key;
    const char* Text;
    std::optional<int32_t> Stored;
};

TEST(OptionValues, TypedSizesAreTakenAsUnsigned16BitAndForcedIntoRange)
{
    const SizeRow rows[] = {
        {&keys::RainBowWidth, "20", 36},    {&keys::RainBowWidth, "500", 280},        {&keys::RainBowWidth, "150", 150},
        {&keys::RainBowWidth, " 90 ", 90},  {&keys::RainBowWidth, "+72", 72},         {&keys::RainBowWidth, "-1", 280},
        {&keys::RainBowWidth, "65572", 36}, {&keys::RainBowHeight, "0", 1},           {&keys::RainBowHeight, "15", 12},
        {&keys::RainBowHeight, "12", 12},   {&keys::RainBowHeight, "abc", {}},        {&keys::RainBowHeight, "", {}},
        {&keys::RainBowHeight, "3x", {}},   {&keys::RainBowWidth, "99999999999", {}},
    };
    for (const SizeRow& row : rows)
        EXPECT_EQ(DialogSize(row.Text, *row.Key), row.Stored) << row.Key->Key << " \"" << row.Text << "\"";
}

TEST(OptionValues, PresetsFillTheRainbowControls)
{
    struct Row {
        int Width, Height, Speed, Style;
        bool User;
        std::optional<TColor> C1, C2;
    };
    const Row expected[] = {
        {150, 4, 9, 0, true, 0x0080FF, 0}, {72, 5, 9, 1, true, 0x0000FF, 0},  {120, 3, 3, 2, true, 0x0000FF, 0},
        {120, 3, -1, 2, false, {}, {}},    {90, 3, 5, 3, true, 0xFF0000, 0},  {90, 3, 5, 3, false, {}, {}},
        {150, 5, -1, 4, false, {}, {}},    {180, 3, 1, 4, true, 0xFFFFFF, 0},
    };
    ASSERT_EQ(RainbowPresets().size(), std::size(expected));
    for (size_t i = 0; i < std::size(expected); ++i) {
        const TRainbowPreset& p = RainbowPresets()[i];
        const Row& e = expected[i];
        EXPECT_EQ(p.Width, e.Width) << i + 1;
        EXPECT_EQ(p.Height, e.Height) << i + 1;
        EXPECT_EQ(p.Speed, e.Speed) << i + 1;
        EXPECT_EQ(p.Style, e.Style) << i + 1;
        EXPECT_EQ(p.UserColor, e.User) << i + 1;
        EXPECT_EQ(p.Colour1, e.C1) << i + 1;
        EXPECT_EQ(p.Colour2, e.C2) << i + 1;
    }
}

// Hands out scripted numbers and records each bound asked for.
class ScriptedRandom final : public TRandomSource {
public:
    explicit ScriptedRandom(std::deque<int> values) : m_values(std::move(values)) {}
    int Below(int n) override
    {
        Bounds.push_back(n);
        const int v = m_values.empty() ? 0 : m_values.front();
        if (!m_values.empty())
            m_values.pop_front();
        return v;
    }
    std::vector<int> Bounds;

private:
    std::deque<int> m_values;
};

TEST(OptionValues, RandomDrawsStyleColoursSpeedWidthHeightAndTwoColoursInOrder)
{
    ScriptedRandom random({3, 0, 20, 244, 11, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66});
    const TRainbowPreset p = RandomRainbow(random);
    EXPECT_EQ(p.Style, 3);
    EXPECT_TRUE(p.UserColor);
    EXPECT_EQ(p.Speed, -10);
    EXPECT_EQ(p.Width, 276); // (244 + 36) div 6 * 6
    EXPECT_EQ(p.Height, 12);
    EXPECT_EQ(random.Bounds.size(), 11u);
    EXPECT_EQ(std::vector<int>(random.Bounds.begin(), random.Bounds.begin() + 5),
              (std::vector<int>{5, 2, 21, 245, 12}));
    ASSERT_TRUE(p.Colour1 && p.Colour2);
    EXPECT_NE(*p.Colour1, *p.Colour2);

    ScriptedRandom low({0, 1, 0, 0, 0});
    const TRainbowPreset q = RandomRainbow(low);
    EXPECT_FALSE(q.UserColor);
    EXPECT_EQ(q.Speed, 10);
    EXPECT_EQ(q.Width, 36);
    EXPECT_EQ(q.Height, 1);
}

TEST(OptionValues, PreviewPhaseMovesBySpeedAndWrapsAt30000)
{
    const struct {
        int Phase, Speed, Next;
    } rows[] = {{0, 0, 1},      {0, 5, 5},      {29999, 2, 30001 - 30000}, {30000, 0, 1}, {29995, 10, 5},
                {0, -1, 29999}, {3, -10, 29993}};
    for (const auto& row : rows)
        EXPECT_EQ(NextPreviewPhase(row.Phase, row.Speed), row.Next) << row.Phase << " " << row.Speed;
}

TEST(OptionValues, DefaultButtonSetsItsSetAndLeavesTheRest)
{
    TConfig cfg;
    cfg.RainBowWidth = 77;
    cfg.RainBowSpeed = -7;
    cfg.HideSpeed = 17;
    cfg.TitleBar = false;
    cfg.AutoSortByCount = false;
    cfg.ShowWeather = false;
    cfg.ShowCPUusage = false;
    cfg.TrayColor = 0x123456;
    // Left alone:
    cfg.ShowBattery = false;
    cfg.UserColor = true;
    cfg.RBCC1 = 0x0000FF;
    cfg.SyncTime = false;
    cfg.NTPServer = "time.example";
    cfg.Metric = false;
    cfg.AlarmOnlineTime = true;
    ApplyDefaultButton(cfg);
    EXPECT_EQ(cfg.RainBowWidth, 150);
    EXPECT_EQ(cfg.RainBowSpeed, 2);
    EXPECT_EQ(cfg.HideSpeed, 5);
    EXPECT_TRUE(cfg.TitleBar);
    EXPECT_TRUE(cfg.AutoSortByCount);
    EXPECT_TRUE(cfg.ShowWeather);
    EXPECT_TRUE(cfg.ShowCPUusage);
    EXPECT_EQ(cfg.TrayColor, 0);
    EXPECT_FALSE(cfg.ShowBattery);
    EXPECT_TRUE(cfg.UserColor);
    EXPECT_EQ(cfg.RBCC1, 0x0000FF);
    EXPECT_FALSE(cfg.SyncTime);
    EXPECT_EQ(cfg.NTPServer, "time.example");
    EXPECT_FALSE(cfg.Metric);
    EXPECT_TRUE(cfg.AlarmOnlineTime);
}

TEST(OptionValues, EighteenTimeServersTheFirstBeingTheDefault)
{
    ASSERT_EQ(TimeServers().size(), 18u);
    EXPECT_EQ(TimeServers()[0], keys::NTPServer.Text);
}

TEST(OptionValues, FontCaptionIsSizeThenName)
{
    TFont font;
    font.Name = "Noto Sans";
    font.Size = 11;
    EXPECT_EQ(FontCaption(font), "11, Noto Sans");
}

} // namespace
} // namespace tramble
