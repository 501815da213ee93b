#include "store/IconCache.h"

#include "store/AtomicFile.h"

#include <algorithm>
#include <fstream>

namespace tramble {
namespace {

constexpr std::string_view kPngSignature = "\x89PNG\r\n\x1a\n";
constexpr size_t kHeaderSize = 4 + kIconCacheFillerSize + 2;
constexpr size_t kChecksumSize = 4;

uint32_t BigEndian(std::string_view data, size_t at, size_t size)
{
    uint32_t value = 0;
    for (size_t i = 0; i < size; ++i)
        value = (value << 8) | static_cast<uint8_t>(data[at + i]);
    return value;
}

void AppendBigEndian(std::string& out, uint32_t value, size_t size)
{
    for (size_t i = size; i-- > 0;)
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

} // namespace

uint32_t IconCacheChecksum(std::string_view data)
{
    uint32_t sum = 0;
    for (char c : data)
        sum += static_cast<uint8_t>(c);
    return sum;
}

std::optional<size_t> PngStreamLength(std::string_view data)
{
    if (!data.starts_with(kPngSignature))
        return std::nullopt;
    size_t at = kPngSignature.size();
    // Each chunk: 4-byte length, 4-byte type, data, 4-byte CRC.
    while (data.size() - at >= 12) {
        const uint32_t length = BigEndian(data, at, 4);
        if (length > 0x7FFFFFFF || length > data.size() - at - 12)
            return std::nullopt;
        const std::string_view type = data.substr(at + 4, 4);
        at += 12 + length;
        if (type == "IEND")
            return at;
    }
    return std::nullopt;
}

std::optional<std::string> EncodeIconCache(const std::vector<std::string>& pngs, const TIconCacheFiller& filler)
{
    if (pngs.size() > kIconCacheMaxEntries)
        return std::nullopt;
    std::string out(kIconCacheMagic);
    out.append(reinterpret_cast<const char*>(filler.data()), filler.size());
    AppendBigEndian(out, static_cast<uint32_t>(pngs.size()), 2);
    for (const std::string& png : pngs) {
        if (PngStreamLength(png) != png.size())
            return std::nullopt;
        out += png;
    }
    AppendBigEndian(out, IconCacheChecksum(out), kChecksumSize);
    return out;
}

std::optional<std::vector<std::string>> DecodeIconCache(std::string_view data, int expectedCount)
{
    if (data.size() < kHeaderSize + kChecksumSize || !data.starts_with(kIconCacheMagic))
        return std::nullopt;
    const std::string_view body = data.substr(0, data.size() - kChecksumSize);
    if (IconCacheChecksum(body) != BigEndian(data, body.size(), kChecksumSize))
        return std::nullopt;
    const int count = static_cast<int>(BigEndian(data, kHeaderSize - 2, 2));
    if (count != expectedCount)
        return std::nullopt;
    std::vector<std::string> pngs;
    pngs.reserve(count);
    std::string_view rest = body.substr(kHeaderSize);
    for (int i = 0; i < count; ++i) {
        const std::optional<size_t> length = PngStreamLength(rest);
        if (!length)
            return std::nullopt;
        pngs.emplace_back(rest.substr(0, *length));
        rest.remove_prefix(*length);
    }
    if (!rest.empty())
        return std::nullopt;
    return pngs;
}

std::optional<std::vector<std::string>> LoadIconCacheFile(const std::string& path, int expectedCount)
{
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in.is_open())
        return std::nullopt;
    // Read in one piece: a cache of many icons is read at every start.
    std::string data(static_cast<size_t>(std::max<std::streamoff>(in.tellg(), 0)), '\0');
    in.seekg(0);
    if (!in.read(data.data(), static_cast<std::streamsize>(data.size())))
        return std::nullopt;
    return DecodeIconCache(data, expectedCount);
}

bool SaveIconCacheFile(const std::string& path, const std::vector<std::string>& pngs, const TIconCacheFiller& filler)
{
    const std::optional<std::string> data = EncodeIconCache(pngs, filler);
    return data && !WriteFileAtomically(path, *data);
}

} // namespace tramble
