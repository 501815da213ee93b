#include "store/Backups.h"

#include "store/AtomicFile.h"

#include <cstdio>
#include <filesystem>
#include <unistd.h>

namespace tramble {
namespace {

namespace fs = std::filesystem;

// A generation moves up by renaming: nothing is copied and no file is ever
// half written. A backup file without write permission stays as it is.
void MoveOver(const std::string& from, const std::string& to)
{
    std::error_code error;
    if (fs::is_regular_file(from, error) && IsWritablePath(to))
        std::rename(from.c_str(), to.c_str());
}

// The newest generation is a copy, made beside the target and renamed over
// it. It is not synced to disk: a backup that a crash loses costs less than
// the wait at every start.
void CopyOver(const std::string& from, const std::string& to)
{
    std::error_code error;
    if (!fs::is_regular_file(from, error) || !IsWritablePath(to))
        return;
    const std::string temporary = to + ".tmp-" + std::to_string(::getpid());
    if (fs::copy_file(from, temporary, fs::copy_options::overwrite_existing, error))
        fs::rename(temporary, to, error);
    if (error)
        fs::remove(temporary, error);
}

} // namespace

void RotateBackups(const std::string& base)
{
    const std::string settings = base + ".ini";
    if (!IsWritablePath(settings))
        return;
    for (int n = 2; n >= 0; --n)
        MoveOver(base + ".in" + std::to_string(n), base + ".in" + std::to_string(n + 1));
    CopyOver(settings, base + ".in0");
}

} // namespace tramble
