#include "about/AboutTexts.h"

#include <gtest/gtest.h>

namespace tramble {
namespace {

struct DurationRow {
    int64_t Seconds;
    const char* English;
};

TEST(AboutTexts, DurationsInDaysHoursAndMinutesWithTheirUnitWords)
{
    const TLanguage english;
    const DurationRow rows[] = {
        {0, "Sum Time: 0 Minute"},
        {59, "Sum Time: 0 Minute"},
        {60, "Sum Time: 1 Minute"},
        {120, "Sum Time: 2 Minutes"},
        {3600, "Sum Time: 1 Hour 0 Minute"},
        {3660, "Sum Time: 1 Hour 1 Minute"},
        {7320, "Sum Time: 2 Hours 2 Minutes"},
        {86399, "Sum Time: 23 Hours 59 Minutes"},
        {86400, "Sum Time: 1 Day 0 Hour 0 Minute"},
        {90000, "Sum Time: 1 Day 1 Hour 0 Minute"},
        {2 * 86400 + 2 * 3600 + 2 * 60 + 59, "Sum Time: 2 Days 2 Hours 2 Minutes"},
    };
    for (const DurationRow& row : rows)
        EXPECT_EQ(DurationText(english, "SumTime", row.Seconds), row.English) << row.Seconds;
    EXPECT_EQ(DurationText(english, "ThisTime", 3660), "This Time: 1 Hour 1 Minute");
}

TEST(AboutTexts, DurationWordsFollowTheLanguage)
{
    TLanguage chinese;
    chinese.LoadLanguage(kLangSimplifiedChinese, {});
    EXPECT_EQ(DurationText(chinese, "SumTime", 90000), "累计运行时间: 1 天 1 小时 0 分钟");
}

TEST(AboutTexts, CountsHaveTwoBlanksAfterTheColon)
{
    const TLanguage english;
    EXPECT_EQ(CountText(english, "RunCount", 12), "Run Count:  12");
    EXPECT_EQ(CountText(english, "AppCount", 0), "Application Count:  0");
}

} // namespace
} // namespace tramble
