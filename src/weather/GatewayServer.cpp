#include "weather/GatewayServer.h"

#include "weather/WeatherRequests.h"
#include "weather/WeatherXml.h"

#include <httplib.h>

#include <thread>

namespace tramble {
namespace {

// A route pattern (a regular expression to httplib) that matches the path only.
std::string Literal(std::string_view path)
{
    std::string pattern;
    for (char c : path) {
        if (c == '.')
            pattern += '\\';
        pattern += c;
    }
    return pattern;
}

void Reply(httplib::Response& response, const TGatewayAnswer& answer)
{
    response.status = answer.Status;
    response.set_content(answer.Body, answer.ContentType);
}

} // namespace

struct TGatewayServer::TServer {
    httplib::Server Http;
    std::thread Listener;
};

TGatewayServer::TGatewayServer(TWeatherGateway& gateway) : m_gateway(gateway)
{
}

TGatewayServer::~TGatewayServer()
{
    Stop();
}

bool TGatewayServer::Start(const std::string& address, int port, int threads)
{
    Stop();
    auto server = std::make_unique<TServer>();
    httplib::Server& http = server->Http;
    // httplib takes ownership of the queue it is handed.
    http.new_task_queue = [threads] { return new httplib::ThreadPool(size_t(std::max(1, threads))); };
    http.set_keep_alive_timeout(1);
    // Headers and body leave in two writes: without this the second waits
    // for the client's delayed acknowledgement.
    http.set_tcp_nodelay(true);
    http.Get(Literal(kWeatherDataPath), [this](const httplib::Request& request, httplib::Response& response) {
        Reply(response, m_gateway.WeatherData(request.get_param_value("location")));
    });
    http.Get(Literal(kCityFindPath), [this](const httplib::Request& request, httplib::Response& response) {
        Reply(response, m_gateway.CityFind(request.get_param_value("location")));
    });
    const int bound = port == 0 ? http.bind_to_any_port(address) : (http.bind_to_port(address, port) ? port : -1);
    if (bound <= 0)
        return false;
    server->Listener = std::thread([&http] { http.listen_after_bind(); });
    // A stop before the listener runs would be lost: wait until it runs.
    for (int i = 0; i < 2000 && !http.is_running(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    m_server = std::move(server);
    m_port = bound;
    return true;
}

void TGatewayServer::Stop()
{
    if (!m_server)
        return;
    m_server->Http.stop();
    if (m_server->Listener.joinable())
        m_server->Listener.join();
    m_server.reset();
    m_port = 0;
}

std::optional<TListenAddress> ParseListenAddress(std::string_view text)
{
    const size_t colon = text.rfind(':');
    if (colon == std::string_view::npos || colon == 0)
        return std::nullopt;
    std::string_view host = text.substr(0, colon);
    if (host.front() == '[') {
        if (host.size() < 3 || host.back() != ']')
            return std::nullopt;
        host = host.substr(1, host.size() - 2);
    }
    int32_t port = 0;
    const std::string_view digits = text.substr(colon + 1);
    if (digits.empty() || digits.front() < '0' || digits.front() > '9' || !TextToInt32(digits, port) || port > 65535)
        return std::nullopt;
    return TListenAddress{std::string(host), port};
}

} // namespace tramble
