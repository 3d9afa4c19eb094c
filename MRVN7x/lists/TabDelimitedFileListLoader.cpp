#include "MRVN7x/lists/TabDelimitedFileListLoader.h"

#include "MRVN7x/actions/text/UnicodeText.h"
#include "MRVN7x/lists/ListFileReader.h"
#include "MRVN7x/lists/RenameListLoader.h"

#include <algorithm>

namespace morvane {

std::u16string TabDelimitedFileListLoader::lowercasePath(const std::u16string& path) {
    if (std::all_of(path.begin(), path.end(), [](char16_t c) { return c < 0x80; })) {
        std::u16string lower = path;
        for (char16_t& c : lower)
            if (c >= u'A' && c <= u'Z')
                c = static_cast<char16_t>(c + (u'a' - u'A'));
        return lower;
    }
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

int TabDelimitedFileListLoader::loadFromPath(const std::string& path) {
    fileArray_.clear();
    newNameArray_.clear();
    ListFileReader reader(path);
    if (!reader.isOpen())
        return RenameListLoader::kUnreadable;
    ListFileReader::Record record;
    int line = 0;
    for (;;) {
        const auto status = reader.nextRecord(record);
        if (status == ListFileReader::Status::End)
            return 0;
        if (status == ListFileReader::Status::ReadError) {
            fileArray_.clear();
            newNameArray_.clear();
            return RenameListLoader::kUnreadable;
        }
        ++line;
        if (line > RenameListLoader::kMaximumLines || record.malformed || record.overlong ||
            !addPair(record.text)) {
            fileArray_.clear();
            newNameArray_.clear();
            return line;
        }
    }
}

} // namespace morvane
