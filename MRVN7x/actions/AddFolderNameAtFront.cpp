#include "MRVN7x/actions/AddFolderNameAtFront.h"

#include "platform/PathText.h"

#include <vector>

namespace morvane {

plist::Dictionary AddFolderNameAtFront::defaultParameters() const {
    auto params = BaseRenameAction::defaultParameters();
    params["trailing space"] = plist::Value(1);
    return params;
}

void AddFolderNameAtFront::prepareParameters() {
    BaseRenameAction::prepareParameters();
    paramTrailingSpace = getParamInt("trailing space", 1);
}

std::u16string AddFolderNameAtFront::folderDisplayName(const std::string& path) {
    std::vector<std::string> components;
    if (!path.empty() && path.front() == '/')
        components.emplace_back("/");
    std::size_t start = 0;
    while (start < path.size()) {
        std::size_t slash = path.find('/', start);
        if (slash == std::string::npos)
            slash = path.size();
        if (slash > start) // empty components of "//" and a trailing "/" do not count
            components.push_back(path.substr(start, slash - start));
        start = slash + 1;
    }
    if (components.size() < 2)
        return {};
    std::u16string name = PathText::fromUtf8(components[components.size() - 2]);
    for (auto& unit : name)
        if (unit == u':')
            unit = u'/';
    return name;
}

std::u16string AddFolderNameAtFront::processName(const std::u16string& fragment,
                                                 const std::string& path, InputContext&) {
    const std::u16string folder = folderDisplayName(path);
    return paramTrailingSpace != 0 ? folder + u' ' + fragment : folder + fragment;
}

} // namespace morvane
