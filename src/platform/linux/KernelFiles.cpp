#include "platform/linux/KernelFiles.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <string_view>
#include <unistd.h>

namespace tramble::platform {
namespace {

class FileHandle {
public:
    explicit FileHandle(const std::string& path) : m_fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC)) {}
    ~FileHandle()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    int fd() const { return m_fd; }

private:
    int m_fd;
};

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

} // namespace

bool ReadKernelFile(const std::string& path, std::string& text, size_t limit)
{
    text.clear();
    FileHandle file(path);
    if (file.fd() < 0)
        return false;
    size_t size = 0;
    while (size < limit) {
        // Kernel files report no size; grow the buffer as they fill it.
        if (text.size() - size < 4096)
            text.resize(std::min(limit, std::max<size_t>(text.size() * 2, 4096)));
        const ssize_t got = ::read(file.fd(), text.data() + size, text.size() - size);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            text.clear();
            return false;
        }
        if (got == 0)
            break;
        size += static_cast<size_t>(got);
    }
    text.resize(size);
    return true;
}

std::optional<std::string> ReadKernelLine(const std::string& path)
{
    // Attributes are a few bytes: one read into the stack, no heap buffer.
    FileHandle file(path);
    if (file.fd() < 0)
        return std::nullopt;
    char buffer[4096];
    ssize_t got = 0;
    do {
        got = ::read(file.fd(), buffer, sizeof buffer);
    } while (got < 0 && errno == EINTR);
    if (got < 0)
        return std::nullopt;
    const std::string_view text(buffer, static_cast<size_t>(got));
    return std::string(text.substr(0, text.find('\n')));
}

std::optional<int64_t> ReadKernelNumber(const std::string& path)
{
    std::optional<std::string> line = ReadKernelLine(path);
    if (!line)
        return std::nullopt;
    const char* first = line->data();
    const char* last = first + line->size();
    while (first < last && *first == ' ')
        ++first;
    int64_t value = 0;
    auto [end, error] = std::from_chars(first, last, value);
    if (error != std::errc() || end == first)
        return std::nullopt;
    return value;
}

std::vector<std::string> ListFolder(const std::string& path)
{
    std::vector<std::string> names;
    std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(path.c_str()), ::closedir);
    if (!dir)
        return names;
    while (const dirent* entry = ::readdir(dir.get())) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..")
            names.push_back(name);
    }
    std::sort(names.begin(), names.end(), NaturalLess);
    return names;
}

bool PathExists(const std::string& path)
{
    return ::access(path.c_str(), F_OK) == 0;
}

bool NaturalLess(const std::string& a, const std::string& b)
{
    size_t i = 0;
    size_t j = 0;
    while (i < a.size() && j < b.size()) {
        if (IsDigit(a[i]) && IsDigit(b[j])) {
            size_t iEnd = i;
            size_t jEnd = j;
            while (iEnd < a.size() && IsDigit(a[iEnd]))
                ++iEnd;
            while (jEnd < b.size() && IsDigit(b[jEnd]))
                ++jEnd;
            // Equal-length digit runs compare as text; a shorter run (leading
            // zeros aside) is the smaller number.
            std::string_view x(a.data() + i, iEnd - i);
            std::string_view y(b.data() + j, jEnd - j);
            while (x.size() > 1 && x[0] == '0')
                x.remove_prefix(1);
            while (y.size() > 1 && y[0] == '0')
                y.remove_prefix(1);
            if (x.size() != y.size())
                return x.size() < y.size();
            if (x != y)
                return x < y;
            i = iEnd;
            j = jEnd;
            continue;
        }
        if (a[i] != b[j])
            return a[i] < b[j];
        ++i;
        ++j;
    }
    return a.size() - i < b.size() - j;
}

} // namespace tramble::platform
