// A stand-in for the desktop portal's GlobalShortcuts interface on a private
// session bus, for the hot-key program's tests. It records every call in the
// log file given as its argument, one line each:
//   CreateSession SESSION
//   BindShortcuts SESSION ID|TRIGGER|DESCRIPTION ...
//   Close SESSION
// confirms every request at once, and emits Activated for the current session
// when told to through org.morvane.StandIn.Activate(s id); CloseSession()
// closes the current session from the portal's side (Closed).
#include <systemd/sd-bus.h>

#include <cstdio>
#include <string>

namespace {

constexpr char kPortalPath[] = "/org/freedesktop/portal/desktop";
constexpr char kShortcuts[] = "org.freedesktop.portal.GlobalShortcuts";

std::FILE* logFile = nullptr;
std::string currentSession;
unsigned counter = 0;

void logLine(const std::string& line) {
    std::fprintf(logFile, "%s\n", line.c_str());
    std::fflush(logFile);
}

// Reads a{sv} and answers the value of "handle_token" (a string), if any.
std::string handleToken(sd_bus_message* message) {
    std::string token;
    sd_bus_message_enter_container(message, 'a', "{sv}");
    while (sd_bus_message_enter_container(message, 'e', "sv") > 0) {
        const char* key = nullptr;
        sd_bus_message_read(message, "s", &key);
        if (key && std::string(key) == "handle_token") {
            const char* value = nullptr;
            sd_bus_message_read(message, "v", "s", &value);
            token = value ? value : "";
        } else {
            sd_bus_message_skip(message, "v");
        }
        sd_bus_message_exit_container(message);
    }
    sd_bus_message_exit_container(message);
    return token;
}

std::string requestPath(sd_bus_message* message, const std::string& token) {
    std::string sender = sd_bus_message_get_sender(message) + 1;
    for (char& c : sender)
        if (c == '.')
            c = '_';
    return std::string(kPortalPath) + "/request/" + sender + "/" +
           (token.empty() ? "t" + std::to_string(++counter) : token);
}

int createSession(sd_bus_message* message, void*, sd_bus_error*) {
    const std::string token = handleToken(message);
    const std::string request = requestPath(message, token);
    currentSession = std::string(kPortalPath) + "/session/s" + std::to_string(++counter);
    logLine("CreateSession " + currentSession);
    sd_bus* bus = sd_bus_message_get_bus(message);
    sd_bus_reply_method_return(message, "o", request.c_str());
    return sd_bus_emit_signal(bus, request.c_str(), "org.freedesktop.portal.Request", "Response",
                              "ua{sv}", 0u, 1, "session_handle", "s", currentSession.c_str());
}

int bindShortcuts(sd_bus_message* message, void*, sd_bus_error*) {
    const char* session = nullptr;
    sd_bus_message_read(message, "o", &session);
    std::string line = std::string("BindShortcuts ") + (session ? session : "");
    sd_bus_message_enter_container(message, 'a', "(sa{sv})");
    while (sd_bus_message_enter_container(message, 'r', "sa{sv}") > 0) {
        const char* id = nullptr;
        sd_bus_message_read(message, "s", &id);
        std::string trigger, description;
        sd_bus_message_enter_container(message, 'a', "{sv}");
        while (sd_bus_message_enter_container(message, 'e', "sv") > 0) {
            const char* key = nullptr;
            const char* value = nullptr;
            sd_bus_message_read(message, "s", &key);
            sd_bus_message_read(message, "v", "s", &value);
            if (key && std::string(key) == "preferred_trigger")
                trigger = value ? value : "";
            if (key && std::string(key) == "description")
                description = value ? value : "";
            sd_bus_message_exit_container(message);
        }
        sd_bus_message_exit_container(message);
        sd_bus_message_exit_container(message);
        line += std::string(" ") + (id ? id : "") + "|" + trigger + "|" + description;
    }
    sd_bus_message_exit_container(message);
    const char* parent = nullptr;
    sd_bus_message_read(message, "s", &parent);
    const std::string request = requestPath(message, handleToken(message));
    logLine(line);
    sd_bus* bus = sd_bus_message_get_bus(message);
    sd_bus_reply_method_return(message, "o", request.c_str());
    return sd_bus_emit_signal(bus, request.c_str(), "org.freedesktop.portal.Request", "Response",
                              "ua{sv}", 0u, 0);
}

int closeSession(sd_bus_message* message, void*, sd_bus_error*) {
    logLine(std::string("Close ") + sd_bus_message_get_path(message));
    if (currentSession == sd_bus_message_get_path(message))
        currentSession.clear();
    return sd_bus_reply_method_return(message, "");
}

int activate(sd_bus_message* message, void*, sd_bus_error*) {
    const char* id = nullptr;
    sd_bus_message_read(message, "s", &id);
    sd_bus* bus = sd_bus_message_get_bus(message);
    sd_bus_reply_method_return(message, "");
    if (currentSession.empty())
        return 0;
    return sd_bus_emit_signal(bus, kPortalPath, kShortcuts, "Activated", "osta{sv}",
                              currentSession.c_str(), id ? id : "", std::uint64_t(0), 0);
}

int closeFromPortal(sd_bus_message* message, void*, sd_bus_error*) {
    sd_bus* bus = sd_bus_message_get_bus(message);
    sd_bus_reply_method_return(message, "");
    if (currentSession.empty())
        return 0;
    const std::string session = currentSession;
    currentSession.clear();
    logLine("Closed " + session);
    return sd_bus_emit_signal(bus, session.c_str(), "org.freedesktop.portal.Session", "Closed",
                              "a{sv}", 0);
}

const sd_bus_vtable portalTable[] = {
    SD_BUS_VTABLE_START(0),
    SD_BUS_PROPERTY(
        "version", "u",
        [](sd_bus*, const char*, const char*, const char*, sd_bus_message* reply, void*,
           sd_bus_error*) { return sd_bus_message_append(reply, "u", 1u); },
        0, SD_BUS_VTABLE_PROPERTY_CONST),
    SD_BUS_METHOD("CreateSession", "a{sv}", "o", createSession, 0),
    SD_BUS_METHOD("BindShortcuts", "oa(sa{sv})sa{sv}", "o", bindShortcuts, 0),
    SD_BUS_SIGNAL("Activated", "osta{sv}", 0),
    SD_BUS_VTABLE_END};

const sd_bus_vtable sessionTable[] = {
    SD_BUS_VTABLE_START(0), SD_BUS_METHOD("Close", "", "", closeSession, 0), SD_BUS_VTABLE_END};

const sd_bus_vtable controlTable[] = {
    SD_BUS_VTABLE_START(0), SD_BUS_METHOD("Activate", "s", "", activate, 0),
    SD_BUS_METHOD("CloseSession", "", "", closeFromPortal, 0), SD_BUS_VTABLE_END};

} // namespace

int main(int argc, char** argv) {
    if (argc != 2)
        return 2;
    logFile = std::fopen(argv[1], "a");
    sd_bus* bus = nullptr;
    if (!logFile || sd_bus_open_user(&bus) < 0)
        return 1;
    sd_bus_add_object_vtable(bus, nullptr, kPortalPath, kShortcuts, portalTable, nullptr);
    sd_bus_add_fallback_vtable(bus, nullptr, "/org/freedesktop/portal/desktop/session",
                               "org.freedesktop.portal.Session", sessionTable, nullptr, nullptr);
    sd_bus_add_object_vtable(bus, nullptr, "/org/morvane/StandIn", "org.morvane.StandIn",
                             controlTable, nullptr);
    if (sd_bus_request_name(bus, "org.freedesktop.portal.Desktop", 0) < 0)
        return 1;
    for (;;) {
        int status = sd_bus_process(bus, nullptr);
        if (status < 0)
            return 0; // the bus went away
        if (status == 0 && sd_bus_wait(bus, UINT64_MAX) < 0)
            return 0;
    }
}
