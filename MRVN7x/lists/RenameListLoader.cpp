#include "MRVN7x/lists/RenameListLoader.h"

#include "MRVN7x/lists/ListFileReader.h"

namespace morvane {

bool RenameListLoader::isValidNewName(const std::u16string& name) {
    return !name.empty() && name.size() <= kMaximumNameLength &&
           name.find_first_of(u"\t/") == std::u16string::npos;
}

ListLoadResult RenameListLoader::loadFromPath(const std::string& path) {
    fileArray_.clear();
    const ListLoadResult result =
        ListFileReader::readRecords(path, kMaximumLines, [this](std::u16string& text) {
            if (!isValidNewName(text))
                return false;
            fileArray_.push_back(std::move(text));
            return true;
        });
    if (!result.loaded())
        fileArray_.clear();
    return result;
}

} // namespace morvane
