// tessary-droplet: the program of a droplet. `X.app/Contents/bin/tessary-droplet
// [FILE]...` hands the files, with the droplet's settings, to Morvane to be
// renamed; without files it opens the droplet's settings in Morvane for editing.
#include "Droplet/DropletProgram.h"
#include "MorvaneVersion.h"
#include "platform/SystemLog.h"
#include "platform/Workspace.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <unistd.h>

using namespace morvane;

namespace {
constexpr const char* kUsage =
    "Usage: X.app/Contents/bin/tessary-droplet [FILE]...\n"
    "Renames the files and folders with the settings of the droplet X.app, through Morvane.\n"
    "Without files, opens the droplet's settings in Morvane for editing.\n";

std::string absolute(const char* path) {
    std::error_code error;
    const auto full = std::filesystem::absolute(path, error);
    return error ? std::string(path) : full.lexically_normal().string();
}

// The message reaches the user on a terminal, in the system log, and as a
// desktop notification where a notifier is installed (a drop from a file
// manager has no terminal).
void tell(const std::string& message) {
    std::fprintf(stderr, "tessary-droplet: %s\n", message.c_str());
    if (std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY"))
        Workspace::runAndWait("sh", {"-c",
                                     "command -v notify-send >/dev/null && notify-send "
                                     "-i dialog-error \"$0\" \"$1\"",
                                     "Morvane droplet", message});
}
} // namespace

int main(int argc, char** argv) {
    SystemLog::setIdent("tessary-droplet");
    std::vector<std::string> files;
    bool options = true;
    for (int i = 1; i < argc; ++i) {
        if (options && !std::strcmp(argv[i], "--")) {
            options = false;
        } else if (options && (!std::strcmp(argv[i], "--help") || !std::strcmp(argv[i], "-h"))) {
            std::fputs(kUsage, stdout);
            return 0;
        } else if (options && !std::strcmp(argv[i], "--version")) {
            std::printf("tessary-droplet %s\n", MORVANE_VERSION);
            return 0;
        } else if (argv[i][0] != '\0') {
            files.push_back(absolute(argv[i]));
        }
    }
    const auto bundle = DropletProgram::ownBundle();
    if (!bundle) {
        tell("This program works only inside a droplet (X.app/Contents/bin). Nothing was renamed.");
        return 1;
    }
    DropletProgram droplet(*bundle, std::move(files));
    const int status = droplet.run();
    if (status != 0)
        tell(droplet.message());
    return status;
}
