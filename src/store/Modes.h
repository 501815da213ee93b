#pragma once

namespace tramble {

// Flags set once at start and read by every part of the program.
struct TModes {
    bool ReadOnlyMode = false; // the settings file cannot be written: nothing is written
    bool PortableMode = false; // the program runs from removable media
    bool Loading = false;      // the start-up load runs
    bool ChineseSystem = false;
    int Instance = 0; // 0..9, the number of this copy among the running ones
};

} // namespace tramble
