#include "search/ui/GlobalShortcut.h"

#include "platform/DisplayChoice.h"

#include <QGuiApplication>
#include <QSocketNotifier>

namespace tramble {
namespace {

constexpr const char* kPortalShortcutId = "focus-command-box";

} // namespace

TGlobalShortcut::TGlobalShortcut(QObject* parent) : QObject(parent)
{
    m_portalTimeout.setSingleShot(true);
    connect(&m_portalTimeout, &QTimer::timeout, this, &TGlobalShortcut::TakePortal);
}

TGlobalShortcut::~TGlobalShortcut()
{
    Release();
    // The notifier goes before the descriptor it watches.
    delete m_requests;
}

// The notifiers stop watching before their descriptors close, and go once
// control is back in the event loop: a notifier's own signal may be what
// led here.
void TGlobalShortcut::Release()
{
    for (QSocketNotifier** notifier : {&m_keys, &m_portalAnswers}) {
        if (*notifier) {
            (*notifier)->setEnabled(false);
            (*notifier)->deleteLater();
            *notifier = nullptr;
        }
    }
    m_grab.reset();
    m_portalTimeout.stop();
    m_portal.reset();
}

TGlobalShortcut::TState TGlobalShortcut::SetShortcut(const std::string& text, const std::string& description)
{
    Release();
    if (text.empty())
        return TState::Off;
    const std::optional<THotkey> hotkey = ParseHotkey(text);
    if (!hotkey)
        return TState::Invalid;
    m_hotkey = *hotkey;
    // A Wayland desktop keeps keys from programs that grab them, X ones too.
    if (platform::InWaylandSession())
        m_portal = platform::TPortalShortcut::Bind({kPortalShortcutId, description, ShortcutTrigger(*hotkey)});
    if (!m_portal)
        return GrabOnDisplay(*hotkey);
    m_portalAnswers = new QSocketNotifier(m_portal->Fd(), QSocketNotifier::Read, this);
    connect(m_portalAnswers, &QSocketNotifier::activated, this, &TGlobalShortcut::TakePortal);
    TakePortal();
    return TState::Asking;
}

TGlobalShortcut::TState TGlobalShortcut::GrabOnDisplay(const THotkey& hotkey)
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return TState::Unavailable;
    m_grab = platform::TKeyGrab::Connect();
    if (!m_grab)
        return TState::Unavailable;
    const platform::TGrabModifiers modifiers{hotkey.Ctrl, hotkey.Alt, hotkey.Shift, hotkey.Super};
    switch (m_grab->Grab(modifiers, hotkey.Keysym)) {
    case platform::TGrabResult::Taken: break;
    case platform::TGrabResult::HeldByOther: m_grab.reset(); return TState::HeldByOther;
    case platform::TGrabResult::NoKey: m_grab.reset(); return TState::Invalid;
    case platform::TGrabResult::Failed: m_grab.reset(); return TState::Unavailable;
    }
    m_keys = new QSocketNotifier(m_grab->Fd(), QSocketNotifier::Read, this);
    connect(m_keys, &QSocketNotifier::activated, this, &TGlobalShortcut::TakeKeys);
    // Events read while the grab was set up wait in the connection's queue.
    TakeKeys();
    return TState::Active;
}

bool TGlobalShortcut::ListenForFocus(const std::string& socketPath)
{
    m_listener = platform::TFocusListener::Listen(socketPath);
    if (!m_listener)
        return false;
    m_requests = new QSocketNotifier(m_listener->Fd(), QSocketNotifier::Read, this);
    connect(m_requests, &QSocketNotifier::activated, this, &TGlobalShortcut::TakeRequests);
    return true;
}

std::optional<bool> TGlobalShortcut::HasKeyboard(uint32_t window)
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return std::nullopt;
    if (!m_focusProbe)
        m_focusProbe = platform::TKeyGrab::Connect();
    if (!m_focusProbe)
        return std::nullopt;
    return m_focusProbe->FocusWindow() == window;
}

void TGlobalShortcut::TakeKeys()
{
    if (m_grab && m_grab->TakePresses() > 0)
        emit activated();
}

void TGlobalShortcut::TakePortal()
{
    if (!m_portal)
        return;
    const platform::TPortalState before = m_portal->State();
    const int presses = m_portal->Process();
    const platform::TPortalState after = m_portal->State();
    if (const int wait = m_portal->TimeoutMs(); wait >= 0)
        m_portalTimeout.start(wait);
    if (presses > 0)
        emit activated();
    if (after == before)
        return;
    switch (after) {
    case platform::TPortalState::Asking: return;
    case platform::TPortalState::Bound: emit stateChanged(TState::Active); return;
    case platform::TPortalState::Refused:
        // The user (or the desktop) said no; grabbing the keys anyway would overrule them.
        Release();
        emit stateChanged(TState::Unavailable);
        return;
    case platform::TPortalState::NotOffered:
        Release();
        emit stateChanged(GrabOnDisplay(m_hotkey));
        return;
    }
}

void TGlobalShortcut::TakeRequests()
{
    if (m_listener && m_listener->TakeRequests() > 0)
        emit activated();
}

} // namespace tramble
