#pragma once

#include <string>

namespace tramble {

// Shifts the backups of the settings file one generation: ".in2" over ".in3",
// ".in1" over ".in2", ".in0" over ".in1", then base + ".ini" over ".in0".
// Failures are ignored, one copy at a time. Nothing is copied when the
// settings file cannot be written: rotating identical copies would only push
// the older generations out while the program runs read-only.
void RotateBackups(const std::string& base);

} // namespace tramble
