#include "search/DesktopApp.h"

#include "shell/ExecLine.h"

#include <algorithm>
#include <sys/stat.h>
#include <unistd.h>

namespace tramble {
namespace {

bool IsTrue(const TDesktopEntry& entry, std::string_view key)
{
    return entry.ValueOr(key, "false") == "true";
}

bool SharesDesktop(const std::vector<std::string>& listed, const std::vector<std::string>& desktops)
{
    for (const std::string& desktop : desktops) {
        if (std::find(listed.begin(), listed.end(), desktop) != listed.end())
            return true;
    }
    return false;
}

// An absolute TryExec names the file; a bare name is looked up in the path list.
bool ProgramExists(const std::string& program, const std::string& pathList)
{
    if (program.find('/') == std::string::npos)
        return FindProgramInPath(program, pathList) != program;
    struct stat st {};
    return ::stat(program.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(program.c_str(), X_OK) == 0;
}

bool Restricted(const TDesktopEntry& entry, const TAppFilter& filter)
{
    if (const std::optional<std::string> only = entry.Value("OnlyShowIn")) {
        if (!SharesDesktop(SplitDesktopList(*only), filter.Desktops))
            return true;
    }
    if (const std::optional<std::string> never = entry.Value("NotShowIn"))
        return SharesDesktop(SplitDesktopList(*never), filter.Desktops);
    return false;
}

void AddKeywords(const std::optional<std::string>& value, std::vector<std::string>& out)
{
    if (!value)
        return;
    for (std::string& word : SplitDesktopList(*value)) {
        if (std::find(out.begin(), out.end(), word) == out.end())
            out.push_back(std::move(word));
    }
}

} // namespace

std::vector<std::string> SplitDesktopList(std::string_view value)
{
    std::vector<std::string> items;
    std::string item;
    for (size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '\\' && i + 1 < value.size() && value[i + 1] == ';') {
            item += ';';
            ++i;
        } else if (value[i] == ';') {
            if (!item.empty())
                items.push_back(std::move(item));
            item.clear();
        } else {
            item += value[i];
        }
    }
    if (!item.empty())
        items.push_back(std::move(item));
    return items;
}

std::vector<std::string> LocaleSuffixes(std::string_view locale)
{
    std::string_view modifier;
    if (const size_t at = locale.find('@'); at != std::string_view::npos) {
        modifier = locale.substr(at);
        locale = locale.substr(0, at);
    }
    locale = locale.substr(0, locale.find('.'));
    if (locale.empty() || locale == "C" || locale == "POSIX")
        return {};
    const std::string_view lang = locale.substr(0, locale.find('_'));
    std::vector<std::string> out;
    auto add = [&out](std::string suffix) {
        if (std::find(out.begin(), out.end(), suffix) == out.end())
            out.push_back(std::move(suffix));
    };
    if (!modifier.empty())
        add(std::string(locale) + std::string(modifier));
    add(std::string(locale));
    if (!modifier.empty())
        add(std::string(lang) + std::string(modifier));
    add(std::string(lang));
    return out;
}

std::optional<std::string> LocalizedValue(const TDesktopEntry& entry, std::string_view key,
                                          const std::vector<std::string>& suffixes)
{
    for (const std::string& suffix : suffixes) {
        if (std::optional<std::string> value = entry.Value(std::string(key) + "[" + suffix + "]"))
            return value;
    }
    return entry.Value(key);
}

TAppReading ReadDesktopApp(std::string_view text, std::string id, std::string path, const TAppFilter& filter)
{
    TAppReading reading;
    const std::optional<TDesktopEntry> entry = TDesktopEntry::Parse(text);
    if (!entry || entry->ValueOr("Type", "Application") != "Application")
        return reading;
    const std::vector<std::string> suffixes = LocaleSuffixes(filter.Locale);
    TDesktopApp& app = reading.App;
    app.EnglishName = entry->ValueOr("Name", "");
    app.Name = LocalizedValue(*entry, "Name", suffixes).value_or("");
    app.Exec = entry->ValueOr("Exec", "");
    if (app.Name.empty() || app.Exec.empty())
        return reading;
    if (app.EnglishName.empty())
        app.EnglishName = app.Name;
    app.Id = std::move(id);
    app.Path = std::move(path);
    app.EnglishGenericName = entry->ValueOr("GenericName", "");
    app.GenericName = LocalizedValue(*entry, "GenericName", suffixes).value_or("");
    AddKeywords(LocalizedValue(*entry, "Keywords", suffixes), app.Keywords);
    AddKeywords(entry->Value("Keywords"), app.Keywords);
    app.Icon = entry->ValueOr("Icon", "");
    app.WorkFolder = entry->ValueOr("Path", "");
    app.Terminal = IsTrue(*entry, "Terminal");

    const std::optional<std::string> tryExec = entry->Value("TryExec");
    const bool hidden = IsTrue(*entry, "Hidden") || IsTrue(*entry, "NoDisplay") || Restricted(*entry, filter) ||
                        (tryExec && !tryExec->empty() && !ProgramExists(*tryExec, filter.PathList));
    reading.Verdict = hidden ? TAppVerdict::Hidden : TAppVerdict::Shown;
    return reading;
}

} // namespace tramble
