#include "platform/FocusSignal.h"

#include "platform/NamedLock.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <utility>

namespace tramble::platform {
namespace {

constexpr char kRequest[] = "focus";

std::optional<sockaddr_un> AddressOf(const std::string& path)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.empty() || path.size() >= sizeof address.sun_path)
        return std::nullopt;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return address;
}

} // namespace

std::string FocusSocketPath(const std::string& executablePath, const std::string& folder)
{
    uint64_t hash = 14695981039346656037ull;
    for (unsigned char c : executablePath)
        hash = (hash ^ c) * 1099511628211ull;
    char name[40];
    std::snprintf(name, sizeof name, "focus-%016llx.sock", static_cast<unsigned long long>(hash));
    return (folder.empty() ? LockFolder() : folder) + "/" + name;
}

bool SendFocusRequest(const std::string& path)
{
    const std::optional<sockaddr_un> address = AddressOf(path);
    if (!address)
        return false;
    const int fd = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    const ssize_t sent = ::sendto(fd, kRequest, sizeof kRequest - 1, MSG_DONTWAIT,
                                  reinterpret_cast<const sockaddr*>(&*address), sizeof *address);
    ::close(fd);
    return sent == static_cast<ssize_t>(sizeof kRequest - 1);
}

std::optional<TFocusListener> TFocusListener::Listen(const std::string& path)
{
    const std::optional<sockaddr_un> address = AddressOf(path);
    if (!address)
        return std::nullopt;
    const int fd = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return std::nullopt;
    ::unlink(path.c_str());
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&*address), sizeof *address) != 0) {
        ::close(fd);
        return std::nullopt;
    }
    return TFocusListener(fd, path);
}

TFocusListener::TFocusListener(TFocusListener&& other) noexcept
    : m_fd(std::exchange(other.m_fd, -1)), m_path(std::move(other.m_path))
{
}

TFocusListener& TFocusListener::operator=(TFocusListener&& other) noexcept
{
    if (this != &other) {
        Close();
        m_fd = std::exchange(other.m_fd, -1);
        m_path = std::move(other.m_path);
    }
    return *this;
}

TFocusListener::~TFocusListener()
{
    Close();
}

void TFocusListener::Close()
{
    if (m_fd < 0)
        return;
    ::close(m_fd);
    ::unlink(m_path.c_str());
    m_fd = -1;
}

int TFocusListener::TakeRequests()
{
    int requests = 0;
    char buffer[16];
    while (::recv(m_fd, buffer, sizeof buffer, MSG_DONTWAIT) >= 0)
        ++requests;
    return requests;
}

} // namespace tramble::platform
