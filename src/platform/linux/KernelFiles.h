#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tramble::platform {

// Reads a file of /proc, /sys or a fixture tree whole, up to limit bytes.
// False when it cannot be opened or read.
bool ReadKernelFile(const std::string& path, std::string& text, size_t limit = 4 << 20);

// The first line of a small file, without its line break.
std::optional<std::string> ReadKernelLine(const std::string& path);

// A file holding one decimal integer, such as a sysfs attribute.
std::optional<int64_t> ReadKernelNumber(const std::string& path);

// The entries of a folder other than "." and "..", in natural order
// ("hwmon2" before "hwmon10"); empty when it cannot be read.
std::vector<std::string> ListFolder(const std::string& path);

bool PathExists(const std::string& path);

// Digit runs compare as numbers: "hwmon2" < "hwmon10".
bool NaturalLess(const std::string& a, const std::string& b);

} // namespace tramble::platform
