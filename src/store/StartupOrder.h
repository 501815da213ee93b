#pragma once

#include "store/Modes.h"

#include <functional>
#include <map>
#include <optional>
#include <vector>

namespace tramble {

// The steps of the start-up load, run on the bar's first showing in this
// order. A part of the program that takes part in start-up sets the action of
// its step; a step without an action is passed over.
enum class TLoadStep {
    RunCounter = 1,  // run counter and read-only detection
    ElapseAndFont,   // "last"/"elapse", the bar's font
    BarLook,         // rainbow, hide, sort and title-bar settings
    ClockSync,       // sync server, last sync time, sync timer
    TraySettings,    // tray, weather and unit settings
    CommandHistory,  // the command box's list
    Entries,         // icon size, application entries, autorun
    Language,        // language menu, loading and applying the language
    DefaultPrograms, // the default programs of the first run
    ShowCommandBox,  // command box and group button shown, layout requested
    SizeAndPosition, // client size, then position
    TrayIcons,       // watched interface, tray icons
    Caption,         // portable and read-only caption labels
    WeatherTimer,    // weather timer
    Alarms,          // traffic alarm settings
    ReadOnlyMenus,   // menu items enabled outside read-only mode, "temp" removed
    BookmarkMenu,    // the bookmark menu is built
};

// The steps of shut-down, in this order.
enum class TShutdownStep {
    StopTimers = 1, // handlers detached, bar hidden, timers stopped
    ReleaseLocks,   // instance locks released
    TrayIcons,      // tray timer stopped, tray icons removed, watched interface written
    StoreSyncTime,  // clock sync stopped, its last-sync text written
    StoreState,     // position, size, command history, flush
    FreeObjects,    // buttons, settings store and the rest freed
    StopWeather,    // the weather worker stopped
    ReleaseDriver,  // the sensor device released
};

template <typename Step> class TStepOrder {
public:
    void Set(Step step, std::function<void()> action) { m_actions[step] = std::move(action); }
    bool Has(Step step) const { return m_actions.contains(step); }

    // Runs the steps in order until one raises; returns that step. done()
    // hears of each step that completed.
    std::optional<Step> RunUntilError(const std::function<void(Step)>& done = {})
    {
        for (auto& [step, action] : m_actions) {
            try {
                action();
            } catch (...) {
                return step;
            }
            if (done)
                done(step);
        }
        return std::nullopt;
    }

    // Runs every step; one that raises does not keep the later ones from
    // running. Returns the steps that raised.
    std::vector<Step> RunAll()
    {
        std::vector<Step> failed;
        for (auto& [step, action] : m_actions) {
            try {
                action();
            } catch (...) {
                failed.push_back(step);
            }
        }
        return failed;
    }

private:
    std::map<Step, std::function<void()>> m_actions;
};

using TStartupLoad = TStepOrder<TLoadStep>;
using TShutdownOrder = TStepOrder<TShutdownStep>;

// Runs the start-up load with Loading set; an error ends the load silently and
// Loading is cleared in every case. Returns the step that ended it early.
std::optional<TLoadStep> RunStartupLoad(TStartupLoad& load, TModes& modes,
                                        const std::function<void(TLoadStep)>& done = {});

} // namespace tramble
