#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

namespace tramble::platform {

// Results of opening something, numbered as the classic shell numbers them:
// above 32 is success.
inline constexpr int kOpenNotFound = 2;
inline constexpr int kOpenPathNotFound = 3;
inline constexpr int kOpenAccessDenied = 5;
inline constexpr int kOpenOutOfMemory = 8;
inline constexpr int kOpenNoAssociation = 31;
inline constexpr int kOpenStarted = 33;

// Opens target as a double click would: a folder, document or address goes to
// the desktop's opener (xdg-open); an executable file is started with the
// arguments split by shell word rules; a desktop entry runs its Exec line.
// No shell ever sees the text. The start folder becomes the working folder.
// Programs started get no window-state hint on this platform.
int ShellOpen(const std::string& target, const std::string& arguments, const std::string& folder);

// Starts argv[0] (looked up in PATH when it names no folder) with argv in its
// own session, in the folder when one is given, with no file descriptors but
// 0, 1 and 2 and default signal handling. The bar reaps it when it ends and
// never waits for it. Returns 0 or the error number; pid gets the child.
int SpawnDetached(const std::vector<std::string>& argv, const std::string& folder, pid_t* pid = nullptr);

// The result number of ShellOpen for a failed start with this error number.
int OpenResultForError(int error);

} // namespace tramble::platform
