// The weather pictures, composed from a few shapes: sun, moon, clouds, what
// falls from them, and the odd extra (fog, haze, heat, cold, wind).
#include "tray/TrayPictures.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <initializer_list>
#include <numbers>
#include <vector>

namespace tramble {
namespace {

constexpr TArgb kSunFill = 0xFFFFD21E;
constexpr TArgb kSunEdge = 0xFFE08A00;
constexpr TArgb kRay = 0xFFFFA000;
constexpr TArgb kMoonFill = 0xFFF4E58C;
constexpr TArgb kMoonEdge = 0xFFA89030;
constexpr TArgb kCloudFill = 0xFFF4F4F4;
constexpr TArgb kCloudEdge = 0xFF6C7786;
constexpr TArgb kBackCloudFill = 0xFFC8CED6;
constexpr TArgb kDarkCloudFill = 0xFF8A93A0;
constexpr TArgb kDarkCloudEdge = 0xFF383F4A;
constexpr TArgb kRain = 0xFF1E6FE0;
constexpr TArgb kIce = 0xFF40D0F0;
constexpr TArgb kFlake = 0xFFFFFFFF;
constexpr TArgb kFlakeArm = 0xFF7FB4E8;
constexpr TArgb kBolt = 0xFFFFE000;
constexpr TArgb kBoltEdge = 0xFFC07800;
constexpr TArgb kFog = 0xFF9AA3AD;
constexpr TArgb kHaze = 0xFFC8B890;
constexpr TArgb kWind = 0xFF4F86C0;
constexpr TArgb kTube = 0xFF505050;
constexpr TArgb kHot = 0xFFE02020;
constexpr TArgb kCold = 0xFF2060E0;

enum class TSky { None, Sun, SunPartly, SunPeek, Moon, MoonPartly, MoonPeek };
enum class TCloud { None, Small, Big, Two, Top, TopRight };
enum class TFall { None, FewDrops, Drops, Bolt, FewFlakes, Flakes, Ice, Sleet, FreezingRain, RainSnow };
enum class TExtra { None, Fog, Haze, Hot, Cold, Wind, Unknown };

struct TLook {
    TSky Sky = TSky::None;
    TCloud Cloud = TCloud::None;
    bool Dark = false;
    TFall Fall = TFall::None;
    TExtra Extra = TExtra::None;
};

// By the service's icon number, 1..44. Numbers the service does not use
// (9, 10, 27, 28) show the unknown-weather picture.
constexpr std::array<TLook, kWeatherPictureCount> kLooks{{
    {TSky::Sun},                                                       // 1 sunny
    {TSky::Sun, TCloud::Small},                                        // 2 mostly sunny
    {TSky::SunPartly, TCloud::Small},                                  // 3 partly sunny
    {TSky::SunPeek, TCloud::Big},                                      // 4 intermittent clouds
    {TSky::SunPartly, TCloud::None, false, TFall::None, TExtra::Haze}, // 5 hazy sunshine
    {TSky::SunPeek, TCloud::Two},                                      // 6 mostly cloudy
    {TSky::None, TCloud::Two},                                         // 7 cloudy
    {TSky::None, TCloud::Two, true},                                   // 8 dreary
    {TSky::None, TCloud::None, false, TFall::None, TExtra::Unknown},
    {TSky::None, TCloud::None, false, TFall::None, TExtra::Unknown},
    {TSky::None, TCloud::None, false, TFall::None, TExtra::Fog},  // 11 fog
    {TSky::None, TCloud::Top, false, TFall::Drops},               // 12 showers
    {TSky::SunPeek, TCloud::TopRight, false, TFall::FewDrops},    // 13 mostly cloudy, showers
    {TSky::SunPartly, TCloud::TopRight, false, TFall::FewDrops},  // 14 partly sunny, showers
    {TSky::None, TCloud::Top, true, TFall::Bolt},                 // 15 thunderstorms
    {TSky::SunPeek, TCloud::TopRight, true, TFall::Bolt},         // 16 mostly cloudy, storms
    {TSky::SunPartly, TCloud::TopRight, false, TFall::Bolt},      // 17 partly sunny, storms
    {TSky::None, TCloud::Top, true, TFall::Drops},                // 18 rain
    {TSky::None, TCloud::Top, false, TFall::FewFlakes},           // 19 flurries
    {TSky::SunPeek, TCloud::TopRight, false, TFall::FewFlakes},   // 20 mostly cloudy, flurries
    {TSky::SunPartly, TCloud::TopRight, false, TFall::FewFlakes}, // 21 partly sunny, flurries
    {TSky::None, TCloud::Top, false, TFall::Flakes},              // 22 snow
    {TSky::SunPeek, TCloud::TopRight, false, TFall::Flakes},      // 23 mostly cloudy, snow
    {TSky::None, TCloud::Top, false, TFall::Ice},                 // 24 ice
    {TSky::None, TCloud::Top, false, TFall::Sleet},               // 25 sleet
    {TSky::None, TCloud::Top, false, TFall::FreezingRain},        // 26 freezing rain
    {TSky::None, TCloud::None, false, TFall::None, TExtra::Unknown},
    {TSky::None, TCloud::None, false, TFall::None, TExtra::Unknown},
    {TSky::None, TCloud::Top, false, TFall::RainSnow},                  // 29 rain and snow
    {TSky::None, TCloud::None, false, TFall::None, TExtra::Hot},        // 30 hot
    {TSky::None, TCloud::None, false, TFall::None, TExtra::Cold},       // 31 cold
    {TSky::None, TCloud::None, false, TFall::None, TExtra::Wind},       // 32 windy
    {TSky::Moon},                                                       // 33 clear
    {TSky::Moon, TCloud::Small},                                        // 34 mostly clear
    {TSky::MoonPartly, TCloud::Small},                                  // 35 partly cloudy
    {TSky::MoonPeek, TCloud::Big},                                      // 36 intermittent clouds
    {TSky::MoonPartly, TCloud::None, false, TFall::None, TExtra::Haze}, // 37 hazy moonlight
    {TSky::MoonPeek, TCloud::Two},                                      // 38 mostly cloudy
    {TSky::MoonPartly, TCloud::TopRight, false, TFall::FewDrops},       // 39 partly cloudy, showers
    {TSky::MoonPeek, TCloud::TopRight, false, TFall::FewDrops},         // 40 mostly cloudy, showers
    {TSky::MoonPartly, TCloud::TopRight, false, TFall::Bolt},           // 41 partly cloudy, storms
    {TSky::MoonPeek, TCloud::TopRight, true, TFall::Bolt},              // 42 mostly cloudy, storms
    {TSky::MoonPeek, TCloud::TopRight, false, TFall::FewFlakes},        // 43 mostly cloudy, flurries
    {TSky::MoonPeek, TCloud::TopRight, false, TFall::Flakes},           // 44 mostly cloudy, snow
}};

struct TDisc {
    double X;
    double Y;
    double R;
};

// Which pixels a shape covers, judged at the pixel centres.
class TMask {
public:
    void AddDiscs(std::initializer_list<TDisc> discs)
    {
        ForEach([&](int x, int y, double px, double py) {
            for (const TDisc& d : discs) {
                if ((px - d.X) * (px - d.X) + (py - d.Y) * (py - d.Y) <= d.R * d.R)
                    Set(x, y, true);
            }
        });
    }
    void RemoveDisc(TDisc d)
    {
        ForEach([&](int x, int y, double px, double py) {
            if ((px - d.X) * (px - d.X) + (py - d.Y) * (py - d.Y) <= d.R * d.R)
                Set(x, y, false);
        });
    }
    void AddRect(const TTrayRect& r)
    {
        for (int y = std::max(r.Top, 0); y < std::min(r.Bottom, 16); ++y) {
            for (int x = std::max(r.Left, 0); x < std::min(r.Right, 16); ++x)
                Set(x, y, true);
        }
    }
    bool At(int x, int y) const { return x >= 0 && y >= 0 && x < 16 && y < 16 && m_on[y * 16 + x]; }

    // The covered pixels in fill, those at the shape's border in edge.
    void Paint(TTrayCanvas& canvas, TArgb fill, TArgb edge) const
    {
        for (int y = 0; y < 16; ++y) {
            for (int x = 0; x < 16; ++x) {
                if (!At(x, y))
                    continue;
                const bool border = !At(x - 1, y) || !At(x + 1, y) || !At(x, y - 1) || !At(x, y + 1);
                canvas.SetPixel(x, y, border ? edge : fill);
            }
        }
    }

private:
    template <class F> void ForEach(F f)
    {
        for (int y = 0; y < 16; ++y) {
            for (int x = 0; x < 16; ++x)
                f(x, y, x + 0.5, y + 0.5);
        }
    }
    void Set(int x, int y, bool on) { m_on[y * 16 + x] = on; }

    std::array<bool, 256> m_on{};
};

void DrawSun(TTrayCanvas& c, double x, double y, double r)
{
    for (int k = 0; k < 8; ++k) {
        const double angle = k * std::numbers::pi / 4;
        for (const double d : {r + 1.2, r + 2.2})
            c.SetPixel(static_cast<int>(std::floor(x + std::cos(angle) * d)),
                       static_cast<int>(std::floor(y + std::sin(angle) * d)), kRay);
    }
    TMask disc;
    disc.AddDiscs({{x, y, r}});
    disc.Paint(c, kSunFill, kSunEdge);
}

void DrawMoon(TTrayCanvas& c, TDisc body, TDisc shadow)
{
    TMask moon;
    moon.AddDiscs({body});
    moon.RemoveDisc(shadow);
    moon.Paint(c, kMoonFill, kMoonEdge);
}

void DrawSky(TTrayCanvas& c, TSky sky)
{
    switch (sky) {
    case TSky::None: break;
    case TSky::Sun: DrawSun(c, 8, 8, 4.3); break;
    case TSky::SunPartly: DrawSun(c, 6.5, 6.5, 3.8); break;
    case TSky::SunPeek: DrawSun(c, 5, 5, 3); break;
    case TSky::Moon: DrawMoon(c, {7.5, 8, 6}, {11, 5.5, 5}); break;
    case TSky::MoonPartly: DrawMoon(c, {6.5, 6.5, 5}, {9.5, 4.5, 4.2}); break;
    case TSky::MoonPeek: DrawMoon(c, {5, 5, 4}, {7.5, 3.2, 3.4}); break;
    }
}

void DrawCloud(TTrayCanvas& c, TCloud cloud, bool dark)
{
    const TArgb fill = dark ? kDarkCloudFill : kCloudFill;
    const TArgb edge = dark ? kDarkCloudEdge : kCloudEdge;
    TMask front;
    switch (cloud) {
    case TCloud::None: return;
    case TCloud::Small:
        front.AddDiscs({{9.5, 10.5, 2.6}, {12.6, 11.2, 2.2}});
        front.AddRect({7, 11, 16, 15});
        break;
    case TCloud::Big:
        front.AddDiscs({{5, 9, 3}, {9.5, 7, 3.8}, {13, 9.5, 2.6}});
        front.AddRect({2, 9, 16, 14});
        break;
    case TCloud::Two: {
        TMask back;
        back.AddDiscs({{7, 5, 2.6}, {10.5, 4, 3}, {13.5, 5.5, 2.2}});
        back.AddRect({5, 5, 16, 8});
        back.Paint(c, dark ? kDarkCloudEdge : kBackCloudFill, edge);
        front.AddDiscs({{4.5, 10, 2.8}, {8.5, 8.5, 3.4}, {12.3, 10.5, 2.5}});
        front.AddRect({1, 10, 15, 14});
        break;
    }
    case TCloud::Top:
        front.AddDiscs({{4.5, 6.5, 3}, {9, 4.5, 3.8}, {12.8, 7, 2.7}});
        front.AddRect({1, 6, 16, 11});
        break;
    case TCloud::TopRight:
        front.AddDiscs({{7.5, 7, 2.6}, {11, 5.3, 3.3}, {13.6, 7.6, 2.2}});
        front.AddRect({5, 7, 16, 11});
        break;
    }
    front.Paint(c, fill, edge);
}

void DrawDrop(TTrayCanvas& c, int x, int y, TArgb color)
{
    c.SetPixel(x, y, color);
    c.SetPixel(x - 1, y + 1, color);
}

void DrawFlake(TTrayCanvas& c, int x, int y)
{
    c.SetPixel(x - 1, y, kFlakeArm);
    c.SetPixel(x + 1, y, kFlakeArm);
    c.SetPixel(x, y - 1, kFlakeArm);
    c.SetPixel(x, y + 1, kFlakeArm);
    c.SetPixel(x, y, kFlake);
}

void DrawFall(TTrayCanvas& c, TFall fall, int left)
{
    // Rows 11..15 lie below the clouds; `left` is where the cloud begins.
    const auto at = [left](int x) { return left + x; };
    switch (fall) {
    case TFall::None: break;
    case TFall::FewDrops:
        for (const int x : {2, 6, 10})
            DrawDrop(c, at(x), x == 6 ? 13 : 12, kRain);
        break;
    case TFall::Drops:
        for (int i = 0; i < 5; ++i)
            DrawDrop(c, at(1 + 3 * i), i % 2 ? 13 : 11, kRain);
        break;
    case TFall::Bolt: {
        const int x = at(left > 1 ? 4 : 7);
        for (const TTrayPoint p :
             {TTrayPoint{2, 10}, {1, 11}, {0, 12}, {1, 12}, {2, 12}, {3, 12}, {2, 13}, {1, 14}, {0, 15}})
            c.SetPixel(x + p.X - 1, p.Y, kBolt);
        c.SetPixel(x + 2, 11, kBoltEdge);
        c.SetPixel(x - 2, 13, kBoltEdge);
        DrawDrop(c, at(2), 12, kRain);
        DrawDrop(c, x + 5, 13, kRain);
        break;
    }
    case TFall::FewFlakes:
        for (const int x : {3, 9})
            DrawFlake(c, at(x), x == 3 ? 13 : 12);
        break;
    case TFall::Flakes:
        for (int i = 0; i < 4; ++i)
            DrawFlake(c, at(2 + 3 * i + (i % 2)), i % 2 ? 14 : 12);
        break;
    case TFall::Ice:
        for (const int x : {2, 7, 11}) {
            c.FillRect({at(x), 12, at(x) + 2, 14}, kIce);
            c.SetPixel(at(x), 12, kFlake);
        }
        break;
    case TFall::Sleet:
        for (int i = 0; i < 4; ++i) {
            if (i % 2)
                c.SetPixel(at(1 + 3 * i), 13, kIce);
            else
                DrawDrop(c, at(1 + 3 * i), 12, kRain);
        }
        DrawDrop(c, at(13), 13, kRain);
        break;
    case TFall::FreezingRain:
        for (int i = 0; i < 4; ++i)
            DrawDrop(c, at(2 + 3 * i), 11 + (i % 2), kRain);
        c.FillRect({at(0), 15, 16, 16}, kIce);
        break;
    case TFall::RainSnow:
        DrawDrop(c, at(2), 12, kRain);
        DrawFlake(c, at(6), 13);
        DrawDrop(c, at(10), 12, kRain);
        DrawFlake(c, at(13), 13);
        break;
    }
}

void DrawThermometer(TTrayCanvas& c, TArgb liquid, int top)
{
    c.Outline({3, 1, 7, 12}, kTube, kFlake);
    c.SetPixel(3, 1, kTransparent);
    c.SetPixel(6, 1, kTransparent);
    c.FillRect({4, top, 6, 12}, liquid);
    TMask bulb;
    bulb.AddDiscs({{5, 13, 2.7}});
    bulb.Paint(c, liquid, kTube);
}

void DrawExtra(TTrayCanvas& c, TExtra extra)
{
    switch (extra) {
    case TExtra::None: break;
    case TExtra::Fog:
        for (const TTrayRect r : {TTrayRect{2, 3, 14, 4}, {0, 6, 12, 7}, {4, 9, 16, 10}, {1, 12, 13, 13}})
            c.FillRect(r, kFog);
        c.FillRect({5, 4, 11, 5}, kFog);
        c.FillRect({3, 10, 9, 11}, kFog);
        c.FillRect({6, 13, 15, 14}, kFog);
        break;
    case TExtra::Haze:
        for (const int y : {11, 13, 15})
            c.FillRect({y == 13 ? 0 : 2, y, y == 13 ? 14 : 16, y + 1}, kHaze);
        break;
    case TExtra::Hot:
        DrawThermometer(c, kHot, 3);
        DrawSun(c, 12.5, 4.5, 2.3);
        break;
    case TExtra::Cold:
        DrawThermometer(c, kCold, 9);
        DrawFlake(c, 12, 5);
        DrawFlake(c, 11, 11);
        c.SetPixel(10, 3, kFlakeArm);
        c.SetPixel(14, 7, kFlakeArm);
        c.SetPixel(10, 7, kFlakeArm);
        c.SetPixel(14, 3, kFlakeArm);
        break;
    case TExtra::Wind:
        c.Polyline({{0, 4}, {10, 4}, {12, 3}, {12, 1}, {10, 1}}, kWind);
        c.Polyline({{0, 8}, {13, 8}, {15, 9}, {15, 11}, {13, 11}}, kWind);
        c.Polyline({{2, 12}, {8, 12}, {10, 13}, {10, 15}, {8, 15}}, kWind);
        break;
    case TExtra::Unknown: c.Draw(MenuPicture(kPictureWeatherUnknown)); break;
    }
}

TTrayCanvas Compose(const TLook& look)
{
    TTrayCanvas picture(kTransparent);
    DrawSky(picture, look.Sky);
    DrawCloud(picture, look.Cloud, look.Dark);
    DrawFall(picture, look.Fall, look.Cloud == TCloud::TopRight ? 5 : 1);
    DrawExtra(picture, look.Extra);
    return picture;
}

} // namespace

const TTrayCanvas& WeatherPicture(int index)
{
    static const std::vector<TTrayCanvas> pictures = [] {
        std::vector<TTrayCanvas> made;
        for (const TLook& look : kLooks)
            made.push_back(Compose(look));
        return made;
    }();
    static const TTrayCanvas empty(kTransparent);
    return index >= 0 && index < kWeatherPictureCount ? pictures[index] : empty;
}

} // namespace tramble
