#include "platform/PortalShortcut.h"

#include "platform/linux/SdBusRefs.h"

#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <limits>

namespace tramble::platform {
namespace {

constexpr const char* kPortal = "org.freedesktop.portal.Desktop";
constexpr const char* kPortalPath = "/org/freedesktop/portal/desktop";
constexpr const char* kShortcuts = "org.freedesktop.portal.GlobalShortcuts";
constexpr const char* kRequest = "org.freedesktop.portal.Request";

// Calls that wait on no user: the hello, the match rules. The first call to
// the portal may start it, which takes longer.
constexpr uint64_t kCallTimeoutUsec = 2'000'000;
constexpr uint64_t kFirstCallTimeoutUsec = 25'000'000;

std::string SessionBusAddress()
{
    if (const char* address = std::getenv("DBUS_SESSION_BUS_ADDRESS"); address && *address)
        return address;
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && *runtime)
        return std::string("unix:path=") + runtime + "/bus";
    return {};
}

// The portal names a request's object after the caller's unique name:
// ":1.42" becomes "1_42".
std::string SenderPart(const char* uniqueName)
{
    std::string part = uniqueName[0] == ':' ? uniqueName + 1 : uniqueName;
    for (char& c : part) {
        if (c == '.')
            c = '_';
    }
    return part;
}

uint64_t MonotonicUsec()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<uint64_t>(now.tv_sec) * 1'000'000 + static_cast<uint64_t>(now.tv_nsec) / 1000;
}

// The text or object path under key in the a{sv} at the read position.
std::string ReadVardictText(sd_bus_message* m, const std::string& key)
{
    std::string found;
    if (sd_bus_message_enter_container(m, SD_BUS_TYPE_ARRAY, "{sv}") <= 0)
        return found;
    while (sd_bus_message_enter_container(m, SD_BUS_TYPE_DICT_ENTRY, "sv") > 0) {
        const char* name = nullptr;
        if (sd_bus_message_read_basic(m, SD_BUS_TYPE_STRING, &name) <= 0)
            return found;
        char type = 0;
        const char* contents = nullptr;
        const bool wanted = name == key && sd_bus_message_peek_type(m, &type, &contents) > 0 && contents &&
                            (contents == std::string("s") || contents == std::string("o"));
        if (wanted && sd_bus_message_enter_container(m, SD_BUS_TYPE_VARIANT, contents) > 0) {
            const char* text = nullptr;
            if (sd_bus_message_read_basic(m, contents[0], &text) > 0 && text)
                found = text;
            sd_bus_message_exit_container(m);
        } else if (sd_bus_message_skip(m, "v") < 0) {
            return found;
        }
        if (sd_bus_message_exit_container(m) < 0)
            return found;
    }
    return found;
}

} // namespace

struct TPortalShortcut::TState {
    sd_bus* Bus = nullptr;
    TPortalShortcutRequest Request;
    TPortalState State = TPortalState::Asking;
    std::string RequestPrefix; // where the portal puts the objects of our requests
    std::string PortalOwner;   // the portal's unique name, once it answered
    std::string PendingRequest;
    std::string Session;
    int Tokens = 0;
    int Presses = 0;

    ~TState() { sd_bus_flush_close_unref(Bus); }

    std::string NextToken() { return "tramble_" + std::to_string(++Tokens); }

    bool FromPortal(sd_bus_message* m) const
    {
        const char* sender = sd_bus_message_get_sender(m);
        return sender && sender == PortalOwner;
    }

    void Fail(TPortalState state)
    {
        if (State == TPortalState::Asking)
            State = state;
    }

    void AskVersion()
    {
        MessageRef call;
        if (sd_bus_message_new_method_call(Bus, &call.message, kPortal, kPortalPath, "org.freedesktop.DBus.Properties",
                                           "Get") < 0 ||
            sd_bus_message_append(call.message, "ss", kShortcuts, "version") < 0 ||
            sd_bus_call_async(Bus, nullptr, call.message, &TState::OnVersion, this, kFirstCallTimeoutUsec) < 0)
            Fail(TPortalState::NotOffered);
    }

    void CreateSession()
    {
        const std::string token = NextToken();
        PendingRequest = RequestPrefix + token;
        MessageRef call;
        if (sd_bus_message_new_method_call(Bus, &call.message, kPortal, kPortalPath, kShortcuts, "CreateSession") < 0 ||
            sd_bus_message_append(call.message, "a{sv}", 2, "handle_token", "s", token.c_str(), "session_handle_token",
                                  "s", token.c_str()) < 0 ||
            sd_bus_call_async(Bus, nullptr, call.message, &TState::OnRequestMade, this, 0) < 0)
            Fail(TPortalState::NotOffered);
    }

    void BindShortcut()
    {
        const std::string token = NextToken();
        PendingRequest = RequestPrefix + token;
        MessageRef call;
        if (sd_bus_message_new_method_call(Bus, &call.message, kPortal, kPortalPath, kShortcuts, "BindShortcuts") < 0 ||
            sd_bus_message_append(call.message, "oa(sa{sv})sa{sv}", Session.c_str(), 1, Request.Id.c_str(), 2,
                                  "description", "s", Request.Description.c_str(), "preferred_trigger", "s",
                                  Request.Trigger.c_str(), "", 1, "handle_token", "s", token.c_str()) < 0 ||
            sd_bus_call_async(Bus, nullptr, call.message, &TState::OnRequestMade, this, 0) < 0)
            Fail(TPortalState::Refused);
    }

    static int OnVersion(sd_bus_message* m, void* userdata, sd_bus_error*)
    {
        auto* self = static_cast<TState*>(userdata);
        // An error here means no portal, or one whose desktop has no global shortcuts.
        if (sd_bus_message_is_method_error(m, nullptr)) {
            self->Fail(TPortalState::NotOffered);
            return 0;
        }
        if (const char* sender = sd_bus_message_get_sender(m))
            self->PortalOwner = sender;
        self->CreateSession();
        return 0;
    }

    static int OnRequestMade(sd_bus_message* m, void* userdata, sd_bus_error*)
    {
        auto* self = static_cast<TState*>(userdata);
        if (sd_bus_message_is_method_error(m, nullptr)) {
            self->Fail(self->Session.empty() ? TPortalState::NotOffered : TPortalState::Refused);
            return 0;
        }
        // Portals older than the handle token answer with a path of their own.
        const char* path = nullptr;
        if (sd_bus_message_read_basic(m, SD_BUS_TYPE_OBJECT_PATH, &path) > 0 && path)
            self->PendingRequest = path;
        return 0;
    }

    static int OnResponse(sd_bus_message* m, void* userdata, sd_bus_error*)
    {
        auto* self = static_cast<TState*>(userdata);
        const char* path = sd_bus_message_get_path(m);
        if (!self->FromPortal(m) || !path || path != self->PendingRequest)
            return 0;
        self->PendingRequest.clear();
        uint32_t response = 2;
        if (sd_bus_message_read_basic(m, SD_BUS_TYPE_UINT32, &response) <= 0 || response != 0) {
            self->Fail(TPortalState::Refused);
            return 0;
        }
        if (self->Session.empty()) {
            self->Session = ReadVardictText(m, "session_handle");
            if (self->Session.empty())
                self->Fail(TPortalState::Refused);
            else
                self->BindShortcut();
        } else if (self->State == TPortalState::Asking) {
            self->State = TPortalState::Bound;
        }
        return 0;
    }

    static int OnActivated(sd_bus_message* m, void* userdata, sd_bus_error*)
    {
        auto* self = static_cast<TState*>(userdata);
        const char* session = nullptr;
        const char* id = nullptr;
        if (self->State == TPortalState::Bound && self->FromPortal(m) &&
            sd_bus_message_read(m, "os", &session, &id) > 0 && session == self->Session && id == self->Request.Id)
            ++self->Presses;
        return 0;
    }
};

std::unique_ptr<TPortalShortcut> TPortalShortcut::Bind(const TPortalShortcutRequest& request,
                                                       const std::string& busAddress)
{
    const std::string address = busAddress.empty() ? SessionBusAddress() : busAddress;
    if (address.empty())
        return nullptr;
    auto state = std::make_unique<TState>();
    state->Request = request;
    const char* unique = nullptr;
    if (sd_bus_new(&state->Bus) < 0 || sd_bus_set_address(state->Bus, address.c_str()) < 0 ||
        sd_bus_set_bus_client(state->Bus, 1) < 0 || sd_bus_set_method_call_timeout(state->Bus, kCallTimeoutUsec) < 0 ||
        sd_bus_start(state->Bus) < 0 || sd_bus_get_unique_name(state->Bus, &unique) < 0 || !unique)
        return nullptr;
    state->RequestPrefix = std::string(kPortalPath) + "/request/" + SenderPart(unique) + "/";
    // The matches go first, so that no answer can pass before them.
    if (sd_bus_match_signal(state->Bus, nullptr, nullptr, nullptr, kRequest, "Response", &TState::OnResponse,
                            state.get()) < 0 ||
        sd_bus_match_signal(state->Bus, nullptr, nullptr, kPortalPath, kShortcuts, "Activated", &TState::OnActivated,
                            state.get()) < 0)
        return nullptr;
    state->AskVersion();
    sd_bus_flush(state->Bus);
    return std::unique_ptr<TPortalShortcut>(new TPortalShortcut(std::move(state)));
}

TPortalShortcut::TPortalShortcut(std::unique_ptr<TState> state) : m_state(std::move(state))
{
}

TPortalShortcut::~TPortalShortcut() = default;

int TPortalShortcut::Fd() const
{
    return sd_bus_get_fd(m_state->Bus);
}

int TPortalShortcut::TimeoutMs() const
{
    uint64_t at = 0;
    if (sd_bus_get_timeout(m_state->Bus, &at) <= 0 || at == std::numeric_limits<uint64_t>::max())
        return -1;
    const uint64_t now = MonotonicUsec();
    return at <= now ? 0 : static_cast<int>((at - now + 999) / 1000);
}

int TPortalShortcut::Process()
{
    int r = 0;
    while ((r = sd_bus_process(m_state->Bus, nullptr)) > 0) {
    }
    // A lost bus takes the portal with it.
    if (r < 0)
        m_state->State = TPortalState::NotOffered;
    else
        sd_bus_flush(m_state->Bus);
    const int presses = m_state->Presses;
    m_state->Presses = 0;
    return presses;
}

TPortalState TPortalShortcut::State() const
{
    return m_state->State;
}

} // namespace tramble::platform
