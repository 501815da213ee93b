#include "options/OptionValues.h"

#include "launcher/BlockColours.h"
#include "text/TextConvert.h"

#include <charconv>

namespace tramble {
namespace {

constexpr TColor kOrange = 0x0080FF;
constexpr TColor kRed = 0x0000FF;
constexpr TColor kBlue = 0xFF0000;

constexpr std::array<TRainbowPreset, 8> kPresets{{
    {150, 4, 9, 0, true, kOrange, clBlack},
    {72, 5, 9, 1, true, kRed, clBlack},
    {120, 3, 3, 2, true, kRed, clBlack},
    {120, 3, -1, 2, false, std::nullopt, std::nullopt},
    {90, 3, 5, 3, true, kBlue, clBlack},
    {90, 3, 5, 3, false, std::nullopt, std::nullopt},
    {150, 5, -1, 4, false, std::nullopt, std::nullopt},
    {180, 3, 1, 4, true, clWhite, clBlack},
}};

constexpr std::array<std::string_view, 18> kTimeServers{
    "pool.ntp.org",     "0.pool.ntp.org",      "1.pool.ntp.org",      "2.pool.ntp.org",
    "3.pool.ntp.org",   "europe.pool.ntp.org", "asia.pool.ntp.org",   "north-america.pool.ntp.org",
    "cn.pool.ntp.org",  "time.google.com",     "time.cloudflare.com", "time.apple.com",
    "time.windows.com", "time.nist.gov",       "ntp.ubuntu.com",      "time.facebook.com",
    "ptbtime1.ptb.de",  "ntp1.aliyun.com",
};

constexpr int kPreviewPhaseWrap = 30000;

} // namespace

std::span<const TRainbowPreset> RainbowPresets()
{
    return kPresets;
}

TRainbowPreset RandomRainbow(TRandomSource& random)
{
    TRainbowPreset p;
    p.Style = random.Below(5);
    p.UserColor = random.Below(2) == 0;
    p.Speed = 10 - random.Below(21);
    p.Width = (random.Below(245) + 36) / 6 * 6;
    p.Height = random.Below(12) + 1;
    p.Colour1 = RandomColour(random);
    p.Colour2 = RandomColour(random);
    return p;
}

std::optional<int32_t> DialogSize(std::string_view text, const TSettingKey& key)
{
    text = Trim(text);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    int32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return ForceIntoRange(key, static_cast<uint16_t>(value));
}

int NextPreviewPhase(int phase, int speed)
{
    phase += speed == 0 ? 1 : speed;
    if (phase > kPreviewPhaseWrap)
        phase -= kPreviewPhaseWrap;
    if (phase < 0)
        phase += kPreviewPhaseWrap;
    return phase;
}

std::span<const std::string_view> TimeServers()
{
    return kTimeServers;
}

void ApplyDefaultButton(TConfig& cfg)
{
    for (const TSettingKey& key : AllSettingKeys()) {
        if (!key.OnDefault)
            continue;
        if (const auto flag = std::get_if<bool TConfig::*>(&key.Field))
            cfg.** flag = *key.OnDefault != 0;
        else if (const auto number = std::get_if<int32_t TConfig::*>(&key.Field))
            cfg.** number = *key.OnDefault;
    }
}

std::string FontCaption(const TFont& font)
{
    return std::to_string(font.Size) + ", " + font.Name;
}

} // namespace tramble
