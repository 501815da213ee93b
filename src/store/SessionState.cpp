#include "store/SessionState.h"

#include "store/SettingsKeys.h"
#include "text/TextConvert.h"

#include <map>

namespace tramble {
namespace {

std::optional<int32_t> ReadOptional(TFastIniFile& ini, const TSettingKey& key)
{
    if (!ini.HasKey(key.Section, key.Key))
        return std::nullopt;
    return ReadSettingNumber(ini, key);
}

// n of a key "cmd" + n, n written in decimal without leading zeros.
std::optional<int32_t> CommandLineNumber(std::string_view key)
{
    if (key.size() < 4 || key.size() > 13 || !SameTextAscii(key.substr(0, 3), "cmd") || key[3] == '0')
        return std::nullopt;
    int64_t n = 0;
    for (const char c : key.substr(3)) {
        if (c < '0' || c > '9')
            return std::nullopt;
        n = n * 10 + (c - '0');
    }
    if (n > INT32_MAX)
        return std::nullopt;
    return static_cast<int32_t>(n);
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
    const int32_t count = ReadSettingNumber(ini, keys::CommandCount);
    // Only the keys that are there are read, so that a damaged count cannot
    // hold up the start with billions of look-ups.
    std::vector<std::string> names;
    ini.ListKeys(keys::kCommandSection, names);
    std::map<int32_t, std::string> lines;
    for (const std::string& name : names) {
        const std::optional<int32_t> n = CommandLineNumber(name);
        if (!n || *n > count || lines.contains(*n))
            continue;
        std::string text = ini.ReadText(keys::kCommandSection, name, "");
        if (!text.empty())
            lines.emplace(*n, std::move(text));
    }
    std::vector<std::string> history;
    for (auto& [n, text] : lines)
        history.push_back(std::move(text));
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
    if (state.Place)
        StoreBarPlace(ini, *state.Place);
    if (state.Elapse)
        WriteSettingNumber(ini, keys::Elapse, *state.Elapse);
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
