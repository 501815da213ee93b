#include "options/ShortcutOptions.h"

#include "platform/SpecialFolders.h"
#include "shell/ShortcutLink.h"

#include <filesystem>

namespace tramble {

TShortcutFolders TShortcutFolders::OfUser()
{
    using platform::SpecialFolderPath;
    using platform::TSpecialFolder;
    return {SpecialFolderPath(TSpecialFolder::Programs), SpecialFolderPath(TSpecialFolder::Desktop),
            SpecialFolderPath(TSpecialFolder::Startup)};
}

std::optional<std::string> ShortcutFile(const TShortcutFolders& folders, TShortcutPlace place)
{
    const std::string* folder = nullptr;
    switch (place) {
    case TShortcutPlace::StartMenu: folder = &folders.Programs; break;
    case TShortcutPlace::Desktop: folder = &folders.Desktop; break;
    case TShortcutPlace::QuickLaunch: return std::nullopt;
    case TShortcutPlace::AutoRun: folder = &folders.Startup; break;
    }
    if (folder->empty())
        return std::nullopt;
    return *folder + "/" + kShortcutFileName;
}

TShortcutStates ReadShortcutStates(const TShortcutFolders& folders, const std::string& target)
{
    TShortcutStates states{};
    for (size_t i = 0; i < kShortcutPlaces.size(); ++i) {
        const std::optional<std::string> file = ShortcutFile(folders, kShortcutPlaces[i]);
        states[i] = file && LinkPointsTo(*file, target);
    }
    return states;
}

void ApplyShortcutStates(const TShortcutFolders& folders, const std::string& target, const TShortcutStates& first,
                         const TShortcutStates& chosen)
{
    for (size_t i = 0; i < kShortcutPlaces.size(); ++i) {
        if (first[i] == chosen[i])
            continue;
        const std::optional<std::string> file = ShortcutFile(folders, kShortcutPlaces[i]);
        if (!file)
            continue;
        if (chosen[i]) {
            // A fresh account has no autostart folder yet.
            std::error_code ignored;
            std::filesystem::create_directories(std::filesystem::path(*file).parent_path(), ignored);
        }
        SetShortcut(target, *file, "Tramble", chosen[i]);
    }
}

} // namespace tramble
