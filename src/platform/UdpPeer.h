#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace tramble::platform {

// Ends the waits of a running exchange from another thread (shut-down, a
// new server). Once cancelled it stays cancelled.
class TWaitCancel {
public:
    TWaitCancel();
    ~TWaitCancel();
    TWaitCancel(const TWaitCancel&) = delete;
    TWaitCancel& operator=(const TWaitCancel&) = delete;

    void Cancel();
    bool Cancelled() const;
    // Readable once cancelled, for poll().
    int Fd() const { return m_fd; }

private:
    int m_fd = -1;
};

enum class TNetStatus { Ok, NoAddress, SocketError, TimedOut, Cancelled };

// One UDP conversation with a server: its name resolved by the system
// resolver (IPv4 and IPv6), datagrams sent to one of its addresses and
// answers taken only from that address and port.
class TUdpPeer {
public:
    TUdpPeer();
    ~TUdpPeer();
    TUdpPeer(TUdpPeer&&) noexcept;
    TUdpPeer& operator=(TUdpPeer&&) noexcept;

    // Resolves host (a name or a numeric address, IPv6 without brackets),
    // waiting at most `wait`: a resolver that hangs costs the attempt, never
    // the caller's thread beyond the wait.
    TNetStatus Resolve(const std::string& host, uint16_t port, std::chrono::milliseconds wait,
                       const TWaitCancel* cancel = nullptr);

    // Sends one datagram to the first resolved address that takes it; the
    // later Receive listens on that socket.
    TNetStatus Send(std::span<const uint8_t> datagram);

    // Waits at most `wait` in all for one datagram from the address and port
    // sent to. Datagrams from anywhere else are dropped and the wait goes on.
    TNetStatus Receive(std::vector<uint8_t>& datagram, std::chrono::milliseconds wait,
                       const TWaitCancel* cancel = nullptr);

    // The address sent to, such as "127.0.0.1:123" or "[::1]:123"; empty
    // before a send.
    std::string PeerText() const;

private:
    struct TImpl;
    std::unique_ptr<TImpl> m_impl;
};

} // namespace tramble::platform
