#pragma once
// Where the product line's applications are looked for on Linux.
//
// The fixed application folder ("/Applications" of the product line) is
// ${OSSVALE_APPLICATIONS_DIR} when that variable holds an absolute path, else
// the folder "ossvale/Applications" next to the installed core library
// (<prefix>/lib/ossvale/Applications), so an installed prefix can move. The
// application-support folder of the current user is ${XDG_DATA_HOME}.
#include <string>

namespace morvane::ApplicationFolders {

std::string applicationsFolder();
// "/Applications/NAME" and "/Applications/Utilities/NAME", resolved.
std::string applicationPath(const std::string& name);
std::string utilityApplicationPath(const std::string& name);
std::string applicationSupportFolder();

} // namespace morvane::ApplicationFolders
