#include "HotKey/HotKeyProgram.h"

#include "HotKey/AppController.h"
#include "HotKey/DesktopWorkspace.h"
#include "HotKey/PidFile.h"
#include "HotKey/PortalKeyRegistrar.h"
#include "HotKey/X11Desktop.h"
#include "HotKey/X11KeyRegistrar.h"
#include "MorvaneVersion.h"
#include "platform/SystemLog.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <sys/signalfd.h>
#include <unistd.h>

namespace tsyhotkey {
namespace {

using Clock = std::chrono::steady_clock;
using morvane::SystemLog::error;
using morvane::SystemLog::notice;
using morvane::SystemLog::warning;

// The pid file, removed by the X I/O error handler too (it cannot return).
PidFile* runningPidFile = nullptr;

int onXConnectionLost(Display*) {
    error("The X server went away; ending");
    if (runningPidFile)
        runningPidFile->release();
    std::_Exit(0);
}

int onXError(Display* display, XErrorEvent* event) {
    char text[256] = {};
    XGetErrorText(display, event->error_code, text, sizeof text);
    warning(std::string("X error: ") + text);
    return 0;
}

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

bool isWaylandSession() {
    return !environment("WAYLAND_DISPLAY").empty() || environment("XDG_SESSION_TYPE") == "wayland";
}

// The X11 back end with its display, or nothing (reason says why).
struct X11Choice {
    std::unique_ptr<X11Desktop> desktop;
    std::unique_ptr<X11KeyRegistrar> registrar;
};
X11Choice tryX11(std::string& reason) {
    X11Choice choice;
    if (environment("DISPLAY").empty()) {
        reason += "no X display (DISPLAY is not set); ";
        return choice;
    }
    auto desktop = std::make_unique<X11Desktop>();
    if (!desktop->display()) {
        reason += "the X display " + environment("DISPLAY") + " cannot be opened; ";
        return choice;
    }
    XSetIOErrorHandler(onXConnectionLost);
    XSetErrorHandler(onXError);
    choice.registrar = std::make_unique<X11KeyRegistrar>(desktop->display());
    choice.desktop = std::move(desktop);
    return choice;
}

std::unique_ptr<PortalKeyRegistrar> tryPortal(std::string& reason) {
    auto portal = std::make_unique<PortalKeyRegistrar>();
    if (portal->isAvailable())
        return portal;
    reason += portal->reason() + "; ";
    return nullptr;
}

struct Backend {
    std::unique_ptr<X11Desktop> desktop;
    std::unique_ptr<HotKeyBackend> registrar;
};

Backend chooseBackend(std::string& reason) {
    const std::string forced = environment("TSY_HOTKEY_BACKEND");
    const bool portalFirst = forced == "portal" || (forced.empty() && isWaylandSession());
    Backend backend;
    for (int round = 0; round < 2 && !backend.registrar; ++round) {
        const bool usePortal = (round == 0) == portalFirst;
        if (!forced.empty() && round == 1)
            break;
        if (usePortal) {
            backend.registrar = tryPortal(reason);
            continue;
        }
        X11Choice x11 = tryX11(reason);
        if (x11.registrar && isWaylandSession())
            warning("No desktop portal for global shortcuts: using X11 grabs, which see keys "
                    "only while an X window has focus");
        backend.desktop = std::move(x11.desktop);
        backend.registrar = std::move(x11.registrar);
    }
    return backend;
}

int signalDescriptor() {
    sigset_t signals;
    sigemptyset(&signals);
    for (int signal : {SIGTERM, SIGINT, SIGHUP})
        sigaddset(&signals, signal);
    sigprocmask(SIG_BLOCK, &signals, nullptr);
    const int descriptor = signalfd(-1, &signals, SFD_CLOEXEC | SFD_NONBLOCK);
    if (descriptor < 0) {
        // Without the descriptor the signals end the program the default way.
        error(std::string("No signal descriptor: ") + std::strerror(errno));
        sigprocmask(SIG_UNBLOCK, &signals, nullptr);
    }
    return descriptor;
}

// Started tools are never waited for; they must not stay as zombies.
void reapChildrenAutomatically() {
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    action.sa_flags = SA_NOCLDWAIT;
    sigaction(SIGCHLD, &action, nullptr);
}

int runLoop(HotKeyBackend& backend, AppController& controller, HotKeyApplication& application,
            int signals) {
    const HotKeyBackend::PressHandler onPress = [&](HotKeyHandle handle) {
        application.sendEvent(handle);
    };
    auto nextTick = Clock::now() + kRefreshInterval;
    for (;;) {
        auto untilTick =
            std::chrono::duration_cast<std::chrono::milliseconds>(nextTick - Clock::now());
        int timeout = std::max<int>(0, static_cast<int>(untilTick.count()));
        if (int backendTimeout = backend.timeoutMilliseconds(); backendTimeout >= 0)
            timeout = std::min(timeout, backendTimeout);
        pollfd descriptors[2] = {backend.descriptor(), {signals, POLLIN, 0}};
        poll(descriptors, 2, timeout);
        if (descriptors[1].revents & POLLIN) {
            signalfd_siginfo info{};
            [[maybe_unused]] auto count = read(signals, &info, sizeof info);
            notice("Ending on signal " + std::to_string(info.ssi_signo));
            return 0;
        }
        if (!backend.dispatch(onPress)) {
            error(std::string("The connection of the ") + backend.name() +
                  " back end is gone; ending");
            return 0;
        }
        if (Clock::now() >= nextTick) {
            controller.timeUp();
            nextTick += kRefreshInterval;
            if (nextTick < Clock::now()) // a suspended machine: no burst of ticks
                nextTick = Clock::now() + kRefreshInterval;
        }
    }
}

} // namespace

int runHotKeyProgram(int argc, char** argv) {
    morvane::SystemLog::setIdent("tsy-hotkey");
    if (argc > 1 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("tsy-hotkey %s\n", MORVANE_VERSION);
        return 0;
    }
    const int signals = signalDescriptor();
    reapChildrenAutomatically();

    PidFile pidFile;
    pid_t holder = 0;
    const std::string pidPath = PidFile::defaultPath();
    switch (pidPath.empty() ? PidFile::Result::Failed : pidFile.acquire(pidPath, holder)) {
    case PidFile::Result::AlreadyRunning:
        notice("Already running (pid " + std::to_string(holder) + ", " + pidPath + ")");
        return 0;
    case PidFile::Result::Failed:
        error("No pid file for this session" + (pidPath.empty() ? "" : " at " + pidPath));
        return 1;
    case PidFile::Result::Acquired:
        break;
    }
    runningPidFile = &pidFile;

    std::string reason;
    Backend backend = chooseBackend(reason);
    if (!backend.registrar) {
        notice("No global hot keys on this desktop: " + reason + "ending");
        return 0;
    }
    notice(std::string("Global hot keys through ") + backend.registrar->name());

    HotKeyApplication application(*backend.registrar);
    DesktopWorkspace workspace(backend.desktop.get());
    DesktopScriptEngine scripts(backend.desktop.get());
    AppController controller(application, workspace, scripts);
    controller.awakeFromNib();
    const int status = runLoop(*backend.registrar, controller, application, signals);
    controller.applicationShouldTerminate();
    backend.registrar->releaseAll();
    runningPidFile = nullptr;
    return status;
}

} // namespace tsyhotkey
