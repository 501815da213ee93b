#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tramble {

inline constexpr std::string_view kLangEnglish = "English";
inline constexpr std::string_view kLangSimplifiedChinese = "Simplified Chinese(简体中文)";

// The current text of every entry of the language table, by section and key.
class TLanguage {
public:
    TLanguage(); // English built-ins

    // Fills every entry for the named language: the built-in Chinese texts for kLangSimplifiedChinese,
    // English for any other name, then overridden by "<name>.lng" when found in one of `folders` (in order).
    void LoadLanguage(std::string_view name, const std::vector<std::string>& folders);

    // Current text of an entry; section and key compare without regard to ASCII case; empty for unknown.
    const std::string& Text(std::string_view section, std::string_view key) const;
    // The same for a key that several entries share ("About"/"Hour": 0 is the singular, 1 the plural).
    const std::string& Text(std::string_view section, std::string_view key, size_t occurrence) const;

    const std::string& Name() const { return m_name; }

private:
    std::string m_name;
    std::vector<std::string> m_texts; // one per entry of the table, in its order
};

// Language file names ("*.lng", without extension) found in the folders, skipping the two built-in names, sorted, no
// duplicates.
std::vector<std::string> ListLanguageFiles(const std::vector<std::string>& folders);

// The default language name from the locale environment (LC_ALL, LC_MESSAGES, LANG): zh_CN gives
// kLangSimplifiedChinese.
std::string DefaultLanguageName();
// The same rule on given values of LC_ALL, LC_MESSAGES and LANG (null or empty when unset): the first set one decides.
std::string_view LanguageNameForLocale(const char* lcAll, const char* lcMessages, const char* lang);

} // namespace tramble
