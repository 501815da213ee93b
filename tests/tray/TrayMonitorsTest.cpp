// Each monitor's picture and tooltip from its figures.
#include "tray/TrayMonitors.h"
#include "tray/DigitGlyphs.h"
#include "tray/TrayPictures.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tramble {
namespace {

constexpr TColor kNavyDigits = 0x00800000; // stored as 0x00BBGGRR
constexpr TArgb kNavy = 0xFF000080;
constexpr uint64_t kMb = 1 << 20;

TTrayLook LookAt(int32_t seconds, bool metric = true)
{
    static const TLanguage english;
    return {kNavyDigits, metric, seconds, &english};
}

// The digits of n as DrawTrayNumber puts them on the ground.
bool ShowsNumber(const TTrayCanvas& c, int32_t n, TArgb ink, int y)
{
    TTrayCanvas digits(kTransparent);
    DrawTrayNumber(digits, n, ink, y);
    for (int j = 0; j < 16; ++j) {
        for (int i = 0; i < 16; ++i) {
            if (digits.Pixel(i, j) != kTransparent && c.Pixel(i, j) != ink)
                return false;
        }
    }
    return true;
}

int CountIn(const TTrayCanvas& c, TTrayRect r, TArgb color)
{
    int n = 0;
    for (int y = r.Top; y < r.Bottom; ++y) {
        for (int x = r.Left; x < r.Right; ++x)
            n += c.Pixel(x, y) == color;
    }
    return n;
}

int Area(TTrayRect r)
{
    return (r.Right - r.Left) * (r.Bottom - r.Top);
}

TEST(FreeMemory, DigitsBarAndTip)
{
    struct Case {
        uint64_t avail, total;
        int32_t seconds;
        int barEnd; // columns 1..barEnd−1 filled
        TArgb bar;
    };
    const std::vector<Case> cases{
        {1500 * kMb, 4096 * kMb, 5, 5, kLime},    // 1500 / 256 = 5
        {8 * kMb, 4096 * kMb, 5, 0, kRed},        // g = 0: nothing filled
        {512 * kMb, 4096 * kMb, 5, 2, kRed},      // g = 2 < 3
        {768 * kMb, 4096 * kMb, 5, 3, kLime},     // g = 3
        {1500 * kMb, 4096 * kMb, 288, 5, kWhite}, // 288 mod 256 = 32
        {4096 * kMb, 4096 * kMb, 5, 16, kLime},   // all free: up to the edge
    };
    for (const Case& c : cases) {
        const TTrayImage image = DrawFreeMemory({c.avail, c.total}, LookAt(c.seconds));
        const auto& p = image.Picture;
        EXPECT_TRUE(ShowsNumber(p, static_cast<int32_t>(c.avail / kMb), kNavy, 1)) << c.avail / kMb;
        EXPECT_EQ(p.Pixel(15, 0), kWhite);
        const TTrayRect bar{1, 12, c.barEnd, 15};
        if (c.barEnd > 1) {
            EXPECT_EQ(CountIn(p, bar, c.bar), Area(bar)) << c.avail / kMb;
        }
        EXPECT_EQ(CountIn(p, {0, 11, 16, 16}, kBlack), 16 * 5 - (c.barEnd > 1 ? Area(bar) : 0)) << c.avail / kMb;
    }
}

TEST(FreeMemory, MoreThanAThousandMegabytesReadsGreaterThanOneKButTheTipIsExact)
{
    const TTrayImage image = DrawFreeMemory({1500 * kMb, 4096 * kMb}, LookAt(3));
    TTrayCanvas expected(kWhite);
    DrawGlyph(expected, kGlyphGreater, kNavy, 0, 1);
    DrawGlyph(expected, 1, kNavy, 5, 1);
    DrawGlyph(expected, kGlyphK, kNavy, 10, 1);
    for (int y = 0; y < 11; ++y) {
        for (int x = 0; x < 16; ++x)
            EXPECT_EQ(image.Picture.Pixel(x, y), expected.Pixel(x, y)) << x << "," << y;
    }
    EXPECT_EQ(image.Tip, "Free physics memories: 1500M\r\nTotal physics memories: 4096M");
}

TEST(FreeMemory, NoTotalGivesNoPicture)
{
    EXPECT_THROW(DrawFreeMemory({0, 8}, LookAt(3)), ETrayFigures);
}

TEST(Battery, FillFollowsThePercentAndThePower)
{
    struct Case {
        int percent;
        uint8_t acLine;
        int32_t seconds;
        int filled; // columns 1..filled
        TArgb color;
    };
    const std::vector<Case> cases{
        {100, 0, 5, 12, kRed}, {100, 1, 5, 12, kBlue}, {0, 1, 5, 0, kBlue},     {50, 0, 5, 6, kRed},
        {4, 0, 5, 0, kRed},    {5, 0, 5, 1, kRed},     {80, 1, 272, 10, kLime},
    };
    for (const Case& c : cases) {
        TPowerStatus power;
        power.ACLineStatus = c.acLine;
        power.BatteryFlag = kBatteryHigh;
        power.BatteryLifePercent = static_cast<uint8_t>(c.percent);
        const TTrayCanvas p = DrawBattery(power, LookAt(c.seconds)).Picture;
        EXPECT_TRUE(ShowsNumber(p, c.percent, kNavy, 1)) << c.percent;
        EXPECT_EQ(CountIn(p, {1, 12, c.filled + 1, 15}, c.color), c.filled * 3) << c.percent;
        EXPECT_EQ(CountIn(p, {c.filled + 1, 12, 13, 15}, kWhite), (12 - c.filled) * 3) << c.percent;
        EXPECT_EQ(p.Pixel(0, 11), kBlack);
        EXPECT_EQ(p.Pixel(13, 15), kBlack);
        EXPECT_EQ(p.Pixel(15, 12), kBlack) << "terminal";
        EXPECT_EQ(p.Pixel(14, 13), kWhite) << "terminal inside";
        EXPECT_EQ(p.Pixel(14, 15), kWhite) << "beside the terminal";
    }
}

TEST(Battery, TipGivesHoursLeftOrThePercent)
{
    TPowerStatus power;
    power.ACLineStatus = 0;
    power.BatteryFlag = kBatteryLow;
    power.BatteryLifePercent = 37;
    EXPECT_EQ(DrawBattery(power, LookAt(1)).Tip, "37%");
    power.BatteryLifeTime = 9000;
    EXPECT_EQ(DrawBattery(power, LookAt(1)).Tip, "2.5 Hours");
    power.BatteryLifeTime = 3599;
    EXPECT_EQ(DrawBattery(power, LookAt(1)).Tip, "1.0 Hours");
}

TEST(Battery, NoSystemBatteryShowsTheQuestionMark)
{
    for (const uint8_t flag : {kNoSystemBattery, kUnknownStatus}) {
        TPowerStatus power;
        power.BatteryFlag = flag;
        const TTrayImage image = DrawBattery(power, LookAt(1));
        TTrayCanvas expected(kWhite);
        expected.Draw(MenuPicture(kPictureBatteryUnknown));
        EXPECT_EQ(image.Picture, expected);
        EXPECT_EQ(image.Tip, "Unknow");
    }
}

TCpuHistory HistoryOf(int sample)
{
    TCpuHistory h;
    for (int i = 0; i < 16; ++i)
        h.Add(sample);
    return h;
}

TEST(CpuUsage, FullLoadIsAFifteenRowMaroonBarAndALineOnRowZero)
{
    const TTrayImage image = DrawCpuUsage(HistoryOf(100), cumPerfData, LookAt(30));
    EXPECT_EQ(CountIn(image.Picture, {0, 1, 16, 16}, kMaroon), 16 * 15);
    EXPECT_EQ(CountIn(image.Picture, {0, 0, 16, 1}, kLime), 16);
    EXPECT_EQ(image.Tip, "Current: 100%\r\nAverage: 93%\r\nLongtime average: 53%");
}

TEST(CpuUsage, BarHeightAndColourFollowTheWindowSum)
{
    struct Case {
        int sample;
        int rows;
        TArgb color;
    };
    for (const Case c : {Case{0, 0, kGreen}, Case{30, 4, kGreen}, Case{34, 5, kMaroon}, Case{60, 9, kMaroon}}) {
        const TTrayImage image = DrawCpuUsage(HistoryOf(c.sample), cumSystemInfo, LookAt(10));
        const int lineY = 15 - c.sample * 15 / 100;
        EXPECT_EQ(CountIn(image.Picture, {0, 0, 16, 16}, c.color), c.rows * 16 - (lineY >= 16 - c.rows ? 16 : 0))
            << c.sample;
        EXPECT_EQ(CountIn(image.Picture, {0, lineY, 16, lineY + 1}, kLime), 16) << c.sample;
    }
}

TEST(CpuUsage, LineFollowsTheHistoryAndBlinksWhite)
{
    TCpuHistory h;
    for (int i = 0; i < 16; ++i)
        h.Add(i < 8 ? 0 : 100);
    const TTrayImage image = DrawCpuUsage(h, cumPerfData, LookAt(48));
    EXPECT_EQ(image.Picture.Pixel(0, 15), kWhite);
    EXPECT_EQ(image.Picture.Pixel(8, 15), kWhite) << "point of entry 7";
    EXPECT_EQ(image.Picture.Pixel(10, 0), kWhite) << "point of entry 9";
    EXPECT_EQ(image.Picture.Pixel(15, 0), kWhite);
}

TEST(CpuUsage, TipWithoutMethodAndBeforeTheFirstSecond)
{
    EXPECT_EQ(DrawCpuUsage(HistoryOf(10), cumNone, LookAt(0)).Tip, "Get CPU Usage Error");
    EXPECT_THROW(DrawCpuUsage(HistoryOf(10), cumPerfData, LookAt(0)), ETrayFigures);
}

TEST(DiskTemperature, ReadingErrorAndBlink)
{
    const TTrayDisk disk{true, "ST1000DM003", 12345, 41};
    TTrayImage image = DrawDiskTemperature(disk, LookAt(5));
    EXPECT_TRUE(ShowsNumber(image.Picture, 41, kNavy, 1));
    EXPECT_EQ(image.Picture.Pixel(8, 12), MenuPicture(kPictureDisk).Pixel(8, 12));
    EXPECT_EQ(image.Tip, "Harddisk: ST1000DM003\r\nPowerTime: 12345");

    EXPECT_TRUE(ShowsNumber(DrawDiskTemperature(disk, LookAt(5, false)).Picture, 105, kNavy, 1));
    EXPECT_NE(DrawDiskTemperature(disk, LookAt(5)).Picture.Pixel(3, 12), kWhite);
    EXPECT_EQ(DrawDiskTemperature(disk, LookAt(320)).Picture.Pixel(3, 12), kWhite);

    for (const int t : {201, -201}) {
        image = DrawDiskTemperature({true, "X", 1, t}, LookAt(5));
        EXPECT_EQ(image.Tip, "Data error");
        EXPECT_EQ(image.Picture.Pixel(7, 1), MenuPicture(kPictureDiskUnknown).Pixel(7, 1)) << "question mark";
        EXPECT_NE(MenuPicture(kPictureDiskUnknown).Pixel(7, 1), kTransparent);
    }
    image = DrawDiskTemperature({}, LookAt(5));
    EXPECT_EQ(image.Tip, "S.M.A.R.T Error!");
}

TTrayTraffic Traffic(int32_t down, int32_t up)
{
    TTrayTraffic t;
    t.Download.fill(down);
    t.Upload.fill(up);
    return t;
}

TEST(NetTraffic, NoTrafficShowsTwoZeros)
{
    for (const int32_t seconds : {5, 80}) {
        const TTrayImage image = DrawNetTraffic(Traffic(0, 1), LookAt(seconds));
        TTrayCanvas expected(kBlack);
        DrawGlyph(expected, 0, kRed, 2, 3);
        DrawGlyph(expected, 0, seconds == 80 ? kWhite : kGreen, 9, 3);
        EXPECT_EQ(image.Picture, expected) << seconds;
    }
}

TEST(NetTraffic, SmallPeaksAreScaledToOneKilobyte)
{
    struct Case {
        int32_t down, up;
        int downRow, upRow;
    };
    // Under 1024 bytes the scale stays 1024; above, the peak fills the height.
    for (const Case c : {Case{512, 256, 8, 12}, Case{2, 1, 16, 16}, Case{2048, 1024, 0, 8}, Case{100, 4000, 16, 0}}) {
        const TTrayCanvas p = DrawNetTraffic(Traffic(c.down, c.up), LookAt(5)).Picture;
        if (c.downRow < 16) {
            EXPECT_EQ(CountIn(p, {0, c.downRow, 16, c.downRow + 1}, kRed), 16) << c.down;
        }
        if (c.upRow < 16 && c.upRow != c.downRow) {
            EXPECT_EQ(CountIn(p, {0, c.upRow, 16, c.upRow + 1}, kGreen), 16) << c.up;
        }
        EXPECT_EQ(CountIn(p, {0, 0, 16, 16}, kRed), c.downRow < 16 ? 16 : 0) << c.down;
    }
}

TEST(NetTraffic, GraphShowsTheSixteenNewestSamples)
{
    TTrayTraffic t = Traffic(0, 0);
    t.Download[43] = 1 << 20; // too old to count
    t.Download[59] = 1024;
    const TTrayCanvas p = DrawNetTraffic(t, LookAt(5)).Picture;
    EXPECT_EQ(CountIn(p, {0, 0, 15, 16}, kRed), 0);
    EXPECT_GT(CountIn(p, {15, 0, 16, 16}, kRed), 0) << "the newest sample is drawn toward x 16";
}

TEST(NetTraffic, TipGivesRatesOfNineSamplesAndTotals)
{
    TTrayTraffic t = Traffic(0, 0);
    t.DownloadWindowSum = 9 * 10240;
    t.UploadWindowSum = 1536;
    t.TotalIn = 5ull << 32; // beyond 32 bits
    t.TotalOut = 3 * kMb / 2;
    EXPECT_EQ(DrawNetTraffic(t, LookAt(5)).Tip, "Net traffic: In 9.0k, Out 0.1k\r\nTotal: In 20480.0M, Out 1.5M");
}

TEST(NetTraffic, TipRatesOfAFastLinkDoNotWrap)
{
    // 400 MB a second over the window's nine samples is more than 32 bits hold.
    TTrayTraffic t = Traffic(0, 0);
    t.DownloadWindowSum = 9ll * 400 * 1024 * 1024;
    t.UploadWindowSum = 9ll * 300 * 1024 * 1024;
    EXPECT_EQ(DrawNetTraffic(t, LookAt(5)).Tip, "Net traffic: In 368640.0k, Out 276480.0k\r\nTotal: In 0.0M, Out 0.0M");
}

TEST(CpuTemperature, BackgroundPictureAndDigits)
{
    struct Case {
        std::optional<int32_t> t;
        bool metric;
        int32_t seconds;
        TArgb ground;
        int32_t shown;
        TArgb ink;
    };
    const std::vector<Case> cases{
        {61, true, 5, kOrange, 61, kNavy},   {60, true, 5, kWhite, 60, kNavy},
        {61, false, 5, kOrange, 141, kNavy}, {45, true, 352, kWhite, 45, InverseColor(kNavy)},
        {-3, false, 5, kWhite, 27, kNavy},
    };
    for (const Case& c : cases) {
        const TTrayImage image = DrawCpuTemperature(c.t, LookAt(c.seconds, c.metric));
        EXPECT_EQ(image.Picture.Pixel(0, 0), c.ground) << *c.t;
        EXPECT_TRUE(ShowsNumber(image.Picture, c.shown, c.ink, 1)) << *c.t;
        EXPECT_EQ(image.Picture.Pixel(5, 12), MenuPicture(kPictureChipLow).Pixel(5, 12));
        EXPECT_EQ(image.Tip, "");
    }
    const TTrayImage none = DrawCpuTemperature(std::nullopt, LookAt(5));
    TTrayCanvas expected(kWhite);
    expected.Draw(MenuPicture(kPictureChipUnknown));
    EXPECT_EQ(none.Picture, expected);
    EXPECT_EQ(none.Tip, "");
}

TEST(Fahrenheit, TruncatesTowardZero)
{
    struct Case {
        int32_t c, f;
    };
    for (const Case c : {Case{0, 32}, {100, 212}, {37, 98}, {-1, 31}, {-3, 27}, {-40, -40}, {-999, -1766}})
        EXPECT_EQ(ToFahrenheit(c.c), c.f) << c.c;
}

TTrayWeather Weather(std::string humidity, int32_t t)
{
    TTrayWeather w;
    w.Humidity = std::move(humidity);
    w.Temperature = t;
    w.WeatherIcon = 12;
    w.WeatherText = "Showers";
    w.City = "Wuhan";
    w.UpdateTime = "2024-05-01 10:20:30";
    return w;
}

TEST(Weather, HumidityBar)
{
    struct Case {
        std::string humidity;
        int blue;   // columns 1..blue of the bar in #4080FF
        int orange; // then #FF8040 up to column 14
        int green;
        int red;
    };
    const std::vector<Case> cases{
        {" 85 %", 12, 2, 0, 0}, {"30%", 4, 10, 0, 0}, {"50%", 0, 0, 7, 0},
        {"70 %", 0, 0, 10, 0},  {"n/a", 0, 0, 0, 14}, {"250%", 14, 0, 0, 0},
    };
    for (const Case& c : cases) {
        const TTrayCanvas p = DrawWeather(Weather(c.humidity, 20), LookAt(8)).Picture;
        EXPECT_EQ(CountIn(p, {1, 1, 15, 4}, 0xFF4080FF), c.blue * 3) << c.humidity;
        EXPECT_EQ(CountIn(p, {1, 1, 15, 4}, 0xFFFF8040), c.orange * 3) << c.humidity;
        EXPECT_EQ(CountIn(p, {1, 1, 15, 4}, 0xFF40FF40), c.green * 3) << c.humidity;
        EXPECT_EQ(CountIn(p, {1, 1, 15, 4}, kRed), c.red * 3) << c.humidity;
        EXPECT_EQ(CountIn(p, {0, 0, 16, 1}, kBlack), 16) << "frame";
        EXPECT_EQ(CountIn(p, {0, 4, 16, 5}, kBlack), 16) << "frame";
    }
}

TEST(Weather, NumbersViewTemperatureGroundAndTip)
{
    struct Case {
        int32_t t;
        bool metric;
        TArgb ground;
        int32_t shown;
        std::string unit;
    };
    const std::vector<Case> cases{
        {20, true, kWhite, 20, "C"},     {31, true, kOrange, 31, "C"}, {-3, true, kCyan, -3, "C"},
        {-3, false, kCyan, 27, "F"},     {30, false, kWhite, 86, "F"}, {5000, true, kOrange, 999, "C"},
        {-5000, true, kCyan, -999, "C"},
    };
    for (const Case& c : cases) {
        const TTrayImage image = DrawWeather(Weather("55%", c.t), LookAt(15, c.metric));
        EXPECT_EQ(image.Picture.Pixel(0, 15), c.ground) << c.t;
        EXPECT_EQ(image.Picture.Pixel(0, 5), kWhite) << c.t;
        EXPECT_TRUE(ShowsNumber(image.Picture, c.shown, kNavy, 7)) << c.t;
        EXPECT_EQ(image.Tip,
                  "City Name: Wuhan\r\nTemperature: " + std::to_string(c.shown) + " " + c.unit + "\r\nHumidity: 55%");
    }
}

TEST(Weather, PictureViewInTheFirstHalfOfEachSixteenSeconds)
{
    const TTrayImage image = DrawWeather(Weather("55%", 20), LookAt(16 * 9 + 7));
    TTrayCanvas expected(kWhite);
    expected.Draw(WeatherPicture(11));
    EXPECT_EQ(image.Picture, expected);
    EXPECT_EQ(image.Tip, "City Name: Wuhan\r\nWeather: Showers\r\nUpdate: 2024-05-01 10:20:30");

    TTrayWeather unknown = Weather("55%", 20);
    for (const int n : {0, 45, -1}) {
        unknown.WeatherIcon = n;
        TTrayCanvas placeholder(kWhite);
        placeholder.Draw(MenuPicture(kPictureWeatherUnknown));
        EXPECT_EQ(DrawWeather(unknown, LookAt(0)).Picture, placeholder) << n;
    }
}

TEST(Weather, NoDataAndConnectionTrouble)
{
    TTrayCanvas placeholder(kWhite);
    placeholder.Draw(MenuPicture(kPictureWeatherUnknown));
    TTrayImage image = DrawWeather(Weather("", 20), LookAt(9));
    EXPECT_EQ(image.Picture, placeholder);
    EXPECT_EQ(image.Tip, "");

    TTrayWeather failing = Weather("55%", 20);
    failing.FailureCount = 9;
    EXPECT_NE(DrawWeather(failing, LookAt(0)).Tip, "Connect Error");
    failing.FailureCount = 10;
    image = DrawWeather(failing, LookAt(9));
    EXPECT_EQ(image.Picture, placeholder);
    EXPECT_EQ(image.Tip, "Connect Error");
    EXPECT_EQ(DrawWeather(failing, LookAt(128)).Picture.Pixel(15, 15), kBlack);
}

TEST(TrayTips, ComeFromTheChosenLanguage)
{
    TLanguage chinese;
    chinese.LoadLanguage(kLangSimplifiedChinese, {});
    TTrayLook look = LookAt(5);
    look.Language = &chinese;
    EXPECT_EQ(DrawFreeMemory({1500 * kMb, 4096 * kMb}, look).Tip, "可用物理内存: 1500M\r\n物理内存总量: 4096M");
}

} // namespace
} // namespace tramble
