#include "tray/TrayMonitors.h"

#include "tray/DigitGlyphs.h"
#include "tray/TrayPictures.h"

#include <algorithm>
#include <charconv>
#include <limits>

namespace tramble {
namespace {

constexpr const char* kCrLf = "\r\n";

const std::string& Text(const TTrayLook& look, const char* section, const char* key, size_t occurrence = 0)
{
    static const TLanguage english;
    return (look.Language ? *look.Language : english).Text(section, key, occurrence);
}

// The blink tick: SecondsCounter mod 256 equals the icon's own value.
bool Blinks(const TTrayLook& look, int tick)
{
    return look.SecondsCounter % 256 == tick;
}

// A number with one decimal, whatever the locale.
std::string OneDecimal(double value)
{
    char buffer[64];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 1);
    return error == std::errc() ? std::string(buffer, end) : std::string("0.0");
}

int32_t ClampToInt(uint64_t value)
{
    return static_cast<int32_t>(std::min<uint64_t>(value, std::numeric_limits<int32_t>::max()));
}

TTrayCanvas Ground(TArgb color)
{
    return TTrayCanvas(color);
}

} // namespace

int32_t ToFahrenheit(int32_t celsius)
{
    return static_cast<int32_t>(int64_t{celsius} * 9 / 5 + 32);
}

TTrayImage DrawFreeMemory(const TMemoryStatus& memory, const TTrayLook& look)
{
    const uint64_t sixteenth = memory.TotalPhys >> 4;
    if (sixteenth == 0)
        throw ETrayFigures("no physical memory reported");
    TTrayImage image{Ground(kWhite), {}};
    const uint64_t freeMb = memory.AvailPhys >> 20;
    DrawTrayNumber(image.Picture, ClampToInt(freeMb), ArgbFromColor(look.TrayColor), 1);
    image.Picture.FillRect({0, 11, 16, 16}, kBlack);
    const uint64_t g = std::min<uint64_t>(memory.AvailPhys / sixteenth, 16);
    const TArgb bar = Blinks(look, 32) ? kWhite : g < 3 ? kRed : kLime;
    image.Picture.FillRect({1, 12, static_cast<int>(g), 15}, bar);
    image.Tip = Text(look, "Message", "FreeMem") + ": " + std::to_string(freeMb) + "M" + kCrLf +
                Text(look, "Message", "TotalMem") + ": " + std::to_string(memory.TotalPhys >> 20) + "M";
    return image;
}

TTrayImage DrawBattery(const TPowerStatus& power, const TTrayLook& look)
{
    TTrayImage image{Ground(kWhite), {}};
    if (power.BatteryFlag & kNoSystemBattery) {
        image.Picture.Draw(MenuPicture(kPictureBatteryUnknown));
        image.Tip = Text(look, "Message", "Unknow");
        return image;
    }
    const int p = power.BatteryLifePercent;
    DrawTrayNumber(image.Picture, p, ArgbFromColor(look.TrayColor), 1);
    image.Picture.Outline({0, 11, 14, 16}, kBlack, kWhite);
    image.Picture.Outline({13, 12, 16, 15}, kBlack, kWhite);
    const int filled = (p * 12 + 50) / 100;
    const TArgb fill = Blinks(look, 16) ? kLime : power.ACLineStatus == 1 ? kBlue : kRed;
    image.Picture.FillRect({1, 12, filled + 1, 15}, fill);
    if (!power.BatteryLifeTime)
        image.Tip = std::to_string(p) + "%";
    else
        image.Tip = OneDecimal(*power.BatteryLifeTime / 3600.0) + " " + Text(look, "About", "Hour", 1);
    return image;
}

TTrayImage DrawCpuUsage(const TCpuHistory& history, TCpuUsageMethod method, const TTrayLook& look)
{
    TTrayImage image{Ground(kBlack), {}};
    const int a = std::clamp(history.CpuWindowSum / 100, 0, 16);
    image.Picture.FillRect({0, 16 - a, 16, 16}, a <= 4 ? kGreen : kMaroon);
    const auto& h = history.CpuHistory;
    std::vector<TTrayPoint> line{{0, 15 - h[0] * 15 / 100}};
    for (int k = 1; k < static_cast<int>(h.size()); ++k)
        line.push_back({k + 1, 15 - h[k] * 15 / 100});
    image.Picture.Polyline(line, Blinks(look, 48) ? kWhite : kLime);
    if (method == cumNone) {
        image.Tip = Text(look, "Message", "GetCPUUsageError");
        return image;
    }
    if (look.SecondsCounter <= 0)
        throw ETrayFigures("no whole second has passed yet");
    image.Tip = Text(look, "Message", "Current") + ": " + std::to_string(history.Newest()) + "%" + kCrLf +
                Text(look, "Message", "Average") + ": " + std::to_string(history.CpuWindowSum / 16) + "%" + kCrLf +
                Text(look, "Message", "LongtimeAverage") + ": " +
                std::to_string(history.CpuTotalSum / look.SecondsCounter) + "%";
    return image;
}

TTrayImage DrawDiskTemperature(const TTrayDisk& disk, const TTrayLook& look)
{
    TTrayImage image{Ground(kWhite), {}};
    if (!disk.Valid) {
        image.Tip = "S.M.A.R.T " + Text(look, "Message", "Error") + "!";
        image.Picture.Draw(MenuPicture(kPictureDiskUnknown));
    } else if (disk.Temperature < -200 || disk.Temperature > 200) {
        image.Tip = Text(look, "Message", "DataError");
        image.Picture.Draw(MenuPicture(kPictureDiskUnknown));
    } else {
        image.Tip = Text(look, "Message", "Harddisk") + ": " + disk.Model + kCrLf + Text(look, "Message", "PowerTime") +
                    ": " + std::to_string(disk.PowerOnHours);
        image.Picture.Draw(MenuPicture(kPictureDisk));
        const int32_t t = look.Metric ? disk.Temperature : ToFahrenheit(disk.Temperature);
        DrawTrayNumber(image.Picture, t, ArgbFromColor(look.TrayColor), 1);
    }
    if (Blinks(look, 64))
        image.Picture.SetPixel(3, 12, kWhite);
    return image;
}

TTrayImage DrawNetTraffic(const TTrayTraffic& traffic, const TTrayLook& look)
{
    TTrayImage image{Ground(kBlack), {}};
    int64_t m = 1;
    for (size_t i = 44; i < 60; ++i)
        m = std::max({m, int64_t{traffic.Download[i]}, int64_t{traffic.Upload[i]}});
    const TArgb uploadPen = Blinks(look, 80) ? kWhite : kGreen;
    if (m > 1) {
        m = std::max<int64_t>(m, 1024);
        const auto graph = [m](const std::array<int32_t, 60>& history) {
            const auto y = [m](int32_t sample) { return static_cast<int>(16 - int64_t{sample} * 16 / m); };
            std::vector<TTrayPoint> line{{0, y(history[44])}};
            for (int k = 1; k <= 16; ++k)
                line.push_back({k, y(history[43 + k])});
            return line;
        };
        image.Picture.Polyline(graph(traffic.Upload), uploadPen);
        image.Picture.Polyline(graph(traffic.Download), kRed);
    } else {
        // Two zeros, received and sent, where a small font's would stand.
        DrawGlyph(image.Picture, 0, kRed, 2, 3);
        DrawGlyph(image.Picture, 0, uploadPen, 9, 3);
    }
    image.Tip = Text(look, "Message", "NetTraffic") + ": " + Text(look, "Message", "In") + " " +
                OneDecimal(traffic.DownloadWindowSum / 10240.0) + "k, " + Text(look, "Message", "Out") + " " +
                OneDecimal(traffic.UploadWindowSum / 10240.0) + "k" + kCrLf + Text(look, "Message", "Total") + ": " +
                Text(look, "Message", "In") + " " + OneDecimal(traffic.TotalIn / 1048576.0) + "M, " +
                Text(look, "Message", "Out") + " " + OneDecimal(traffic.TotalOut / 1048576.0) + "M";
    return image;
}

TTrayImage DrawCpuTemperature(std::optional<int32_t> celsius, const TTrayLook& look)
{
    TTrayImage image{Ground(celsius && *celsius > 60 ? kOrange : kWhite), {}};
    if (!celsius) {
        image.Picture.Draw(MenuPicture(kPictureChipUnknown));
        return image;
    }
    image.Picture.Draw(MenuPicture(kPictureChipLow));
    const int32_t t = look.Metric ? *celsius : ToFahrenheit(*celsius);
    const TArgb color = ArgbFromColor(look.TrayColor);
    DrawTrayNumber(image.Picture, t, Blinks(look, 96) ? InverseColor(color) : color, 1);
    return image;
}

namespace {

// The humidity's number: leading blanks dropped, everything from the first
// "%" on cut off, surrounding blanks ignored.
std::optional<int> ParseHumidity(std::string text)
{
    text.erase(0, text.find_first_not_of(' '));
    if (const size_t percent = text.find('%'); percent != std::string::npos)
        text.erase(percent);
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    int h = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), h);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return h;
}

void DrawWeatherNumbers(TTrayImage& image, const TTrayWeather& weather, const TTrayLook& look)
{
    TTrayCanvas& c = image.Picture;
    c.Outline({0, 0, 16, 5}, kBlack, kWhite);
    if (const std::optional<int> h = ParseHumidity(weather.Humidity); !h) {
        c.FillRect({1, 1, 15, 4}, kRed);
    } else {
        // A humidity beyond 0..100 still fills no more than the frame.
        const int filled = std::clamp((*h * 14 + 50) / 100, 0, 14);
        if (*h < 40 || *h > 70) {
            c.FillRect({1, 1, 15, 4}, 0xFFFF8040);
            c.FillRect({1, 1, filled + 1, 4}, 0xFF4080FF);
        } else {
            c.FillRect({1, 1, filled + 1, 4}, 0xFF40FF40);
        }
    }
    int32_t t = std::clamp(weather.Temperature, -999, 999);
    if (t < 0)
        c.FillRect({0, 6, 16, 16}, kCyan);
    else if (t > 30)
        c.FillRect({0, 6, 16, 16}, kOrange);
    std::string unit = "C";
    if (!look.Metric) {
        unit = "F";
        t = ToFahrenheit(t);
    }
    DrawTrayNumber(c, t, ArgbFromColor(look.TrayColor), 7);
    image.Tip = Text(look, "Weather", "CityName") + ": " + weather.City + kCrLf + Text(look, "Message", "Temperature") +
                ": " + std::to_string(t) + " " + unit + kCrLf + Text(look, "Message", "Humidity") + ": " +
                weather.Humidity;
}

} // namespace

TTrayImage DrawWeather(const TTrayWeather& weather, const TTrayLook& look)
{
    TTrayImage image{Ground(kWhite), {}};
    if (weather.Humidity.empty()) {
        image.Picture.Draw(MenuPicture(kPictureWeatherUnknown));
        return image;
    }
    if (weather.FailureCount >= 10) {
        image.Picture.Draw(MenuPicture(kPictureWeatherUnknown));
        if (Blinks(look, 128))
            image.Picture.SetPixel(15, 15, kBlack);
        image.Tip = Text(look, "Message", "ConnectError");
        return image;
    }
    if (look.SecondsCounter % 16 >= 8) {
        DrawWeatherNumbers(image, weather, look);
        return image;
    }
    const int n = weather.WeatherIcon;
    image.Picture.Draw(n >= 1 && n <= kWeatherPictureCount ? WeatherPicture(n - 1)
                                                           : MenuPicture(kPictureWeatherUnknown));
    image.Tip = Text(look, "Weather", "CityName") + ": " + weather.City + kCrLf + Text(look, "Weather", "Weather") +
                ": " + weather.WeatherText + kCrLf + Text(look, "main", "Update") + ": " + weather.UpdateTime;
    return image;
}

} // namespace tramble
