#include "HotKey/HotKeyApplication.h"

#include <atomic>

namespace tsyhotkey {
namespace {
std::atomic<std::uint32_t> identifierCounter{0};
}

std::uint32_t HotKeyApplication::nextIdentifier() {
    return identifierCounter.load();
}

HotKeyApplication::HotKeyApplication(KeyRegistrar& registrar) : registrar_(registrar) {}

HotKeyHandle HotKeyApplication::registerHotKeyCode(std::uint16_t keyCode,
                                                   std::uint32_t modifierMask, Handler handler,
                                                   const std::string& description) {
    HotKeyRequest request{keyCode, modifierMask, identifierCounter++, description};
    HotKeyHandle handle = registrar_.registerKey(request);
    if (handle == 0)
        return 0;
    registry_[handle] = std::move(handler);
    return handle;
}

void HotKeyApplication::unregisterHotKey(HotKeyHandle handle) {
    registrar_.unregisterKey(handle);
    registry_.erase(handle);
}

void HotKeyApplication::sendEvent(HotKeyHandle handle) {
    auto found = registry_.find(handle);
    if (found == registry_.end() || !found->second)
        return;
    // The handler may unregister keys; run a copy.
    Handler handler = found->second;
    handler();
}

} // namespace tsyhotkey
