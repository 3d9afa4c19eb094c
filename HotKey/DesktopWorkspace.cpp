#include "HotKey/DesktopWorkspace.h"

#include "HotKey/DistributedNotification.h"
#include "HotKey/ProcessLauncher.h"
#include "HotKey/X11Desktop.h"
#include "platform/ScriptRunner.h"

namespace tsyhotkey {

bool DesktopWorkspace::fileManagerIsFrontmost() {
    return !desktop_ || desktop_->fileManagerIsActive();
}

bool DesktopWorkspace::launchApplication(const std::string& path) {
    return ProcessLauncher::launch(path);
}

void DesktopWorkspace::postWakeUpNotification() {
    DistributedNotification::post("wake up", "net.halvard.tmbl");
}

bool DesktopScriptEngine::compile(const std::string& source) {
    return morvane::ScriptRunner::canRun(source);
}

bool DesktopScriptEngine::execute(const std::string& source) {
    morvane::ScriptRunner::FileManagerBridge bridge{
        [this] { return desktop_ ? desktop_->clipboardFiles() : std::vector<std::string>{}; },
        [](const std::string& tool, const std::vector<std::string>& items) {
            return ProcessLauncher::launch(tool, items);
        }};
    return morvane::ScriptRunner::run(source, bridge);
}

} // namespace tsyhotkey
