#pragma once

// Servers on loopback that the weather tests talk to: an HTTP server whose
// answers a test sets, and a server that accepts connections and never says
// a word.
#include <httplib.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace tramble::test {

struct TSeenRequest {
    std::string Path;
    std::multimap<std::string, std::string> Params; // decoded
    std::string UserAgent;
    std::string Accept;
    std::string ContentType;
};

class TLoopbackHttp {
public:
    using THandler = std::function<void(const httplib::Request&, httplib::Response&)>;

    // Answers every GET through handler; port 0 takes a free one.
    explicit TLoopbackHttp(THandler handler, int port = 0) : m_handler(std::move(handler))
    {
        m_server.set_tcp_nodelay(true);
        m_server.Get(".*", [this](const httplib::Request& request, httplib::Response& response) {
            {
                std::lock_guard lock(m_lock);
                m_seen.push_back({request.path,
                                  {request.params.begin(), request.params.end()},
                                  request.get_header_value("User-Agent"),
                                  request.get_header_value("Accept"),
                                  request.get_header_value("Content-Type")});
            }
            m_handler(request, response);
        });
        m_port =
            port == 0 ? m_server.bind_to_any_port("127.0.0.1") : (m_server.bind_to_port("127.0.0.1", port) ? port : -1);
        m_thread = std::thread([this] { m_server.listen_after_bind(); });
        for (int i = 0; i < 2000 && !m_server.is_running(); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ~TLoopbackHttp()
    {
        m_server.stop();
        m_thread.join();
    }

    int Port() const { return m_port; }
    std::string Host() const { return "127.0.0.1:" + std::to_string(m_port); }
    std::string Base() const { return "http://" + Host(); }

    std::vector<TSeenRequest> Seen() const
    {
        std::lock_guard lock(m_lock);
        return m_seen;
    }
    size_t Count() const
    {
        std::lock_guard lock(m_lock);
        return m_seen.size();
    }

private:
    THandler m_handler;
    httplib::Server m_server;
    int m_port = -1;
    std::thread m_thread;
    mutable std::mutex m_lock;
    std::vector<TSeenRequest> m_seen;
};

// A TCP listener on loopback: either one that accepts every connection and
// then keeps silent, or (closed at once) a port where connections are refused.
class TSilentServer {
public:
    explicit TSilentServer(bool accept = true)
    {
        m_listener = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(m_listener, reinterpret_cast<sockaddr*>(&address), sizeof address);
        socklen_t size = sizeof address;
        ::getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &size);
        m_port = ntohs(address.sin_port);
        if (!accept) {
            ::close(m_listener); // nothing listens there any more
            m_listener = -1;
            return;
        }
        ::listen(m_listener, 16);
        m_thread = std::thread([this] {
            while (!m_stop) {
                pollfd p{m_listener, POLLIN, 0};
                if (::poll(&p, 1, 20) > 0) {
                    const int connection = ::accept(m_listener, nullptr, nullptr);
                    if (connection >= 0) {
                        std::lock_guard lock(m_lock);
                        m_connections.push_back(connection);
                    }
                }
            }
        });
    }
    ~TSilentServer()
    {
        m_stop = true;
        if (m_thread.joinable())
            m_thread.join();
        for (int c : m_connections)
            ::close(c);
        if (m_listener >= 0)
            ::close(m_listener);
    }

    int Port() const { return m_port; }
    std::string Host() const { return "127.0.0.1:" + std::to_string(m_port); }
    size_t Accepted() const
    {
        std::lock_guard lock(m_lock);
        return m_connections.size();
    }

private:
    int m_listener = -1;
    int m_port = 0;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
    mutable std::mutex m_lock;
    std::vector<int> m_connections;
};

} // namespace tramble::test
