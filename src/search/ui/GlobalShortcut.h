#pragma once

#include "platform/FocusSignal.h"
#include "platform/KeyGrab.h"
#include "platform/PortalShortcut.h"
#include "search/Hotkey.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <memory>
#include <optional>
#include <string>

class QSocketNotifier;

namespace tramble {

// The ways to call the bar from anywhere: the shortcut bound through the
// desktop portal in a Wayland session or grabbed on the X display, and
// "tramble --focus" through the socket of the running copy.
class TGlobalShortcut : public QObject {
    Q_OBJECT
public:
    // Asking: the portal has not answered yet; stateChanged tells the outcome.
    enum class TState { Off, Active, Asking, Invalid, HeldByOther, Unavailable };

    explicit TGlobalShortcut(QObject* parent = nullptr);
    ~TGlobalShortcut() override;

    // Binds the shortcut text ("" turns it off). A Wayland session asks its
    // desktop portal first, showing the description in the desktop's list
    // of shortcuts; where no portal offers shortcuts, the X display is
    // grabbed. Without either only the socket calls the bar.
    TState SetShortcut(const std::string& text, const std::string& description);
    // Listens at the socket path; false when it cannot.
    bool ListenForFocus(const std::string& socketPath);
    // Whether the X window has the keyboard focus; nothing off X. Asked of
    // the server: a toolkit sees its window lose the focus for as long as a
    // grabbed shortcut's keys are held, and under a window manager it may
    // not see its window gain it when called from outside.
    std::optional<bool> HasKeyboard(uint32_t window);

signals:
    void activated();
    // The portal's answer to an Asking shortcut, or the state after the
    // portal went away.
    void stateChanged(TGlobalShortcut::TState state);

private:
    void Release();
    TState GrabOnDisplay(const THotkey& hotkey);
    void TakeKeys();
    void TakePortal();
    void TakeRequests();

    std::unique_ptr<platform::TKeyGrab> m_grab;
    QSocketNotifier* m_keys = nullptr;
    std::unique_ptr<platform::TKeyGrab> m_focusProbe; // a connection of its own, grabbing nothing
    std::unique_ptr<platform::TPortalShortcut> m_portal;
    QSocketNotifier* m_portalAnswers = nullptr;
    QTimer m_portalTimeout;
    THotkey m_hotkey;
    std::optional<platform::TFocusListener> m_listener;
    QSocketNotifier* m_requests = nullptr;
};

} // namespace tramble
