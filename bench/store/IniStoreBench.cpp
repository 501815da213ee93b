// Load + random reads, and load + one write + save, for the store and two
// well-known INI libraries on the same generated files.
#include "store/FastIniFile.h"

#include <INIReader.h>
#define SI_CONVERT_ICU
#include <SimpleIni.h>
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct Lookup {
    std::string section;
    std::string key;
};

struct Corpus {
    std::string path;
    std::vector<Lookup> lookups; // 1,000 random existing keys
};

fs::path BenchFolder()
{
    static const fs::path folder = [] {
        fs::path path = fs::temp_directory_path() / ("tramble-ini-bench-" + std::to_string(::getpid()));
        fs::create_directories(path);
        return path;
    }();
    return folder;
}

Corpus MakeCorpus(const std::string& name, int sections, int keys, bool comments)
{
    Corpus corpus;
    corpus.path = (BenchFolder() / name).string();
    std::ofstream out(corpus.path, std::ios::binary);
    for (int s = 0; s < sections; ++s) {
        if (comments)
            out << "; options of group " << s << "\r\n";
        out << "[Section" << s << "]\r\n";
        for (int k = 0; k < keys; ++k) {
            out << "Key" << k << "=Value " << s << "." << k;
            if (comments && k % 3 == 0)
                out << " ; note " << k;
            out << "\r\n";
        }
        out << "\r\n";
    }
    std::mt19937 random(42);
    for (int i = 0; i < 1000; ++i) {
        int s = static_cast<int>(random() % static_cast<unsigned>(sections));
        int k = static_cast<int>(random() % static_cast<unsigned>(keys));
        corpus.lookups.push_back({"Section" + std::to_string(s), "Key" + std::to_string(k)});
    }
    return corpus;
}

const Corpus& ManySections()
{
    static const Corpus corpus = MakeCorpus("many-sections.ini", 4000, 250, false);
    return corpus;
}
const Corpus& OneHugeSection()
{
    static const Corpus corpus = MakeCorpus("one-section.ini", 1, 1000000, false);
    return corpus;
}
const Corpus& SettingsLike()
{
    static const Corpus corpus = MakeCorpus("settings-like.ini", 250, 18, true);
    return corpus;
}

const Corpus& CorpusFor(int which)
{
    switch (which) {
    case 0: return ManySections();
    case 1: return OneHugeSection();
    default: return SettingsLike();
    }
}

void Label(benchmark::State& state)
{
    static const char* names[] = {"4000x250", "1x1000000", "settings-5000-lines"};
    state.SetLabel(names[state.range(0)]);
}

void BM_Tramble_LoadAndRead(benchmark::State& state)
{
    const Corpus& corpus = CorpusFor(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        tramble::TFastIniFile store(corpus.path);
        size_t total = 0;
        for (const auto& lookup : corpus.lookups)
            total += store.ReadText(lookup.section, lookup.key, "").size();
        benchmark::DoNotOptimize(total);
    }
    Label(state);
}

void BM_Inih_LoadAndRead(benchmark::State& state)
{
    const Corpus& corpus = CorpusFor(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        INIReader reader(corpus.path);
        size_t total = 0;
        for (const auto& lookup : corpus.lookups)
            total += reader.Get(lookup.section, lookup.key, "").size();
        benchmark::DoNotOptimize(total);
    }
    Label(state);
}

void BM_SimpleIni_LoadAndRead(benchmark::State& state)
{
    const Corpus& corpus = CorpusFor(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        CSimpleIniA ini;
        ini.LoadFile(corpus.path.c_str());
        size_t total = 0;
        for (const auto& lookup : corpus.lookups)
            total += std::strlen(ini.GetValue(lookup.section.c_str(), lookup.key.c_str(), ""));
        benchmark::DoNotOptimize(total);
    }
    Label(state);
}

std::string WorkCopy(const Corpus& corpus)
{
    std::string copy = corpus.path + ".work";
    fs::copy_file(corpus.path, copy, fs::copy_options::overwrite_existing);
    return copy;
}

void BM_Tramble_LoadWriteFlush(benchmark::State& state)
{
    const Corpus& corpus = CorpusFor(static_cast<int>(state.range(0)));
    const std::string path = WorkCopy(corpus);
    int round = 0;
    for (auto _ : state) {
        tramble::TFastIniFile store(path);
        store.WriteText(corpus.lookups[0].section, corpus.lookups[0].key, std::to_string(++round));
        store.Flush();
    }
    Label(state);
}

void BM_SimpleIni_LoadWriteSave(benchmark::State& state)
{
    const Corpus& corpus = CorpusFor(static_cast<int>(state.range(0)));
    const std::string path = WorkCopy(corpus);
    int round = 0;
    for (auto _ : state) {
        CSimpleIniA ini;
        ini.LoadFile(path.c_str());
        ini.SetValue(corpus.lookups[0].section.c_str(), corpus.lookups[0].key.c_str(), std::to_string(++round).c_str());
        ini.SaveFile(path.c_str());
    }
    Label(state);
}

// inih only reads; its write figure is left out.

} // namespace

BENCHMARK(BM_Tramble_LoadAndRead)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Inih_LoadAndRead)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SimpleIni_LoadAndRead)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Tramble_LoadWriteFlush)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SimpleIni_LoadWriteSave)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove_all(BenchFolder());
    return 0;
}
