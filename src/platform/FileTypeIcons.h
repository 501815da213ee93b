#pragma once

#include <map>
#include <string>
#include <vector>

namespace tramble::platform {

// The XDG data folders in order of precedence: $XDG_DATA_HOME, then
// $XDG_DATA_DIRS, with their defaults.
std::vector<std::string> DataFolders();

// The MIME type of a file extension (".txt", any case) from the shared MIME
// database under the data folders; empty when unknown.
std::string MimeTypeForExtension(const std::string& extension, const std::vector<std::string>& dataFolders);

// The icon name of the file type of an extension: the database's icon for
// the type, else its generic icon; empty when the type is unknown.
std::string RegistryIconFor(const std::string& extension, const std::vector<std::string>& dataFolders);
std::string RegistryIconFor(const std::string& extension);

// The icons of the installed desktop entries by the programs their Exec
// lines run, read once from the data folders' "applications" trees.
class TDesktopIconIndex {
public:
    explicit TDesktopIconIndex(const std::vector<std::string>& dataFolders);

    // The icon of the entry that runs this program (a full path, or a name);
    // empty when none does.
    std::string IconFor(const std::string& program) const;

private:
    std::map<std::string, std::string> m_byPath;
    std::map<std::string, std::string> m_byName;
};

} // namespace tramble::platform
