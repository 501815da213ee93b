#pragma once

#include <functional>

namespace tramble {

// Calls onTerm on the window thread when the process is asked to end
// (SIGTERM, SIGINT, SIGHUP), as a session does when it logs out, so that the
// program ends through its shut-down order. Call once, after the application
// object exists.
void WatchTermSignals(std::function<void()> onTerm);

} // namespace tramble
