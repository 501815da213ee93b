#pragma once

#include "i18n/Language.h"
#include "monitors/CpuHistory.h"
#include "monitors/CpuUsage.h"
#include "monitors/SystemStatus.h"
#include "store/ColorNames.h"
#include "tray/TrayCanvas.h"

#include <array>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>

namespace tramble {

// One icon's picture and its tooltip (lines end in CR LF).
struct TTrayImage {
    TTrayCanvas Picture;
    std::string Tip;
};

// What every monitor picture is drawn with.
struct TTrayLook {
    TColor TrayColor = 0; // the digits' colour
    bool Metric = true;   // false: temperatures in °F
    int32_t SecondsCounter = 0;
    const TLanguage* Language = nullptr;
};

// The figures cannot make a picture; the icon keeps the one it shows.
class ETrayFigures : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// t °C in °F, the division truncated toward zero.
int32_t ToFahrenheit(int32_t celsius);

TTrayImage DrawFreeMemory(const TMemoryStatus& memory, const TTrayLook& look);

TTrayImage DrawBattery(const TPowerStatus& power, const TTrayLook& look);

TTrayImage DrawCpuUsage(const TCpuHistory& history, TCpuUsageMethod method, const TTrayLook& look);

// The disk as its last reading left it.
struct TTrayDisk {
    bool Valid = false;
    std::string Model;
    int32_t PowerOnHours = 0;
    int32_t Temperature = 0; // °C
};
TTrayImage DrawDiskTemperature(const TTrayDisk& disk, const TTrayLook& look);

// The watched interface's histories (oldest first) and sums.
struct TTrayTraffic {
    std::array<int32_t, 60> Download{};
    std::array<int32_t, 60> Upload{};
    int64_t DownloadWindowSum = 0; // bytes over the last window; a fast link exceeds 32 bits
    int64_t UploadWindowSum = 0;
    uint64_t TotalIn = 0; // bytes since the interface came up
    uint64_t TotalOut = 0;
};
TTrayImage DrawNetTraffic(const TTrayTraffic& traffic, const TTrayLook& look);

// celsius: nothing when no sensor gives a reading.
TTrayImage DrawCpuTemperature(std::optional<int32_t> celsius, const TTrayLook& look);

// What the weather icon shows of the last weather record.
struct TTrayWeather {
    std::string Humidity;    // as the service words it (" 85 %"); empty: nothing arrived yet
    int32_t Temperature = 0; // °C
    int32_t WeatherIcon = 0; // the service's icon number, 1..44
    std::string WeatherText;
    std::string City;
    std::string UpdateTime;   // date-time text of the last update
    int32_t FailureCount = 0; // failed fetches since the last one that worked
};
TTrayImage DrawWeather(const TTrayWeather& weather, const TTrayLook& look);

} // namespace tramble
