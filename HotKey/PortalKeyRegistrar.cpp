#include "HotKey/PortalKeyRegistrar.h"

#include "HotKey/KeyTable.h"
#include "platform/SystemLog.h"

#include <cstring>
#include <ctime>
#include <systemd/sd-bus.h>
#include <unistd.h>

namespace tsyhotkey {
namespace {

constexpr char kPortal[] = "org.freedesktop.portal.Desktop";
constexpr char kPortalPath[] = "/org/freedesktop/portal/desktop";
constexpr char kShortcuts[] = "org.freedesktop.portal.GlobalShortcuts";

using morvane::SystemLog::notice;
using morvane::SystemLog::warning;

// Frees a message at the end of a scope.
struct MessageRef {
    sd_bus_message* message = nullptr;
    ~MessageRef() { sd_bus_message_unref(message); }
};
struct ErrorRef {
    sd_bus_error error = SD_BUS_ERROR_NULL;
    ~ErrorRef() { sd_bus_error_free(&error); }
};

std::string errorText(const sd_bus_error& error, int status) {
    if (error.message)
        return error.message;
    return std::strerror(-status);
}

// Reads the results dictionary of a Response: the session handle, and the ids
// of the shortcuts bound.
void readResults(sd_bus_message* message, std::string& session,
                 std::map<std::string, std::string>& shortcuts, bool& hasShortcuts) {
    if (sd_bus_message_enter_container(message, 'a', "{sv}") <= 0)
        return;
    while (sd_bus_message_enter_container(message, 'e', "sv") > 0) {
        const char* key = nullptr;
        sd_bus_message_read(message, "s", &key);
        const std::string name = key ? key : "";
        char type = 0;
        const char* contents = nullptr;
        sd_bus_message_peek_type(message, &type, &contents);
        if (name == "session_handle" && contents &&
            (!std::strcmp(contents, "s") || !std::strcmp(contents, "o"))) {
            const char* value = nullptr;
            sd_bus_message_enter_container(message, 'v', contents);
            sd_bus_message_read_basic(message, contents[0], &value);
            sd_bus_message_exit_container(message);
            session = value ? value : "";
        } else if (name == "shortcuts" && contents && !std::strcmp(contents, "a(sa{sv})")) {
            hasShortcuts = true;
            sd_bus_message_enter_container(message, 'v', contents);
            sd_bus_message_enter_container(message, 'a', "(sa{sv})");
            while (sd_bus_message_enter_container(message, 'r', "sa{sv}") > 0) {
                const char* id = nullptr;
                sd_bus_message_read(message, "s", &id);
                sd_bus_message_skip(message, "a{sv}");
                sd_bus_message_exit_container(message);
                if (id)
                    shortcuts[id] = id;
            }
            sd_bus_message_exit_container(message);
            sd_bus_message_exit_container(message);
        } else {
            sd_bus_message_skip(message, "v");
        }
        sd_bus_message_exit_container(message);
    }
    sd_bus_message_exit_container(message);
}

} // namespace

PortalKeyRegistrar::PortalKeyRegistrar(const std::string& address) {
    int status = 0;
    if (address.empty()) {
        status = sd_bus_open_user(&bus_);
    } else if ((status = sd_bus_new(&bus_)) >= 0) {
        sd_bus_set_address(bus_, address.c_str());
        sd_bus_set_bus_client(bus_, 1);
        status = sd_bus_start(bus_);
    }
    if (status < 0) {
        reason_ = std::string("no session bus: ") + std::strerror(-status);
        return;
    }
    available_ = checkPortal();
    if (!available_)
        return;
    sd_bus_match_signal(bus_, &responseSlot_, nullptr, nullptr, "org.freedesktop.portal.Request",
                        "Response", &PortalKeyRegistrar::onResponse, this);
    sd_bus_match_signal(bus_, &activatedSlot_, nullptr, kPortalPath, kShortcuts, "Activated",
                        &PortalKeyRegistrar::onActivated, this);
    sd_bus_match_signal(bus_, &closedSlot_, nullptr, nullptr, "org.freedesktop.portal.Session",
                        "Closed", &PortalKeyRegistrar::onSessionClosed, this);
}

PortalKeyRegistrar::~PortalKeyRegistrar() {
    if (bus_ && !connectionLost_)
        closeSession();
    sd_bus_slot_unref(responseSlot_);
    sd_bus_slot_unref(activatedSlot_);
    sd_bus_slot_unref(closedSlot_);
    sd_bus_flush_close_unref(bus_);
}

bool PortalKeyRegistrar::checkPortal() {
    ErrorRef error;
    std::uint32_t version = 0;
    int status = sd_bus_get_property_trivial(bus_, kPortal, kPortalPath, kShortcuts, "version",
                                             &error.error, 'u', &version);
    if (status < 0) {
        reason_ = "no desktop portal with global shortcuts: " + errorText(error.error, status);
        return false;
    }
    return true;
}

std::string PortalKeyRegistrar::trigger(std::uint16_t keyCode, std::uint32_t modifierMask) {
    const KeyTableEntry* entry = KeyTable::entryForKeyCode(keyCode);
    if (!entry)
        return {};
    std::string text;
    if (modifierMask & kControlKeyMask)
        text += "CTRL+";
    if (modifierMask & kShiftKeyMask)
        text += "SHIFT+";
    if (modifierMask & kOptionKeyMask)
        text += "ALT+";
    if (modifierMask & kCommandKeyMask)
        text += "LOGO+";
    return text + entry->keySymbolName;
}

HotKeyHandle PortalKeyRegistrar::registerKey(const HotKeyRequest& request) {
    std::string text = trigger(request.keyCode, request.modifierMask);
    if (text.empty() || !available_)
        return 0;
    for (const auto& [handle, shortcut] : keys_)
        if (shortcut.trigger == text)
            return 0; // one combination, one hot key
    HotKeyHandle handle = nextHandle_++;
    if (nextHandle_ == 0)
        nextHandle_ = 1;
    keys_[handle] = Shortcut{text, request.description};
    return handle;
}

void PortalKeyRegistrar::unregisterKey(HotKeyHandle handle) {
    keys_.erase(handle);
}

std::map<std::string, std::string> PortalKeyRegistrar::wantedShortcuts() const {
    std::map<std::string, std::string> wanted;
    for (const auto& [handle, shortcut] : keys_)
        wanted[shortcut.trigger] = shortcut.trigger;
    return wanted;
}

void PortalKeyRegistrar::commit() {
    if (!available_ || wantedShortcuts() == requested_)
        return;
    if (state_ != State::Idle) {
        dirty_ = true; // bound when the current request has its answer
        return;
    }
    requested_ = wantedShortcuts();
    closeSession();
    if (requested_.empty())
        return;
    startSession();
}

std::string PortalKeyRegistrar::nextToken() {
    return "tsy_hotkey_" + std::to_string(getpid()) + "_" + std::to_string(++tokenCounter_);
}

void PortalKeyRegistrar::startSession() {
    MessageRef call, reply;
    ErrorRef error;
    const std::string token = nextToken();
    const std::string sessionToken = nextToken();
    sd_bus_message_new_method_call(bus_, &call.message, kPortal, kPortalPath, kShortcuts,
                                   "CreateSession");
    sd_bus_message_append(call.message, "a{sv}", 2, "handle_token", "s", token.c_str(),
                          "session_handle_token", "s", sessionToken.c_str());
    int status = sd_bus_call(bus_, call.message, 0, &error.error, &reply.message);
    const char* request = nullptr;
    if (status < 0 || sd_bus_message_read(reply.message, "o", &request) < 0 || !request) {
        warning("The desktop portal refused a shortcut session: " + errorText(error.error, status));
        return;
    }
    pendingRequest_ = request;
    state_ = State::CreatingSession;
}

void PortalKeyRegistrar::bindShortcuts() {
    MessageRef call, reply;
    ErrorRef error;
    sd_bus_message_new_method_call(bus_, &call.message, kPortal, kPortalPath, kShortcuts,
                                   "BindShortcuts");
    sd_bus_message_append(call.message, "o", session_.c_str());
    sd_bus_message_open_container(call.message, 'a', "(sa{sv})");
    for (const auto& [handle, shortcut] : keys_) {
        sd_bus_message_open_container(call.message, 'r', "sa{sv}");
        sd_bus_message_append(call.message, "s", shortcut.trigger.c_str());
        sd_bus_message_append(call.message, "a{sv}", 2, "description", "s",
                              shortcut.description.c_str(), "preferred_trigger", "s",
                              shortcut.trigger.c_str());
        sd_bus_message_close_container(call.message);
    }
    sd_bus_message_close_container(call.message);
    const std::string token = nextToken();
    sd_bus_message_append(call.message, "s", "");
    sd_bus_message_append(call.message, "a{sv}", 1, "handle_token", "s", token.c_str());
    int status = sd_bus_call(bus_, call.message, 0, &error.error, &reply.message);
    const char* request = nullptr;
    if (status < 0 || sd_bus_message_read(reply.message, "o", &request) < 0 || !request) {
        warning("The desktop portal refused the shortcuts: " + errorText(error.error, status));
        state_ = State::Idle;
        return;
    }
    pendingRequest_ = request;
    state_ = State::Binding;
}

void PortalKeyRegistrar::closeSession() {
    if (session_.empty())
        return;
    ErrorRef error;
    sd_bus_call_method(bus_, kPortal, session_.c_str(), "org.freedesktop.portal.Session", "Close",
                       &error.error, nullptr, "");
    session_.clear();
    bound_.clear();
}

int PortalKeyRegistrar::onResponse(sd_bus_message* message, void* self, sd_bus_error*) {
    static_cast<PortalKeyRegistrar*>(self)->handleResponse(message);
    return 0;
}

int PortalKeyRegistrar::onActivated(sd_bus_message* message, void* self, sd_bus_error*) {
    static_cast<PortalKeyRegistrar*>(self)->handleActivated(message);
    return 0;
}

int PortalKeyRegistrar::onSessionClosed(sd_bus_message* message, void* self, sd_bus_error*) {
    auto* registrar = static_cast<PortalKeyRegistrar*>(self);
    const char* path = sd_bus_message_get_path(message);
    if (!path || registrar->session_ != path)
        return 0;
    warning("The desktop portal closed the hot keys' session; binding them again");
    registrar->session_.clear();
    registrar->bound_.clear();
    registrar->requested_.clear();
    return 0;
}

void PortalKeyRegistrar::handleResponse(sd_bus_message* message) {
    const char* path = sd_bus_message_get_path(message);
    if (!path || pendingRequest_ != path)
        return;
    pendingRequest_.clear();
    std::uint32_t code = 2;
    sd_bus_message_read(message, "u", &code);
    std::string session;
    std::map<std::string, std::string> shortcuts;
    bool hasShortcuts = false;
    readResults(message, session, shortcuts, hasShortcuts);
    const State answered = state_;
    state_ = State::Idle;
    if (code != 0) {
        // 1: the user declined; asked again only when the keys change.
        warning("The desktop portal did not confirm the hot keys (response " +
                std::to_string(code) + ")");
    } else if (answered == State::CreatingSession) {
        session_ = session;
        bindShortcuts();
        return;
    } else if (answered == State::Binding) {
        bound_ = hasShortcuts ? shortcuts : requested_;
        notice("The desktop portal bound " + std::to_string(bound_.size()) + " hot keys");
    }
    if (dirty_) {
        dirty_ = false;
        commit();
    }
}

void PortalKeyRegistrar::handleActivated(sd_bus_message* message) {
    const char* session = nullptr;
    const char* id = nullptr;
    if (sd_bus_message_read(message, "os", &session, &id) < 0 || !session || !id ||
        session_ != session || !onPress_)
        return;
    for (const auto& [handle, shortcut] : keys_)
        if (shortcut.trigger == id) {
            (*onPress_)(handle);
            return;
        }
}

pollfd PortalKeyRegistrar::descriptor() {
    int events = bus_ ? sd_bus_get_events(bus_) : 0;
    return pollfd{bus_ ? sd_bus_get_fd(bus_) : -1, static_cast<short>(events < 0 ? 0 : events), 0};
}

int PortalKeyRegistrar::timeoutMilliseconds() {
    std::uint64_t until = 0;
    if (!bus_ || sd_bus_get_timeout(bus_, &until) < 0 || until == UINT64_MAX)
        return -1;
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const std::uint64_t nowUs = std::uint64_t(now.tv_sec) * 1000000 + now.tv_nsec / 1000;
    return until <= nowUs ? 0 : static_cast<int>((until - nowUs + 999) / 1000);
}

bool PortalKeyRegistrar::dispatch(const PressHandler& onPress) {
    if (!bus_)
        return false;
    onPress_ = &onPress;
    int status = 0;
    while ((status = sd_bus_process(bus_, nullptr)) > 0) {
    }
    onPress_ = nullptr;
    if (status < 0) {
        connectionLost_ = true;
        warning(std::string("The session bus went away: ") + std::strerror(-status));
        return false;
    }
    return true;
}

void PortalKeyRegistrar::releaseAll() {
    keys_.clear();
    requested_.clear();
    if (bus_ && !connectionLost_)
        closeSession();
}

} // namespace tsyhotkey
