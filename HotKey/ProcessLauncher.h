#pragma once
// Starts an application or a program on its own, in a new session, with the
// default signal dispositions and an empty signal mask (whatever this program
// blocks or ignores for itself). Nothing waits for it.
#include <optional>
#include <string>
#include <vector>

namespace tsyhotkey::ProcessLauncher {

// The program of an application bundle ("X.app/Contents/bin/<CFBundleExecutable>",
// else the only file in Contents/bin), or the path itself when it is an
// executable file; nothing otherwise.
std::optional<std::string> programOf(const std::string& applicationPath);

// True when the program of the application started.
bool launch(const std::string& applicationPath, const std::vector<std::string>& arguments = {});

} // namespace tsyhotkey::ProcessLauncher
