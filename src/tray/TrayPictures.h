#pragma once

#include "tray/TrayCanvas.h"

namespace tramble {

// Numbers of the pictures in the bar's menu image list that the tray draws.
// The disk and the low chip keep rows 0–8 free for digits.
inline constexpr int kPictureBatteryUnknown = 15;
inline constexpr int kPictureDisk = 16;
inline constexpr int kPictureChip = 17;
inline constexpr int kPictureGlobe = 20;
inline constexpr int kPictureMemory = 21;
inline constexpr int kPictureDiskUnknown = 22;
inline constexpr int kPictureChipUnknown = 23;
inline constexpr int kPictureWeatherUnknown = 28;
inline constexpr int kPictureBar = 30;
inline constexpr int kPictureChipLow = 35;

// The picture of that number on a transparent ground; a number the tray
// does not use gives an empty picture.
const TTrayCanvas& MenuPicture(int number);
// Whether the menu image list holds a picture of that number.
bool HasMenuPicture(int number);

// The weather image list: picture n − 1 stands for the weather service's
// icon number n (sun, moon, clouds, fog, showers, storms, snow, ice, heat,
// cold, wind); the transparent ground shows through.
inline constexpr int kWeatherPictureCount = 44;
// index 0..kWeatherPictureCount − 1; outside that, an empty picture.
const TTrayCanvas& WeatherPicture(int index);

} // namespace tramble
