#include "platform/NamedLock.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace tramble::platform {
namespace {

uint64_t Fnv1a(const std::string& text)
{
    uint64_t hash = 14695981039346656037ull;
    for (unsigned char c : text)
        hash = (hash ^ c) * 1099511628211ull;
    return hash;
}

// Lock names may hold any character but "/"; they come from paths. A name too
// long for a file name keeps its end and gets a hash of the whole.
std::string FileNameFor(const std::string& name)
{
    std::string file = name.empty() ? std::string("_") : name;
    for (char& c : file) {
        if (c == '/')
            c = '_';
    }
    if (file.size() > 200) {
        char hash[17];
        std::snprintf(hash, sizeof hash, "%016llx", static_cast<unsigned long long>(Fnv1a(name)));
        file = file.substr(file.size() - 180) + "-" + hash;
    }
    return file + ".lock";
}

} // namespace

std::string LockFolder()
{
    std::string folder;
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime && *runtime == '/')
        folder = std::string(runtime) + "/tramble";
    else
        folder = "/tmp/tramble-" + std::to_string(::getuid());
    ::mkdir(folder.c_str(), 0700);
    return folder;
}

std::optional<TNamedLock> TNamedLock::TryAcquire(const std::string& name, const std::string& folder)
{
    const std::string path = (folder.empty() ? LockFolder() : folder) + "/" + FileNameFor(name);
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0)
        return std::nullopt;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return std::nullopt;
    }
    return TNamedLock(fd);
}

TNamedLock::TNamedLock(TNamedLock&& other) noexcept : m_fd(std::exchange(other.m_fd, -1))
{
}

TNamedLock& TNamedLock::operator=(TNamedLock&& other) noexcept
{
    if (this != &other) {
        Release();
        m_fd = std::exchange(other.m_fd, -1);
    }
    return *this;
}

TNamedLock::~TNamedLock()
{
    Release();
}

void TNamedLock::Release()
{
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
}

} // namespace tramble::platform
