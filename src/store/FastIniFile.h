#pragma once

#include "store/FileBuffer.h"
#include "store/Font.h"
#include "store/IniText.h"

#include <array>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tramble {

// Raised when the file behind a store cannot be read or written.
class EFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum TLineKind : uint8_t { ltPair = 0, ltInvalid = 1, ltRaw = 2, ltSection = 3, ltComment = 4, ltBlank = 5 };

enum class TCaseMode { Sensitive, Ascii, Locale };

struct TStatistics {
    int32_t BlankLines = 0;
    int32_t CommentLines = 0;
    int32_t KeyLines = 0;
    int32_t SectionLines = 0;
};

// An INI-style text file held in memory as its list of lines. Comments, blank
// and unknown lines keep their place; key lines are split at "=" only when
// first reached; sections are found through 256 hash chains, and keys of very
// large sections through per-section hash tables built on demand.
class TFastIniFile {
public:
    explicit TFastIniFile(std::string fileName);
    ~TFastIniFile();
    TFastIniFile(const TFastIniFile&) = delete;
    TFastIniFile& operator=(const TFastIniFile&) = delete;

    std::string ReadText(std::string_view section, std::string_view key, std::string_view def);
    void WriteText(std::string_view section, std::string_view key, std::string_view value);
    int32_t ReadNumber(std::string_view section, std::string_view key, int32_t def);
    void WriteNumber(std::string_view section, std::string_view key, int32_t value);
    bool ReadFlag(std::string_view section, std::string_view key, bool def);
    void WriteFlag(std::string_view section, std::string_view key, bool value);
    // Applies the stored text to the font (it may raise EConvertError on an
    // unknown colour) and returns the same font.
    TFont& ReadFont(std::string_view section, std::string_view key, TFont& font);
    void WriteFont(std::string_view section, std::string_view key, const TFont& font);

    bool HasKey(std::string_view section, std::string_view key);
    void ListKeys(std::string_view section, std::vector<std::string>& list);
    void ListSections(std::vector<std::string>& list);
    void ListPairs(std::string_view section, std::vector<std::string>& list);
    void RemoveKey(std::string_view section, std::string_view key);
    void RemoveSection(std::string_view section);

    void Flush();
    void Reset();
    void Load();
    // Serves an empty file in place of one that cannot be read, from now on:
    // reads give their defaults and nothing is ever written over the file
    // (Flush raises as for a file that cannot be written).
    void DetachFromFile();

    const std::string& FileName() const { return m_fileName; }
    bool Loaded() const { return m_loaded; }
    bool Modified() const { return m_modified; }
    bool KeyHashing() const { return m_keyHashing; }
    const TStatistics& Statistics() const { return m_stats; }
    size_t LineCount() const { return m_lines.size(); }
    size_t Room() const { return m_lines.capacity(); }

    bool CaseSensitive() const { return m_caseSensitive; }
    void SetCaseSensitive(bool on) { m_caseSensitive = on; }
    bool StripComments() const { return m_stripComments; }
    void SetStripComments(bool on) { m_stripComments = on; }
    bool LocaleCase() const { return m_localeCase; }
    void SetLocaleCase(bool on) { m_localeCase = on; }
    TCaseMode CaseMode() const;

    // Hash of a name as the section chains and key tables use it.
    static uint32_t HashName(std::string_view name, TCaseMode mode);
    static bool SameName(std::string_view a, std::string_view b, TCaseMode mode);
    // 1-based position of the first ";" outside double quotes, 0 when none.
    static size_t FindInlineComment(std::string_view text);

private:
    struct Line {
        TLineKind kind = ltBlank;
        uint32_t hash = 0;
        IniText text;
        IniText value;
    };
    using KeyTable = std::array<std::vector<uint32_t>, 256>;
    struct SectionNode {
        std::string name;
        size_t start = 0;
        std::unique_ptr<KeyTable> keys;
    };

    void EnsureLoaded();
    void ReadFile();
    void ClearContents();
    void AppendLoadedLine(std::string_view text);
    void GrowIfFull();
    void CountLine(TLineKind kind, int delta);

    void Examine(Line& line) const;
    SectionNode* FindSection(std::string_view name);
    SectionNode* AddSection(std::string_view name);
    size_t SectionEnd(size_t start) const;
    long FindKeyLinear(const SectionNode& section, std::string_view key);
    std::unique_ptr<KeyTable> BuildKeyTable(size_t start);
    long FindKeyHashed(SectionNode& section, std::string_view key);
    long FindKey(SectionNode& section, std::string_view key);
    size_t AddKey(SectionNode& section, std::string_view key);
    void InsertLine(size_t index, Line line);
    void RemoveLines(size_t first, size_t count);
    void ShiftSectionStarts(size_t after, long delta);
    void ForEachSection(const auto& visit);

    std::string BuildText() const;

    std::string m_fileName;
    bool m_caseSensitive = false;
    bool m_stripComments = true;
    bool m_localeCase = true;
    bool m_loaded = false;
    bool m_modified = false;
    bool m_keyHashing = false;
    bool m_detached = false;

    FileBuffer m_buffer; // the file as read; unchanged lines point into it
    std::vector<Line> m_lines;
    std::array<std::vector<std::unique_ptr<SectionNode>>, 256> m_sections;
    SectionNode* m_lastSection = nullptr;
    TStatistics m_stats;
};

} // namespace tramble
