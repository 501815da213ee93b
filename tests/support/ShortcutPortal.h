#pragma once

// The desktop's own portal front end (xdg-desktop-portal) on a private bus,
// with a GlobalShortcuts back end of the test's own behind it: the back end
// answers as a compositor would, records what it was asked to bind and fires
// shortcuts on demand, which the front end passes on to its client.
#include "support/TempDir.h"
#include "support/XSession.h"

#include <systemd/sd-bus.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <ctime>
#include <deque>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <poll.h>
#include <string>
#include <sys/eventfd.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace tramble::test {

class ShortcutPortal {
public:
    static constexpr const char* kFrontEnd = "/usr/libexec/xdg-desktop-portal";
    static constexpr const char* kBackendName = "org.tramble.TestPortal";
    static constexpr const char* kDesktopName = "org.freedesktop.portal.Desktop";
    static constexpr const char* kObjectPath = "/org/freedesktop/portal/desktop";
    static constexpr const char* kSessionPrefix = "/org/freedesktop/portal/desktop/session";
    static constexpr const char* kInterface = "org.freedesktop.impl.portal.GlobalShortcuts";

    struct Options {
        bool WithBackend = true;   // false: front end only, which then offers no GlobalShortcuts
        uint32_t BindResponse = 0; // what BindShortcuts answers: 0 success, 1 cancelled by the user, 2 other
    };

    struct Bound {
        std::string Session;
        std::string Id;
        std::string Description;
        std::string Trigger;
    };

    // Starts the back end on a thread of its own, then the front end, and
    // waits (bounded) until the front end owns its name on the bus.
    ShortcutPortal(const std::string& busAddress, Options options) : m_options(options)
    {
        if (!Available() || busAddress.empty() || m_dir.path().empty())
            return;
        if (m_options.WithBackend && !StartBackend(busAddress))
            return;
        StartFrontEnd(busAddress);
    }

    ~ShortcutPortal()
    {
        m_frontEnd.reset();
        if (m_thread.joinable()) {
            m_stop = true;
            Wake();
            m_thread.join();
        }
        if (m_wake >= 0)
            ::close(m_wake);
        sd_bus_close_unref(m_bus);
    }

    ShortcutPortal(const ShortcutPortal&) = delete;
    ShortcutPortal& operator=(const ShortcutPortal&) = delete;

    static bool Available() { return ::access(kFrontEnd, X_OK) == 0; }

    // The front end is up, and the back end too when one was asked for.
    bool Ready() const { return m_frontReady && (!m_options.WithBackend || m_thread.joinable()); }

    // Every shortcut BindShortcuts was asked for, in order, whatever it answered.
    std::vector<Bound> BoundShortcuts() const
    {
        std::lock_guard lock(m_mutex);
        return m_bound;
    }

    bool WaitForBound(size_t count, std::chrono::milliseconds timeout) const
    {
        std::unique_lock lock(m_mutex);
        return m_changed.wait_for(lock, timeout, [&] { return m_bound.size() >= count; });
    }

    // CreateSession calls answered.
    int Sessions() const
    {
        std::lock_guard lock(m_mutex);
        return m_sessionCount;
    }

    // Sessions the front end has closed (when its client closed them or left the bus).
    int ClosedSessions() const
    {
        std::lock_guard lock(m_mutex);
        return m_closedCount;
    }

    bool WaitForClosedSessions(int count, std::chrono::milliseconds timeout) const
    {
        std::unique_lock lock(m_mutex);
        return m_changed.wait_for(lock, timeout, [&] { return m_closedCount >= count; });
    }

    // Fires the shortcut in the newest open session that bound it; true once
    // the signal is on the bus, false when no open session bound it.
    bool Activate(const std::string& id)
    {
        std::unique_lock lock(m_mutex);
        std::string session;
        for (auto it = m_sessions.rbegin(); it != m_sessions.rend() && session.empty(); ++it) {
            for (const Bound& shortcut : it->Shortcuts) {
                if (shortcut.Id == id)
                    session = shortcut.Session;
            }
        }
        if (session.empty() || !m_thread.joinable())
            return false;
        m_activations.push_back({session, id});
        const uint64_t ticket = m_queued + m_activations.size();
        Wake();
        m_changed.wait_for(lock, std::chrono::seconds(5), [&] { return m_sent >= ticket || m_loopEnded; });
        return m_sent >= ticket;
    }

private:
    struct Session {
        std::string Path;
        std::vector<Bound> Shortcuts; // the last successful bind
    };
    struct Activation {
        std::string Session;
        std::string Id;
    };
    struct MessageUnref {
        void operator()(sd_bus_message* m) const { sd_bus_message_unref(m); }
    };
    using Message = std::unique_ptr<sd_bus_message, MessageUnref>;

    bool StartBackend(const std::string& busAddress)
    {
        m_wake = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
        if (m_wake < 0 || sd_bus_new(&m_bus) < 0 || sd_bus_set_address(m_bus, busAddress.c_str()) < 0 ||
            sd_bus_set_bus_client(m_bus, 1) < 0 || sd_bus_start(m_bus) < 0)
            return false;
        if (sd_bus_add_object_vtable(m_bus, nullptr, kObjectPath, kInterface, kShortcutsVtable, this) < 0 ||
            sd_bus_add_fallback_vtable(m_bus, nullptr, kSessionPrefix, "org.freedesktop.impl.portal.Session",
                                       kSessionVtable, FindSession, this) < 0 ||
            sd_bus_request_name(m_bus, kBackendName, 0) < 0)
            return false;
        WriteFileBytes(m_dir.file("tramble.portal"), std::string("[portal]\nDBusName=") + kBackendName +
                                                         "\nInterfaces=" + kInterface + "\nUseIn=trambletest\n");
        m_thread = std::thread([this] { Serve(); });
        return true;
    }

    void StartFrontEnd(const std::string& busAddress)
    {
        namespace fs = std::filesystem;
        const fs::path root = m_dir.path();
        fs::create_directories(root / "run");
        fs::permissions(root / "run", fs::perms::owner_all);
        // The system bus is pointed at the private one too, so that the front
        // end's look-ups of system services stay on the test's own bus.
        m_frontEnd = std::make_unique<Process>(
            std::vector<std::string>{kFrontEnd},
            std::map<std::string, std::string>{{"DBUS_SESSION_BUS_ADDRESS", busAddress},
                                               {"DBUS_SYSTEM_BUS_ADDRESS", busAddress},
                                               {"XDG_DESKTOP_PORTAL_DIR", root.string()},
                                               {"XDG_CURRENT_DESKTOP", "trambletest"},
                                               {"XDG_RUNTIME_DIR", (root / "run").string()},
                                               {"XDG_CONFIG_HOME", (root / "config").string()},
                                               {"XDG_DATA_HOME", (root / "data").string()},
                                               {"XDG_CACHE_HOME", (root / "cache").string()},
                                               {"GIO_USE_VFS", "local"},
                                               {"GSETTINGS_BACKEND", "memory"}});
        sd_bus* watcher = nullptr;
        if (sd_bus_new(&watcher) >= 0 && sd_bus_set_address(watcher, busAddress.c_str()) >= 0 &&
            sd_bus_set_bus_client(watcher, 1) >= 0 && sd_bus_start(watcher) >= 0) {
            const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
            while (!m_frontReady && std::chrono::steady_clock::now() < end && !m_frontEnd->Wait({})) {
                m_frontReady = HasOwner(watcher, kDesktopName);
                if (!m_frontReady)
                    std::this_thread::sleep_for(std::chrono::milliseconds(20));
            }
        }
        sd_bus_close_unref(watcher);
    }

    static bool HasOwner(sd_bus* bus, const char* name)
    {
        sd_bus_message* reply = nullptr;
        int owned = 0;
        const bool asked = sd_bus_call_method(bus, "org.freedesktop.DBus", "/org/freedesktop/DBus",
                                              "org.freedesktop.DBus", "NameHasOwner", nullptr, &reply, "s", name) >= 0;
        if (asked)
            sd_bus_message_read(reply, "b", &owned);
        sd_bus_message_unref(reply);
        return asked && owned;
    }

    void Wake() const
    {
        if (m_wake < 0)
            return;
        const uint64_t one = 1;
        [[maybe_unused]] const ssize_t written = ::write(m_wake, &one, sizeof one);
    }

    // Only this thread touches the back end's bus once it runs.
    void Serve()
    {
        while (!m_stop) {
            int r;
            while ((r = sd_bus_process(m_bus, nullptr)) > 0) {
            }
            if (r < 0 || !SendActivations())
                break;
            uint64_t due = 0;
            int timeout = 100;
            if (sd_bus_get_timeout(m_bus, &due) > 0 && due != UINT64_MAX) {
                timespec now{};
                ::clock_gettime(CLOCK_MONOTONIC, &now);
                const uint64_t nowUs = now.tv_sec * 1000000ull + now.tv_nsec / 1000;
                timeout = due <= nowUs ? 0 : static_cast<int>(std::min<uint64_t>((due - nowUs + 999) / 1000, 100));
            }
            pollfd fds[2] = {{sd_bus_get_fd(m_bus), static_cast<short>(sd_bus_get_events(m_bus)), 0},
                             {m_wake, POLLIN, 0}};
            ::poll(fds, 2, timeout);
            uint64_t count = 0;
            [[maybe_unused]] const ssize_t drained = ::read(m_wake, &count, sizeof count);
        }
        std::lock_guard lock(m_mutex);
        m_loopEnded = true;
        m_changed.notify_all();
    }

    bool SendActivations()
    {
        std::unique_lock lock(m_mutex);
        while (!m_activations.empty()) {
            const Activation next = m_activations.front();
            m_activations.pop_front();
            ++m_queued;
            lock.unlock();
            const auto stamp = std::chrono::duration_cast<std::chrono::milliseconds>(
                std::chrono::steady_clock::now().time_since_epoch());
            const bool sent =
                sd_bus_emit_signal(m_bus, kObjectPath, kInterface, "Activated", "osta{sv}", next.Session.c_str(),
                                   next.Id.c_str(), static_cast<uint64_t>(stamp.count()), 0) >= 0 &&
                sd_bus_flush(m_bus) >= 0;
            lock.lock();
            if (!sent)
                return false;
            ++m_sent;
            m_changed.notify_all();
        }
        return true;
    }

    Session* FindOpen(const std::string& path)
    {
        for (Session& session : m_sessions) {
            if (session.Path == path)
                return &session;
        }
        return nullptr;
    }

    static ShortcutPortal& Self(void* data) { return *static_cast<ShortcutPortal*>(data); }

    static int FindSession(sd_bus*, const char* path, const char*, void* data, void** found, sd_bus_error*)
    {
        std::lock_guard lock(Self(data).m_mutex);
        if (!Self(data).FindOpen(path))
            return 0;
        *found = data;
        return 1;
    }

    static int CloseSession(sd_bus_message* m, void* data, sd_bus_error*)
    {
        ShortcutPortal& self = Self(data);
        {
            std::lock_guard lock(self.m_mutex);
            const std::string path = sd_bus_message_get_path(m);
            std::erase_if(self.m_sessions, [&](const Session& s) { return s.Path == path; });
            ++self.m_closedCount;
            self.m_changed.notify_all();
        }
        return sd_bus_reply_method_return(m, "");
    }

    static int CreateSession(sd_bus_message* m, void* data, sd_bus_error*)
    {
        const char* request = nullptr;
        const char* session = nullptr;
        const char* appId = nullptr;
        const int r = sd_bus_message_read(m, "oos", &request, &session, &appId);
        if (r < 0)
            return r;
        ShortcutPortal& self = Self(data);
        {
            std::lock_guard lock(self.m_mutex);
            self.m_sessions.push_back({session, {}});
            ++self.m_sessionCount;
            self.m_changed.notify_all();
        }
        return sd_bus_reply_method_return(m, "ua{sv}", 0u, 0);
    }

    // One shortcut's vardict: the strings the back end knows, others skipped.
    static int ReadShortcut(sd_bus_message* m, Bound& shortcut)
    {
        int r = sd_bus_message_enter_container(m, 'a', "{sv}");
        while (r >= 0 && (r = sd_bus_message_enter_container(m, 'e', "sv")) > 0) {
            const char* key = nullptr;
            const char* contents = nullptr;
            r = sd_bus_message_read(m, "s", &key);
            if (r >= 0)
                r = sd_bus_message_peek_type(m, nullptr, &contents);
            std::string* field = nullptr;
            if (r >= 0 && std::strcmp(contents, "s") == 0)
                field = std::strcmp(key, "description") == 0         ? &shortcut.Description
                        : std::strcmp(key, "preferred_trigger") == 0 ? &shortcut.Trigger
                                                                     : nullptr;
            const char* text = nullptr;
            if (r >= 0 && field && (r = sd_bus_message_read(m, "v", "s", &text)) >= 0)
                *field = text;
            else if (r >= 0)
                r = sd_bus_message_skip(m, "v");
            if (r >= 0)
                r = sd_bus_message_exit_container(m);
        }
        return r < 0 ? r : sd_bus_message_exit_container(m);
    }

    static int ReadShortcuts(sd_bus_message* m, const std::string& session, std::vector<Bound>& shortcuts)
    {
        int r = sd_bus_message_enter_container(m, 'a', "(sa{sv})");
        while (r >= 0 && (r = sd_bus_message_enter_container(m, 'r', "sa{sv}")) > 0) {
            const char* id = nullptr;
            Bound shortcut{session, {}, {}, {}};
            r = sd_bus_message_read(m, "s", &id);
            if (r >= 0) {
                shortcut.Id = id;
                r = ReadShortcut(m, shortcut);
            }
            if (r >= 0)
                r = sd_bus_message_exit_container(m);
            shortcuts.push_back(std::move(shortcut));
        }
        return r < 0 ? r : sd_bus_message_exit_container(m);
    }

    // A method return of response and results; the results hold "shortcuts"
    // when there are some to report.
    static int ReplyWithShortcuts(sd_bus_message* m, uint32_t response, const std::optional<std::vector<Bound>>& list)
    {
        sd_bus_message* raw = nullptr;
        int r = sd_bus_message_new_method_return(m, &raw);
        const Message reply(raw);
        if (r >= 0)
            r = sd_bus_message_append(raw, "u", response);
        if (r >= 0)
            r = sd_bus_message_open_container(raw, 'a', "{sv}");
        if (r >= 0 && list) {
            r = sd_bus_message_open_container(raw, 'e', "sv");
            if (r >= 0)
                r = sd_bus_message_append(raw, "s", "shortcuts");
            if (r >= 0)
                r = sd_bus_message_open_container(raw, 'v', "a(sa{sv})");
            if (r >= 0)
                r = sd_bus_message_open_container(raw, 'a', "(sa{sv})");
            for (auto it = list->begin(); r >= 0 && it != list->end(); ++it)
                r = sd_bus_message_append(raw, "(sa{sv})", it->Id.c_str(), 2, "description", "s",
                                          it->Description.c_str(), "trigger_description", "s", it->Trigger.c_str());
            for (int level = 0; level < 3 && r >= 0; ++level)
                r = sd_bus_message_close_container(raw);
        }
        if (r >= 0)
            r = sd_bus_message_close_container(raw);
        return r < 0 ? r : sd_bus_send(nullptr, raw, nullptr);
    }

    static int BindShortcuts(sd_bus_message* m, void* data, sd_bus_error* error)
    {
        const char* request = nullptr;
        const char* session = nullptr;
        int r = sd_bus_message_read(m, "oo", &request, &session);
        std::vector<Bound> shortcuts;
        if (r >= 0)
            r = ReadShortcuts(m, session, shortcuts);
        if (r < 0)
            return r;
        ShortcutPortal& self = Self(data);
        const uint32_t response = self.m_options.BindResponse;
        {
            std::lock_guard lock(self.m_mutex);
            Session* open = self.FindOpen(session);
            if (!open)
                return sd_bus_error_setf(error, SD_BUS_ERROR_INVALID_ARGS, "No session %s", session);
            if (response == 0)
                open->Shortcuts = shortcuts;
            self.m_bound.insert(self.m_bound.end(), shortcuts.begin(), shortcuts.end());
            self.m_changed.notify_all();
        }
        return ReplyWithShortcuts(m, response, response == 0 ? std::optional(shortcuts) : std::nullopt);
    }

    static int ListShortcuts(sd_bus_message* m, void* data, sd_bus_error* error)
    {
        const char* request = nullptr;
        const char* session = nullptr;
        const int r = sd_bus_message_read(m, "oo", &request, &session);
        if (r < 0)
            return r;
        ShortcutPortal& self = Self(data);
        std::vector<Bound> shortcuts;
        {
            std::lock_guard lock(self.m_mutex);
            const Session* open = self.FindOpen(session);
            if (!open)
                return sd_bus_error_setf(error, SD_BUS_ERROR_INVALID_ARGS, "No session %s", session);
            shortcuts = open->Shortcuts;
        }
        return ReplyWithShortcuts(m, 0, shortcuts);
    }

    static int Version(sd_bus*, const char*, const char*, const char*, sd_bus_message* reply, void*, sd_bus_error*)
    {
        return sd_bus_message_append(reply, "u", 1u);
    }

    static constexpr sd_bus_vtable kShortcutsVtable[] = {
        SD_BUS_VTABLE_START(0),
        SD_BUS_METHOD_WITH_ARGS("CreateSession",
                                SD_BUS_ARGS("o", handle, "o", session_handle, "s", app_id, "a{sv}", options),
                                SD_BUS_RESULT("u", response, "a{sv}", results), CreateSession, 0),
        SD_BUS_METHOD_WITH_ARGS(
            "BindShortcuts",
            SD_BUS_ARGS("o", handle, "o", session_handle, "a(sa{sv})", shortcuts, "s", parent_window, "a{sv}", options),
            SD_BUS_RESULT("u", response, "a{sv}", results), BindShortcuts, 0),
        SD_BUS_METHOD_WITH_ARGS("ListShortcuts", SD_BUS_ARGS("o", handle, "o", session_handle),
                                SD_BUS_RESULT("u", response, "a{sv}", results), ListShortcuts, 0),
        SD_BUS_SIGNAL_WITH_ARGS(
            "Activated", SD_BUS_ARGS("o", session_handle, "s", shortcut_id, "t", timestamp, "a{sv}", options), 0),
        SD_BUS_SIGNAL_WITH_ARGS(
            "Deactivated", SD_BUS_ARGS("o", session_handle, "s", shortcut_id, "t", timestamp, "a{sv}", options), 0),
        SD_BUS_SIGNAL_WITH_ARGS("ShortcutsChanged", SD_BUS_ARGS("o", session_handle, "a(sa{sv})", shortcuts), 0),
        SD_BUS_PROPERTY("version", "u", Version, 0, SD_BUS_VTABLE_PROPERTY_CONST),
        SD_BUS_VTABLE_END,
    };
    static constexpr sd_bus_vtable kSessionVtable[] = {
        SD_BUS_VTABLE_START(0),
        SD_BUS_METHOD("Close", "", "", CloseSession, 0),
        SD_BUS_PROPERTY("version", "u", Version, 0, SD_BUS_VTABLE_PROPERTY_CONST),
        SD_BUS_VTABLE_END,
    };

    Options m_options;
    TempDir m_dir;
    sd_bus* m_bus = nullptr;
    int m_wake = -1;
    std::thread m_thread;
    std::atomic<bool> m_stop{false};
    std::unique_ptr<Process> m_frontEnd;
    bool m_frontReady = false;

    mutable std::mutex m_mutex;
    mutable std::condition_variable m_changed;
    std::vector<Bound> m_bound;
    std::vector<Session> m_sessions; // open ones, oldest first
    int m_sessionCount = 0;
    int m_closedCount = 0;
    std::deque<Activation> m_activations;
    uint64_t m_queued = 0; // activations taken off the queue
    uint64_t m_sent = 0;
    bool m_loopEnded = false;
};

} // namespace tramble::test
