#pragma once

#include "platform/NamedLock.h"

#include <optional>
#include <string>

namespace tramble::platform {

// The two locks a running copy holds: one for its executable path, so that
// each copy runs once, and one for its instance number 0..9.
struct TInstanceClaim {
    TNamedLock CopyLock;
    TNamedLock NumberLock;
    int Instance = 0;
};

// Nothing when this copy already runs, when all ten numbers are taken, or
// when the locks cannot be made: the program then ends without a window.
std::optional<TInstanceClaim> ClaimInstance(const std::string& executablePath, const std::string& folder = {});

} // namespace tramble::platform
