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

// The non-empty texts "cmd" 1 … "cmd" Count of section "Command", in order.
std::vector<std::string> ReadCommandHistory(TFastIniFile& ini);

// Run counter: "last"/"run" raised by one and flushed. Returns the new count;
// raises EFileError when the file cannot be written (read-only mode).
int32_t CountRun(TFastIniFile& ini);

// What shut-down stores: place, running time, sync time, watched interface, the command
// list rewritten whole, "temp" removed; then the file is flushed.
void StoreShutdownState(TFastIniFile& ini, const TBarPlace& place, const TLastState& last,
                        const std::vector<std::string>& history);

} // namespace tramble
