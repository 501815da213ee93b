#pragma once

#include "launcher/RandomSource.h"
#include "store/ColorNames.h"
#include "store/Font.h"
#include "store/SettingsKeys.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace tramble {

// What a preset button or "Random" puts into the rainbow page's controls;
// a colour it leaves out keeps the box's colour.
struct TRainbowPreset {
    int Width = 0;
    int Height = 0;
    int Speed = 0;
    int Style = 0;
    bool UserColor = false;
    std::optional<TColor> Colour1;
    std::optional<TColor> Colour2;
};

// The buttons "1" to "8", in order.
std::span<const TRainbowPreset> RainbowPresets();

// "Random": style, user colours, speed, width (a multiple of 6 in 36..276),
// height and the two colours, drawn in that order.
TRainbowPreset RandomRainbow(TRandomSource& random);

// A size typed into the dialog, as OK stores it: the integer taken as an
// unsigned 16-bit number, then forced into the key's range. Nothing when the
// text is no integer.
std::optional<int32_t> DialogSize(std::string_view text, const TSettingKey& key);

// The preview's phase after one tick: it moves by the speed (1 when the
// speed is 0) and stays within 0..30000.
int NextPreviewPhase(int phase, int speed);

// The preset time servers of the server box; the first is the default.
std::span<const std::string_view> TimeServers();

// The options' Default button: every key with a Default-button value takes
// it; the other keys keep theirs.
void ApplyDefaultButton(TConfig& cfg);

// "size, name" as the font label shows it.
std::string FontCaption(const TFont& font);

} // namespace tramble
