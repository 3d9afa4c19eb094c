#include "platform/Resources.h"

namespace morvane {

std::optional<std::string> Resources::bytes(const std::string& name, const std::string& type) {
    const std::string fileName = name + "." + type;
    for (const EmbeddedResource* r = embedded::resources; r->name; ++r)
        if (fileName == r->name)
            return std::string(reinterpret_cast<const char*>(r->data), r->size);
    return std::nullopt;
}

std::string Resources::missingMessage(const std::string& fileName) {
    size_t count = 0;
    for (const EmbeddedResource* r = embedded::resources; r->name; ++r)
        ++count;
    return "Internal error: the resource " + fileName + " is missing: it is not among the " +
           std::to_string(count) +
           " resources built into the core library libmrvn7core (from the folder resources/ "
           "of its sources)";
}

std::optional<plist::Value> Resources::plist(const std::string& name) {
    auto raw = bytes(name, "plist");
    if (!raw)
        return std::nullopt;
    return plist::fromBytes(*raw);
}

} // namespace morvane
