#include "bookmarks/FirefoxBookmarks.h"

#include "bookmarks/BrowserImport.h"

#include <sqlite3.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <unordered_map>
#include <vector>

namespace tramble {
namespace {

namespace fs = std::filesystem;

constexpr int kTypeBookmark = 1;
constexpr int kTypeFolder = 2;

// A private folder for the copy of the database, removed with it.
class TTempFolder {
public:
    explicit TTempFolder(const std::string& base)
    {
        std::string pattern = (fs::path(base) / "tramble-places-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            throw EImportError("No temporary folder could be made in \"" + base + "\".");
        m_path = pattern;
    }
    ~TTempFolder()
    {
        std::error_code ignored;
        fs::remove_all(m_path, ignored);
    }
    TTempFolder(const TTempFolder&) = delete;
    TTempFolder& operator=(const TTempFolder&) = delete;

    const fs::path& Path() const { return m_path; }

private:
    fs::path m_path;
};

class TDatabase {
public:
    explicit TDatabase(const fs::path& file)
    {
        // The copy is ours alone, so it may be opened for writing: SQLite
        // needs that to read a database together with its write-ahead log.
        const int rc = sqlite3_open_v2(file.c_str(), &m_db, SQLITE_OPEN_READWRITE, nullptr);
        if (rc != SQLITE_OK)
            Fail();
    }
    ~TDatabase() { sqlite3_close(m_db); }
    TDatabase(const TDatabase&) = delete;
    TDatabase& operator=(const TDatabase&) = delete;

    sqlite3* Handle() const { return m_db; }
    [[noreturn]] void Fail() const
    {
        throw EImportError(std::string("The bookmark database cannot be read: ") +
                           (m_db ? sqlite3_errmsg(m_db) : "out of memory") + ".");
    }

private:
    sqlite3* m_db = nullptr;
};

class TStatement {
public:
    TStatement(const TDatabase& db, const char* sql) : m_db(db)
    {
        if (sqlite3_prepare_v2(db.Handle(), sql, -1, &m_statement, nullptr) != SQLITE_OK)
            db.Fail();
    }
    ~TStatement() { sqlite3_finalize(m_statement); }
    TStatement(const TStatement&) = delete;
    TStatement& operator=(const TStatement&) = delete;

    // Whether a row is there; raises on an error.
    bool Step()
    {
        const int rc = sqlite3_step(m_statement);
        if (rc == SQLITE_ROW)
            return true;
        if (rc != SQLITE_DONE)
            m_db.Fail();
        return false;
    }
    int64_t Integer(int column) const { return sqlite3_column_int64(m_statement, column); }
    std::string Text(int column) const
    {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(m_statement, column));
        return text ? std::string(text, static_cast<size_t>(sqlite3_column_bytes(m_statement, column))) : std::string();
    }

private:
    const TDatabase& m_db;
    sqlite3_stmt* m_statement = nullptr;
};

struct TPlaceNode {
    int64_t Id = 0;
    int Type = 0;
    int64_t Parent = 0;
    std::string Title;
    std::string Guid;
    std::string Url;
    std::vector<size_t> Children;
};

std::vector<TPlaceNode> ReadNodes(const TDatabase& db)
{
    TStatement rows(db, "SELECT b.id, b.type, b.parent, b.title, b.guid, p.url FROM moz_bookmarks b "
                        "LEFT JOIN moz_places p ON p.id = b.fk ORDER BY b.parent, b.position, b.id");
    std::vector<TPlaceNode> nodes;
    while (rows.Step())
        nodes.push_back({rows.Integer(0),
                         static_cast<int>(rows.Integer(1)),
                         rows.Integer(2),
                         rows.Text(3),
                         rows.Text(4),
                         rows.Text(5),
                         {}});
    std::unordered_map<int64_t, size_t> byId;
    for (size_t i = 0; i < nodes.size(); ++i)
        byId.emplace(nodes[i].Id, i);
    for (size_t i = 0; i < nodes.size(); ++i) {
        const auto parent = byId.find(nodes[i].Parent);
        if (parent != byId.end() && parent->second != i)
            nodes[parent->second].Children.push_back(i);
    }
    return nodes;
}

// The names Firefox shows for its top folders.
std::string TopFolderName(const TPlaceNode& folder)
{
    if (folder.Guid == "menu________")
        return "Bookmarks Menu";
    if (folder.Guid == "toolbar_____")
        return "Bookmarks Toolbar";
    if (folder.Guid == "unfiled_____")
        return "Other Bookmarks";
    if (folder.Guid == "mobile______")
        return "Mobile Bookmarks";
    return folder.Title;
}

std::string FolderName(const TPlaceNode& folder)
{
    std::string title = CleanTitle(folder.Title);
    return title.empty() ? "(untitled)" : title;
}

TBookmarkModel CollectBookmarks(const std::vector<TPlaceNode>& nodes)
{
    size_t root = nodes.size();
    for (size_t i = 0; i < nodes.size() && root == nodes.size(); ++i) {
        if (nodes[i].Guid == "root________")
            root = i;
    }
    if (root == nodes.size())
        throw EImportError("The bookmark database has no root folder.");

    struct TPending {
        size_t Node;
        std::string Group;  // where its bookmarks go
        std::string Prefix; // how its sub-folders' names begin
        int Depth = 0;
    };
    std::vector<TPending> pending;
    std::vector<bool> seen(nodes.size(), false);
    seen[root] = true;
    const auto& top = nodes[root].Children;
    for (auto child = top.rbegin(); child != top.rend(); ++child) {
        const TPlaceNode& folder = nodes[*child];
        if (folder.Type == kTypeFolder && folder.Guid != "tags________")
            pending.push_back({*child, CleanTitle(TopFolderName(folder)), "", 0});
    }

    TImportCollector collector;
    while (!pending.empty()) {
        TPending folder = std::move(pending.back());
        pending.pop_back();
        // A damaged table may link folders in a circle.
        if (seen[folder.Node])
            continue;
        seen[folder.Node] = true;
        const auto& children = nodes[folder.Node].Children;
        for (size_t child : children) {
            if (nodes[child].Type == kTypeBookmark)
                collector.Add(folder.Group, nodes[child].Title, nodes[child].Url);
        }
        for (auto child = children.rbegin(); child != children.rend(); ++child) {
            if (nodes[*child].Type != kTypeFolder || seen[*child])
                continue;
            if (folder.Depth >= kMaxFolderDepth) {
                pending.push_back({*child, folder.Group, folder.Prefix, folder.Depth});
                continue;
            }
            std::string name = JoinFolderPath(folder.Prefix, FolderName(nodes[*child]));
            pending.push_back({*child, name, name, folder.Depth + 1});
        }
    }
    return collector.Take();
}

void CopyFile(const fs::path& from, const fs::path& to)
{
    std::error_code error;
    if (!fs::copy_file(from, to, fs::copy_options::overwrite_existing, error))
        throw EImportError("The file \"" + from.string() + "\" cannot be copied: " + error.message() + ".");
}

} // namespace

TBookmarkModel ReadFirefoxBookmarks(const std::string& placesFile, const std::string& tempFolder)
{
    std::error_code error;
    if (!fs::is_regular_file(placesFile, error))
        throw EImportError("The file \"" + placesFile + "\" does not exist.");
    const TTempFolder temp(tempFolder);
    const fs::path copy = temp.Path() / "places.sqlite";
    CopyFile(placesFile, copy);
    if (const fs::path log = placesFile + "-wal"; fs::is_regular_file(log, error))
        CopyFile(log, copy.string() + "-wal");
    const TDatabase db(copy);
    return CollectBookmarks(ReadNodes(db));
}

} // namespace tramble
