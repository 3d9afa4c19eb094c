#include "tests/support/ComponentEnvironment.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace morvane::test {

ComponentEnvironment::ComponentEnvironment() {
    set("HOME", home.path());
    set("XDG_DATA_HOME", dataHome());
    set("MORVANE_BUNDLE_RESOURCES", resources_.path());
}

ComponentEnvironment::~ComponentEnvironment() {
    for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
        if (it->second)
            setenv(it->first.c_str(), it->second->c_str(), 1);
        else
            unsetenv(it->first.c_str());
    }
}

void ComponentEnvironment::set(const char* variable, const std::string& value) {
    const char* old = std::getenv(variable);
    saved_.emplace_back(variable, old ? std::optional<std::string>(old) : std::nullopt);
    setenv(variable, value.c_str(), 1);
}

void ComponentEnvironment::makeBundle(const std::string& path, const std::string& version,
                                      bool asInteger, const std::string& program) {
    fs::create_directories(path + "/Contents/Resources");
    const std::string value =
        asInteger ? "<integer>" + version + "</integer>" : "<string>" + version + "</string>";
    std::ofstream(path + "/Contents/Info.plist")
        << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
           "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
           "<plist version=\"1.0\"><dict><key>CFBundleVersion</key>"
        << value << "</dict></plist>\n";
    std::ofstream(path + "/Contents/Resources/marker") << version;
    if (program.empty())
        return;
    const std::string executable = path + "/Contents/bin/" + fs::path(path).stem().string();
    fs::create_directories(path + "/Contents/bin");
    std::ofstream(executable) << "#!/bin/sh\n" << program << "\n";
    fs::permissions(executable,
                    fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec);
}

} // namespace morvane::test
