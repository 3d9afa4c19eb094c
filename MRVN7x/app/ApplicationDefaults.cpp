#include "MRVN7x/app/ApplicationDefaults.h"

namespace morvane {

UserDefaults& applicationDefaults() {
    static UserDefaults defaults(kApplicationDomain);
    return defaults;
}

ActionList& applicationActionList() {
    static ActionList registry(applicationDefaults());
    return registry;
}

} // namespace morvane
