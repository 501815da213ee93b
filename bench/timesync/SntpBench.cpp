// One SNTP exchange against a real chronyd on loopback, as the clock sync
// makes it (name, socket, request, checked reply, arithmetic), beside plain
// UDP round trips of the same 48 bytes to the same server: the kernel's and
// chrony's own cost, a floor. The clock is only read, never set.
#include "support/ChronyServer.h"
#include "timesync/SntpClient.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

using namespace tramble;

namespace {

class NoSetter final : public platform::TClockSetter {
public:
    bool KeptSynchronised() const override { return true; }
    TChange SetWall(std::chrono::system_clock::time_point) override { return TChange::Refused; }
};

test::ChronyServer& Chrony()
{
    static test::ChronyServer server;
    return server;
}

sockaddr_in ChronyAddress()
{
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(Chrony().Port());
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return to;
}

bool RoundTrip(int fd, const sockaddr_in& to)
{
    uint8_t request[48] = {0x1B};
    request[47] = 1;
    if (::sendto(fd, request, sizeof request, 0, reinterpret_cast<const sockaddr*>(&to), sizeof to) != 48)
        return false;
    pollfd p{fd, POLLIN, 0};
    uint8_t reply[64];
    return ::poll(&p, 1, 3000) > 0 && ::recv(fd, reply, sizeof reply, 0) >= 48;
}

void SntpExchange(benchmark::State& state)
{
    if (!Chrony().Serving()) {
        state.SkipWithError(("chronyd cannot serve: " + Chrony().Reason()).c_str());
        return;
    }
    NoSetter setter;
    TSntpClient client(SystemClock(), setter);
    client.SetServer("127.0.0.1:" + std::to_string(Chrony().Port()));
    std::vector<double> offsets;
    double delaySum = 0;
    int64_t failed = 0;
    for (auto _ : state) {
        if (client.GetServerTime() == 0) {
            ++failed;
            continue;
        }
        offsets.push_back(std::chrono::duration<double, std::micro>(client.Times().Offset).count());
        delaySum += std::chrono::duration<double, std::micro>(client.Times().Delay).count();
    }
    if (!offsets.empty()) {
        // Scheduling on a busy machine makes a few exchanges lopsided: the
        // median says what the clock comparison is.
        std::sort(offsets.begin(), offsets.end());
        state.counters["offset_median_us"] = offsets[offsets.size() / 2];
        state.counters["offset_p99_us"] = offsets[offsets.size() * 99 / 100];
        state.counters["offset_p1_us"] = offsets[offsets.size() / 100];
        state.counters["delay_mean_us"] = delaySum / static_cast<double>(offsets.size());
    }
    state.counters["failed"] = static_cast<double>(failed);
}
BENCHMARK(SntpExchange)->UseRealTime();

void PlainUdpRoundTrip(benchmark::State& state)
{
    if (!Chrony().Serving()) {
        state.SkipWithError("chronyd cannot serve");
        return;
    }
    const sockaddr_in to = ChronyAddress();
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    for (auto _ : state)
        benchmark::DoNotOptimize(RoundTrip(fd, to));
    ::close(fd);
}
BENCHMARK(PlainUdpRoundTrip)->UseRealTime();

void PlainUdpRoundTripNewSocket(benchmark::State& state)
{
    if (!Chrony().Serving()) {
        state.SkipWithError("chronyd cannot serve");
        return;
    }
    const sockaddr_in to = ChronyAddress();
    for (auto _ : state) {
        const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        benchmark::DoNotOptimize(RoundTrip(fd, to));
        ::close(fd);
    }
}
BENCHMARK(PlainUdpRoundTripNewSocket)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
