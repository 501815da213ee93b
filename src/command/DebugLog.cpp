#include "command/DebugLog.h"

#include "store/FastIniFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tramble {
namespace {

[[noreturn]] void Fail(const std::string& path, const std::string& reason)
{
    throw EFileError("Cannot write " + path + ": " + reason);
}

[[noreturn]] void Fail(const std::string& path, int error)
{
    Fail(path, std::strerror(error));
}

// Closes the file and raises the error.
[[noreturn]] void CloseAndFail(int fd, const std::string& path, int error)
{
    ::close(fd);
    Fail(path, error);
}

} // namespace

std::string DebugStamp(std::time_t moment)
{
    std::tm local{};
    if (!::localtime_r(&moment, &local))
        return {};
    char text[128];
    const size_t length = std::strftime(text, sizeof text, "%x %X", &local);
    return std::string(text, length);
}

void AppendDebugStatus(const std::string& path, const std::string& stamp)
{
    // Not blocking, so that a pipe put in the file's place cannot stop the bar.
    const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NOCTTY | O_NONBLOCK, 0644);
    if (fd < 0)
        Fail(path, errno);
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        CloseAndFail(fd, path, errno);
    if (!S_ISREG(st.st_mode)) {
        ::close(fd);
        Fail(path, "not a plain file");
    }
    const std::string lines = "\n" + stamp + "\n";
    size_t written = 0;
    while (written < lines.size()) {
        const ssize_t n = ::write(fd, lines.data() + written, lines.size() - written);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            CloseAndFail(fd, path, n < 0 ? errno : EIO);
        written += static_cast<size_t>(n);
    }
    if (::close(fd) != 0)
        Fail(path, errno);
}

} // namespace tramble
