#pragma once

#include <optional>
#include <string>

namespace tramble::platform {

// A lock known to every process of the user by its name, held until the
// holder releases it or ends (a crash leaves none behind).
class TNamedLock {
public:
    // Takes the lock when no other process holds it; nothing when one does or
    // the lock cannot be made. `folder` empty: the user's lock folder.
    static std::optional<TNamedLock> TryAcquire(const std::string& name, const std::string& folder = {});

    TNamedLock(TNamedLock&& other) noexcept;
    TNamedLock& operator=(TNamedLock&& other) noexcept;
    TNamedLock(const TNamedLock&) = delete;
    TNamedLock& operator=(const TNamedLock&) = delete;
    ~TNamedLock();

    void Release();

private:
    explicit TNamedLock(int fd) : m_fd(fd) {}
    int m_fd = -1;
};

// $XDG_RUNTIME_DIR/tramble, or /tmp/tramble-<uid> without a runtime folder;
// made when missing.
std::string LockFolder();

} // namespace tramble::platform
