// tramble-weatherd: the weather gateway as a program of its own, for a host
// that serves the weather to several bars.
#include "weather/GatewayServer.h"
#include "weather/WeatherGateway.h"

#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

using namespace tramble;

namespace {

int Usage()
{
    std::fputs("usage: tramble-weatherd --listen ADDR:PORT [--language en|zh]\n"
               "                        [--forecast-url URL] [--geocoding-url URL]\n",
               stderr);
    return 2;
}

} // namespace

int main(int argc, char* argv[])
{
    std::string listen;
    TGatewaySettings settings;
    TGatewayLanguage language = TGatewayLanguage::English;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (i + 1 >= argc)
            return Usage();
        const char* value = argv[++i];
        if (arg == "--listen")
            listen = value;
        else if (arg == "--forecast-url")
            settings.ForecastBase = value;
        else if (arg == "--geocoding-url")
            settings.GeocodingBase = value;
        else if (arg == "--language" && std::strcmp(value, "zh") == 0)
            language = TGatewayLanguage::Chinese;
        else if (arg == "--language" && std::strcmp(value, "en") == 0)
            language = TGatewayLanguage::English;
        else
            return Usage();
    }
    const std::optional<TListenAddress> address = ParseListenAddress(listen);
    if (!address)
        return Usage();

    // The signals are taken by sigwait below, not by a handler on some thread.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    TWeatherGateway gateway(settings, SystemClock());
    gateway.SetLanguage(language);
    TGatewayServer server(gateway);
    if (!server.Start(address->Host, address->Port, 8)) {
        std::fprintf(stderr, "tramble-weatherd: cannot listen on %s\n", listen.c_str());
        return 1;
    }
    std::printf("listening on %s:%d\n", address->Host.c_str(), server.Port());
    std::fflush(stdout);
    int received = 0;
    sigwait(&stopSignals, &received);
    server.Stop();
    return 0;
}
