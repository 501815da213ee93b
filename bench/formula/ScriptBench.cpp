// A 65000-round loop as whole processes: tramble-calc running the script and
// reading the sum back, against bc running the same loop.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

std::string WriteTemp(const std::string& name, const std::string& text)
{
    const std::string path = "/tmp/tramble-bench-" + std::to_string(::getpid()) + "-" + name;
    std::ofstream(path) << text;
    return path;
}

// Runs the program with its output thrown away; false when it failed.
bool RunQuietly(const std::vector<std::string>& args)
{
    std::vector<char*> argv;
    for (const std::string& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid;
    const int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    return spawned == 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void RunProcess(benchmark::State& state, const std::vector<std::string>& args)
{
    for (auto _ : state) {
        if (!RunQuietly(args)) {
            state.SkipWithError("the program failed");
            break;
        }
    }
}

const std::vector<std::string>& TrambleCommand()
{
    static const std::vector<std::string> command = {
        TRAMBLE_CALC, "--script",
        WriteTemp("loop.txt", "i:=0; s:=0;\nWHILE i<65000 DO {\n  i:=i+1; s:=s+i*2\n}\nEND.\n"), "s"};
    return command;
}

const std::vector<std::string>& BcCommand()
{
    static const std::vector<std::string> command = {
        "bc", "-q", WriteTemp("loop.bc", "i=0; s=0\nwhile (i<65000) { i=i+1; s=s+i*2 }\ns\nquit\n")};
    return command;
}

void BM_TrambleCalcLoop(benchmark::State& state)
{
    RunProcess(state, TrambleCommand());
}
BENCHMARK(BM_TrambleCalcLoop)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);

void BM_BcLoop(benchmark::State& state)
{
    RunProcess(state, BcCommand());
}
BENCHMARK(BM_BcLoop)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);

// Both programs in turn within each iteration, so a busy machine slows both
// alike; the ratio counter is tramble-calc's time over bc's.
void BM_LoopSideBySide(benchmark::State& state)
{
    using Clock = std::chrono::steady_clock;
    double trambleSeconds = 0;
    double bcSeconds = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        const bool trambleOk = RunQuietly(TrambleCommand());
        const auto middle = Clock::now();
        const bool bcOk = RunQuietly(BcCommand());
        const auto end = Clock::now();
        if (!trambleOk || !bcOk) {
            state.SkipWithError("a program failed");
            break;
        }
        trambleSeconds += std::chrono::duration<double>(middle - start).count();
        bcSeconds += std::chrono::duration<double>(end - middle).count();
    }
    const double runs = static_cast<double>(state.iterations());
    if (runs > 0 && bcSeconds > 0) {
        state.counters["tramble_ms"] = trambleSeconds / runs * 1000;
        state.counters["bc_ms"] = bcSeconds / runs * 1000;
        state.counters["ratio"] = trambleSeconds / bcSeconds;
    }
}
BENCHMARK(BM_LoopSideBySide)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);

} // namespace

BENCHMARK_MAIN();
