#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tramble {

// The icon cache file: "Kuv2", 26 filler bytes, a 16-bit big-endian entry
// count, one complete PNG stream per entry, and a 32-bit big-endian sum of
// every byte before it.
inline constexpr std::string_view kIconCacheMagic = "Kuv2";
inline constexpr size_t kIconCacheFillerSize = 26;
inline constexpr size_t kIconCacheMaxEntries = 0xFFFF;

using TIconCacheFiller = std::array<uint8_t, kIconCacheFillerSize>;

// Nothing when there are more images than the count field holds or one of
// them is no PNG stream.
std::optional<std::string> EncodeIconCache(const std::vector<std::string>& pngs, const TIconCacheFiller& filler);

// The PNG streams of a cache whose magic, checksum and count (which must equal
// expectedCount) are right and whose streams are whole; nothing otherwise.
std::optional<std::vector<std::string>> DecodeIconCache(std::string_view data, int expectedCount);

// Length of the PNG stream at the start of data: signature, chunks, up to and
// including IEND. Nothing when the stream is cut short or malformed.
std::optional<size_t> PngStreamLength(std::string_view data);

uint32_t IconCacheChecksum(std::string_view data);

// Reads base + ".dat"; nothing when the file is missing, unreadable or fails
// DecodeIconCache.
std::optional<std::vector<std::string>> LoadIconCacheFile(const std::string& path, int expectedCount);
// Replaces the file whole; false when it could not be written.
bool SaveIconCacheFile(const std::string& path, const std::vector<std::string>& pngs, const TIconCacheFiller& filler);

} // namespace tramble
