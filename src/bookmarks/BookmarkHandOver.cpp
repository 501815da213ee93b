#include "bookmarks/BookmarkHandOver.h"

#include "bookmarks/BookmarkStore.h"
#include "store/SettingsKeys.h"

#include <optional>

namespace tramble {

void WriteGroupInput(TFastIniFile& ini, const std::string& name)
{
    ini.WriteText(keys::kTempSection, "group", StoredValue(name, TValueKind::Caption));
}

std::string ReadGroupInput(TFastIniFile& ini)
{
    return ini.ReadText(keys::kTempSection, "Group", "");
}

void WritePreselectedGroup(TFastIniFile& ini, int index)
{
    ini.WriteNumber(keys::kTempSection, "group", index);
}

int ReadPreselectedGroup(TFastIniFile& ini)
{
    return ini.ReadNumber(keys::kTempSection, "group", 0);
}

void WriteUrlInput(TFastIniFile& ini, const TUrlInput& input)
{
    ini.WriteText(keys::kTempSection, "des", StoredValue(input.Description, TValueKind::Caption));
    ini.WriteText(keys::kTempSection, "url", StoredValue(input.Url, TValueKind::Address));
    ini.WriteNumber(keys::kTempSection, "group", input.Group);
}

TUrlInput ReadUrlInput(TFastIniFile& ini)
{
    return {ini.ReadText(keys::kTempSection, "des", ""), ini.ReadText(keys::kTempSection, "url", ""),
            ini.ReadNumber(keys::kTempSection, "group", 0)};
}

TAddGroupResult AddGroupFromInput(TBookmarkModel& model, TFastIniFile& ini)
{
    return model.AddGroup(ReadGroupInput(ini));
}

TAddBookmarkResult AddBookmarkFromInput(TBookmarkModel& model, TFastIniFile& ini, size_t* group)
{
    TUrlInput input = ReadUrlInput(ini);
    std::optional<size_t> target;
    if (input.Group >= 0)
        target = static_cast<size_t>(input.Group);
    const TAddBookmarkResult result = model.AddBookmark(target, std::move(input.Description), std::move(input.Url));
    if (result == TAddBookmarkResult::Added && group)
        *group = *target;
    return result;
}

} // namespace tramble
