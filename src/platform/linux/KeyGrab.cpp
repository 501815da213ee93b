#include "platform/KeyGrab.h"

#include <xcb/xcb.h>

#include <cstdlib>
#include <vector>

namespace tramble::platform {
namespace {

constexpr uint8_t kBadAccess = 10;

struct TFree {
    void operator()(void* p) const { std::free(p); }
};
template <typename T> using TReply = std::unique_ptr<T, TFree>;

// The modifier bit of the first modifier that holds a key with this keysym
// (Num Lock sits on Mod2 on most keyboards, but not on all).
uint16_t ModifierOfKeysym(xcb_connection_t* c, const std::vector<xcb_keycode_t>& codes)
{
    TReply<xcb_get_modifier_mapping_reply_t> map(
        xcb_get_modifier_mapping_reply(c, xcb_get_modifier_mapping(c), nullptr));
    if (!map)
        return 0;
    const xcb_keycode_t* keys = xcb_get_modifier_mapping_keycodes(map.get());
    const int perModifier = map->keycodes_per_modifier;
    for (int m = 0; m < 8; ++m) {
        for (int k = 0; k < perModifier; ++k) {
            for (xcb_keycode_t code : codes) {
                if (code != 0 && keys[m * perModifier + k] == code)
                    return static_cast<uint16_t>(1u << m);
            }
        }
    }
    return 0;
}

} // namespace

struct TKeyGrab::TState {
    xcb_connection_t* Connection = nullptr;
    xcb_window_t Root = 0;
    xcb_keycode_t Code = 0;
    std::vector<uint16_t> Masks;

    // Every keycode whose mapping holds the keysym.
    std::vector<xcb_keycode_t> KeycodesOf(uint32_t keysym) const
    {
        const xcb_setup_t* setup = xcb_get_setup(Connection);
        const uint8_t first = setup->min_keycode;
        const uint8_t count = static_cast<uint8_t>(setup->max_keycode - first + 1);
        TReply<xcb_get_keyboard_mapping_reply_t> map(
            xcb_get_keyboard_mapping_reply(Connection, xcb_get_keyboard_mapping(Connection, first, count), nullptr));
        std::vector<xcb_keycode_t> codes;
        if (!map)
            return codes;
        const xcb_keysym_t* syms = xcb_get_keyboard_mapping_keysyms(map.get());
        const int perCode = map->keysyms_per_keycode;
        for (int code = 0; code < count; ++code) {
            for (int i = 0; i < perCode; ++i) {
                if (syms[code * perCode + i] == keysym) {
                    codes.push_back(static_cast<xcb_keycode_t>(first + code));
                    break;
                }
            }
        }
        return codes;
    }
};

TKeyGrab::TKeyGrab(std::unique_ptr<TState> state) : m_state(std::move(state))
{
}

std::unique_ptr<TKeyGrab> TKeyGrab::Connect(const std::string& display)
{
    int screenNumber = 0;
    xcb_connection_t* c = xcb_connect(display.empty() ? nullptr : display.c_str(), &screenNumber);
    if (xcb_connection_has_error(c)) {
        xcb_disconnect(c);
        return nullptr;
    }
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(c));
    for (int i = 0; i < screenNumber && screens.rem > 0; ++i)
        xcb_screen_next(&screens);
    if (screens.rem == 0) {
        xcb_disconnect(c);
        return nullptr;
    }
    auto state = std::make_unique<TState>();
    state->Connection = c;
    state->Root = screens.data->root;
    return std::unique_ptr<TKeyGrab>(new TKeyGrab(std::move(state)));
}

TKeyGrab::~TKeyGrab()
{
    Ungrab();
    xcb_disconnect(m_state->Connection);
}

TGrabResult TKeyGrab::Grab(const TGrabModifiers& modifiers, uint32_t keysym)
{
    Ungrab();
    xcb_connection_t* c = m_state->Connection;
    const std::vector<xcb_keycode_t> codes = m_state->KeycodesOf(keysym);
    if (codes.empty())
        return TGrabResult::NoKey;
    uint16_t base = 0;
    if (modifiers.Ctrl)
        base |= XCB_MOD_MASK_CONTROL;
    if (modifiers.Alt)
        base |= XCB_MOD_MASK_1;
    if (modifiers.Shift)
        base |= XCB_MOD_MASK_SHIFT;
    if (modifiers.Super)
        base |= XCB_MOD_MASK_4;
    const uint16_t numLock = ModifierOfKeysym(c, m_state->KeycodesOf(0xff7f));
    std::vector<uint16_t> masks{base, static_cast<uint16_t>(base | XCB_MOD_MASK_LOCK)};
    if (numLock != 0 && (base & numLock) == 0) {
        masks.push_back(static_cast<uint16_t>(base | numLock));
        masks.push_back(static_cast<uint16_t>(base | numLock | XCB_MOD_MASK_LOCK));
    }
    // The first keycode is the one the keyboard sends for the keysym.
    const xcb_keycode_t code = codes.front();
    std::vector<xcb_void_cookie_t> cookies;
    for (uint16_t mask : masks)
        cookies.push_back(
            xcb_grab_key_checked(c, 1, m_state->Root, mask, code, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
    bool heldByOther = false;
    bool failed = false;
    for (xcb_void_cookie_t cookie : cookies) {
        if (TReply<xcb_generic_error_t> error{xcb_request_check(c, cookie)}) {
            heldByOther = heldByOther || error->error_code == kBadAccess;
            failed = true;
        }
    }
    m_state->Code = code;
    m_state->Masks = masks;
    if (failed) {
        Ungrab();
        return heldByOther ? TGrabResult::HeldByOther : TGrabResult::Failed;
    }
    return TGrabResult::Taken;
}

void TKeyGrab::Ungrab()
{
    if (m_state->Masks.empty())
        return;
    for (uint16_t mask : m_state->Masks)
        xcb_ungrab_key(m_state->Connection, m_state->Code, m_state->Root, mask);
    xcb_flush(m_state->Connection);
    m_state->Masks.clear();
}

uint32_t TKeyGrab::FocusWindow()
{
    xcb_connection_t* c = m_state->Connection;
    TReply<xcb_get_input_focus_reply_t> reply(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
    return reply ? reply->focus : 0;
}

int TKeyGrab::Fd() const
{
    return xcb_get_file_descriptor(m_state->Connection);
}

int TKeyGrab::TakePresses()
{
    int presses = 0;
    while (TReply<xcb_generic_event_t> event{xcb_poll_for_event(m_state->Connection)}) {
        if ((event->response_type & 0x7f) == XCB_KEY_PRESS &&
            reinterpret_cast<xcb_key_press_event_t*>(event.get())->detail == m_state->Code)
            ++presses;
    }
    return presses;
}

} // namespace tramble::platform
