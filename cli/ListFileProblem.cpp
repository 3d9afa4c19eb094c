#include "cli/ListFileProblem.h"

#include "MRVN7x/lists/ListFileReader.h"
#include "MRVN7x/lists/RenameListLoader.h"
#include "MRVN7x/lists/TabDelimitedFileListLoader.h"

namespace morvane::cli {

namespace {
std::string newNameProblem(const std::u16string& name) {
    if (name.empty())
        return "no new name";
    if (name.find(u'/') != std::u16string::npos)
        return "a new name holds \"/\"";
    if (name.find(u'\t') != std::u16string::npos)
        return "more than one tab";
    if (name.size() > RenameListLoader::kMaximumNameLength)
        return "a new name longer than 256 characters";
    return {};
}

std::string pairProblem(const std::u16string& text) {
    const size_t tab = text.find(u'\t');
    const std::u16string first = text.substr(0, tab);
    if (first.find(u'/') == std::u16string::npos)
        return "not a full path: a list of pairs names each item by its full path, a tab and "
               "its new name, as 'save-list --layout 2' writes it (a list saved with --layout 0 "
               "does not load back; --layout 1 writes new names alone)";
    if (first.size() > TabDelimitedFileListLoader::kMaximumPathLength)
        return "a path longer than 1024 characters";
    size_t start = tab + 1;
    while (start < text.size() && ListFileReader::isWhiteSpaceOrLineBreak(text[start]))
        ++start;
    return newNameProblem(text.substr(start));
}
} // namespace

std::string listLineProblem(const std::string& path, int line) {
    if (line > RenameListLoader::kMaximumLines)
        return "more than 500000 lines";
    ListFileReader reader(path);
    ListFileReader::Record record;
    for (int n = 1; reader.isOpen() && reader.nextRecord(record) == ListFileReader::Status::Record;
         ++n) {
        if (n < line)
            continue;
        if (record.malformed)
            return "not UTF-8 text";
        if (record.overlong)
            return "a line longer than a list can hold";
        if (record.text.find(u'\t') != std::u16string::npos)
            return pairProblem(record.text);
        const std::string problem = newNameProblem(record.text);
        return problem.empty() ? "no tab: in a list of pairs every line is a full path, a tab "
                                 "and a new name"
                               : problem;
    }
    return {};
}

} // namespace morvane::cli
