#include "platform/UdpPeer.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <mutex>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace tramble::platform {
namespace {

using SteadyClock = std::chrono::steady_clock;

struct TAddress {
    sockaddr_storage Storage{};
    socklen_t Length = 0;
};

// What the resolver thread hands back. It is shared, so that a resolver that
// outlives its caller's wait finishes into memory that is still there.
struct TResolveJob {
    std::mutex Lock;
    std::vector<TAddress> Addresses;
    bool Done = false;
    int Fd = -1;

    ~TResolveJob()
    {
        if (Fd >= 0)
            ::close(Fd);
    }
};

std::vector<TAddress> LookUp(const std::string& host, const std::string& service, int flags)
{
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_DGRAM;
    hints.ai_flags = flags | AI_NUMERICSERV;
    addrinfo* found = nullptr;
    std::vector<TAddress> addresses;
    if (::getaddrinfo(host.c_str(), service.c_str(), &hints, &found) != 0)
        return addresses;
    for (const addrinfo* a = found; a; a = a->ai_next) {
        if ((a->ai_family != AF_INET && a->ai_family != AF_INET6) || a->ai_addrlen > sizeof(sockaddr_storage))
            continue;
        TAddress address;
        std::memcpy(&address.Storage, a->ai_addr, a->ai_addrlen);
        address.Length = a->ai_addrlen;
        addresses.push_back(address);
    }
    ::freeaddrinfo(found);
    return addresses;
}

bool SameAddress(const sockaddr_storage& a, const sockaddr_storage& b)
{
    if (a.ss_family != b.ss_family)
        return false;
    if (a.ss_family == AF_INET) {
        const auto& x = reinterpret_cast<const sockaddr_in&>(a);
        const auto& y = reinterpret_cast<const sockaddr_in&>(b);
        return x.sin_port == y.sin_port && x.sin_addr.s_addr == y.sin_addr.s_addr;
    }
    if (a.ss_family == AF_INET6) {
        const auto& x = reinterpret_cast<const sockaddr_in6&>(a);
        const auto& y = reinterpret_cast<const sockaddr_in6&>(b);
        return x.sin6_port == y.sin6_port && std::memcmp(&x.sin6_addr, &y.sin6_addr, sizeof x.sin6_addr) == 0;
    }
    return false;
}

int PollMilliseconds(SteadyClock::duration left)
{
    // Rounded up, so that the wait never ends a little early and spins.
    const auto ms = std::chrono::ceil<std::chrono::milliseconds>(left).count();
    return ms > 0 ? static_cast<int>(ms) : 0;
}

enum class TWake { Ready, TimedOut, Cancelled, Failed };

// Waits until fd is readable, the deadline passes or the wait is cancelled.
TWake WaitReadable(int fd, SteadyClock::time_point deadline, const TWaitCancel* cancel)
{
    for (;;) {
        if (cancel && cancel->Cancelled())
            return TWake::Cancelled;
        const auto left = deadline - SteadyClock::now();
        if (left <= SteadyClock::duration::zero())
            return TWake::TimedOut;
        pollfd fds[2] = {{fd, POLLIN, 0}, {cancel ? cancel->Fd() : -1, POLLIN, 0}};
        const int n = ::poll(fds, 2, PollMilliseconds(left));
        if (n < 0 && errno != EINTR)
            return TWake::Failed;
        if (n > 0 && (fds[0].revents & (POLLIN | POLLERR | POLLHUP)))
            return TWake::Ready;
    }
}

} // namespace

TWaitCancel::TWaitCancel() : m_fd(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK))
{
}

TWaitCancel::~TWaitCancel()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

void TWaitCancel::Cancel()
{
    const uint64_t one = 1;
    if (m_fd >= 0) {
        [[maybe_unused]] const ssize_t written = ::write(m_fd, &one, sizeof one);
    }
}

bool TWaitCancel::Cancelled() const
{
    pollfd fd{m_fd, POLLIN, 0};
    return m_fd >= 0 && ::poll(&fd, 1, 0) > 0 && (fd.revents & POLLIN);
}

struct TUdpPeer::TImpl {
    std::vector<TAddress> Addresses;
    size_t Peer = 0;
    int Socket = -1;

    ~TImpl() { CloseSocket(); }

    void CloseSocket()
    {
        if (Socket >= 0)
            ::close(Socket);
        Socket = -1;
    }
};

TUdpPeer::TUdpPeer() : m_impl(std::make_unique<TImpl>())
{
}
TUdpPeer::~TUdpPeer() = default;
TUdpPeer::TUdpPeer(TUdpPeer&&) noexcept = default;
TUdpPeer& TUdpPeer::operator=(TUdpPeer&&) noexcept = default;

TNetStatus TUdpPeer::Resolve(const std::string& host, uint16_t port, std::chrono::milliseconds wait,
                             const TWaitCancel* cancel)
{
    m_impl->CloseSocket();
    m_impl->Addresses.clear();
    m_impl->Peer = 0;
    if (host.empty() || host.find('\0') != std::string::npos)
        return TNetStatus::NoAddress;
    const std::string service = std::to_string(port);
    // A numeric address needs no resolver and no thread.
    m_impl->Addresses = LookUp(host, service, AI_NUMERICHOST);
    if (!m_impl->Addresses.empty())
        return TNetStatus::Ok;

    auto job = std::make_shared<TResolveJob>();
    job->Fd = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (job->Fd < 0)
        return TNetStatus::SocketError;
    try {
        std::thread([job, host, service] {
            std::vector<TAddress> found = LookUp(host, service, 0);
            {
                std::lock_guard lock(job->Lock);
                job->Addresses = std::move(found);
                job->Done = true;
            }
            const uint64_t one = 1;
            [[maybe_unused]] const ssize_t written = ::write(job->Fd, &one, sizeof one);
        }).detach();
    } catch (const std::system_error&) {
        return TNetStatus::SocketError;
    }
    switch (WaitReadable(job->Fd, SteadyClock::now() + wait, cancel)) {
    case TWake::TimedOut: return TNetStatus::TimedOut;
    case TWake::Cancelled: return TNetStatus::Cancelled;
    case TWake::Failed: return TNetStatus::SocketError;
    case TWake::Ready: break;
    }
    std::lock_guard lock(job->Lock);
    m_impl->Addresses = std::move(job->Addresses);
    return m_impl->Addresses.empty() ? TNetStatus::NoAddress : TNetStatus::Ok;
}

TNetStatus TUdpPeer::Send(std::span<const uint8_t> datagram)
{
    TImpl& p = *m_impl;
    if (p.Addresses.empty())
        return TNetStatus::NoAddress;
    if (p.Socket >= 0) {
        const TAddress& to = p.Addresses[p.Peer];
        const ssize_t n = ::sendto(p.Socket, datagram.data(), datagram.size(), MSG_NOSIGNAL,
                                   reinterpret_cast<const sockaddr*>(&to.Storage), to.Length);
        return n == static_cast<ssize_t>(datagram.size()) ? TNetStatus::Ok : TNetStatus::SocketError;
    }
    // An address of a family this host cannot reach (IPv6 without a route)
    // fails at once; the next one is tried.
    for (size_t i = 0; i < p.Addresses.size(); ++i) {
        const TAddress& to = p.Addresses[i];
        const int fd = ::socket(to.Storage.ss_family, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
        if (fd < 0)
            continue;
        const ssize_t n = ::sendto(fd, datagram.data(), datagram.size(), MSG_NOSIGNAL,
                                   reinterpret_cast<const sockaddr*>(&to.Storage), to.Length);
        if (n == static_cast<ssize_t>(datagram.size())) {
            p.Socket = fd;
            p.Peer = i;
            return TNetStatus::Ok;
        }
        ::close(fd);
    }
    return TNetStatus::SocketError;
}

TNetStatus TUdpPeer::Receive(std::vector<uint8_t>& datagram, std::chrono::milliseconds wait, const TWaitCancel* cancel)
{
    TImpl& p = *m_impl;
    if (p.Socket < 0)
        return TNetStatus::SocketError;
    const TAddress& peer = p.Addresses[p.Peer];
    const auto deadline = SteadyClock::now() + wait;
    uint8_t buffer[2048];
    for (;;) {
        switch (WaitReadable(p.Socket, deadline, cancel)) {
        case TWake::TimedOut: return TNetStatus::TimedOut;
        case TWake::Cancelled: return TNetStatus::Cancelled;
        case TWake::Failed: return TNetStatus::SocketError;
        case TWake::Ready: break;
        }
        sockaddr_storage from{};
        socklen_t fromLength = sizeof from;
        const ssize_t n =
            ::recvfrom(p.Socket, buffer, sizeof buffer, MSG_DONTWAIT, reinterpret_cast<sockaddr*>(&from), &fromLength);
        if (n < 0) {
            if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR || errno == ECONNREFUSED)
                continue;
            return TNetStatus::SocketError;
        }
        if (!SameAddress(from, peer.Storage))
            continue;
        datagram.assign(buffer, buffer + n);
        return TNetStatus::Ok;
    }
}

std::string TUdpPeer::PeerText() const
{
    if (m_impl->Socket < 0)
        return {};
    const sockaddr_storage& s = m_impl->Addresses[m_impl->Peer].Storage;
    char text[INET6_ADDRSTRLEN] = {};
    if (s.ss_family == AF_INET) {
        const auto& a = reinterpret_cast<const sockaddr_in&>(s);
        ::inet_ntop(AF_INET, &a.sin_addr, text, sizeof text);
        return std::string(text) + ":" + std::to_string(ntohs(a.sin_port));
    }
    const auto& a = reinterpret_cast<const sockaddr_in6&>(s);
    ::inet_ntop(AF_INET6, &a.sin6_addr, text, sizeof text);
    return "[" + std::string(text) + "]:" + std::to_string(ntohs(a.sin6_port));
}

} // namespace tramble::platform
