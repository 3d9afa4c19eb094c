#pragma once
// Notifications to other programs of the product line: a D-Bus signal on the
// session bus, object /net/halvard/DistributedNotifications, interface
// net.halvard.DistributedNotifications, member Posted, arguments (name,
// object). Without a session bus the notification is logged as not sent.
#include <string>

namespace tsyhotkey::DistributedNotification {

bool post(const std::string& name, const std::string& object);

} // namespace tsyhotkey::DistributedNotification
