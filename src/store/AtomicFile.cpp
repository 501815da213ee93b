#include "store/AtomicFile.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tramble {
namespace {

constexpr int kMaxLinkHops = 40;

std::string FolderOf(const std::string& path)
{
    size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Follows symbolic links to the file that is really written.
std::optional<std::string> ResolveLinks(std::string path)
{
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return path;
        char target[PATH_MAX];
        ssize_t length = ::readlink(path.c_str(), target, sizeof target - 1);
        if (length < 0)
            return std::nullopt;
        std::string next(target, static_cast<size_t>(length));
        path = next.front() == '/' ? next : FolderOf(path) + "/" + next;
    }
    errno = ELOOP;
    return std::nullopt;
}

bool HasWriteBits(const struct stat& st)
{
    return (st.st_mode & 0222) != 0;
}

bool CanWrite(const std::string& path)
{
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && HasWriteBits(st) && ::access(path.c_str(), W_OK) == 0;
}

bool WriteAll(int fd, std::string_view text)
{
    while (!text.empty()) {
        ssize_t written = ::write(fd, text.data(), text.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        text.remove_prefix(static_cast<size_t>(written));
    }
    return true;
}

std::string Reason(int error)
{
    return std::strerror(error);
}

// For a file whose folder takes no temporary file: the new text is written
// over the old from the start, the rest cut off and the file synced. A crash
// part-way leaves a mixed file, which is why this is only the fallback.
std::optional<std::string> WriteInPlace(const std::string& target, std::string_view text)
{
    int fd = ::open(target.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0)
        return Reason(errno);
    bool ok = WriteAll(fd, text) && ::ftruncate(fd, static_cast<off_t>(text.size())) == 0 && ::fsync(fd) == 0;
    const int error = errno;
    if (::close(fd) != 0 && ok)
        return Reason(errno);
    return ok ? std::nullopt : std::optional<std::string>(Reason(error));
}

} // namespace

bool IsWritablePath(const std::string& path)
{
    auto target = ResolveLinks(path);
    if (!target)
        return false;
    struct stat st {};
    if (::stat(target->c_str(), &st) == 0)
        return HasWriteBits(st) && ::access(target->c_str(), W_OK) == 0;
    return CanWrite(FolderOf(*target));
}

std::optional<std::string> WriteFileAtomically(const std::string& path, std::string_view text)
{
    auto target = ResolveLinks(path);
    if (!target)
        return Reason(errno);
    const std::string folder = FolderOf(*target);

    struct stat old {};
    bool exists = ::stat(target->c_str(), &old) == 0;
    if (exists && (!HasWriteBits(old) || ::access(target->c_str(), W_OK) != 0))
        return Reason(EACCES);
    if (!CanWrite(folder)) {
        if (exists)
            return WriteInPlace(*target, text);
        return Reason(::access(folder.c_str(), F_OK) == 0 ? EACCES : ENOENT);
    }

    static std::atomic<unsigned> counter{0};
    std::string temp;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temp = *target + ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && exists && (errno == EACCES || errno == EPERM))
            return WriteInPlace(*target, text);
        if (fd < 0 && errno != EEXIST)
            return Reason(errno);
    }
    if (fd < 0)
        return Reason(EEXIST);

    auto fail = [&](int error) {
        if (fd >= 0)
            ::close(fd);
        ::unlink(temp.c_str());
        return Reason(error);
    };
    if (exists) {
        ::fchmod(fd, old.st_mode & 07777);
        if (::fchown(fd, old.st_uid, old.st_gid) != 0) {
            // Only root may give the file away; keeping our own owner is fine.
        }
    }
    if (!WriteAll(fd, text) || ::fsync(fd) != 0)
        return fail(errno);
    int closed = ::close(fd);
    fd = -1;
    if (closed != 0)
        return fail(errno);
    if (::rename(temp.c_str(), target->c_str()) != 0)
        return fail(errno);

    int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return std::nullopt;
}

} // namespace tramble
