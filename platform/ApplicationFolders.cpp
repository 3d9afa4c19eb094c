#include "platform/ApplicationFolders.h"

#include "platform/XdgPaths.h"

#include <cstdlib>
#include <dlfcn.h>

namespace morvane::ApplicationFolders {
namespace {

// The folder that holds this library (<prefix>/lib when installed).
std::string libraryFolder() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&libraryFolder), &info) == 0 || !info.dli_fname)
        return "/usr/lib";
    std::string path = info.dli_fname;
    auto slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

} // namespace

std::string applicationsFolder() {
    if (const char* value = std::getenv("OSSVALE_APPLICATIONS_DIR"); value && value[0] == '/')
        return value;
    return libraryFolder() + "/ossvale/Applications";
}

std::string applicationPath(const std::string& name) {
    return applicationsFolder() + "/" + name;
}

std::string utilityApplicationPath(const std::string& name) {
    return applicationsFolder() + "/Utilities/" + name;
}

std::string applicationSupportFolder() {
    return XdgPaths::dataHome();
}

} // namespace morvane::ApplicationFolders
