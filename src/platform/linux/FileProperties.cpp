#include "platform/FileProperties.h"

#include "platform/FileTypeIcons.h"

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace tramble::platform {
namespace {

std::string UserName(uid_t uid)
{
    std::vector<char> buffer(16384);
    struct passwd entry {};
    struct passwd* found = nullptr;
    if (getpwuid_r(uid, &entry, buffer.data(), buffer.size(), &found) == 0 && found)
        return found->pw_name;
    return std::to_string(uid);
}

std::string GroupName(gid_t gid)
{
    std::vector<char> buffer(16384);
    struct group entry {};
    struct group* found = nullptr;
    if (getgrgid_r(gid, &entry, buffer.data(), buffer.size(), &found) == 0 && found)
        return found->gr_name;
    return std::to_string(gid);
}

std::string Extension(const std::string& path)
{
    const size_t slash = path.rfind('/');
    const size_t dot = path.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash + 2))
        return {};
    return path.substr(dot);
}

} // namespace

std::string PermissionText(unsigned mode)
{
    std::string text = "rwxrwxrwx";
    for (int i = 0; i < 9; ++i) {
        if (!(mode & (0400u >> i)))
            text[i] = '-';
    }
    return text;
}

TFileProperties ReadFileProperties(const std::string& path)
{
    TFileProperties p;
    p.Path = path;
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0)
        return p;
    p.Exists = true;
    if (S_ISLNK(st.st_mode)) {
        std::vector<char> target(4096);
        const ssize_t length = ::readlink(path.c_str(), target.data(), target.size());
        if (length > 0)
            p.LinkTarget.assign(target.data(), static_cast<size_t>(length));
        // The rest describes what the link points to, when it points anywhere.
        struct stat followed {};
        if (::stat(path.c_str(), &followed) == 0)
            st = followed;
    }
    p.Kind = S_ISDIR(st.st_mode) ? "Folder" : S_ISREG(st.st_mode) ? "File" : "Other";
    if (!p.LinkTarget.empty())
        p.Kind = "Link";
    if (S_ISREG(st.st_mode))
        p.MimeType = MimeTypeForExtension(Extension(path), DataFolders());
    p.Size = st.st_size;
    p.Permissions = PermissionText(st.st_mode);
    p.Owner = UserName(st.st_uid);
    p.Group = GroupName(st.st_gid);
    p.Modified = st.st_mtime;
    p.Accessed = st.st_atime;
    p.Changed = st.st_ctime;
    return p;
}

} // namespace tramble::platform
