#pragma once

#include <thread>

namespace tramble::platform {

// Loads the system's font configuration on a worker thread. Parsing it takes
// a few milliseconds that can overlap the connection to the display; join
// the thread before the first widget is made, so that the configuration is
// loaded once.
std::jthread WarmUpFonts();

} // namespace tramble::platform
