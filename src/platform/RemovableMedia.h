#pragma once

#include <string>

namespace tramble::platform {

// Whether the file lies on removable media: the whole disk behind its block
// device says "removable" = 1, or it is a USB, MMC/SD or optical device.
bool IsOnRemovableMedia(const std::string& path);

// The same for the block device major:minor, read from a sysfs tree at sysRoot.
bool IsRemovableBlockDevice(unsigned major, unsigned minor, const std::string& sysRoot = "/sys");

} // namespace tramble::platform
