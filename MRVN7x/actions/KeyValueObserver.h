#pragma once
// Observers of an action's parameters: every write through the key interface
// and every merge reports the key with its old and new value.
#include "platform/PlistValue.h"

#include <optional>
#include <string>

namespace morvane {

class BaseAction;

class KeyValueObserver {
public:
    virtual ~KeyValueObserver() = default;
    // oldValue and newValue are nothing when the key had or has no value.
    virtual void observeValueForKey(const std::string& key, BaseAction& object,
                                    const std::optional<plist::Value>& oldValue,
                                    const std::optional<plist::Value>& newValue) = 0;
};

} // namespace morvane
