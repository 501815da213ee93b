#pragma once

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

namespace tramble {

// A piece of text that either points into a store's load buffer or owns a
// heap copy. Unchanged lines stay views, so loading a large file allocates
// nothing per line, and the record is kept to 16 bytes because a store may
// hold millions of them. Pieces are limited to 2 GiB; the store refuses
// larger files.
class IniText {
public:
    static constexpr size_t kMaxSize = 0x7FFFFFFF;

    IniText() = default;
    explicit IniText(std::string_view borrowed)
        : m_data(borrowed.data()), m_size(static_cast<uint32_t>(borrowed.size()))
    {
    }
    static IniText owned(std::string_view text)
    {
        IniText result;
        if (!text.empty()) {
            char* copy = std::allocator<char>{}.allocate(text.size());
            std::memcpy(copy, text.data(), text.size());
            result.m_data = copy;
            result.m_size = static_cast<uint32_t>(text.size()) | kOwnedBit;
        }
        return result;
    }

    IniText(IniText&& other) noexcept
        : m_data(std::exchange(other.m_data, nullptr)), m_size(std::exchange(other.m_size, 0))
    {
    }
    IniText& operator=(IniText&& other) noexcept
    {
        if (this != &other) {
            Release();
            m_data = std::exchange(other.m_data, nullptr);
            m_size = std::exchange(other.m_size, 0);
        }
        return *this;
    }
    IniText(const IniText&) = delete;
    IniText& operator=(const IniText&) = delete;
    ~IniText() { Release(); }

    std::string_view view() const { return {m_data, size()}; }
    std::string str() const { return std::string(view()); }
    bool empty() const { return size() == 0; }
    size_t size() const { return m_size & ~kOwnedBit; }

    // Narrows a borrowed text to a part of itself; no copy is made.
    void narrow(size_t offset, size_t length)
    {
        m_data += offset;
        m_size = static_cast<uint32_t>(length) | (m_size & kOwnedBit);
    }

private:
    static constexpr uint32_t kOwnedBit = 0x80000000u;

    void Release()
    {
        if (m_size & kOwnedBit)
            std::allocator<char>{}.deallocate(const_cast<char*>(m_data), size());
    }

    const char* m_data = nullptr;
    uint32_t m_size = 0;
};

} // namespace tramble
