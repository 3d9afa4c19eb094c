#pragma once
// Bundles: folders "Name.app" (or ".prefPane", ".plugin") holding
// Contents/Info.plist, Contents/Resources/ and the program in Contents/bin/.
#include <cstdint>
#include <optional>
#include <string>

namespace morvane::Bundle {

// The resource folder of the application bundle "Morvane 7.app":
// $MORVANE_BUNDLE_RESOURCES when set (tests); else the Contents/Resources of
// the bundle the running program lies in; else, for a program outside it, the
// build tree's bundle when the program runs from the build tree, or the
// installed bundle found relative to the program (bin/../lib/morvane/...), so
// the prefix can move.
std::string applicationResourceFolder();

// The application bundle ("X.app" when the program runs as
// X.app/Contents/bin/program; for a program outside it, the bundle of
// applicationResourceFolder()), else the running program itself: what other
// programs of the product line start to reach the application.
std::string applicationBundlePath();

// The program of the application bundle that holds
// applicationResourceFolder() (Contents/bin/<CFBundleExecutable>).
std::string applicationProgram();

// bundlePath/Contents/Resources.
std::string resourceFolder(const std::string& bundlePath);

// The numeric CFBundleVersion of bundlePath/Contents/Info.plist (an integer
// or text of digits); nothing when the file or the number is missing.
std::optional<std::int64_t> version(const std::string& bundlePath);

// bundlePath/Contents/bin/ plus the CFBundleExecutable of its Info.plist (the
// bundle's name without extension when the key is missing).
std::string executablePath(const std::string& bundlePath);

} // namespace morvane::Bundle
