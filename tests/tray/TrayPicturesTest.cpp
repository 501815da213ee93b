// The menu and weather pictures the tray draws.
#include "tray/TrayPictures.h"
#include "tray/TrayMonitors.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace tramble {
namespace {

int OpaquePixels(const TTrayCanvas& c, int top = 0, int bottom = 16)
{
    int n = 0;
    for (int y = top; y < bottom; ++y) {
        for (int x = 0; x < 16; ++x)
            n += c.Pixel(x, y) >> 24 != 0;
    }
    return n;
}

TEST(TrayPictures, EveryPictureTheTrayUsesIsThere)
{
    for (const int n : {15, 16, 17, 20, 21, 22, 23, 28, 30, 35}) {
        EXPECT_TRUE(HasMenuPicture(n)) << n;
        EXPECT_GT(OpaquePixels(MenuPicture(n)), 30) << "picture " << n << " is nearly empty";
    }
    EXPECT_FALSE(HasMenuPicture(7));
    EXPECT_EQ(OpaquePixels(MenuPicture(7)), 0);
}

TEST(TrayPictures, DiskAndLowChipLeaveTheDigitRowsFree)
{
    for (const int n : {kPictureDisk, kPictureChipLow}) {
        EXPECT_EQ(OpaquePixels(MenuPicture(n), 0, 9), 0) << "picture " << n << " paints rows 0-8";
        EXPECT_GT(OpaquePixels(MenuPicture(n), 9, 16), 40) << n;
    }
}

TEST(TrayPictures, WeatherPicturesAreDistinctExceptTheUnusedNumbers)
{
    std::set<std::array<TArgb, 256>> seen;
    for (int n = 1; n <= kWeatherPictureCount; ++n) {
        const TTrayCanvas& picture = WeatherPicture(n - 1);
        EXPECT_GT(OpaquePixels(picture), 25) << "icon " << n;
        EXPECT_LT(OpaquePixels(picture), 256) << "icon " << n << " has no transparent ground";
        const bool unused = n == 9 || n == 10 || n == 27 || n == 28;
        if (unused) {
            EXPECT_EQ(picture, MenuPicture(kPictureWeatherUnknown)) << n;
        } else {
            EXPECT_TRUE(seen.insert(picture.Pixels()).second) << "icon " << n << " looks like an earlier one";
        }
    }
    EXPECT_EQ(OpaquePixels(WeatherPicture(-1)), 0);
    EXPECT_EQ(OpaquePixels(WeatherPicture(kWeatherPictureCount)), 0);
}

TEST(TrayPictures, DrawingAPictureKeepsTheGroundWhereItIsTransparent)
{
    TTrayCanvas canvas(kOrange);
    canvas.Draw(MenuPicture(kPictureDisk));
    EXPECT_EQ(canvas.Pixel(0, 0), kOrange);
    EXPECT_EQ(canvas.Pixel(8, 12), MenuPicture(kPictureDisk).Pixel(8, 12));
}

TEST(TrayCanvas, RectanglesAreHalfOpenAndClipped)
{
    TTrayCanvas c(kWhite);
    c.FillRect({1, 12, 4, 15}, kRed);
    EXPECT_EQ(c.Pixel(1, 12), kRed);
    EXPECT_EQ(c.Pixel(3, 14), kRed);
    EXPECT_EQ(c.Pixel(4, 14), kWhite);
    EXPECT_EQ(c.Pixel(3, 15), kWhite);
    EXPECT_EQ(c.Pixel(0, 12), kWhite);
    c.FillRect({-5, -5, 40, 0}, kBlue);
    c.FillRect({16, 0, 30, 16}, kBlue);
    c.FillRect({5, 5, 2, 9}, kBlue);
    EXPECT_EQ(std::count(c.Pixels().begin(), c.Pixels().end(), kBlue), 0);
    c.FillRect({-3, 15, 30, 99}, kBlue);
    EXPECT_EQ(std::count(c.Pixels().begin(), c.Pixels().end(), kBlue), 16);
}

TEST(TrayCanvas, OutlineHasAPenBorderAndABrushInside)
{
    TTrayCanvas c(kRed);
    c.Outline({0, 11, 14, 16}, kBlack, kWhite);
    EXPECT_EQ(c.Pixel(0, 11), kBlack);
    EXPECT_EQ(c.Pixel(13, 15), kBlack);
    EXPECT_EQ(c.Pixel(1, 12), kWhite);
    EXPECT_EQ(c.Pixel(12, 14), kWhite);
    EXPECT_EQ(c.Pixel(14, 13), kRed);
}

TEST(TrayCanvas, PolylineLeavesItsLastPointOut)
{
    TTrayCanvas c(kBlack);
    c.Polyline({{0, 5}, {3, 5}, {3, 8}}, kLime);
    for (const TTrayPoint p : {TTrayPoint{0, 5}, {1, 5}, {2, 5}, {3, 5}, {3, 6}, {3, 7}})
        EXPECT_EQ(c.Pixel(p.X, p.Y), kLime) << p.X << "," << p.Y;
    EXPECT_EQ(c.Pixel(3, 8), kBlack);
    EXPECT_EQ(std::count(c.Pixels().begin(), c.Pixels().end(), kLime), 6);
}

TEST(TrayColours, StoredColoursAreBlueGreenRed)
{
    EXPECT_EQ(ArgbFromColor(0x000000FF), kRed);
    EXPECT_EQ(ArgbFromColor(0x00FF0000), kBlue);
    EXPECT_EQ(ArgbFromColor(0x00804020), 0xFF204080u);
    EXPECT_EQ(InverseColor(kBlack), kWhite);
    EXPECT_EQ(InverseColor(0xFF204080), 0xFFDFBF7Fu);
}

} // namespace
} // namespace tramble
