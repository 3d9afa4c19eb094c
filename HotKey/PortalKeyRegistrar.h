#pragma once
// Global hot keys through the desktop portal (org.freedesktop.portal.GlobalShortcuts
// over the D-Bus session bus), for Wayland sessions where X11 grabs only see
// keys while an X window has focus.
//
// The portal binds a session's shortcuts as a whole and asks the user to
// confirm them, so keys registered during a round are collected and bound at
// commit(), and only when the set of shortcuts differs from the one last
// asked for: the 2.5-second re-registration does not ask again. A change
// closes the session and binds the new set in a new one. A session the portal
// closes (Closed) is bound again at the next commit. A shortcut's id is its
// trigger ("CTRL+LOGO+r"); the portal's Activated signal names it.
#include "HotKey/HotKeyBackend.h"

#include <map>
#include <string>
#include <systemd/sd-bus.h>

namespace tsyhotkey {

class PortalKeyRegistrar : public HotKeyBackend {
public:
    // Connects to the session bus (or the bus at address); check isAvailable().
    explicit PortalKeyRegistrar(const std::string& address = {});
    ~PortalKeyRegistrar() override;
    PortalKeyRegistrar(const PortalKeyRegistrar&) = delete;
    PortalKeyRegistrar& operator=(const PortalKeyRegistrar&) = delete;

    // True when a portal with the GlobalShortcuts interface answers; else
    // reason() tells why not.
    bool isAvailable() const { return available_; }
    const std::string& reason() const { return reason_; }

    HotKeyHandle registerKey(const HotKeyRequest& request) override;
    void unregisterKey(HotKeyHandle handle) override;
    void commit() override;
    const char* name() const override { return "desktop portal"; }
    pollfd descriptor() override;
    int timeoutMilliseconds() override;
    bool dispatch(const PressHandler& onPress) override;
    void releaseAll() override;

    // The portal trigger of a combination ("CTRL+SHIFT+ALT+LOGO+F1"), or
    // nothing for a key code outside the key table.
    static std::string trigger(std::uint16_t keyCode, std::uint32_t modifierMask);
    // The shortcuts (id -> trigger) the portal confirmed last.
    const std::map<std::string, std::string>& boundShortcuts() const { return bound_; }

private:
    struct Shortcut {
        std::string trigger;
        std::string description;
    };
    enum class State { Idle, CreatingSession, Binding };

    bool checkPortal();
    void startSession();
    void bindShortcuts();
    void closeSession();
    std::string nextToken();
    static int onResponse(sd_bus_message* message, void* self, sd_bus_error* error);
    static int onActivated(sd_bus_message* message, void* self, sd_bus_error* error);
    static int onSessionClosed(sd_bus_message* message, void* self, sd_bus_error* error);
    void handleResponse(sd_bus_message* message);
    void handleActivated(sd_bus_message* message);
    std::map<std::string, std::string> wantedShortcuts() const;

    sd_bus* bus_ = nullptr;
    sd_bus_slot* responseSlot_ = nullptr;
    sd_bus_slot* activatedSlot_ = nullptr;
    sd_bus_slot* closedSlot_ = nullptr;
    bool available_ = false;
    bool connectionLost_ = false;
    std::string reason_;

    std::map<HotKeyHandle, Shortcut> keys_;
    HotKeyHandle nextHandle_ = 1;
    unsigned tokenCounter_ = 0;

    State state_ = State::Idle;
    std::string session_;
    std::string pendingRequest_;
    std::map<std::string, std::string> requested_; // id -> trigger, asked for last
    std::map<std::string, std::string> bound_;
    bool dirty_ = false;
    const PressHandler* onPress_ = nullptr;
};

} // namespace tsyhotkey
