#pragma once

// A headless weston compositor for tests of the real program on Wayland,
// with a keyboard the test types on and a record of the keyboard focus
// (see WestonKeyboard.c).
#include "support/TempDir.h"
#include "support/XSession.h"

#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace tramble::test {

// One change of the keyboard focus: the surface and its label, which for a
// top-level window reads "top-level window 'TITLE' of APP".
struct Focus {
    std::string Surface; // empty: no surface has the focus
    std::string Label;
};

class WestonSession {
public:
    // root: a private folder for the runtime folder, the FIFO and the record.
    bool Start(const std::filesystem::path& root)
    {
        namespace fs = std::filesystem;
        fs::create_directories(root / "run");
        fs::permissions(root / "run", fs::perms::owner_all);
        m_keys = (root / "keys").string();
        m_record = (root / "focus").string();
        if (::mkfifo(m_keys.c_str(), 0600) != 0)
            return false;
        m_socket = "tramble-test-" + std::to_string(::getpid());
        const std::map<std::string, std::string> env = {
            {"XDG_RUNTIME_DIR", (root / "run").string()}, {"TRAMBLE_KEYS", m_keys}, {"TRAMBLE_FOCUS", m_record}};
        m_weston.emplace(std::vector<std::string>{"/usr/bin/weston", "--backend=headless-backend.so",
                                                  "--socket=" + m_socket, "--modules=" WESTON_KEYBOARD_MODULE,
                                                  "--idle-time=0", "--no-config", "--width=1024", "--height=768"},
                         env);
        m_env = {{"XDG_RUNTIME_DIR", (root / "run").string()}, {"WAYLAND_DISPLAY", m_socket}};
        // Ready once the module reads its FIFO: a writer can then open it.
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(15);
        while (std::chrono::steady_clock::now() < end) {
            const int fd = ::open(m_keys.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
            if (fd >= 0) {
                m_writer = fd;
                return fs::exists(root / "run" / m_socket);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return false;
    }

    ~WestonSession()
    {
        if (m_writer >= 0)
            ::close(m_writer);
    }

    // What a client of this compositor needs: its runtime folder and socket.
    const std::map<std::string, std::string>& Env() const { return m_env; }

    void Type(const std::string& text) const { Send("type " + text); }
    void Key(const std::string& name) const { Send("key " + name); }

    // Every focus change so far, oldest first.
    std::vector<Focus> FocusChanges() const
    {
        std::vector<Focus> changes;
        std::ifstream in(m_record);
        for (std::string line; std::getline(in, line);) {
            if (line.rfind("focus ", 0) != 0)
                continue;
            const std::string rest = line.substr(6);
            if (rest == "none") {
                changes.push_back({});
                continue;
            }
            const size_t blank = rest.find(' ');
            changes.push_back({rest.substr(0, blank), blank == std::string::npos ? "" : rest.substr(blank + 1)});
        }
        return changes;
    }

    // The first focus change after `seen` changes whose label holds `title`.
    std::optional<Focus> WaitForFocus(const std::string& title, size_t seen = 0,
                                      std::chrono::milliseconds limit = std::chrono::seconds(15)) const
    {
        const auto end = std::chrono::steady_clock::now() + limit;
        while (std::chrono::steady_clock::now() < end) {
            const std::vector<Focus> changes = FocusChanges();
            for (size_t i = seen; i < changes.size(); ++i) {
                if (changes[i].Label.find("'" + title + "'") != std::string::npos)
                    return changes[i];
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return std::nullopt;
    }

private:
    void Send(const std::string& line) const
    {
        const std::string text = line + "\n";
        // Lines are short, so one write is atomic and never interleaves.
        [[maybe_unused]] const ssize_t written = ::write(m_writer, text.data(), text.size());
    }

    std::string m_keys;
    std::string m_record;
    std::string m_socket;
    std::map<std::string, std::string> m_env;
    int m_writer = -1;
    std::optional<Process> m_weston;
};

} // namespace tramble::test
