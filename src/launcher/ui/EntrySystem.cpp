#include "launcher/ui/EntrySystem.h"

#include "platform/FileTypeIcons.h"
#include "platform/Launch.h"

#include <sys/stat.h>
#include <unistd.h>

namespace tramble {

bool TEntrySystem::Exists(const std::string& path)
{
    struct stat st {};
    return !path.empty() && ::stat(path.c_str(), &st) == 0;
}

bool TEntrySystem::IsFolder(const std::string& path)
{
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool TEntrySystem::IsExecutable(const std::string& path)
{
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

int TEntrySystem::Open(const std::string& target, const std::string& arguments, const std::string& folder, uint8_t)
{
    return platform::ShellOpen(target, arguments, folder);
}

std::string TEntrySystem::IconForExtension(const std::string& extension)
{
    return platform::RegistryIconFor(extension);
}

} // namespace tramble
