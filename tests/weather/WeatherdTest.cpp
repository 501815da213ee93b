// The gateway as a program of its own: started, asked, stopped by a signal.
#include "OpenMeteoFixtures.h"
#include "Servers.h"
#include "weather/WeatherRequests.h"
#include "weather/WeatherXml.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <spawn.h>
#include <sys/wait.h>

namespace tramble {
namespace {

struct TProgram {
    pid_t Pid = -1;
    FILE* Out = nullptr;

    explicit TProgram(std::vector<std::string> args)
    {
        int pipeEnds[2];
        if (::pipe(pipeEnds) != 0)
            return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], 1);
        posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
        args.insert(args.begin(), TRAMBLE_WEATHERD);
        std::vector<char*> argv;
        for (std::string& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        posix_spawn(&Pid, TRAMBLE_WEATHERD, &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        ::close(pipeEnds[1]);
        Out = ::fdopen(pipeEnds[0], "r");
    }
    ~TProgram()
    {
        if (Pid > 0 && ::waitpid(Pid, nullptr, WNOHANG) == 0) {
            ::kill(Pid, SIGKILL);
            ::waitpid(Pid, nullptr, 0);
        }
        if (Out)
            std::fclose(Out);
    }
    std::string Line()
    {
        char buffer[256] = {};
        return Out && std::fgets(buffer, sizeof buffer, Out) ? std::string(buffer) : std::string();
    }
    int Wait()
    {
        int status = 0;
        ::waitpid(Pid, &status, 0);
        Pid = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
};

TEST(Weatherd, ServesSearchesFromItsUpstreamAndStopsOnSigterm)
{
    test::TLoopbackHttp upstream(
        [](const httplib::Request&, httplib::Response& r) { r.set_content(test::kGeocodingJson, "application/json"); });
    TProgram program({"--listen", "127.0.0.1:0", "--language", "zh", "--geocoding-url", upstream.Base()});
    const std::string line = program.Line();
    const std::string prefix = "listening on 127.0.0.1:";
    ASSERT_TRUE(line.starts_with(prefix)) << line;
    const std::string host = "127.0.0.1:" + std::to_string(std::stoi(line.substr(prefix.size())));

    THttpClient client;
    const THttpResult result = client.Get(WeatherServiceRequest(CitySearchUrl(host, "Wu han")));
    ASSERT_TRUE(result.Ok) << result.Error;
    EXPECT_EQ(ParseCityList(result.Body).size(), 2u);
    ASSERT_EQ(upstream.Count(), 1u);
    EXPECT_EQ(upstream.Seen()[0].Params.find("name")->second, "Wu han");
    EXPECT_EQ(upstream.Seen()[0].Params.find("language")->second, "zh");

    ::kill(program.Pid, SIGTERM);
    EXPECT_EQ(program.Wait(), 0);
}

TEST(Weatherd, RefusesWhatItCannotUse)
{
    const std::vector<std::vector<std::string>> cases{
        {}, {"--listen"}, {"--listen", "nowhere"}, {"--listen", "127.0.0.1:1", "--language", "fr"}, {"--port", "80"},
    };
    for (const auto& args : cases) {
        TProgram program(args);
        EXPECT_EQ(program.Wait(), 2) << (args.empty() ? "" : args[0]);
    }
}

} // namespace
} // namespace tramble
