#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace tramble::platform {

// Modifier keys of a grabbed shortcut.
struct TGrabModifiers {
    bool Ctrl = false;
    bool Alt = false;
    bool Shift = false;
    bool Super = false;
};

enum class TGrabResult {
    Taken,       // the shortcut is ours until the grab ends
    HeldByOther, // another program grabbed it first
    NoKey,       // the keyboard has no key for the keysym
    Failed,      // no X display
};

// A shortcut grabbed on the root window of an X display through a connection
// of its own, so that it works whichever window has the focus. The Num Lock
// and Caps Lock states are grabbed as well. Ends the grab when dropped.
class TKeyGrab {
public:
    // display empty: $DISPLAY. Nothing when no display can be reached.
    static std::unique_ptr<TKeyGrab> Connect(const std::string& display = {});
    ~TKeyGrab();
    TKeyGrab(const TKeyGrab&) = delete;
    TKeyGrab& operator=(const TKeyGrab&) = delete;

    TGrabResult Grab(const TGrabModifiers& modifiers, uint32_t keysym);
    void Ungrab();

    // Readable when events wait; TakePresses then reads them without waiting.
    int Fd() const;
    // How many presses of the shortcut arrived since the last call.
    int TakePresses();
    // The window that has the keyboard focus (a grab does not move it).
    uint32_t FocusWindow();

private:
    struct TState;
    explicit TKeyGrab(std::unique_ptr<TState> state);
    std::unique_ptr<TState> m_state;
};

} // namespace tramble::platform
