#pragma once
// The application's resources by name (the files of resources/, compiled into
// the core library so every program and test finds them).
#include "platform/PlistValue.h"

#include <optional>
#include <string>

namespace morvane {

struct EmbeddedResource {
    const char* name;
    const unsigned char* data;
    unsigned long size;
};

namespace embedded {
extern const EmbeddedResource resources[];
}

class Resources {
public:
    // The raw bytes of the resource NAME.TYPE, or nothing.
    static std::optional<std::string> bytes(const std::string& name, const std::string& type);
    // The property list NAME.plist, or nothing when it is missing or does not parse.
    static std::optional<plist::Value> plist(const std::string& name);
    // What to report when a resource the program needs is not there: its name
    // and where it was looked for.
    static std::string missingMessage(const std::string& fileName);
};

} // namespace morvane
