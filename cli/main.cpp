// morvane-cli: renames the files named on the command line through an
// "Add to end" step. (The full command-line front end replaces this.)
#include "MRVN7x/actions/ActionList.h"
#include "MRVN7x/app/MRVNGlobalPreferencesPseudoAction.h"
#include "MRVN7x/engine/DiskRenamer.h"
#include "platform/PathText.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

using namespace morvane;

namespace {
const char* usage = "Usage: morvane-cli --add-to-end TEXT [--fragment 0|1|2|3] PATH...\n"
                    "Appends TEXT to the name of every PATH (fragment 1: before the extension).\n";

int usageError(const char* reason) {
    std::fprintf(stderr, "morvane-cli: %s\nTry 'morvane-cli --help'.\n", reason);
    return 2;
}
} // namespace

int main(int argc, char** argv) {
    std::string text;
    bool haveText = false;
    int fragment = 0;
    std::vector<std::string> paths;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::fputs(usage, stdout);
            return 0;
        }
        if ((arg == "--add-to-end" || arg == "--fragment") && i + 1 >= argc)
            return usageError(("missing value after " + arg).c_str());
        if (arg == "--add-to-end") {
            text = argv[++i];
            haveText = true;
        } else if (arg == "--fragment") {
            fragment = std::atoi(argv[++i]);
        } else {
            paths.push_back(arg);
        }
    }
    if (!haveText || paths.empty())
        return usageError("an --add-to-end text and at least one path are needed");

    auto action = ActionList::sharedActionList().newActionForName("Add to end", nullptr);
    if (!action)
        return 1;
    action->setValueForKey("string", plist::Value(text));
    action->setValueForKey("fragmentSelection", plist::Value(fragment));
    auto settings = makeAction<MRVNGlobalPreferencesPseudoAction>();
    DiskRenamer renamer(*settings);

    int failures = 0, changed = 0;
    for (const auto& path : paths) {
        InputContext input{path, PathText::displayNameOfPath(path)};
        OutputContext output;
        action->executeWithInputContext(input, output);
        if (output.newName == input.currentName)
            continue;
        auto fileName = PathText::fileNameFromDisplayName(output.newName);
        const std::string newPath =
            PathText::join(PathText::folderOf(path), fileName ? *fileName : std::string());
        if (fileName &&
            renamer.renameCurrentName(input.currentName, path, output.newName, newPath)) {
            std::printf("%s -> %s\n", path.c_str(), newPath.c_str());
            ++changed;
        } else {
            std::fprintf(stderr, "morvane-cli: could not rename %s: %s\n", path.c_str(),
                         std::strerror(errno));
            ++failures;
        }
    }
    std::printf("%d file name%s changed.\n", changed, changed == 1 ? " was" : "s were");
    return failures ? 1 : 0;
}
