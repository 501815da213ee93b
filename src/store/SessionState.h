#pragma once

#include "store/Config.h"
#include "store/FastIniFile.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tramble {

// Where the bar stands: its window's top-left corner and its client size.
struct TBarPlace {
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Width = 0;
    int32_t Height = 0;
};

// The stored place; Left and Top are empty when "last"/"Left" (or "Top") is
// missing, so that the caller picks the default position.
struct TStoredPlace {
    std::optional<int32_t> Left;
    std::optional<int32_t> Top;
    int32_t Width = 0;
    int32_t Height = 0;
};

TStoredPlace ReadBarPlace(TFastIniFile& ini);
void StoreBarPlace(TFastIniFile& ini, const TBarPlace& place);

// Removes the scratch section "temp" when it is there; a file without it
// stays unmodified.
void RemoveScratchSection(TFastIniFile& ini);

// The non-empty texts "cmd" 1 … "cmd" Count of section "Command", in order.
std::vector<std::string> ReadCommandHistory(TFastIniFile& ini);

// Run counter: "last"/"run" raised by one and flushed. Returns the new count;
// raises EFileError when the file cannot be written (read-only mode).
int32_t CountRun(TFastIniFile& ini);

// What shut-down stores. A value the start-up load never read (it ended
// early) is empty and leaves the stored one alone.
struct TShutdownState {
    std::optional<TBarPlace> Place;
    std::optional<int32_t> Elapse;
    std::optional<std::vector<std::string>> History;
};

// Place and running time; "temp" removed; the command list rewritten
// whole; then the file is flushed. The sync time and the watched interface
// are stored by their own controllers.
void StoreShutdownState(TFastIniFile& ini, const TShutdownState& state);

} // namespace tramble
