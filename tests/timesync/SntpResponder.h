#pragma once

#include "timesync/SntpMessage.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace tramble::test {

// An SNTP responder of the test's own on a loopback address. For each
// request it runs the test's script, which may answer with any bytes, after
// a pause, from its own socket or from a second socket on another port.
class SntpResponder {
public:
    struct Answer {
        std::vector<uint8_t> Bytes;
        bool FromOtherSocket = false;
        std::chrono::milliseconds After{0};
    };
    // request: the request's fields; number: 1 for the first request.
    using Script = std::function<std::vector<Answer>(const TSntpReply& request, int number)>;

    // family: AF_INET (127.0.0.1) or AF_INET6 (::1).
    // port: 0 for any free one.
    explicit SntpResponder(Script script, int family = AF_INET, uint16_t port = 0)
        : m_script(std::move(script)), m_family(family)
    {
        m_socket = Open(port);
        m_other = Open(0);
        if (m_socket < 0 || m_other < 0)
            return;
        sockaddr_storage a{};
        socklen_t length = sizeof a;
        ::getsockname(m_socket, reinterpret_cast<sockaddr*>(&a), &length);
        m_port = ntohs(family == AF_INET ? reinterpret_cast<sockaddr_in&>(a).sin_port
                                         : reinterpret_cast<sockaddr_in6&>(a).sin6_port);
        m_thread = std::thread([this] { Serve(); });
    }

    ~SntpResponder()
    {
        m_stop = true;
        if (m_thread.joinable())
            m_thread.join();
        for (int fd : {m_socket, m_other}) {
            if (fd >= 0)
                ::close(fd);
        }
    }

    bool Listening() const { return m_port != 0; }
    uint16_t Port() const { return m_port; }
    // As the server setting names it.
    std::string Server() const { return (m_family == AF_INET ? "127.0.0.1:" : "[::1]:") + std::to_string(m_port); }
    int Requests() const { return m_requests; }
    // The most requests that were waiting for their answers at one time.
    int MostOpen() const { return m_mostOpen; }

    // A well-formed answer from a server whose clock reads `serverTime`
    // when the request arrives and `hold` later when it answers.
    static Answer Good(const TSntpReply& request, TWallTime serverTime,
                       std::chrono::nanoseconds hold = std::chrono::nanoseconds::zero())
    {
        TSntpReply reply;
        reply.Version = 4;
        reply.Mode = 4;
        reply.Stratum = 2;
        reply.Originate = request.Transmit;
        reply.Receive = ToNtpTimestamp(serverTime);
        reply.Transmit = ToNtpTimestamp(serverTime + hold);
        return Bytes(reply);
    }

    static Answer Bytes(const TSntpReply& reply)
    {
        const TSntpMessage message = EncodeSntpReply(reply);
        return {std::vector<uint8_t>(message.begin(), message.end())};
    }

private:
    int Open(uint16_t port) const
    {
        const int fd = ::socket(m_family, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        if (fd < 0)
            return -1;
        sockaddr_storage a{};
        socklen_t length = 0;
        if (m_family == AF_INET) {
            auto& v4 = reinterpret_cast<sockaddr_in&>(a);
            v4.sin_family = AF_INET;
            v4.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
            v4.sin_port = htons(port);
            length = sizeof v4;
        } else {
            auto& v6 = reinterpret_cast<sockaddr_in6&>(a);
            v6.sin6_family = AF_INET6;
            v6.sin6_addr = in6addr_loopback;
            v6.sin6_port = htons(port);
            length = sizeof v6;
        }
        if (::bind(fd, reinterpret_cast<sockaddr*>(&a), length) != 0) {
            ::close(fd);
            return -1;
        }
        return fd;
    }

    struct Pending {
        std::chrono::steady_clock::time_point Due;
        Answer What;
        sockaddr_storage To;
        socklen_t ToLength;
        bool LastOfRequest;
    };

    // Answers wait in a queue, so that requests keep being read while an
    // answer is held back.
    void Serve()
    {
        std::vector<Pending> pending;
        while (!m_stop) {
            const auto now = std::chrono::steady_clock::now();
            for (auto it = pending.begin(); it != pending.end();) {
                if (it->Due > now) {
                    ++it;
                    continue;
                }
                ::sendto(it->What.FromOtherSocket ? m_other : m_socket, it->What.Bytes.data(), it->What.Bytes.size(), 0,
                         reinterpret_cast<sockaddr*>(&it->To), it->ToLength);
                if (it->LastOfRequest)
                    ++m_answered;
                it = pending.erase(it);
            }
            pollfd p{m_socket, POLLIN, 0};
            if (::poll(&p, 1, 5) <= 0)
                continue;
            uint8_t buffer[512];
            sockaddr_storage from{};
            socklen_t fromLength = sizeof from;
            const ssize_t n =
                ::recvfrom(m_socket, buffer, sizeof buffer, 0, reinterpret_cast<sockaddr*>(&from), &fromLength);
            if (n < 0)
                continue;
            const int number = ++m_requests;
            m_mostOpen = std::max<int>(m_mostOpen, number - m_answered);
            const std::optional<TSntpReply> request = ParseSntpReply(std::span<const uint8_t>(buffer, n));
            std::vector<Answer> answers = m_script(request.value_or(TSntpReply{}), number);
            if (answers.empty())
                ++m_answered;
            auto due = std::chrono::steady_clock::now();
            for (size_t i = 0; i < answers.size(); ++i) {
                due += answers[i].After;
                pending.push_back({due, std::move(answers[i]), from, fromLength, i + 1 == answers.size()});
            }
        }
    }

    Script m_script;
    int m_family;
    int m_socket = -1;
    int m_other = -1;
    uint16_t m_port = 0;
    std::atomic<bool> m_stop = false;
    std::atomic<int> m_requests = 0;
    std::atomic<int> m_answered = 0;
    std::atomic<int> m_mostOpen = 0;
    std::thread m_thread;
};

} // namespace tramble::test
