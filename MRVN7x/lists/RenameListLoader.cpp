#include "MRVN7x/lists/RenameListLoader.h"

#include "MRVN7x/lists/ListFileReader.h"

namespace morvane {

bool RenameListLoader::isValidNewName(const std::u16string& name) {
    return !name.empty() && name.size() <= kMaximumNameLength &&
           name.find_first_of(u"\t/") == std::u16string::npos;
}

int RenameListLoader::loadFromPath(const std::string& path) {
    fileArray_.clear();
    ListFileReader reader(path);
    if (!reader.isOpen())
        return kUnreadable;
    ListFileReader::Record record;
    int line = 0;
    for (;;) {
        const auto status = reader.nextRecord(record);
        if (status == ListFileReader::Status::End)
            return 0;
        if (status == ListFileReader::Status::ReadError) {
            fileArray_.clear();
            return kUnreadable;
        }
        ++line;
        if (line > kMaximumLines || record.malformed || record.overlong ||
            !isValidNewName(record.text)) {
            fileArray_.clear();
            return line;
        }
        fileArray_.push_back(std::move(record.text));
    }
}

} // namespace morvane
