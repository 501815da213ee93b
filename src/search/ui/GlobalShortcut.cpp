#include "search/ui/GlobalShortcut.h"

#include "search/Hotkey.h"

#include <QGuiApplication>
#include <QSocketNotifier>

namespace tramble {

TGlobalShortcut::TGlobalShortcut(QObject* parent) : QObject(parent)
{
}

TGlobalShortcut::~TGlobalShortcut()
{
    // The notifiers go before the descriptors they watch.
    delete m_keys;
    delete m_requests;
}

TGlobalShortcut::TState TGlobalShortcut::SetShortcut(const std::string& text)
{
    delete m_keys;
    m_keys = nullptr;
    m_grab.reset();
    if (text.empty())
        return TState::Off;
    const std::optional<THotkey> hotkey = ParseHotkey(text);
    if (!hotkey)
        return TState::Invalid;
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return TState::Unavailable;
    m_grab = platform::TKeyGrab::Connect();
    if (!m_grab)
        return TState::Unavailable;
    const platform::TGrabModifiers modifiers{hotkey->Ctrl, hotkey->Alt, hotkey->Shift, hotkey->Super};
    switch (m_grab->Grab(modifiers, hotkey->Keysym)) {
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
    if (!m_grab)
        return std::nullopt;
    return m_grab->FocusWindow() == window;
}

void TGlobalShortcut::TakeKeys()
{
    if (m_grab && m_grab->TakePresses() > 0)
        emit activated();
}

void TGlobalShortcut::TakeRequests()
{
    if (m_listener && m_listener->TakeRequests() > 0)
        emit activated();
}

} // namespace tramble
