#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tramble {

// One bookmark: the text shown in the menu and the address it opens. The
// address may be empty.
struct TBookmark {
    std::string Caption;
    std::string Address;
    bool operator==(const TBookmark&) const = default;
};

// A named group of bookmarks, in menu order.
struct TBookmarkGroup {
    std::string Caption;
    std::vector<TBookmark> Items;
    bool operator==(const TBookmarkGroup&) const = default;
};

enum class TAddGroupResult { Added, EmptyName, Duplicate };
enum class TAddBookmarkResult { Added, NoAddress, NoGroup };

// The bookmarks: ordered groups of ordered bookmarks. The bar's menu and the
// manager's working copy are both built from one of these. Operations whose
// preconditions do not hold (no such group, first or last place) change
// nothing and say so.
class TBookmarkModel {
public:
    const std::vector<TBookmarkGroup>& Groups() const { return m_groups; }
    size_t GroupCount() const { return m_groups.size(); }
    bool Empty() const { return m_groups.empty(); }
    const TBookmarkGroup& Group(size_t i) const { return m_groups.at(i); }

    // The first group whose caption equals name, ignoring the case of ASCII letters.
    std::optional<size_t> FindGroup(std::string_view name) const;

    // Appends a group as it is, without checks (loading, copying).
    void AppendGroup(TBookmarkGroup group) { m_groups.push_back(std::move(group)); }
    // Appends an empty group unless the name is empty or taken.
    TAddGroupResult AddGroup(std::string name);
    // Appends a bookmark to the group at position group; an empty caption
    // becomes the address. Nothing is added without an address or a group.
    TAddBookmarkResult AddBookmark(std::optional<size_t> group, std::string caption, std::string address);

    // Removes a group with its bookmarks. The model never ends up without a
    // group: removing the last one leaves an empty group named fallback.
    bool RemoveGroup(size_t group, std::string_view fallback);
    bool RemoveBookmark(size_t group, size_t item);

    // Trades places with the neighbour above (up) or below.
    bool MoveGroup(size_t group, bool up);
    bool MoveBookmark(size_t group, size_t item, bool up);
    // Moves a bookmark to the end of the target group, which may be its own.
    bool MoveBookmarkToGroup(size_t group, size_t item, size_t target);

    // A new caption for a group: not empty, not another group's caption.
    TAddGroupResult RenameGroup(size_t group, std::string name);
    // New caption and address of a bookmark under the rules of adding one.
    TAddBookmarkResult EditBookmark(size_t group, size_t item, std::string caption, std::string address);

    bool operator==(const TBookmarkModel&) const = default;

private:
    bool HasItem(size_t group, size_t item) const;

    std::vector<TBookmarkGroup> m_groups;
};

} // namespace tramble
