#include "store/FastIniFile.h"

#include "store/AtomicFile.h"
#include "store/FileBuffer.h"
#include "text/TextConvert.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tramble {
namespace {

// Settings text is UTF-8, so the locale's upper-casing of single bytes is the
// ASCII one: folding anything else would alter multi-byte sequences.
constexpr std::array<uint8_t, 256> MakeUpperTable()
{
    std::array<uint8_t, 256> table{};
    for (int c = 0; c < 256; ++c)
        table[c] = static_cast<uint8_t>((c >= 'a' && c <= 'z') ? c - 'a' + 'A' : c);
    return table;
}
constexpr std::array<uint8_t, 256> kUpper = MakeUpperTable();

// Finds CR and LF with memchr, remembering the next of each so that a file
// with only one kind of break is still scanned once.
class LineBreakFinder {
public:
    explicit LineBreakFinder(std::string_view text) : m_text(text), m_nextCr(Find('\r', 0)), m_nextLf(Find('\n', 0)) {}

    // Index of the first CR or LF at or after pos, or the text's size.
    size_t NextFrom(size_t pos)
    {
        if (m_nextCr < pos)
            m_nextCr = Find('\r', pos);
        if (m_nextLf < pos)
            m_nextLf = Find('\n', pos);
        return std::min(m_nextCr, m_nextLf);
    }

private:
    size_t Find(char c, size_t pos) const
    {
        const void* hit = std::memchr(m_text.data() + pos, c, m_text.size() - pos);
        return hit ? static_cast<size_t>(static_cast<const char*>(hit) - m_text.data()) : m_text.size();
    }

    std::string_view m_text;
    size_t m_nextCr;
    size_t m_nextLf;
};

// Calls visit with every line; a line ends at CR, LF or CR LF, and a break
// at the very end adds no empty line.
template <typename Visit> void ForEachLine(std::string_view text, const Visit& visit)
{
    LineBreakFinder breaks(text);
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = breaks.NextFrom(pos);
        visit(text.substr(pos, end - pos));
        if (end == text.size())
            break;
        pos = end + 1;
        if (text[end] == '\r' && pos < text.size() && text[pos] == '\n')
            ++pos;
    }
}

bool HasLineBreak(std::string_view text)
{
    return text.find_first_of(std::string_view("\r\n\0", 3)) != text.npos;
}

std::string OneLine(std::string_view text)
{
    std::string line(text);
    for (char& c : line) {
        if (c == '\r' || c == '\n' || c == '\0')
            c = ' ';
    }
    return line;
}

bool IsKeyLine(TLineKind kind)
{
    return kind == ltPair || kind == ltInvalid || kind == ltRaw;
}

std::string SystemReason(int error)
{
    return std::strerror(error);
}

} // namespace

TFastIniFile::TFastIniFile(std::string fileName) : m_fileName(std::move(fileName))
{
}

TFastIniFile::~TFastIniFile()
{
    try {
        Flush();
    } catch (...) {
        // Nothing can be reported from here; the file keeps its old content.
    }
}

TCaseMode TFastIniFile::CaseMode() const
{
    if (m_caseSensitive)
        return TCaseMode::Sensitive;
    return m_localeCase ? TCaseMode::Locale : TCaseMode::Ascii;
}

uint32_t TFastIniFile::HashName(std::string_view name, TCaseMode mode)
{
    uint32_t h = 0;
    for (unsigned char c : name)
        h = std::rotl(h, 2) ^ (mode == TCaseMode::Sensitive ? c : kUpper[c]);
    return h;
}

bool TFastIniFile::SameName(std::string_view a, std::string_view b, TCaseMode mode)
{
    if (mode == TCaseMode::Sensitive)
        return a == b;
    return !a.empty() && SameTextAscii(a, b);
}

size_t TFastIniFile::FindInlineComment(std::string_view text)
{
    bool inQuotes = false;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '"')
            inQuotes = !inQuotes;
        else if (text[i] == ';' && !inQuotes)
            return i + 1;
    }
    return 0;
}

// ---- loading -------------------------------------------------------------

void TFastIniFile::EnsureLoaded()
{
    if (!m_loaded)
        Load();
}

void TFastIniFile::Load()
{
    if (m_fileName.empty() || m_detached) {
        Reset();
    } else {
        int fd = ::open(m_fileName.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) {
            int error = errno;
            if (error != ENOENT && error != ENOTDIR)
                throw EFileError("Cannot open file \"" + m_fileName + "\". " + SystemReason(error));
            Reset();
        } else {
            ClearContents();
            bool ok = m_buffer.ReadFrom(fd);
            int error = errno;
            ::close(fd);
            if (!ok) {
                ClearContents();
                throw EFileError("Cannot open file \"" + m_fileName + "\". " + SystemReason(error));
            }
            ReadFile();
        }
    }
    m_modified = false;
    m_loaded = true;
}

void TFastIniFile::ReadFile()
{
    m_buffer.CutAtNul();
    const std::string_view text = m_buffer.view();

    // Counting the lines first sizes the array exactly, so it is never
    // copied while it fills.
    size_t count = 0;
    ForEachLine(text, [&](std::string_view) { ++count; });
    m_lines.reserve(count);
    AdviseHugePages(m_lines.data(), count * sizeof(Line));
    ForEachLine(text, [&](std::string_view line) { AppendLoadedLine(line); });

    if (m_stats.SectionLines > 0 && m_stats.KeyLines / m_stats.SectionLines >= 250)
        m_keyHashing = true;
}

void TFastIniFile::AppendLoadedLine(std::string_view text)
{
    GrowIfFull();
    Line line;
    line.text = IniText(text);
    if (text.empty()) {
        line.kind = ltBlank;
    } else if (text.front() == ';') {
        line.kind = ltComment;
    } else if (text.front() == '[' && text.back() == ']') {
        line.kind = ltSection;
        auto node = std::make_unique<SectionNode>();
        node->name = std::string(text.substr(1, text.size() - 2));
        node->start = m_lines.size() + 1;
        m_sections[HashName(node->name, CaseMode()) & 0xFF].push_back(std::move(node));
    } else {
        line.kind = ltRaw;
    }
    CountLine(line.kind, +1);
    m_lines.push_back(std::move(line));
}

void TFastIniFile::GrowIfFull()
{
    size_t room = m_lines.capacity();
    if (m_lines.size() < room)
        return;
    if (room > 1024)
        room += room / 4;
    else if (room > 256)
        room += 512;
    else
        room += 128;
    m_lines.reserve(room);
}

void TFastIniFile::CountLine(TLineKind kind, int delta)
{
    switch (kind) {
    case ltBlank: m_stats.BlankLines += delta; break;
    case ltComment: m_stats.CommentLines += delta; break;
    case ltSection: m_stats.SectionLines += delta; break;
    default: m_stats.KeyLines += delta; break;
    }
}

void TFastIniFile::ClearContents()
{
    m_lines.clear();
    m_lines.shrink_to_fit();
    for (auto& chain : m_sections)
        chain.clear();
    m_lastSection = nullptr;
    m_stats = {};
    m_keyHashing = false;
    m_buffer.Clear();
}

void TFastIniFile::DetachFromFile()
{
    m_detached = true;
    Reset();
    Load();
}

void TFastIniFile::Reset()
{
    ClearContents();
    m_loaded = false;
    m_modified = false;
}

// ---- lines and sections --------------------------------------------------

void TFastIniFile::Examine(Line& line) const
{
    if (line.kind != ltRaw)
        return;
    std::string_view text = TrimLeft(line.text.view());
    size_t equals = text.find('=');
    size_t offset = text.data() - line.text.view().data();
    if (equals == std::string_view::npos) {
        line.kind = ltInvalid;
        line.text.narrow(offset, text.size());
        return;
    }
    std::string_view key = Trim(text.substr(0, equals));
    std::string_view value = Trim(text.substr(equals + 1));
    // Raw lines always point into the load buffer, so key and value can too.
    line.value = IniText(value);
    line.text = IniText(key);
    line.kind = ltPair;
    line.hash = HashName(key, CaseMode());
}

void TFastIniFile::ForEachSection(const auto& visit)
{
    for (auto& chain : m_sections) {
        for (auto& node : chain)
            visit(*node);
    }
}

TFastIniFile::SectionNode* TFastIniFile::FindSection(std::string_view name)
{
    TCaseMode mode = CaseMode();
    if (m_lastSection && !name.empty() && SameName(m_lastSection->name, name, mode))
        return m_lastSection;
    auto& chain = m_sections[HashName(name, mode) & 0xFF];
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        if (SameName((*it)->name, name, mode)) {
            m_lastSection = it->get();
            return m_lastSection;
        }
    }
    return nullptr;
}

TFastIniFile::SectionNode* TFastIniFile::AddSection(std::string_view name)
{
    if (!m_lines.empty() && m_lines.back().kind != ltBlank) {
        GrowIfFull();
        m_lines.push_back(Line{});
        CountLine(ltBlank, +1);
    }
    std::string header = "[" + std::string(name) + "]";
    GrowIfFull();
    Line line;
    line.kind = ltSection;
    line.text = IniText::owned(header);
    m_lines.push_back(std::move(line));
    CountLine(ltSection, +1);

    auto node = std::make_unique<SectionNode>();
    node->name = std::string(name);
    node->start = m_lines.size();
    m_lastSection = node.get();
    m_sections[HashName(name, CaseMode()) & 0xFF].push_back(std::move(node));
    return m_lastSection;
}

size_t TFastIniFile::SectionEnd(size_t start) const
{
    size_t i = start;
    while (i < m_lines.size() && m_lines[i].kind != ltSection)
        ++i;
    return i;
}

long TFastIniFile::FindKeyLinear(const SectionNode& section, std::string_view key)
{
    TCaseMode mode = CaseMode();
    uint32_t hash = HashName(key, mode);
    for (size_t i = section.start; i < m_lines.size() && m_lines[i].kind != ltSection; ++i) {
        Line& line = m_lines[i];
        Examine(line);
        if (line.kind == ltPair && line.hash == hash && SameName(line.text.view(), key, mode))
            return static_cast<long>(i);
    }
    return -1;
}

std::unique_ptr<TFastIniFile::KeyTable> TFastIniFile::BuildKeyTable(size_t start)
{
    // Sized in a first pass so that huge sections fill their buckets in place.
    std::array<uint32_t, 256> sizes{};
    const size_t end = SectionEnd(start);
    for (size_t i = start; i < end; ++i) {
        Examine(m_lines[i]);
        if (m_lines[i].kind == ltPair)
            ++sizes[m_lines[i].hash & 0xFF];
    }
    auto table = std::make_unique<KeyTable>();
    for (size_t b = 0; b < 256; ++b)
        (*table)[b].reserve(sizes[b]);
    for (size_t i = start; i < end; ++i) {
        if (m_lines[i].kind == ltPair)
            (*table)[m_lines[i].hash & 0xFF].push_back(static_cast<uint32_t>(i));
    }
    return table;
}

long TFastIniFile::FindKeyHashed(SectionNode& section, std::string_view key)
{
    if (!section.keys)
        section.keys = BuildKeyTable(section.start);
    TCaseMode mode = CaseMode();
    uint32_t hash = HashName(key, mode);
    const auto& bucket = (*section.keys)[hash & 0xFF];
    for (auto it = bucket.rbegin(); it != bucket.rend(); ++it) {
        const Line& line = m_lines[*it];
        if (line.hash == hash && SameName(line.text.view(), key, mode))
            return static_cast<long>(*it);
    }
    return -1;
}

long TFastIniFile::FindKey(SectionNode& section, std::string_view key)
{
    return m_keyHashing ? FindKeyHashed(section, key) : FindKeyLinear(section, key);
}

size_t TFastIniFile::AddKey(SectionNode& section, std::string_view key)
{
    size_t index = section.start;
    for (size_t i = section.start; i < m_lines.size() && m_lines[i].kind != ltSection; ++i) {
        Examine(m_lines[i]);
        if (m_lines[i].kind == ltPair || m_lines[i].kind == ltInvalid)
            index = i + 1;
    }
    std::string_view trimmed = Trim(key);
    Line line;
    line.kind = ltPair;
    line.text = IniText::owned(trimmed);
    line.hash = HashName(trimmed, CaseMode());
    uint32_t hash = line.hash;
    InsertLine(index, std::move(line));
    if (m_keyHashing && section.keys) {
        for (auto& bucket : *section.keys) {
            for (auto& entry : bucket) {
                if (entry >= index)
                    ++entry;
            }
        }
        (*section.keys)[hash & 0xFF].push_back(static_cast<uint32_t>(index));
    }
    return index;
}

void TFastIniFile::InsertLine(size_t index, Line line)
{
    GrowIfFull();
    CountLine(line.kind, +1);
    m_lines.insert(m_lines.begin() + static_cast<long>(index), std::move(line));
    ShiftSectionStarts(index, +1);
}

void TFastIniFile::RemoveLines(size_t first, size_t count)
{
    for (size_t i = first; i < first + count; ++i)
        CountLine(IsKeyLine(m_lines[i].kind) ? ltRaw : m_lines[i].kind, -1);
    auto begin = m_lines.begin() + static_cast<long>(first);
    m_lines.erase(begin, begin + static_cast<long>(count));
    ShiftSectionStarts(first, -static_cast<long>(count));
}

// Sections behind a change move; their key tables hold line numbers, so they
// are dropped and rebuilt on the next lookup in them.
void TFastIniFile::ShiftSectionStarts(size_t after, long delta)
{
    ForEachSection([&](SectionNode& node) {
        if (node.start > after) {
            node.start = static_cast<size_t>(static_cast<long>(node.start) + delta);
            node.keys.reset();
        }
    });
}

// ---- public operations ---------------------------------------------------

std::string TFastIniFile::ReadText(std::string_view section, std::string_view key, std::string_view def)
{
    EnsureLoaded();
    SectionNode* node = FindSection(section);
    if (!node)
        return std::string(def);
    long index = FindKey(*node, key);
    if (index < 0)
        return std::string(def);

    std::string_view value = m_lines[static_cast<size_t>(index)].value.view();
    if (m_stripComments) {
        if (size_t p = FindInlineComment(value))
            value = Trim(value.substr(0, p - 1));
    }
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return std::string(value);
}

void TFastIniFile::WriteText(std::string_view section, std::string_view key, std::string_view value)
{
    // A line break or NUL inside a name or value would split the line when
    // the file is read again, losing or inventing settings.
    if (HasLineBreak(section) || HasLineBreak(key) || HasLineBreak(value)) {
        std::string safeSection = OneLine(section), safeKey = OneLine(key), safeValue = OneLine(value);
        WriteText(safeSection, safeKey, safeValue);
        return;
    }
    EnsureLoaded();
    if (key.empty()) {
        if (value.empty()) {
            if (section.empty())
                Flush();
            else
                RemoveSection(section);
        }
        return;
    }
    SectionNode* node = FindSection(section);
    if (!node)
        node = AddSection(section);
    long found = FindKey(*node, key);
    size_t index = found >= 0 ? static_cast<size_t>(found) : AddKey(*node, key);

    Line& line = m_lines[index];
    std::string_view old = line.value.view();
    std::string_view comment;
    size_t p = m_stripComments ? FindInlineComment(old) : 0;
    if (p > 0) {
        comment = old.substr(p - 1, 255);
        old = Trim(old.substr(0, p - 1));
    }
    if (old == value)
        return;

    std::string stored(value);
    if (p > 0) {
        if (p > value.size() + 1)
            stored.append(p - (value.size() + 1), ' ');
        else
            stored += ' ';
        stored += comment;
    }
    line.value = IniText::owned(stored);
    m_modified = true;
}

int32_t TFastIniFile::ReadNumber(std::string_view section, std::string_view key, int32_t def)
{
    std::string text = ReadText(section, key, "");
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
        text = "$" + text.substr(2);
    return StrToIntDef(text, def);
}

void TFastIniFile::WriteNumber(std::string_view section, std::string_view key, int32_t value)
{
    WriteText(section, key, std::to_string(value));
}

bool TFastIniFile::ReadFlag(std::string_view section, std::string_view key, bool def)
{
    return ReadNumber(section, key, def ? 1 : 0) != 0;
}

void TFastIniFile::WriteFlag(std::string_view section, std::string_view key, bool value)
{
    WriteText(section, key, value ? "1" : "0");
}

TFont& TFastIniFile::ReadFont(std::string_view section, std::string_view key, TFont& font)
{
    TextToFont(ReadText(section, key, FontToText(font)), font);
    return font;
}

void TFastIniFile::WriteFont(std::string_view section, std::string_view key, const TFont& font)
{
    WriteText(section, key, FontToText(font));
}

bool TFastIniFile::HasKey(std::string_view section, std::string_view key)
{
    EnsureLoaded();
    SectionNode* node = FindSection(section);
    return node && FindKeyLinear(*node, key) >= 0;
}

void TFastIniFile::ListKeys(std::string_view section, std::vector<std::string>& list)
{
    list.clear();
    EnsureLoaded();
    SectionNode* node = FindSection(section);
    if (!node)
        return;
    for (size_t i = node->start; i < m_lines.size() && m_lines[i].kind != ltSection; ++i) {
        Examine(m_lines[i]);
        if (m_lines[i].kind == ltPair)
            list.push_back(m_lines[i].text.str());
    }
}

void TFastIniFile::ListSections(std::vector<std::string>& list)
{
    list.clear();
    EnsureLoaded();
    for (const Line& line : m_lines) {
        if (line.kind == ltSection) {
            std::string_view header = line.text.view();
            list.emplace_back(header.substr(1, header.size() - 2));
        }
    }
}

void TFastIniFile::ListPairs(std::string_view section, std::vector<std::string>& list)
{
    std::vector<std::string> keys;
    ListKeys(section, keys);
    list.clear();
    for (const auto& key : keys)
        list.push_back(key + "=" + ReadText(section, key, ""));
}

void TFastIniFile::RemoveKey(std::string_view section, std::string_view key)
{
    EnsureLoaded();
    SectionNode* node = FindSection(section);
    if (!node)
        return;
    long index = FindKeyLinear(*node, key);
    if (index < 0)
        return;
    RemoveLines(static_cast<size_t>(index), 1);
    node->keys.reset();
    m_modified = true;
}

void TFastIniFile::RemoveSection(std::string_view section)
{
    EnsureLoaded();
    m_modified = true;
    SectionNode* node = FindSection(section);
    if (!node)
        return;

    size_t header = node->start - 1;
    size_t end = header;
    long blanks = 0;
    for (size_t i = header + 1; i < m_lines.size() && m_lines[i].kind != ltSection; ++i) {
        TLineKind kind = m_lines[i].kind;
        if (IsKeyLine(kind)) {
            end = i;
            blanks = 0;
        } else if (kind == ltComment) {
            blanks = -1;
        } else if (++blanks > 0) {
            end = i;
        }
    }

    if (m_lastSection == node)
        m_lastSection = nullptr;
    auto& chain = m_sections[HashName(node->name, CaseMode()) & 0xFF];
    std::erase_if(chain, [node](const auto& item) { return item.get() == node; });
    RemoveLines(header, end - header + 1);
}

// ---- writing -------------------------------------------------------------

std::string TFastIniFile::BuildText() const
{
    size_t size = 0;
    for (const Line& line : m_lines)
        size += line.text.size() + line.value.size() + 3;
    std::string text;
    text.reserve(size);
    for (const Line& line : m_lines) {
        text += line.text.view();
        if (line.kind == ltPair) {
            text += '=';
            text += line.value.view();
        }
        text += "\r\n";
    }
    return text;
}

void TFastIniFile::Flush()
{
    if (!m_modified)
        return;
    if (m_detached)
        throw EFileError("Cannot create file \"" + m_fileName +
                         "\". The file could not be read, so it is not written.");
    if (auto error = WriteFileAtomically(m_fileName, BuildText()))
        throw EFileError("Cannot create file \"" + m_fileName + "\". " + *error);
    m_modified = false;
}

} // namespace tramble
