#include "HotKey/DistributedNotification.h"

#include "platform/SystemLog.h"

#include <cstring>
#include <systemd/sd-bus.h>

namespace tsyhotkey::DistributedNotification {

bool post(const std::string& name, const std::string& object) {
    sd_bus* bus = nullptr;
    int status = sd_bus_open_user(&bus);
    if (status >= 0)
        status = sd_bus_emit_signal(bus, "/net/halvard/DistributedNotifications",
                                    "net.halvard.DistributedNotifications", "Posted", "ss",
                                    name.c_str(), object.c_str());
    if (status >= 0)
        status = sd_bus_flush(bus);
    sd_bus_flush_close_unref(bus);
    if (status < 0) {
        morvane::SystemLog::warning("Notification \"" + name +
                                    "\" not sent (no session bus: " + std::strerror(-status) + ")");
        return false;
    }
    return true;
}

} // namespace tsyhotkey::DistributedNotification
