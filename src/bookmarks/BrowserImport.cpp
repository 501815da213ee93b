#include "bookmarks/BrowserImport.h"

#include "text/TextConvert.h"

namespace tramble {
namespace {

std::string LowerAscii(std::string_view text)
{
    std::string lower(text);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return lower;
}

} // namespace

bool IsImportableAddress(std::string_view address)
{
    const size_t colon = address.find(':');
    if (colon == std::string_view::npos)
        return false;
    const std::string scheme = LowerAscii(address.substr(0, colon));
    return scheme == "http" || scheme == "https" || scheme == "ftp" || scheme == "file";
}

std::string CleanTitle(std::string_view title)
{
    std::string clean(title);
    for (char& c : clean) {
        if (static_cast<unsigned char>(c) < 32 || c == 127)
            c = ' ';
    }
    return std::string(Trim(clean));
}

std::string JoinFolderPath(std::string_view parent, std::string_view child)
{
    if (parent.empty())
        return std::string(child);
    return std::string(parent) + " / " + std::string(child);
}

void TImportCollector::Add(std::string_view group, std::string_view title, std::string_view address)
{
    const std::string url = CleanTitle(address);
    if (!IsImportableAddress(url))
        return;
    const auto [found, added] = m_groupIndex.try_emplace(LowerAscii(group), m_groups.size());
    if (added) {
        m_groups.push_back({std::string(group), {}});
        m_addresses.emplace_back();
    }
    const size_t i = found->second;
    if (!m_addresses[i].insert(url).second)
        return;
    std::string caption = CleanTitle(title);
    m_groups[i].Items.push_back({caption.empty() ? url : std::move(caption), url});
    ++m_count;
}

TBookmarkModel TImportCollector::Take()
{
    TBookmarkModel model;
    for (TBookmarkGroup& group : m_groups)
        model.AppendGroup(std::move(group));
    m_groups.clear();
    m_groupIndex.clear();
    m_addresses.clear();
    m_count = 0;
    return model;
}

size_t MergeImport(TBookmarkModel& model, const TBookmarkModel& imported)
{
    size_t added = 0;
    for (const TBookmarkGroup& group : imported.Groups()) {
        const std::optional<size_t> existing = model.FindGroup(group.Caption);
        if (!existing) {
            added += group.Items.size();
            model.AppendGroup(group);
            continue;
        }
        std::unordered_set<std::string> known;
        for (const TBookmark& item : model.Group(*existing).Items)
            known.insert(item.Address);
        for (const TBookmark& item : group.Items) {
            if (known.insert(item.Address).second) {
                model.AddBookmark(*existing, item.Caption, item.Address);
                ++added;
            }
        }
    }
    return added;
}

} // namespace tramble
