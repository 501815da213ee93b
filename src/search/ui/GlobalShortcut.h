#pragma once

#include "platform/FocusSignal.h"
#include "platform/KeyGrab.h"

#include <QObject>
#include <QString>

#include <memory>
#include <optional>
#include <string>

class QSocketNotifier;

namespace tramble {

// The ways to call the bar from anywhere: the shortcut grabbed on the X
// display, and "tramble --focus" through the socket of the running copy.
class TGlobalShortcut : public QObject {
    Q_OBJECT
public:
    enum class TState { Off, Active, Invalid, HeldByOther, Unavailable };

    explicit TGlobalShortcut(QObject* parent = nullptr);
    ~TGlobalShortcut() override;

    // Grabs the shortcut text ("" turns it off) on the X display; on other
    // platforms only the socket calls the bar.
    TState SetShortcut(const std::string& text);
    // Listens at the socket path; false when it cannot.
    bool ListenForFocus(const std::string& socketPath);
    // Whether the X window has the keyboard focus; nothing without a grab.
    // Asked of the server, since a toolkit sees its window lose the focus
    // for as long as the shortcut's keys are held.
    std::optional<bool> HasKeyboard(uint32_t window);

signals:
    void activated();

private:
    void TakeKeys();
    void TakeRequests();

    std::unique_ptr<platform::TKeyGrab> m_grab;
    QSocketNotifier* m_keys = nullptr;
    std::optional<platform::TFocusListener> m_listener;
    QSocketNotifier* m_requests = nullptr;
};

} // namespace tramble
