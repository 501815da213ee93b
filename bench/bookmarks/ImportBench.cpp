// Import of 50,000 bookmarks: Firefox's places.sqlite against a plain SQLite
// SELECT of the same rows, and Chromium's JSON against parsing it alone.
#include "bookmarks/ChromiumBookmarks.h"
#include "bookmarks/FirefoxBookmarks.h"

#include <benchmark/benchmark.h>
#include <nlohmann/json.hpp>
#include <sqlite3.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;

constexpr int kBookmarks = 50000;
constexpr int kFolders = 500;

struct TSample {
    fs::path Folder;
    std::string Places;
    std::string Json;
};

void Exec(sqlite3* db, const std::string& sql)
{
    sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
}

// A profile of 500 folders under the menu, each with 100 bookmarks.
TSample MakeSample()
{
    TSample sample;
    std::string folder = (fs::temp_directory_path() / "tramble-bench-XXXXXX").string();
    sample.Folder = ::mkdtemp(folder.data());
    sample.Places = (sample.Folder / "places.sqlite").string();
    sqlite3* db = nullptr;
    sqlite3_open(sample.Places.c_str(), &db);
    Exec(db, "PRAGMA synchronous=OFF");
    Exec(db, "CREATE TABLE moz_places (id INTEGER PRIMARY KEY, url LONGVARCHAR, title LONGVARCHAR, guid TEXT)");
    Exec(db, "CREATE TABLE moz_bookmarks (id INTEGER PRIMARY KEY, type INTEGER, fk INTEGER DEFAULT NULL, "
             "parent INTEGER, position INTEGER, title LONGVARCHAR, guid TEXT)");
    Exec(db, "BEGIN");
    Exec(db, "INSERT INTO moz_bookmarks VALUES (1, 2, NULL, 0, 0, '', 'root________')");
    Exec(db, "INSERT INTO moz_bookmarks VALUES (2, 2, NULL, 1, 0, 'menu', 'menu________')");
    nlohmann::json children = nlohmann::json::array();
    int id = 10;
    for (int f = 0; f < kFolders; ++f) {
        const int folderId = id++;
        const std::string name = "Folder " + std::to_string(f);
        Exec(db, "INSERT INTO moz_bookmarks VALUES (" + std::to_string(folderId) + ", 2, NULL, 2, " +
                     std::to_string(f) + ", '" + name + "', 'f" + std::to_string(folderId) + "')");
        nlohmann::json items = nlohmann::json::array();
        for (int b = 0; b < kBookmarks / kFolders; ++b) {
            const int bookmark = id++;
            const std::string url = "https://site" + std::to_string(bookmark) + ".example/path?q=" + std::to_string(b);
            const std::string title = "Bookmark number " + std::to_string(bookmark);
            Exec(db, "INSERT INTO moz_places VALUES (" + std::to_string(bookmark) + ", '" + url + "', '" + title +
                         "', 'p')");
            Exec(db, "INSERT INTO moz_bookmarks VALUES (" + std::to_string(bookmark) + ", 1, " +
                         std::to_string(bookmark) + ", " + std::to_string(folderId) + ", " + std::to_string(b) + ", '" +
                         title + "', 'b" + std::to_string(bookmark) + "')");
            items.push_back({{"type", "url"}, {"name", title}, {"url", url}});
        }
        children.push_back({{"type", "folder"}, {"name", name}, {"children", std::move(items)}});
    }
    Exec(db, "COMMIT");
    sqlite3_close(db);
    nlohmann::json document = {
        {"roots", {{"bookmark_bar", {{"name", "Bookmarks bar"}, {"type", "folder"}, {"children", children}}}}}};
    sample.Json = document.dump();
    return sample;
}

const TSample& Sample()
{
    static const TSample sample = MakeSample();
    return sample;
}

void BM_FirefoxImport(benchmark::State& state)
{
    const TSample& sample = Sample();
    for (auto _ : state) {
        const tramble::TBookmarkModel model = tramble::ReadFirefoxBookmarks(sample.Places, sample.Folder.string());
        benchmark::DoNotOptimize(model.GroupCount());
    }
    state.SetItemsProcessed(state.iterations() * kBookmarks);
}
BENCHMARK(BM_FirefoxImport)->Unit(benchmark::kMillisecond);

// The peer: the same query over the same file, each row's text read, no copy
// and no grouping.
void BM_PlainSqliteSelect(benchmark::State& state)
{
    const TSample& sample = Sample();
    for (auto _ : state) {
        sqlite3* db = nullptr;
        sqlite3_open_v2(sample.Places.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
        sqlite3_stmt* rows = nullptr;
        sqlite3_prepare_v2(db,
                           "SELECT b.id, b.type, b.parent, b.title, b.guid, p.url FROM moz_bookmarks b "
                           "LEFT JOIN moz_places p ON p.id = b.fk ORDER BY b.parent, b.position, b.id",
                           -1, &rows, nullptr);
        size_t bytes = 0;
        while (sqlite3_step(rows) == SQLITE_ROW)
            bytes += static_cast<size_t>(sqlite3_column_bytes(rows, 3) + sqlite3_column_bytes(rows, 5));
        sqlite3_finalize(rows);
        sqlite3_close(db);
        benchmark::DoNotOptimize(bytes);
    }
    state.SetItemsProcessed(state.iterations() * kBookmarks);
}
BENCHMARK(BM_PlainSqliteSelect)->Unit(benchmark::kMillisecond);

void BM_ChromiumImport(benchmark::State& state)
{
    const TSample& sample = Sample();
    for (auto _ : state) {
        const tramble::TBookmarkModel model = tramble::ParseChromiumBookmarks(sample.Json);
        benchmark::DoNotOptimize(model.GroupCount());
    }
    state.SetItemsProcessed(state.iterations() * kBookmarks);
}
BENCHMARK(BM_ChromiumImport)->Unit(benchmark::kMillisecond);

// The peer: parsing the same text into a JSON tree, nothing more.
void BM_PlainJsonParse(benchmark::State& state)
{
    const TSample& sample = Sample();
    for (auto _ : state) {
        const nlohmann::json document = nlohmann::json::parse(sample.Json);
        benchmark::DoNotOptimize(document.size());
    }
    state.SetItemsProcessed(state.iterations() * kBookmarks);
}
BENCHMARK(BM_PlainJsonParse)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::error_code ignored;
    fs::remove_all(Sample().Folder, ignored);
    return 0;
}
