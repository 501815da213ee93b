#pragma once

#include "weather/WeatherGateway.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace tramble {

// The gateway's listening side (cpp-httplib): answers the weather service's
// two paths, nothing else, on its own threads.
class TGatewayServer {
public:
    explicit TGatewayServer(TWeatherGateway& gateway);
    ~TGatewayServer(); // Stop()
    TGatewayServer(const TGatewayServer&) = delete;
    TGatewayServer& operator=(const TGatewayServer&) = delete;

    // Binds address:port (port 0: a free one) and starts serving; false when
    // the address cannot be bound.
    bool Start(const std::string& address, int port, int threads = 2);
    // The bound port; 0 before Start.
    int Port() const { return m_port; }
    void Stop();

private:
    struct TServer;
    TWeatherGateway& m_gateway;
    std::unique_ptr<TServer> m_server;
    int m_port = 0;
};

struct TListenAddress {
    std::string Host; // without brackets
    int Port = 0;
};
// "ADDR:PORT" ("127.0.0.1:8080", "[::1]:8080"); empty when malformed.
std::optional<TListenAddress> ParseListenAddress(std::string_view text);

} // namespace tramble
