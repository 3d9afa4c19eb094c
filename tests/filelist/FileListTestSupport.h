#pragma once
// A raw list and a dynamic list over a temporary folder, with helpers that
// name entries relative to that folder.
#include "MRVN7x/engine/FileManager.h"
#include "MRVN7x/filelist/DynamicFileList.h"
#include "MRVN7x/filelist/RawFileList.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace morvane::test {

struct Switches {
    int files;
    int folders;
    int subfolders;
};

class FileListFixture {
public:
    explicit FileListFixture(const std::string& label = "filelist") : dir(label) {
        list.setRawFileList(&raw);
    }

    // Adds a root (relative to the folder, or "" for the folder itself) after the legality test.
    void addRoot(const std::string& relative) {
        const std::string path = relative.empty() ? dir.path() : dir / relative;
        ASSERT_TRUE(raw.isLegalPath(path)) << path;
        raw.addPath(path);
    }

    void update(Switches switches, bool cutOff = true) {
        list.setProcessFiles(switches.files);
        list.setProcessFolders(switches.folders);
        list.setProcessSubFolders(switches.subfolders);
        list.setApplyCutOff(cutOff);
        list.update();
    }

    std::string relative(std::string_view path) const {
        if (path == dir.path())
            return ".";
        const std::string prefix = dir.path() + "/";
        return std::string(path.starts_with(prefix) ? path.substr(prefix.size()) : path);
    }

    // The entries in the list's own order, relative to the folder.
    std::vector<std::string> entries() {
        std::vector<std::string> result;
        for (int i = 0; i < list.count(); ++i)
            result.push_back(relative(list.pathAtIndex(i)));
        return result;
    }

    // The entries in expansion order.
    std::vector<std::string> entriesInExpansionOrder() {
        std::vector<std::string> result;
        for (int i = 0; i < list.count(); ++i)
            result.push_back(relative(list.pathAtInternalIndex(i)));
        return result;
    }

    TempDir dir;
    FileManager fm;
    RawFileList raw;
    DynamicFileList list{fm};
};

} // namespace morvane::test
