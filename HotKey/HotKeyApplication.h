#pragma once
// The application object: the table of registered hot keys and the dispatch
// of presses to their handlers.
#include "HotKey/KeyRegistrar.h"

#include <functional>
#include <unordered_map>

namespace tsyhotkey {

// 'HtKe': the signature of every hot key's identifier.
inline constexpr std::uint32_t kHotKeySignature = 0x48744B65;

class HotKeyApplication {
public:
    using Handler = std::function<void()>;

    explicit HotKeyApplication(KeyRegistrar& registrar);

    // The handle, or 0 when the registrar refuses the combination (nothing stored).
    HotKeyHandle registerHotKeyCode(std::uint16_t keyCode, std::uint32_t modifierMask,
                                    Handler handler, const std::string& description = {});
    void unregisterHotKey(HotKeyHandle handle);
    // A press of the key with this handle: runs its handler, if any.
    void sendEvent(HotKeyHandle handle);

    std::size_t registeredCount() const { return registry_.size(); }
    bool isRegistered(HotKeyHandle handle) const { return registry_.contains(handle); }
    KeyRegistrar& registrar() { return registrar_; }
    // The registration counter's next value (counts attempts, refused ones too).
    static std::uint32_t nextIdentifier();

private:
    KeyRegistrar& registrar_;
    std::unordered_map<HotKeyHandle, Handler> registry_;
};

} // namespace tsyhotkey
