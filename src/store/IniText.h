#pragma once

#include <cstring>
#include <memory>
#include <string>
#include <string_view>

namespace tramble {

// A piece of text that either points into a store's load buffer or owns a
// heap copy. Unchanged lines stay views, so loading a large file allocates
// almost nothing per line. The heap block never moves when the IniText is
// moved, so the view stays valid inside a growing line array.
class IniText {
public:
    IniText() = default;
    explicit IniText(std::string_view borrowed) : m_view(borrowed) {}

    static IniText owned(std::string_view text)
    {
        IniText result;
        if (!text.empty()) {
            result.m_storage = std::make_unique_for_overwrite<char[]>(text.size());
            std::memcpy(result.m_storage.get(), text.data(), text.size());
            result.m_view = std::string_view(result.m_storage.get(), text.size());
        }
        return result;
    }

    std::string_view view() const { return m_view; }
    std::string str() const { return std::string(m_view); }
    bool empty() const { return m_view.empty(); }
    size_t size() const { return m_view.size(); }

    // Narrows the text to a part of itself; no copy is made.
    void narrow(size_t offset, size_t length) { m_view = m_view.substr(offset, length); }

private:
    std::unique_ptr<char[]> m_storage;
    std::string_view m_view;
};

} // namespace tramble
