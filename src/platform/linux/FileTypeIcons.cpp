#include "platform/FileTypeIcons.h"

#include "shell/DesktopEntry.h"
#include "shell/ExecLine.h"
#include "text/TextConvert.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace tramble::platform {
namespace {

// Desktop entries are small; a folder with very many of them is read in
// part only, so that a strange tree cannot stall the bar.
constexpr int kMaxDesktopFiles = 5000;
constexpr uintmax_t kMaxDesktopFileSize = 256 * 1024;

std::string LowerAscii(std::string text)
{
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

// The value after "key:" on the first line of a "key:value" file that
// starts with the key.
std::string LookUpPair(const std::string& path, const std::string& key)
{
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        if (line.size() > key.size() && line.starts_with(key) && line[key.size()] == ':')
            return line.substr(key.size() + 1);
    }
    return {};
}

std::string FileName(const std::string& path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace

std::vector<std::string> DataFolders()
{
    std::vector<std::string> folders;
    const char* home = std::getenv("HOME");
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    if (dataHome && *dataHome == '/')
        folders.emplace_back(dataHome);
    else
        folders.push_back(std::string(home && *home ? home : "/tmp") + "/.local/share");
    const char* dirs = std::getenv("XDG_DATA_DIRS");
    std::string_view list = dirs && *dirs ? dirs : "/usr/local/share:/usr/share";
    while (!list.empty()) {
        const size_t colon = list.find(':');
        const std::string_view folder = list.substr(0, colon);
        if (folder.starts_with("/"))
            folders.emplace_back(folder);
        list.remove_prefix(colon == std::string_view::npos ? list.size() : colon + 1);
    }
    return folders;
}

std::string MimeTypeForExtension(const std::string& extension, const std::vector<std::string>& dataFolders)
{
    if (extension.size() < 2 || extension.front() != '.')
        return {};
    const std::string glob = "*" + extension;
    const std::string lowerGlob = LowerAscii(glob);
    std::string best;
    int bestWeight = -1;
    for (const std::string& folder : dataFolders) {
        // globs2 lines: weight:type:glob[:flags], "cs" among the flags for
        // a glob that matches with regard to case.
        std::ifstream in(folder + "/mime/globs2");
        std::string line;
        while (std::getline(in, line)) {
            if (line.empty() || line.front() == '#')
                continue;
            const size_t a = line.find(':');
            const size_t b = a == std::string::npos ? a : line.find(':', a + 1);
            if (b == std::string::npos)
                continue;
            const size_t c = line.find(':', b + 1);
            const std::string pattern = line.substr(b + 1, c == std::string::npos ? std::string::npos : c - b - 1);
            const bool caseSensitive = c != std::string::npos && line.find("cs", c) != std::string::npos;
            const bool match = caseSensitive ? pattern == glob : LowerAscii(pattern) == lowerGlob;
            const int weight = StrToIntDef(line.substr(0, a), 50);
            if (match && weight > bestWeight) {
                bestWeight = weight;
                best = line.substr(a + 1, b - a - 1);
            }
        }
    }
    return best;
}

std::string RegistryIconFor(const std::string& extension, const std::vector<std::string>& dataFolders)
{
    const std::string type = MimeTypeForExtension(extension, dataFolders);
    if (type.empty())
        return {};
    for (const char* file : {"/mime/icons", "/mime/generic-icons"}) {
        for (const std::string& folder : dataFolders) {
            if (std::string icon = LookUpPair(folder + file, type); !icon.empty())
                return icon;
        }
    }
    return type.substr(0, type.find('/')) + "-x-generic";
}

std::string RegistryIconFor(const std::string& extension)
{
    return RegistryIconFor(extension, DataFolders());
}

TDesktopIconIndex::TDesktopIconIndex(const std::vector<std::string>& dataFolders)
{
    namespace fs = std::filesystem;
    int read = 0;
    for (const std::string& folder : dataFolders) {
        std::error_code error;
        fs::recursive_directory_iterator it(folder + "/applications", error);
        for (; !error && it != fs::recursive_directory_iterator() && read < kMaxDesktopFiles; it.increment(error)) {
            const fs::path& path = it->path();
            if (path.extension() != ".desktop" || !it->is_regular_file(error) ||
                it->file_size(error) > kMaxDesktopFileSize)
                continue;
            ++read;
            std::ifstream in(path, std::ios::binary);
            const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
            const std::optional<TDesktopEntry> entry = TDesktopEntry::Parse(text);
            if (!entry || !entry->Value("Icon") || !entry->Value("Exec"))
                continue;
            const std::vector<std::string> words = SplitExecLine(*entry->Value("Exec"));
            if (words.empty())
                continue;
            // Earlier folders take precedence, so existing entries stay.
            const std::string program = FindProgramInPath(words.front());
            m_byPath.emplace(program, *entry->Value("Icon"));
            m_byName.emplace(FileName(program), *entry->Value("Icon"));
        }
    }
}

std::string TDesktopIconIndex::IconFor(const std::string& program) const
{
    if (const auto it = m_byPath.find(program); it != m_byPath.end())
        return it->second;
    // An entry whose program was not found by name still names the same file.
    if (const auto it = m_byName.find(FileName(program)); it != m_byName.end())
        return it->second;
    return {};
}

} // namespace tramble::platform
