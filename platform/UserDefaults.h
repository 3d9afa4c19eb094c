#pragma once
// A preferences domain of the current user: one XML property list per domain,
// ${XDG_CONFIG_HOME:-~/.config}/ossvale/DOMAIN.plist.
//
// The application, the hot-key program, the preference pane and droplets share
// domains, so every write goes through synchronize(): under an advisory lock it
// re-reads the file, applies only the keys this instance changed, and replaces
// the file atomically. Two processes writing different keys lose neither.
// A file that does not parse is set aside as DOMAIN.plist.damaged (never
// deleted), logged, and the domain starts empty.
#include "platform/PlistValue.h"
#include "platform/Result.h"

#include <functional>
#include <mutex>
#include <optional>
#include <string>

namespace morvane {

class UserDefaults {
public:
    explicit UserDefaults(std::string domain);
    UserDefaults(std::string domain, std::string folder);
    UserDefaults(const UserDefaults&) = delete;
    UserDefaults& operator=(const UserDefaults&) = delete;
    ~UserDefaults();

    // The folder that holds the domains of the current user.
    static std::string defaultFolder();

    const std::string& domain() const { return domain_; }
    std::string filePath() const;

    // The stored value, else the registered default, else nothing.
    std::optional<plist::Value> objectForKey(const std::string& key) const;
    bool hasStoredValue(const std::string& key) const;
    void setObject(const std::string& key, plist::Value value);
    void removeObject(const std::string& key);
    // Defaults answer for keys that were never stored; they are never written.
    void registerDefaults(const plist::Dictionary& defaults);
    // The stored keys and values (registered defaults left out).
    plist::Dictionary storedValues() const;

    // Merges with what other processes wrote and writes this instance's changes.
    // False when the file could not be read or written (the changes stay pending).
    bool synchronize();

    // A check-and-set between processes: under the domain's lock, after the
    // file was read again and this instance's changes applied, change sees the
    // stored values and may alter them; the file is written when it answers
    // true. False when the file could not be read or written.
    bool update(const std::function<bool(plist::Dictionary&)>& change);

private:
    bool synchronizeLocked(const std::function<bool(plist::Dictionary&)>* change = nullptr);
    Result<plist::Dictionary> readDiskLocked();
    Result<void> setAsideDamagedFile();

    std::string domain_;
    std::string folder_;
    mutable std::mutex mutex_;
    plist::Dictionary values_;
    plist::Dictionary registered_;
    // Keys changed since the last synchronize: a value, or nothing for a removal.
    std::map<std::string, std::optional<plist::Value>> pending_;
};

} // namespace morvane
