#include "MRVN7x/lists/TabDelimitedFileListLoader.h"

#include "MRVN7x/actions/text/UnicodeText.h"
#include "MRVN7x/lists/ListFileReader.h"
#include "MRVN7x/lists/RenameListLoader.h"

namespace morvane {

std::u16string TabDelimitedFileListLoader::lowercasePath(const std::u16string& path) {
    return UnicodeText::lowercase(path);
}

// One line: the path up to the first tab, then (after white space) the name
// up to the end of the line.
bool TabDelimitedFileListLoader::addPair(const std::u16string& line) {
    const size_t tab = line.find(u'\t');
    if (tab == std::u16string::npos)
        return false;
    std::u16string path = line.substr(0, tab);
    if (path.size() > kMaximumPathLength || path.find(u'/') == std::u16string::npos)
        return false;
    size_t nameStart = tab + 1;
    while (nameStart < line.size() && ListFileReader::isWhiteSpaceOrLineBreak(line[nameStart]))
        ++nameStart;
    std::u16string name = line.substr(nameStart);
    if (!RenameListLoader::isValidNewName(name))
        return false;
    fileArray_.push_back(ignoreCase_ ? lowercasePath(path) : std::move(path));
    newNameArray_.push_back(std::move(name));
    return true;
}

ListLoadResult TabDelimitedFileListLoader::loadFromPath(const std::string& path) {
    fileArray_.clear();
    newNameArray_.clear();
    const ListLoadResult result =
        ListFileReader::readRecords(path, RenameListLoader::kMaximumLines,
                                    [this](std::u16string& text) { return addPair(text); });
    if (!result.loaded()) {
        fileArray_.clear();
        newNameArray_.clear();
    }
    return result;
}

} // namespace morvane
