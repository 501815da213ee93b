#include "store/SessionState.h"

#include "store/SettingsKeys.h"
#include "store/TextConvert.h"

namespace tramble {
namespace {

std::optional<int32_t> ReadOptional(TFastIniFile& ini, const TSettingKey& key)
{
    if (!ini.HasKey(key.Section, key.Key))
        return std::nullopt;
    return ReadSettingNumber(ini, key);
}

} // namespace

TStoredPlace ReadBarPlace(TFastIniFile& ini)
{
    TStoredPlace place;
    place.Left = ReadOptional(ini, keys::Left);
    place.Top = ReadOptional(ini, keys::Top);
    place.Width = ReadSettingNumber(ini, keys::Width);
    place.Height = ReadSettingNumber(ini, keys::Height);
    return place;
}

void StoreBarPlace(TFastIniFile& ini, const TBarPlace& place)
{
    WriteSettingNumber(ini, keys::Left, place.Left);
    WriteSettingNumber(ini, keys::Top, place.Top);
    WriteSettingNumber(ini, keys::Width, place.Width);
    WriteSettingNumber(ini, keys::Height, place.Height);
}

void RemoveScratchSection(TFastIniFile& ini)
{
    std::vector<std::string> sections;
    ini.ListSections(sections);
    for (const std::string& section : sections) {
        if (SameTextAscii(section, keys::kTempSection)) {
            ini.RemoveSection(keys::kTempSection);
            return;
        }
    }
}

std::vector<std::string> ReadCommandHistory(TFastIniFile& ini)
{
    std::vector<std::string> history;
    const int32_t count = ReadSettingNumber(ini, keys::CommandCount);
    for (int32_t n = 1; n <= count; ++n) {
        std::string text = ini.ReadText(keys::kCommandSection, "cmd" + std::to_string(n), "");
        if (!text.empty())
            history.push_back(std::move(text));
    }
    return history;
}

int32_t CountRun(TFastIniFile& ini)
{
    const int32_t run = ReadSettingNumber(ini, keys::Run) + 1;
    WriteSettingNumber(ini, keys::Run, run);
    ini.Flush();
    return run;
}

void StoreShutdownState(TFastIniFile& ini, const TShutdownState& state)
{
    StoreBarPlace(ini, state.Place);
    if (state.Elapse)
        WriteSettingNumber(ini, keys::Elapse, *state.Elapse);
    if (state.SyncTimeTime)
        WriteSetting(ini, keys::SyncTimeTime, *state.SyncTimeTime);
    if (state.IPNet)
        WriteSetting(ini, keys::IPNet, *state.IPNet);
    RemoveScratchSection(ini);
    if (state.History) {
        ini.RemoveSection(keys::kCommandSection);
        WriteSettingNumber(ini, keys::CommandCount, static_cast<int32_t>(state.History->size()));
        for (size_t i = 0; i < state.History->size(); ++i)
            ini.WriteText(keys::kCommandSection, "cmd" + std::to_string(i + 1), (*state.History)[i]);
    }
    ini.Flush();
}

} // namespace tramble
