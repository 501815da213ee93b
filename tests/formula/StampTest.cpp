#include "formula/Stamp.h"

#include <gtest/gtest.h>

#include <cmath>

namespace tramble {
namespace {

double Day(int y, int m, int d)
{
    return EncodeDateStamp(y, m, d);
}
double Time(int h, int m, int s, int ms)
{
    return ((h * 60.0 + m) * 60.0 + s + ms / 1000.0) / 86400.0;
}

TEST(StampTest, KnownDays)
{
    EXPECT_EQ(Day(1899, 12, 30), 0);
    EXPECT_EQ(Day(1900, 1, 1), 2);
    EXPECT_EQ(Day(2000, 1, 1), 36526);
    EXPECT_EQ(Day(1, 1, 1), kFirstStamp);
    EXPECT_EQ(Day(9999, 12, 31), kLastStamp);
}

TEST(StampTest, DateTexts)
{
    struct TCase {
        const char* Text;
        double Stamp;
    };
    const TCase cases[] = {
        {"2024/13/1", Day(2025, 1, 1)},
        {"2024/0/1", Day(2023, 12, 1)},
        {"2024/-12/1", Day(2022, 12, 1)},
        {"2024/2/30", Day(2024, 3, 1)},
        {"2024/5", Day(2024, 1, 5)},
        {"2024/1/0", Day(2023, 12, 31)},
        {"2024", Day(2024, 1, 1)},
        {"abc", 0},
        {"", 0},
        {"\"2024/01/02 10:00\"", Day(2024, 1, 2)},
        {" 2024 / 3 / 4 ", Day(2024, 3, 4)},
        {"2024/x/5", Day(2024, 1, 5)},
        {"2024/3/y", Day(2024, 3, 1)},
        {"2024/3/4/9", Day(2024, 3, 4)},
        {"0/5/5", kFirstStamp},
        {"1/1/-5", kFirstStamp},
        {"9999/12/31", kLastStamp},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(StrToDateStamp(c.Text), c.Stamp) << c.Text;
    EXPECT_THROW(StrToDateStamp("10000/1/1"), EConvertError);
    EXPECT_THROW(StrToDateStamp("9999/12/32"), EConvertError);
    EXPECT_THROW(StrToDateStamp("9999/13/1"), EConvertError);
}

TEST(StampTest, TimeTexts)
{
    struct TCase {
        const char* Text;
        double Stamp;
    };
    const TCase cases[] = {
        {"12", 0.5},
        {"1:2:3.4", Time(1, 2, 3, 4)},
        {"1:2:3.500", Time(1, 2, 3, 500)},
        {"10 : 30", Time(10, 30, 0, 0)},
        {"25:70", 1 + Time(2, 10, 0, 0)},
        {"-0:0:1", -1 + Time(23, 59, 59, 0)},
        {"-1:30", -1 + Time(22, 30, 0, 0)},
        {"x", 0},
        {"2024/01/02 06:00", 0.25},
        {"1:x:5", Time(1, 0, 5, 0)},
        {"1:2:3:4", Time(1, 2, 3, 0)},
        {"1:30.5", Time(1, 0, 0, 0)},
    };
    for (const TCase& c : cases)
        EXPECT_NEAR(StrToTimeStamp(c.Text), c.Stamp, 1e-9) << c.Text;
}

TEST(StampTest, DateAndTimeTogether)
{
    EXPECT_DOUBLE_EQ(StrToStamp("2024/01/02 12:00"), Day(2024, 1, 2) + 0.5);
    EXPECT_DOUBLE_EQ(StrToStamp("12:00"), 0.5);
    EXPECT_DOUBLE_EQ(StrToStamp("2024"), Day(2024, 1, 1));
    EXPECT_DOUBLE_EQ(StrToStamp("2024/3/1"), Day(2024, 3, 1));
    EXPECT_NEAR(StrToStamp("2024/01/02 -0:0:1"), Day(2024, 1, 1) + Time(23, 59, 59, 0), 1e-9);
    // Before the epoch the fraction still runs forward into the day.
    EXPECT_NEAR(StrToStamp("1899/12/29 06:00"), -1.25, 1e-9);
    EXPECT_NEAR(StrToStamp("1800/01/01 -0:0:1"), Day(1799, 12, 31) - Time(23, 59, 59, 0), 1e-9);
    EXPECT_NEAR(StrToStamp("1899/12/29 30:00"), 0.25, 1e-9);
    EXPECT_NEAR(StrToStamp("1899/12/29 54:00"), 1.25, 1e-9);
    EXPECT_NEAR(StrToStamp("1899/12/30 -6:00"), -1.75, 1e-9);
}

TEST(StampTest, Decoding)
{
    EXPECT_EQ(StampToStr(Day(2024, 1, 2) + Time(10, 20, 30, 0)), "2024/01/02 10:20:30.000");
    EXPECT_EQ(StampToTimeStr(Time(23, 59, 59, 999) + 0.4 / 86400000.0), "23:59:59.999");
    EXPECT_EQ(StampToStr(Day(2024, 1, 2) - 1e-10), "2024/01/02 00:00:00.000");
    EXPECT_EQ(StampToStr(-1.25), "1899/12/29 06:00:00.000");
    EXPECT_EQ(StampToDateStr(kFirstStamp), "0001/01/01");
    EXPECT_EQ(StampToDateStr(kLastStamp + 0.9), "9999/12/31");
    EXPECT_THROW(StampToDateStr(kLastStamp + 1), EConvertError);
    EXPECT_THROW(StampToDateStr(kLastStamp + 0.99999999999), EConvertError);
    EXPECT_THROW(StampToDateStr(kFirstStamp - 1), EConvertError);
    EXPECT_THROW(StampToDateStr(NAN), EConvertError);
    EXPECT_EQ(WeekdayOf(Day(2024, 1, 1)), 1);
    EXPECT_EQ(WeekdayOf(Day(2024, 1, 6)), 6);
    EXPECT_EQ(WeekdayOf(Day(1, 1, 1)), 1);
}

TEST(StampTest, DaysInMonth)
{
    EXPECT_EQ(DaysInMonthOf(Day(2024, 2, 10)), 29);
    EXPECT_EQ(DaysInMonthOf(Day(2100, 2, 1)), 28);
    EXPECT_EQ(DaysInMonthOf(Day(2000, 2, 1)), 29);
    EXPECT_EQ(DaysInMonthOf(Day(2023, 4, 30)), 30);
    EXPECT_EQ(DaysInMonthOf(Day(2023, 12, 31)), 31);
    EXPECT_EQ(DaysInMonthOf(kFirstStamp), 0);
    EXPECT_EQ(DaysInMonthOf(kFirstStamp + 1), 31);
    EXPECT_THROW(DaysInMonthOf(kLastStamp + 1), EConvertError);
}

} // namespace
} // namespace tramble
