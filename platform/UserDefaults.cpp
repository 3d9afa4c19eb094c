#include "platform/UserDefaults.h"

#include "platform/SystemLog.h"
#include "platform/XdgPaths.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace morvane {
namespace {

// An exclusive advisory lock on DOMAIN.plist.lock for the lifetime of the object.
class DomainLock {
public:
    explicit DomainLock(const std::string& path) {
        fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (fd_ >= 0 && flock(fd_, LOCK_EX) != 0) {
            ::close(fd_);
            fd_ = -1;
        }
    }
    ~DomainLock() {
        if (fd_ >= 0)
            ::close(fd_); // closing releases the lock
    }
    bool held() const { return fd_ >= 0; }

private:
    int fd_ = -1;
};

// The failure, logged.
Failure logged(int code, std::string message) {
    SystemLog::error(message);
    return {code, std::move(message)};
}

bool exists(const std::string& path) {
    struct stat info {};
    return lstat(path.c_str(), &info) == 0;
}

} // namespace

UserDefaults::UserDefaults(std::string domain) : UserDefaults(std::move(domain), defaultFolder()) {}

UserDefaults::UserDefaults(std::string domain, std::string folder)
    : domain_(std::move(domain)), folder_(std::move(folder)) {
    std::lock_guard lock(mutex_);
    synchronizeLocked();
}

UserDefaults::~UserDefaults() {
    std::lock_guard lock(mutex_);
    if (!pending_.empty())
        synchronizeLocked();
}

std::string UserDefaults::defaultFolder() {
    return XdgPaths::configHome() + "/ossvale";
}

std::string UserDefaults::filePath() const {
    return folder_ + "/" + domain_ + ".plist";
}

std::optional<plist::Value> UserDefaults::objectForKey(const std::string& key) const {
    std::lock_guard lock(mutex_);
    if (auto value = plist::find(values_, key))
        return *value;
    if (auto value = plist::find(registered_, key))
        return *value;
    return std::nullopt;
}

bool UserDefaults::hasStoredValue(const std::string& key) const {
    std::lock_guard lock(mutex_);
    return values_.count(key) != 0;
}

void UserDefaults::setObject(const std::string& key, plist::Value value) {
    std::lock_guard lock(mutex_);
    values_.insert_or_assign(key, value);
    pending_.insert_or_assign(key, std::move(value));
}

void UserDefaults::removeObject(const std::string& key) {
    std::lock_guard lock(mutex_);
    values_.erase(key);
    pending_.insert_or_assign(key, std::nullopt);
}

void UserDefaults::registerDefaults(const plist::Dictionary& defaults) {
    std::lock_guard lock(mutex_);
    for (const auto& [key, value] : defaults)
        registered_.insert_or_assign(key, value);
}

plist::Dictionary UserDefaults::storedValues() const {
    std::lock_guard lock(mutex_);
    return values_;
}

bool UserDefaults::synchronize() {
    std::lock_guard lock(mutex_);
    return synchronizeLocked();
}

bool UserDefaults::update(const std::function<bool(plist::Dictionary&)>& change) {
    std::lock_guard lock(mutex_);
    return synchronizeLocked(&change);
}

bool UserDefaults::synchronizeLocked(const std::function<bool(plist::Dictionary&)>* change) {
    if (!XdgPaths::makeFolders(folder_)) {
        SystemLog::error("Cannot create the preferences folder " + folder_);
        return false;
    }
    DomainLock lock(filePath() + ".lock");
    if (!lock.held()) {
        SystemLog::error("Cannot lock the preferences domain " + domain_);
        return false;
    }
    auto disk = readDiskLocked();
    if (!disk)
        return false; // keep what we have; never write over a file we could not read
    plist::Dictionary merged = std::move(*disk);
    for (const auto& [key, value] : pending_) {
        if (value)
            merged.insert_or_assign(key, *value);
        else
            merged.erase(key);
    }
    const bool changed = change && (*change)(merged);
    if ((changed || !pending_.empty()) &&
        !plist::writeFileAtomically(filePath(), plist::Value(merged))) {
        SystemLog::error("Cannot write the preferences file " + filePath() + ": " +
                         std::strerror(errno));
        return false;
    }
    pending_.clear();
    values_ = std::move(merged);
    return true;
}

// Reads the domain file: empty when it is absent or damaged (a damaged file is
// set aside first). A failure (logged) when the file exists but cannot be
// read, or is damaged and cannot be set aside.
Result<plist::Dictionary> UserDefaults::readDiskLocked() {
    const std::string path = filePath();
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        const int code = errno;
        if (!exists(path))
            return plist::Dictionary();
        return logged(code,
                      "Cannot read the preferences file " + path + "; its settings are not used");
    }
    std::ostringstream buffer;
    buffer << in.rdbuf();
    auto value = plist::fromBytes(buffer.str());
    if (value && value->isDictionary())
        return std::move(*value->asDictionary());
    // A damaged file that cannot be set aside must not be written over either.
    if (auto setAside = setAsideDamagedFile(); !setAside)
        return setAside.failure();
    return plist::Dictionary();
}

Result<void> UserDefaults::setAsideDamagedFile() {
    const std::string path = filePath();
    std::string aside = path + ".damaged";
    for (int n = 2; exists(aside); ++n)
        aside = path + ".damaged-" + std::to_string(n);
    if (std::rename(path.c_str(), aside.c_str()) != 0) {
        const int code = errno;
        return logged(code,
                      "The preferences file " + path + " is damaged and could not be moved aside");
    }
    SystemLog::error("The preferences file " + path + " is damaged; it was moved to " + aside +
                     " and the settings start empty");
    return Result<void>::success();
}

} // namespace morvane
