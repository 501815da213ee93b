#include "platform/Launch.h"

#include "shell/DesktopEntry.h"
#include "shell/ExecLine.h"
#include "shell/ShellWords.h"

#include <cerrno>
#include <csignal>
#include <fstream>
#include <iterator>
#include <pthread.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace tramble::platform {
namespace {

void* ReapChild(void* arg)
{
    const pid_t pid = static_cast<pid_t>(reinterpret_cast<intptr_t>(arg));
    while (::waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
    }
    return nullptr;
}

// A small detached thread waits for the child, so that no zombie stays
// behind and the bar never blocks; the child itself outlives the bar.
void ReapLater(pid_t pid)
{
    pthread_attr_t attr;
    pthread_attr_init(&attr);
    pthread_attr_setdetachstate(&attr, PTHREAD_CREATE_DETACHED);
    pthread_attr_setstacksize(&attr, 64 * 1024);
    pthread_t thread;
    if (pthread_create(&thread, &attr, ReapChild, reinterpret_cast<void*>(static_cast<intptr_t>(pid))) != 0)
        ReapChild(reinterpret_cast<void*>(static_cast<intptr_t>(pid)));
    pthread_attr_destroy(&attr);
}

int Started(int error)
{
    return error == 0 ? kOpenStarted : OpenResultForError(error);
}

int OpenWithDesktop(const std::string& target, const std::string& folder)
{
    const int error = SpawnDetached({"xdg-open", target}, folder);
    // Without an opener there is nothing that knows this kind of file.
    return error == ENOENT ? kOpenNoAssociation : Started(error);
}

int RunDesktopEntry(const std::string& path, const std::string& arguments, const std::string& folder)
{
    std::ifstream in(path, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::optional<TDesktopEntry> entry = TDesktopEntry::Parse(text);
    if (!entry)
        return kOpenNoAssociation;
    if (entry->ValueOr("Type", "Application") == "Link")
        return OpenWithDesktop(entry->ValueOr("URL", ""), folder);
    TExecContext context;
    context.Files = SplitShellWords(arguments);
    context.Icon = entry->ValueOr("Icon", "");
    context.Name = entry->ValueOr("Name", "");
    context.Location = path;
    const std::vector<std::string> argv = ExpandFieldCodes(SplitExecLine(entry->ValueOr("Exec", "")), context);
    if (argv.empty())
        return kOpenNoAssociation;
    return Started(SpawnDetached(argv, entry->ValueOr("Path", folder)));
}

} // namespace

int OpenResultForError(int error)
{
    switch (error) {
    case ENOENT: return kOpenNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP: return kOpenPathNotFound;
    case ENOMEM:
    case EAGAIN:
    case E2BIG: return kOpenOutOfMemory;
    case ENOEXEC: return kOpenNoAssociation;
    default: return kOpenAccessDenied;
    }
}

int SpawnDetached(const std::vector<std::string>& argv, const std::string& folder, pid_t* pid)
{
    if (argv.empty() || argv.front().empty())
        return ENOENT;
    if (!folder.empty()) {
        struct stat st {};
        if (::stat(folder.c_str(), &st) != 0)
            return errno == ENOENT ? ENOTDIR : errno;
        if (!S_ISDIR(st.st_mode))
            return ENOTDIR;
    }
    std::vector<char*> args;
    for (const std::string& word : argv)
        args.push_back(const_cast<char*>(word.c_str()));
    args.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (!folder.empty())
        posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
    posix_spawn_file_actions_addclosefrom_np(&actions, 3);

    posix_spawnattr_t attr;
    posix_spawnattr_init(&attr);
    sigset_t none;
    sigset_t all;
    sigemptyset(&none);
    sigfillset(&all);
    posix_spawnattr_setsigmask(&attr, &none);
    posix_spawnattr_setsigdefault(&attr, &all);
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

    pid_t child = 0;
    const bool search = argv.front().find('/') == std::string::npos;
    const int error = search ? posix_spawnp(&child, args[0], &actions, &attr, args.data(), environ)
                             : posix_spawn(&child, args[0], &actions, &attr, args.data(), environ);
    posix_spawnattr_destroy(&attr);
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0)
        return error;
    if (pid)
        *pid = child;
    ReapLater(child);
    return 0;
}

int ShellOpen(const std::string& target, const std::string& arguments, const std::string& folder)
{
    if (target.empty())
        return kOpenNotFound;
    if (IsAddress(target))
        return OpenWithDesktop(target, folder);
    struct stat st {};
    if (::stat(target.c_str(), &st) != 0) {
        const int error = errno;
        // A missing folder on the way is a missing path, not a missing file.
        const size_t slash = target.rfind('/');
        struct stat parent {};
        if (error == ENOENT && slash != std::string::npos && slash > 0 &&
            ::stat(target.substr(0, slash).c_str(), &parent) != 0)
            return kOpenPathNotFound;
        return OpenResultForError(error);
    }
    if (S_ISDIR(st.st_mode))
        return OpenWithDesktop(target, folder);
    if (target.ends_with(".desktop"))
        return RunDesktopEntry(target, arguments, folder);
    if (S_ISREG(st.st_mode) && ::access(target.c_str(), X_OK) == 0) {
        std::vector<std::string> argv{target};
        for (std::string& word : SplitShellWords(arguments))
            argv.push_back(std::move(word));
        return Started(SpawnDetached(argv, folder));
    }
    return OpenWithDesktop(target, folder);
}

} // namespace tramble::platform
