#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tramble {

// Replaces the file's content so that a crash or a full disk never leaves a
// half-written file: the text goes to a temporary file in the same folder,
// is synced and renamed over the old one. A symbolic link is followed and its
// target replaced; the old file's permissions are kept. A file or folder
// without any write permission counts as unwritable, even for root, as a
// read-only file does elsewhere. Returns the system's reason on failure, when
// the old file is untouched. A writable file in a folder that refuses the
// temporary file is written in place instead (over the old text, cut to
// length, synced), so that such set-ups keep working.
std::optional<std::string> WriteFileAtomically(const std::string& path, std::string_view text);

// Whether WriteFileAtomically may succeed on this path without trying it:
// a writable file, or a writable folder for a new one.
bool IsWritablePath(const std::string& path);

} // namespace tramble
