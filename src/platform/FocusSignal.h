#pragma once

#include <optional>
#include <string>

namespace tramble::platform {

// The socket through which "tramble --focus" reaches the running copy of the
// same executable: in the instance locks' folder, named after the path.
std::string FocusSocketPath(const std::string& executablePath, const std::string& folder = {});

// Asks the copy listening at path to take the focus. False when none listens.
bool SendFocusRequest(const std::string& path);

// The running copy's side: a datagram socket at the path, made anew (the
// copy lock guarantees no other listener), removed when dropped.
class TFocusListener {
public:
    static std::optional<TFocusListener> Listen(const std::string& path);
    TFocusListener(TFocusListener&& other) noexcept;
    TFocusListener& operator=(TFocusListener&& other) noexcept;
    TFocusListener(const TFocusListener&) = delete;
    TFocusListener& operator=(const TFocusListener&) = delete;
    ~TFocusListener();

    // Readable when a request waits.
    int Fd() const { return m_fd; }
    // Reads every waiting request without blocking; how many there were.
    int TakeRequests();

private:
    TFocusListener(int fd, std::string path) : m_fd(fd), m_path(std::move(path)) {}
    void Close();
    int m_fd = -1;
    std::string m_path;
};

} // namespace tramble::platform
