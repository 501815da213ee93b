#include "platform/RemovableMedia.h"

#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace tramble::platform {
namespace {

namespace fs = std::filesystem;

std::string FirstLine(const fs::path& file)
{
    std::ifstream in(file);
    std::string line;
    std::getline(in, line);
    return line;
}

bool PathHasUsb(const fs::path& device)
{
    for (const auto& part : device) {
        if (part.string().starts_with("usb"))
            return true;
    }
    return false;
}

} // namespace

bool IsRemovableBlockDevice(unsigned major, unsigned minor, const std::string& sysRoot)
{
    std::error_code error;
    const fs::path link = fs::path(sysRoot) / "dev" / "block" / (std::to_string(major) + ":" + std::to_string(minor));
    fs::path device = fs::canonical(link, error);
    if (error)
        return false;
    if (fs::exists(device / "partition", error))
        device = device.parent_path();
    const std::string name = device.filename().string();
    return FirstLine(device / "removable") == "1" || PathHasUsb(device) || name.starts_with("mmcblk") ||
           name.starts_with("sr");
}

bool IsOnRemovableMedia(const std::string& path)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return false;
    return IsRemovableBlockDevice(major(st.st_dev), minor(st.st_dev));
}

} // namespace tramble::platform
