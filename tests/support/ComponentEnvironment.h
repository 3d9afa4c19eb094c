#pragma once
// A private home, data folder and application resource folder for one test
// of the companion components, with stand-in bundles made on the spot.
#include "tests/support/TempDir.h"

#include <optional>
#include <string>
#include <vector>

namespace morvane::test {

class ComponentEnvironment {
public:
    ComponentEnvironment();
    ~ComponentEnvironment();

    std::string dataHome() const { return home / ".local/share"; }
    const std::string& resources() const { return resources_.path(); }

    // A bundle folder at path with Contents/Info.plist (CFBundleVersion as
    // text, or as an integer when asInteger) and Contents/Resources/marker
    // holding the version. With program, Contents/bin/<stem> is a shell
    // script with that body.
    static void makeBundle(const std::string& path, const std::string& version,
                           bool asInteger = false, const std::string& program = {});

    TempDir home{"home"};

    // Sets an environment variable until the environment ends.
    void set(const char* variable, const std::string& value);

private:
    TempDir resources_{"resources"};
    std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

} // namespace morvane::test
