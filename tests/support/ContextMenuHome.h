#pragma once
// A private home for tests of the real "Tessary Context Menu.plugin": the
// application's resources are the build tree's bundle, the XDG folders lie in
// the home, and the places where the file managers look are named here.
#include "tests/support/ComponentEnvironment.h"

#include <map>
#include <string>

namespace morvane::test {

class ContextMenuHome : public ComponentEnvironment {
public:
    ContextMenuHome();

    // The build tree's "Morvane 7.app".
    static std::string bundle();
    std::string configHome() const { return home / ".config"; }
    std::string nautilusScript() const;
    std::string dolphinMenu() const; // Dolphin 6
    std::string dolphin5Menu() const;
    std::string nemoAction() const;
    std::string thunarActions() const;
};

// Every item below root with its kind, permissions and content (links by
// target): two snapshots are equal when nothing there changed.
std::map<std::string, std::string> snapshot(const std::string& root);

// The value of key in the group of a desktop-style key file, unescaped as a
// key-file string ("\\" -> "\", "\s" -> " "); empty when absent.
std::string keyFileValue(const std::string& path, const std::string& group, const std::string& key);

} // namespace morvane::test
