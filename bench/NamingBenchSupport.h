#pragma once
// Shared by the naming benchmarks: a tree of 100,000 empty files (100 folders
// of 1000) made once in the temporary folder and removed at exit, the
// expanded file list over it, and a pass of an action over every entry as
// the rename run makes it.
#include "MRVN7x/actions/BaseRenameAction.h"
#include "MRVN7x/engine/FileManager.h"
#include "MRVN7x/filelist/DynamicFileList.h"
#include "MRVN7x/filelist/RawFileList.h"
#include "platform/PathText.h"

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace morvane::bench {

constexpr int kFolders = 100;
constexpr int kFilesPerFolder = 1000;
constexpr int kFiles = kFolders * kFilesPerFolder;

inline std::string numberedName(const char* format, int n) {
    char name[64];
    std::snprintf(name, sizeof name, format, n);
    return name;
}

class Tree {
public:
    Tree() {
        std::string pattern = (std::filesystem::temp_directory_path() / "morvane-bench-XXXXXX");
        if (!mkdtemp(pattern.data()))
            std::abort();
        root_ = pattern;
        for (int folder = 0; folder < kFolders; ++folder) {
            const std::string path = root_ + "/" + numberedName("Roll %03d", folder);
            std::filesystem::create_directory(path);
            for (int file = 0; file < kFilesPerFolder; ++file) {
                const std::string name = numberedName("IMG_%05d.JPG", folder * 1000 + file);
                const int fd = ::open((path + "/" + name).c_str(), O_CREAT | O_WRONLY, 0644);
                if (fd >= 0)
                    ::close(fd);
            }
        }
    }
    ~Tree() {
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }
    const std::string& root() const { return root_; }

private:
    std::string root_;
};

inline const Tree& tree() {
    static const Tree shared;
    return shared;
}

// The whole tree expanded without cut-off, as for a rename run, with the
// main sort the application picks for the current action.
struct ExpandedTree {
    ExpandedTree(std::int32_t mode, std::int32_t mode2) {
        raw.addPath(tree().root());
        list.setRawFileList(&raw);
        list.setProcessFiles(1);
        list.setProcessSubFolders(1);
        list.setApplyCutOff(false);
        list.setSortingMode(mode);
        list.setSortingMode2(mode2);
        list.update();
    }
    FileManager fm;
    RawFileList raw;
    DynamicFileList list{fm};
};

// Computes every entry's new name in list order; answers how many changed.
inline int nameEveryEntry(BaseRenameAction& action, DynamicFileList& list, FileManager& fm) {
    InputContext input;
    input.fileManager = &fm;
    input.dynamicFileList = &list;
    int changed = 0;
    for (int i = 0; i < list.count(); ++i) {
        input.inputPath = list.pathAtIndex(i);
        input.currentName = PathText::displayNameOfPath(input.inputPath);
        OutputContext output;
        action.executeWithInputContext(input, output);
        changed += output.newName != PathText::displayNameOfPath(input.inputPath);
    }
    return changed;
}

} // namespace morvane::bench
