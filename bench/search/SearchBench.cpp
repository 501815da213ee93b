// The application index of 2,000 generated desktop files beside a plain read
// of the same files, and one keystroke's matching and ranking over 2,000
// applications beside a plain substring scan of their names.
#include "search/AppIndex.h"
#include "search/SearchItems.h"
#include "text/Utf8Text.h"

#include "support/TempDir.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace {

namespace fs = std::filesystem;
using namespace tramble;

constexpr int kApps = 2000;

const char* const kWords[] = {"Text", "Photo", "Music", "Video", "Office", "Terminal", "Mail", "Web", "Code", "Disk"};

std::string Name(int i)
{
    return std::string(kWords[i % 10]) + " " + kWords[(i / 10) % 10] + " Tool " + std::to_string(i);
}

// A tree like a full desktop's: subfolders, localized names, keywords.
const test::TempDir& Tree()
{
    static const test::TempDir dir;
    static const bool written = [] {
        for (int i = 0; i < kApps; ++i) {
            const fs::path folder = dir.path() / "share" / "applications" / (i % 4 == 0 ? "vendor" : "");
            fs::create_directories(folder);
            std::ofstream(folder / ("app" + std::to_string(i) + ".desktop"))
                << "[Desktop Entry]\nType=Application\nName=" << Name(i) << "\nName[zh_CN]=工具 " << i
                << "\nName[de]=Werkzeug " << i << "\nGenericName=" << kWords[(i / 3) % 10]
                << " Application\nComment=A generated application for measuring\nKeywords=" << kWords[i % 7] << ";"
                << kWords[(i + 3) % 10] << ";\nExec=/usr/bin/tool" << i << " --open %U\nIcon=tool" << i
                << "\nCategories=Utility;\nTerminal=false\n"
                << (i % 50 == 0 ? "NoDisplay=true\n" : "");
        }
        return true;
    }();
    (void)written;
    return dir;
}

TIndexPlaces Places()
{
    TIndexPlaces places;
    places.DataFolders = {(Tree().path() / "share").string()};
    places.Filter.Locale = "zh_CN.UTF-8";
    places.Filter.PathList = "/usr/bin";
    return places;
}

void BM_BuildIndex(benchmark::State& state)
{
    const TIndexPlaces places = Places();
    for (auto _ : state) {
        TAppIndex index = BuildAppIndex(places);
        benchmark::DoNotOptimize(index.Apps.data());
    }
}
BENCHMARK(BM_BuildIndex)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

// The floor: walking the same tree and reading every file whole.
void BM_PlainReadOfTheFiles(benchmark::State& state)
{
    const fs::path root = Tree().path() / "share" / "applications";
    for (auto _ : state) {
        size_t bytes = 0;
        for (const fs::directory_entry& item : fs::recursive_directory_iterator(root)) {
            if (!item.is_regular_file())
                continue;
            std::ifstream in(item.path(), std::ios::binary);
            const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
            bytes += text.size();
        }
        benchmark::DoNotOptimize(bytes);
    }
}
BENCHMARK(BM_PlainReadOfTheFiles)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

struct TItems {
    std::vector<TSearchItem> Items;
    std::vector<std::string> Names;
};

const TItems& Items()
{
    static const TItems items = [] {
        TItems built;
        const TAppIndex index = BuildAppIndex(Places());
        TLaunchCounts launches;
        for (size_t i = 0; i < index.Apps.size(); ++i) {
            built.Items.push_back(AppItem(index.Apps[i], i, launches));
            built.Names.push_back(FoldText(index.Apps[i].Name));
        }
        // The matching itself is what is measured: bring the index to 2,000 shown.
        while (built.Items.size() < static_cast<size_t>(kApps)) {
            built.Items.push_back(built.Items[built.Items.size() % index.Apps.size()]);
            built.Names.push_back(built.Names[built.Names.size() % index.Apps.size()]);
        }
        return built;
    }();
    return items;
}

const char* const kQueries[] = {"te", "ter", "term", "tool 19", "ph mu", "工具", "zzz"};

void BM_RankOneKeystroke(benchmark::State& state)
{
    const TItems& items = Items();
    const std::string query = kQueries[state.range(0)];
    for (auto _ : state) {
        std::vector<TSearchHit> hits = RankItems(items.Items, query);
        benchmark::DoNotOptimize(hits.data());
    }
    state.SetLabel(query);
}
BENCHMARK(BM_RankOneKeystroke)->DenseRange(0, 6)->Unit(benchmark::kMicrosecond);

// The floor: one substring search in each folded name, no ranking.
void BM_PlainSubstringScan(benchmark::State& state)
{
    const TItems& items = Items();
    const std::string query = kQueries[state.range(0)];
    for (auto _ : state) {
        size_t found = 0;
        for (const std::string& name : items.Names)
            found += name.find(query) != std::string::npos;
        benchmark::DoNotOptimize(found);
    }
    state.SetLabel(query);
}
BENCHMARK(BM_PlainSubstringScan)->DenseRange(0, 6)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
