#pragma once

#include <memory>
#include <string>

namespace tramble::platform {

enum class TPortalState {
    Asking,     // waiting for the portal's answers (the desktop may ask the user)
    Bound,      // the shortcut is bound; its presses arrive
    NotOffered, // no portal with global shortcuts answers on the session bus
    Refused,    // the portal or the user declined the binding
};

// What to bind: the shortcut's id within this program, the text the desktop
// shows for it, and the keys it should preferably get ("CTRL+ALT+space").
struct TPortalShortcutRequest {
    std::string Id;
    std::string Description;
    std::string Trigger;
};

// One global shortcut bound through the desktop portal's GlobalShortcuts
// interface, for desktops that let no program grab keys (Wayland). Every
// step waits on the portal without blocking: Fd() turns readable when an
// answer arrives and Process() takes it. Not for use from two threads at once.
class TPortalShortcut {
public:
    // busAddress empty: the session bus. Nothing when no bus answers.
    static std::unique_ptr<TPortalShortcut> Bind(const TPortalShortcutRequest& request,
                                                 const std::string& busAddress = {});
    ~TPortalShortcut();
    TPortalShortcut(const TPortalShortcut&) = delete;
    TPortalShortcut& operator=(const TPortalShortcut&) = delete;

    int Fd() const;
    // Milliseconds until Process() must run even without input (a call's
    // time-out); -1 when nothing waits on a time.
    int TimeoutMs() const;
    // Takes what has arrived; returns how many presses of the shortcut.
    int Process();
    TPortalState State() const;

private:
    struct TState;
    explicit TPortalShortcut(std::unique_ptr<TState> state);
    std::unique_ptr<TState> m_state;
};

} // namespace tramble::platform
