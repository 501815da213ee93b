#pragma once

#include <cstddef>
#include <memory>
#include <string_view>

namespace tramble {

// The whole content of a file, read once and kept unchanged while views into
// it are in use.
class FileBuffer {
public:
    static constexpr size_t kMaxSize = size_t{1} << 31;

    // Reads everything from an open descriptor. False with errno set on a
    // read error, or EFBIG when the file holds kMaxSize bytes or more.
    bool ReadFrom(int fd);
    std::string_view view() const { return {m_data.get(), m_size}; }
    // Drops everything from the first NUL byte on.
    void CutAtNul();
    void Clear();

private:
    bool Reserve(size_t capacity);

    std::unique_ptr<char[]> m_data;
    size_t m_size = 0;
    size_t m_capacity = 0;
};

// Asks the kernel to back a large block with huge pages, which saves most of
// the page faults when millions of small records are first written.
void AdviseHugePages(const void* data, size_t bytes);

} // namespace tramble
