#include "platform/SystemVersion.h"

namespace morvane::SystemVersion {

unsigned packedVersion() {
    return 0x1050;
}
bool isLeopard() {
    return packedVersion() > 0x104F;
}

} // namespace morvane::SystemVersion
