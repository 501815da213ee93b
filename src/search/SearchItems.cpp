#include "search/SearchItems.h"

#include "search/AppStart.h"
#include "text/Utf8Text.h"

#include <algorithm>

namespace tramble {
namespace {

void AddFolded(std::vector<std::string>& out, const std::string& text)
{
    if (text.empty())
        return;
    std::string folded = FoldText(text);
    if (std::find(out.begin(), out.end(), folded) == out.end())
        out.push_back(std::move(folded));
}

} // namespace

TSearchItem AppItem(const TDesktopApp& app, size_t index, const TLaunchCounts& launches)
{
    TSearchItem item;
    item.Source = TSearchSource::App;
    item.Index = index;
    item.Title = app.Name;
    item.Launches = launches.Count(app.Id);
    for (const std::string* text : {&app.Name, &app.EnglishName, &app.GenericName, &app.EnglishGenericName})
        AddFolded(item.Folded, *text);
    for (const std::string& keyword : app.Keywords)
        AddFolded(item.Folded, keyword);
    AddFolded(item.Folded, ExecProgramName(app.Exec));
    return item;
}

TSearchItem TextItem(TSearchSource source, size_t index, std::string title, const std::vector<std::string>& texts)
{
    TSearchItem item;
    item.Source = source;
    item.Index = index;
    item.Title = std::move(title);
    for (const std::string& text : texts)
        AddFolded(item.Folded, text);
    return item;
}

} // namespace tramble
