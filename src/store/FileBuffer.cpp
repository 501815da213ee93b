#include "store/FileBuffer.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tramble {
namespace {

constexpr size_t kHugePage = size_t{2} << 20;

} // namespace

void AdviseHugePages(const void* data, size_t bytes)
{
    if (bytes < 2 * kHugePage)
        return;
    auto first = (reinterpret_cast<uintptr_t>(data) + kHugePage - 1) & ~(kHugePage - 1);
    auto last = (reinterpret_cast<uintptr_t>(data) + bytes) & ~(kHugePage - 1);
    if (last > first)
        ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
}

bool FileBuffer::Reserve(size_t capacity)
{
    if (capacity <= m_capacity)
        return true;
    if (capacity > kMaxSize) {
        errno = EFBIG;
        return false;
    }
    auto data = std::make_unique_for_overwrite<char[]>(capacity);
    AdviseHugePages(data.get(), capacity);
    if (m_size > 0)
        std::memcpy(data.get(), m_data.get(), m_size);
    m_data = std::move(data);
    m_capacity = capacity;
    return true;
}

bool FileBuffer::ReadFrom(int fd)
{
    Clear();
    struct stat st {};
    // One byte more than the size shows the end without another grow.
    size_t expected = (::fstat(fd, &st) == 0 && st.st_size > 0) ? static_cast<size_t>(st.st_size) + 1 : 4096;
    if (!Reserve(std::min(expected, kMaxSize)))
        return false;
    for (;;) {
        if (m_size == m_capacity && !Reserve(std::min(m_capacity * 2, kMaxSize + 1)))
            return false;
        ssize_t got = ::read(fd, m_data.get() + m_size, m_capacity - m_size);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (got == 0)
            break;
        m_size += static_cast<size_t>(got);
        if (m_size >= kMaxSize) {
            Clear();
            errno = EFBIG;
            return false;
        }
    }
    return true;
}

void FileBuffer::CutAtNul()
{
    if (const void* nul = std::memchr(m_data.get(), '\0', m_size))
        m_size = static_cast<size_t>(static_cast<const char*>(nul) - m_data.get());
}

void FileBuffer::Clear()
{
    m_data.reset();
    m_size = 0;
    m_capacity = 0;
}

} // namespace tramble
