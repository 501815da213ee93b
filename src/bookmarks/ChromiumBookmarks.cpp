#include "bookmarks/ChromiumBookmarks.h"

#include "bookmarks/BrowserImport.h"

#include <nlohmann/json.hpp>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace tramble {
namespace {

using nlohmann::json;

// Larger than any bookmark file a browser writes; a bigger file is refused
// rather than read into memory.
constexpr std::uintmax_t kMaxFileSize = 256u << 20;

std::string TextField(const json& node, const char* name)
{
    const auto field = node.find(name);
    return field != node.end() && field->is_string() ? field->get<std::string>() : std::string();
}

const json* Children(const json& node)
{
    const auto children = node.find("children");
    return children != node.end() && children->is_array() ? &*children : nullptr;
}

std::string RootName(const std::string& key, const json& root)
{
    std::string name = CleanTitle(TextField(root, "name"));
    if (!name.empty())
        return name;
    if (key == "bookmark_bar")
        return "Bookmarks bar";
    if (key == "other")
        return "Other bookmarks";
    if (key == "synced")
        return "Mobile bookmarks";
    return key;
}

} // namespace

TBookmarkModel ParseChromiumBookmarks(std::string_view text)
{
    const json document = json::parse(text.begin(), text.end(), nullptr, false);
    if (document.is_discarded())
        throw EImportError("The bookmark file is damaged: it is not valid JSON.");
    const auto roots = document.is_object() ? document.find("roots") : document.end();
    if (!document.is_object() || roots == document.end() || !roots->is_object())
        throw EImportError("The file holds no browser bookmarks.");

    struct TPending {
        const json* Node;
        std::string Group;
        std::string Prefix;
        int Depth = 0;
    };
    std::vector<TPending> pending;
    std::vector<std::pair<std::string, const json*>> top;
    for (const char* key : {"bookmark_bar", "other", "synced"}) {
        if (const auto root = roots->find(key); root != roots->end() && root->is_object())
            top.emplace_back(key, &*root);
    }
    for (auto root = top.rbegin(); root != top.rend(); ++root)
        pending.push_back({root->second, RootName(root->first, *root->second), "", 0});

    // A stack instead of recursion: the depth of a damaged file is unbounded.
    TImportCollector collector;
    while (!pending.empty()) {
        const TPending folder = std::move(pending.back());
        pending.pop_back();
        const json* children = Children(*folder.Node);
        if (!children)
            continue;
        for (const json& child : *children) {
            if (child.is_object() && TextField(child, "type") == "url")
                collector.Add(folder.Group, TextField(child, "name"), TextField(child, "url"));
        }
        for (auto child = children->rbegin(); child != children->rend(); ++child) {
            if (!child->is_object() || TextField(*child, "type") != "folder")
                continue;
            if (folder.Depth >= kMaxFolderDepth) {
                pending.push_back({&*child, folder.Group, folder.Prefix, folder.Depth});
                continue;
            }
            std::string title = CleanTitle(TextField(*child, "name"));
            std::string name = JoinFolderPath(folder.Prefix, title.empty() ? "(untitled)" : title);
            pending.push_back({&*child, name, name, folder.Depth + 1});
        }
    }
    return collector.Take();
}

TBookmarkModel ReadChromiumBookmarks(const std::string& bookmarksFile)
{
    std::error_code error;
    if (!std::filesystem::is_regular_file(bookmarksFile, error))
        throw EImportError("The file \"" + bookmarksFile + "\" does not exist.");
    if (std::filesystem::file_size(bookmarksFile, error) > kMaxFileSize)
        throw EImportError("The file \"" + bookmarksFile + "\" is too large for a bookmark file.");
    std::ifstream in(bookmarksFile, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in && !in.eof())
        throw EImportError("The file \"" + bookmarksFile + "\" cannot be read.");
    return ParseChromiumBookmarks(text);
}

} // namespace tramble
