#include "shell/ShellLinkFile.h"

#include <cstring>

namespace tramble {
namespace {

constexpr uint32_t kHeaderSize = 0x4C;
// {00021401-0000-0000-C000-000000000046} as stored.
constexpr char kLinkClsid[16] = {0x01,   0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,
                                 '\xC0', 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};

enum : uint32_t {
    HasLinkTargetIDList = 0x1,
    HasLinkInfo = 0x2,
    HasName = 0x4,
    HasRelativePath = 0x8,
    HasWorkingDir = 0x10,
    HasArguments = 0x20,
    HasIconLocation = 0x40,
    IsUnicode = 0x80,
};

constexpr uint32_t kEnvironmentBlock = 0xA0000001;

// Bounds-checked little-endian reading; any read past the end marks the
// reader as failed and gives zeros.
class TReader {
public:
    explicit TReader(std::string_view data) : m_data(data) {}
    bool Failed() const { return m_failed; }
    size_t Position() const { return m_pos; }
    std::string_view Data() const { return m_data; }

    uint32_t Number(size_t size)
    {
        if (m_failed || size > m_data.size() - m_pos) {
            m_failed = true;
            return 0;
        }
        uint32_t value = 0;
        for (size_t i = 0; i < size; ++i)
            value |= uint32_t(uint8_t(m_data[m_pos + i])) << (8 * i);
        m_pos += size;
        return value;
    }
    std::string_view Bytes(size_t size)
    {
        if (m_failed || size > m_data.size() - m_pos) {
            m_failed = true;
            return {};
        }
        const std::string_view bytes = m_data.substr(m_pos, size);
        m_pos += size;
        return bytes;
    }
    void Skip(size_t size) { Bytes(size); }

private:
    std::string_view m_data;
    size_t m_pos = 0;
    bool m_failed = false;
};

void AppendUtf8(std::string& out, uint32_t cp)
{
    if (cp < 0x80) {
        out += char(cp);
    } else if (cp < 0x800) {
        out += char(0xC0 | (cp >> 6));
        out += char(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += char(0xE0 | (cp >> 12));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    } else {
        out += char(0xF0 | (cp >> 18));
        out += char(0x80 | ((cp >> 12) & 0x3F));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    }
}

// UTF-16LE units up to the first zero unit; unpaired surrogates become U+FFFD.
std::string FromUtf16(std::string_view bytes)
{
    std::string out;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        uint32_t unit = uint8_t(bytes[i]) | uint32_t(uint8_t(bytes[i + 1])) << 8;
        if (unit == 0)
            break;
        if (unit >= 0xD800 && unit < 0xDC00 && i + 3 < bytes.size()) {
            const uint32_t low = uint8_t(bytes[i + 2]) | uint32_t(uint8_t(bytes[i + 3])) << 8;
            if (low >= 0xDC00 && low < 0xE000) {
                AppendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
                i += 2;
                continue;
            }
        }
        AppendUtf8(out, unit >= 0xD800 && unit < 0xE000 ? 0xFFFD : unit);
    }
    return out;
}

// Bytes of the system code page up to the first zero; read as Latin-1.
std::string FromAnsi(std::string_view bytes)
{
    std::string out;
    for (char c : bytes) {
        if (c == 0)
            break;
        AppendUtf8(out, uint8_t(c));
    }
    return out;
}

// A zero-terminated text at an offset inside a structure.
std::string TextAt(std::string_view block, uint32_t offset, bool unicode)
{
    if (offset == 0 || offset >= block.size())
        return {};
    return unicode ? FromUtf16(block.substr(offset)) : FromAnsi(block.substr(offset));
}

std::string JoinPath(std::string base, const std::string& suffix)
{
    if (!suffix.empty() && !base.empty() && base.back() != '\\')
        base += '\\';
    return base + suffix;
}

// The target of the LinkInfo structure: the network name first, else the
// local base path, each followed by the common path suffix.
std::optional<std::string> LinkInfoTarget(std::string_view info)
{
    TReader r(info);
    r.Skip(4); // size
    const uint32_t headerSize = r.Number(4);
    const uint32_t flags = r.Number(4);
    r.Skip(4); // VolumeIDOffset
    const uint32_t localBase = r.Number(4);
    const uint32_t network = r.Number(4);
    const uint32_t suffixOffset = r.Number(4);
    uint32_t localBaseUnicode = 0;
    uint32_t suffixUnicode = 0;
    if (headerSize >= 0x24) {
        localBaseUnicode = r.Number(4);
        suffixUnicode = r.Number(4);
    }
    if (r.Failed())
        return std::nullopt;
    const std::string suffix = suffixUnicode ? TextAt(info, suffixUnicode, true) : TextAt(info, suffixOffset, false);
    if ((flags & 0x2) && network && network < info.size()) {
        const std::string_view block = info.substr(network);
        TReader n(block);
        n.Skip(8); // size, flags
        const uint32_t netName = n.Number(4);
        n.Skip(8); // device name, provider type
        uint32_t netNameUnicode = 0;
        if (netName > 0x14)
            netNameUnicode = n.Number(4);
        if (n.Failed())
            return std::nullopt;
        const std::string name = netNameUnicode ? TextAt(block, netNameUnicode, true) : TextAt(block, netName, false);
        if (!name.empty())
            return JoinPath(name, suffix);
    }
    if (flags & 0x1) {
        const std::string base =
            localBaseUnicode ? TextAt(info, localBaseUnicode, true) : TextAt(info, localBase, false);
        return base + suffix;
    }
    return std::string();
}

// One StringData item: a 16-bit character count, then the characters.
std::string ReadCountedText(TReader& r, bool unicode)
{
    const uint32_t count = r.Number(2);
    const std::string_view bytes = r.Bytes(unicode ? count * 2 : count);
    if (r.Failed())
        return {};
    return unicode ? FromUtf16(bytes) : FromAnsi(bytes);
}

// The target of an EnvironmentVariableDataBlock among the extra data blocks.
std::string EnvironmentTarget(TReader& r)
{
    while (!r.Failed()) {
        const uint32_t size = r.Number(4);
        if (size < 8 || r.Failed())
            break;
        const uint32_t signature = r.Number(4);
        const std::string_view body = r.Bytes(size - 8);
        if (r.Failed())
            break;
        if (signature == kEnvironmentBlock && body.size() >= 260 + 520) {
            const std::string wide = FromUtf16(body.substr(260, 520));
            return wide.empty() ? FromAnsi(body.substr(0, 260)) : wide;
        }
    }
    return {};
}

} // namespace

bool LooksLikeShellLink(std::string_view data)
{
    return data.size() >= kHeaderSize && uint8_t(data[0]) == kHeaderSize && data[1] == 0 && data[2] == 0 &&
           data[3] == 0 && std::memcmp(data.data() + 4, kLinkClsid, sizeof kLinkClsid) == 0;
}

std::optional<TShellLinkData> ParseShellLink(std::string_view data)
{
    if (!LooksLikeShellLink(data))
        return std::nullopt;
    TShellLinkData link;
    TReader r(data);
    r.Skip(20); // header size and class
    const uint32_t flags = r.Number(4);
    r.Skip(4 + 8 * 3 + 4); // attributes, three times, file size
    link.IconIndex = static_cast<int32_t>(r.Number(4));
    link.ShowCommand = r.Number(4);
    link.HotKey = static_cast<uint16_t>(r.Number(2));
    r.Skip(10); // reserved
    if (flags & HasLinkTargetIDList)
        r.Skip(r.Number(2));
    if (flags & HasLinkInfo) {
        const uint32_t size = r.Number(4);
        if (r.Failed() || size < 4)
            return std::nullopt;
        const size_t start = r.Position() - 4;
        r.Skip(size - 4);
        if (r.Failed())
            return std::nullopt;
        const std::optional<std::string> target = LinkInfoTarget(data.substr(start, size));
        if (!target)
            return std::nullopt;
        link.Target = *target;
    }
    const bool unicode = flags & IsUnicode;
    if (flags & HasName)
        link.Description = ReadCountedText(r, unicode);
    if (flags & HasRelativePath)
        link.RelativePath = ReadCountedText(r, unicode);
    if (flags & HasWorkingDir)
        link.WorkingDir = ReadCountedText(r, unicode);
    if (flags & HasArguments)
        link.Arguments = ReadCountedText(r, unicode);
    if (flags & HasIconLocation)
        link.IconLocation = ReadCountedText(r, unicode);
    if (r.Failed())
        return std::nullopt;
    if (link.Target.empty())
        link.Target = EnvironmentTarget(r);
    return link;
}

} // namespace tramble
