#include "i18n/Language.h"

#include "i18n/LanguageTable.h"
#include "store/FastIniFile.h"
#include "text/TextConvert.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace tramble {

namespace {

constexpr std::string_view kExtension = ".lng";

const std::string& EmptyText()
{
    static const std::string empty;
    return empty;
}

// A name that can only stand for a file in the folder itself; anything else (a path, an empty name) has no file.
bool PlainFileName(std::string_view name)
{
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string_view::npos &&
           name.find('\0') == std::string_view::npos;
}

bool IsRegularFile(const std::filesystem::path& path)
{
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

std::string FindLanguageFile(std::string_view name, const std::vector<std::string>& folders)
{
    if (!PlainFileName(name))
        return {};
    std::string fileName = std::string(name) + std::string(kExtension);
    for (const std::string& folder : folders) {
        std::filesystem::path path = std::filesystem::path(folder) / fileName;
        if (IsRegularFile(path))
            return path.string();
    }
    return {};
}

bool IsBuiltInName(std::string_view name)
{
    return SameTextAscii(name, kLangEnglish) || SameTextAscii(name, kLangSimplifiedChinese);
}

bool LessIgnoringCase(const std::string& a, const std::string& b)
{
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char x, char y) { return UpperAscii(x) < UpperAscii(y); });
}

} // namespace

TLanguage::TLanguage() : m_name(kLangEnglish)
{
    for (const TLanguageEntry& entry : LanguageEntries())
        m_texts.emplace_back(entry.English);
}

void TLanguage::LoadLanguage(std::string_view name, const std::vector<std::string>& folders)
{
    bool chinese = SameTextAscii(name, kLangSimplifiedChinese);
    auto entries = LanguageEntries();
    std::vector<std::string> texts;
    texts.reserve(entries.size());
    for (const TLanguageEntry& entry : entries)
        texts.emplace_back(chinese ? entry.Chinese : entry.English);

    std::string path = FindLanguageFile(name, folders);
    if (!path.empty()) {
        try {
            TFastIniFile file(path);
            file.SetLocaleCase(false); // fold ASCII letters only, never bytes of UTF-8 names
            for (size_t i = 0; i < entries.size(); ++i)
                texts[i] = file.ReadText(entries[i].Section, entries[i].Key, texts[i]);
        } catch (const EFileError&) {
            // An unreadable language file is no error: the built-in texts stand.
        }
    }
    m_texts = std::move(texts);
    m_name = name;
}

const std::string& TLanguage::Text(std::string_view section, std::string_view key) const
{
    return Text(section, key, 0);
}

const std::string& TLanguage::Text(std::string_view section, std::string_view key, size_t occurrence) const
{
    auto entries = LanguageEntries();
    for (size_t i = 0; i < entries.size(); ++i) {
        if (SameTextAscii(entries[i].Section, section) && SameTextAscii(entries[i].Key, key)) {
            if (occurrence == 0)
                return m_texts[i];
            --occurrence;
        }
    }
    return EmptyText();
}

std::vector<std::string> ListLanguageFiles(const std::vector<std::string>& folders)
{
    std::vector<std::string> names;
    for (const std::string& folder : folders) {
        std::error_code error;
        std::filesystem::directory_iterator it(folder, error), end;
        for (; !error && it != end; it.increment(error)) {
            std::string fileName = it->path().filename().string();
            if (fileName.size() <= kExtension.size() || !fileName.ends_with(kExtension))
                continue;
            std::string name = fileName.substr(0, fileName.size() - kExtension.size());
            if (!IsBuiltInName(name) && IsRegularFile(it->path()))
                names.push_back(std::move(name));
        }
    }
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        return LessIgnoringCase(a, b) || (!LessIgnoringCase(b, a) && a < b);
    });
    names.erase(std::unique(names.begin(), names.end(),
                            [](const std::string& a, const std::string& b) { return SameTextAscii(a, b); }),
                names.end());
    return names;
}

std::string DefaultLanguageName()
{
    return std::string(LanguageNameForLocale(std::getenv("LC_ALL"), std::getenv("LC_MESSAGES"), std::getenv("LANG")));
}

std::string_view LanguageNameForLocale(const char* lcAll, const char* lcMessages, const char* lang)
{
    const char* locale = nullptr;
    for (const char* value : {lcAll, lcMessages, lang}) {
        if (value && *value) {
            locale = value;
            break;
        }
    }
    if (!locale)
        return kLangEnglish;
    std::string_view text = locale;
    constexpr std::string_view kChina = "zh_CN";
    bool china = text.size() >= kChina.size() && SameTextAscii(text.substr(0, kChina.size()), kChina) &&
                 (text.size() == kChina.size() || text[kChina.size()] == '.' || text[kChina.size()] == '@');
    return china ? kLangSimplifiedChinese : kLangEnglish;
}

} // namespace tramble
