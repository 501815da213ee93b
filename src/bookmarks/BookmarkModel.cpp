#include "bookmarks/BookmarkModel.h"

#include "text/TextConvert.h"

#include <utility>

namespace tramble {

std::optional<size_t> TBookmarkModel::FindGroup(std::string_view name) const
{
    for (size_t i = 0; i < m_groups.size(); ++i) {
        if (SameTextAscii(m_groups[i].Caption, name))
            return i;
    }
    return std::nullopt;
}

TAddGroupResult TBookmarkModel::AddGroup(std::string name)
{
    if (name.empty())
        return TAddGroupResult::EmptyName;
    if (FindGroup(name))
        return TAddGroupResult::Duplicate;
    m_groups.push_back({std::move(name), {}});
    return TAddGroupResult::Added;
}

TAddBookmarkResult TBookmarkModel::AddBookmark(std::optional<size_t> group, std::string caption, std::string address)
{
    if (address.empty())
        return TAddBookmarkResult::NoAddress;
    if (!group || *group >= m_groups.size())
        return TAddBookmarkResult::NoGroup;
    if (caption.empty())
        caption = address;
    m_groups[*group].Items.push_back({std::move(caption), std::move(address)});
    return TAddBookmarkResult::Added;
}

bool TBookmarkModel::RemoveGroup(size_t group, std::string_view fallback)
{
    if (group >= m_groups.size())
        return false;
    m_groups.erase(m_groups.begin() + static_cast<std::ptrdiff_t>(group));
    if (m_groups.empty())
        m_groups.push_back({std::string(fallback), {}});
    return true;
}

bool TBookmarkModel::RemoveBookmark(size_t group, size_t item)
{
    if (!HasItem(group, item))
        return false;
    auto& items = m_groups[group].Items;
    items.erase(items.begin() + static_cast<std::ptrdiff_t>(item));
    return true;
}

bool TBookmarkModel::MoveGroup(size_t group, bool up)
{
    if (group >= m_groups.size() || (up && group == 0) || (!up && group + 1 >= m_groups.size()))
        return false;
    std::swap(m_groups[group], m_groups[up ? group - 1 : group + 1]);
    return true;
}

bool TBookmarkModel::MoveBookmark(size_t group, size_t item, bool up)
{
    if (!HasItem(group, item))
        return false;
    auto& items = m_groups[group].Items;
    if ((up && item == 0) || (!up && item + 1 >= items.size()))
        return false;
    std::swap(items[item], items[up ? item - 1 : item + 1]);
    return true;
}

bool TBookmarkModel::MoveBookmarkToGroup(size_t group, size_t item, size_t target)
{
    if (!HasItem(group, item) || target >= m_groups.size())
        return false;
    TBookmark moved = std::move(m_groups[group].Items[item]);
    RemoveBookmark(group, item);
    m_groups[target].Items.push_back(std::move(moved));
    return true;
}

TAddGroupResult TBookmarkModel::RenameGroup(size_t group, std::string name)
{
    if (group >= m_groups.size() || name.empty())
        return TAddGroupResult::EmptyName;
    const std::optional<size_t> same = FindGroup(name);
    if (same && *same != group)
        return TAddGroupResult::Duplicate;
    m_groups[group].Caption = std::move(name);
    return TAddGroupResult::Added;
}

TAddBookmarkResult TBookmarkModel::EditBookmark(size_t group, size_t item, std::string caption, std::string address)
{
    if (!HasItem(group, item))
        return TAddBookmarkResult::NoGroup;
    if (address.empty())
        return TAddBookmarkResult::NoAddress;
    if (caption.empty())
        caption = address;
    m_groups[group].Items[item] = {std::move(caption), std::move(address)};
    return TAddBookmarkResult::Added;
}

bool TBookmarkModel::HasItem(size_t group, size_t item) const
{
    return group < m_groups.size() && item < m_groups[group].Items.size();
}

} // namespace tramble
