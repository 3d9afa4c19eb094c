#pragma once
// Bundles: folders "Name.app" (or ".prefPane", ".plugin") holding
// Contents/Info.plist, Contents/Resources/ and the program in Contents/bin/.
#include <cstdint>
#include <optional>
#include <string>

namespace morvane::Bundle {

// The resource folder of the running application: $MORVANE_BUNDLE_RESOURCES
// when set (tests, and a program run from its build folder), else the
// program's installed share folder (PREFIX/share/morvane, found relative to
// the running program, so the prefix can move).
std::string applicationResourceFolder();

// The bundle the running program belongs to ("X.app" when it runs as
// X.app/Contents/bin/program), else the running program itself: what other
// programs of the product line start to reach the application.
std::string applicationBundlePath();

// bundlePath/Contents/Resources.
std::string resourceFolder(const std::string& bundlePath);

// The numeric CFBundleVersion of bundlePath/Contents/Info.plist (an integer
// or text of digits); nothing when the file or the number is missing.
std::optional<std::int64_t> version(const std::string& bundlePath);

// bundlePath/Contents/bin/ plus the CFBundleExecutable of its Info.plist (the
// bundle's name without extension when the key is missing).
std::string executablePath(const std::string& bundlePath);

} // namespace morvane::Bundle
