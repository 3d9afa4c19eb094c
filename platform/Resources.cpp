#include "platform/Resources.h"

namespace morvane {

std::optional<std::string> Resources::bytes(const std::string& name, const std::string& type) {
    const std::string fileName = name + "." + type;
    for (const EmbeddedResource* r = embedded::resources; r->name; ++r)
        if (fileName == r->name)
            return std::string(reinterpret_cast<const char*>(r->data), r->size);
    return std::nullopt;
}

std::optional<plist::Value> Resources::plist(const std::string& name) {
    auto raw = bytes(name, "plist");
    if (!raw)
        return std::nullopt;
    return plist::fromBytes(*raw);
}

} // namespace morvane
