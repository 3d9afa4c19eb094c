#pragma once
// Real files in a temporary folder, expanded by the file list, and the new
// names an action or a chain gives them.
#include "MRVN7x/actions/BaseRenameAction.h"
#include "platform/PathText.h"
#include "tests/filelist/FileListTestSupport.h"

#include <map>
#include <string>
#include <vector>

namespace morvane::test {

class NamingFixture : public FileListFixture {
public:
    NamingFixture() : FileListFixture("naming") {}

    // Creates the files and lists every file below the folder (no folders).
    void useFiles(const std::vector<std::string>& relatives) {
        for (const auto& relative : relatives)
            dir.write(relative, relative);
        addRoot("");
        update({1, 0, 1}, false);
    }

    InputContext contextFor(const std::string& path) {
        return InputContext{path, PathText::displayNameOfPath(path), &fm, &list};
    }

    // The new name of every entry, by its path relative to the folder.
    std::map<std::string, std::u16string> newNames(BaseRenameAction& action) {
        std::map<std::string, std::u16string> names;
        for (int i = 0; i < list.count(); ++i) {
            const std::string path(list.pathAtIndex(i));
            InputContext input = contextFor(path);
            OutputContext output;
            action.executeWithInputContext(input, output);
            names[relative(path)] = output.newName;
        }
        return names;
    }

    std::u16string newName(BaseRenameAction& action, const std::string& relativePath) {
        InputContext input = contextFor(dir / relativePath);
        OutputContext output;
        action.executeWithInputContext(input, output);
        return output.newName;
    }
};

using NameMap = std::map<std::string, std::u16string>;

} // namespace morvane::test
