#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <stdexcept>
#include <string>

namespace tramble::test {

// A places.sqlite in Firefox's schema, made with SQLite: the root and the
// top folders are there from the start.
class PlacesBuilder {
public:
    explicit PlacesBuilder(const std::string& file, bool wal = false)
    {
        sqlite3_open(file.c_str(), &m_db);
        Exec("PRAGMA synchronous=OFF");
        if (wal)
            Exec("PRAGMA journal_mode=WAL");
        Exec("CREATE TABLE moz_places (id INTEGER PRIMARY KEY, url LONGVARCHAR, title LONGVARCHAR, "
             "rev_host LONGVARCHAR, visit_count INTEGER DEFAULT 0, hidden INTEGER DEFAULT 0 NOT NULL, "
             "typed INTEGER DEFAULT 0 NOT NULL, frecency INTEGER DEFAULT -1 NOT NULL, last_visit_date INTEGER, "
             "guid TEXT, foreign_count INTEGER DEFAULT 0 NOT NULL, url_hash INTEGER DEFAULT 0 NOT NULL, "
             "description TEXT, preview_image_url TEXT, origin_id INTEGER)");
        Exec("CREATE TABLE moz_bookmarks (id INTEGER PRIMARY KEY, type INTEGER, fk INTEGER DEFAULT NULL, "
             "parent INTEGER, position INTEGER, title LONGVARCHAR, keyword_id INTEGER, folder_type TEXT, "
             "dateAdded INTEGER, lastModified INTEGER, guid TEXT, syncStatus INTEGER NOT NULL DEFAULT 0, "
             "syncChangeCounter INTEGER NOT NULL DEFAULT 1)");
        Exec("CREATE INDEX moz_bookmarks_itemindex ON moz_bookmarks (fk, type)");
        Folder(1, 0, 0, "", "root________");
        Folder(2, 1, 0, "menu", "menu________");
        Folder(3, 1, 1, "toolbar", "toolbar_____");
        Folder(4, 1, 2, "tags", "tags________");
        Folder(5, 1, 3, "unfiled", "unfiled_____");
        Folder(6, 1, 4, "mobile", "mobile______");
    }
    ~PlacesBuilder() { sqlite3_close(m_db); }
    PlacesBuilder(const PlacesBuilder&) = delete;
    PlacesBuilder& operator=(const PlacesBuilder&) = delete;

    void Exec(const std::string& sql)
    {
        char* error = nullptr;
        if (sqlite3_exec(m_db, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
            std::string message = error ? error : "?";
            sqlite3_free(error);
            throw std::runtime_error(message + " in " + sql);
        }
    }

    void Folder(int64_t id, int64_t parent, int position, const std::string& title, const std::string& guid = "")
    {
        Insert(id, 2, "NULL", parent, position, title, guid.empty() ? "folder" + std::to_string(id) : guid);
    }

    // A bookmark with its own place row.
    void Bookmark(int64_t id, int64_t parent, int position, const std::string& title, const std::string& url)
    {
        Exec("INSERT INTO moz_places (id, url, title, guid) VALUES (" + std::to_string(id) + ", " + Quote(url) + ", " +
             Quote(title) + ", 'p" + std::to_string(id) + "')");
        Insert(id, 1, std::to_string(id), parent, position, title, "b" + std::to_string(id));
    }

    void Separator(int64_t id, int64_t parent, int position)
    {
        Insert(id, 3, "NULL", parent, position, "", "s" + std::to_string(id));
    }

    sqlite3* Handle() const { return m_db; }

    static std::string Quote(const std::string& text)
    {
        std::string quoted = "'";
        for (char c : text) {
            quoted += c;
            if (c == '\'')
                quoted += '\'';
        }
        return quoted + "'";
    }

private:
    void Insert(int64_t id, int type, const std::string& fk, int64_t parent, int position, const std::string& title,
                const std::string& guid)
    {
        Exec("INSERT INTO moz_bookmarks (id, type, fk, parent, position, title, guid) VALUES (" + std::to_string(id) +
             ", " + std::to_string(type) + ", " + fk + ", " + std::to_string(parent) + ", " + std::to_string(position) +
             ", " + Quote(title) + ", " + Quote(guid) + ")");
    }

    sqlite3* m_db = nullptr;
};

} // namespace tramble::test
