#pragma once
// The hand-over record by which a droplet passes its settings, and the files
// dropped on it, to the application: a dictionary under "droplet settings" in
// the application's preferences domain. Shared by the droplet program (which
// links it without the core library) and the application.
//
// The record has one slot, so every step is a check-and-set under the
// domain's lock (UserDefaults::update):
// - a droplet posts its record only while the slot is empty (or holds a
//   record abandoned long ago by a droplet that died waiting), and waits for
//   the slot otherwise: an unread record is never overwritten;
// - the record carries "hand-over id", and the application started for it
//   (`morvane --droplet ID`) takes exactly that record, removing it in the
//   same step; a record without an id (from another program) is taken by the
//   next launch of the application;
// - the droplet waits until its record is gone; when the application has not
//   taken it in time, the droplet takes it back itself, so a late start can
//   never run old files.
#include "platform/PlistValue.h"

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace morvane {

class UserDefaults;

class DropletHandOver {
public:
    static constexpr const char* kCompositeAction = "composite action";
    static constexpr const char* kGlobalSettings = "global settings";
    static constexpr const char* kSettingsPlistPath = "settings plist path";
    static constexpr const char* kFileList = "file list";
    static constexpr const char* kHandOverId = "hand-over id";
    static constexpr const char* kPosted = "posted"; // seconds since 1970, when written
    // A record older than this was left by a droplet that died waiting.
    static constexpr std::chrono::seconds kAbandonedAfter{120};
    static constexpr std::chrono::milliseconds kPollInterval{40};

    enum class Posting { Posted, Busy, Unwritable };
    enum class Waiting { Taken, TakenBack, Unreadable };

    DropletHandOver(UserDefaults& domain, std::string key);

    // A fresh id for a record: this process and a random part.
    static std::string newId();
    // The record of a droplet: its host settings, the files (empty: edit the
    // droplet) and the path of its settings file.
    static plist::Dictionary makeRecord(const plist::Dictionary& hostSettings,
                                        const std::vector<std::string>& files,
                                        const std::string& settingsPath, const std::string& id);
    // The paths of "file list" (texts, and data for names that are not UTF-8).
    static std::vector<std::string> fileList(const plist::Dictionary& record);

    // Whether bytes are well-formed UTF-8 (property-list text must be).
    static bool isUtf8(const std::string& text);

    // Droplet side. Writes the record when the slot is free; waits up to
    // timeout for a slot that holds another droplet's unread record.
    Posting post(const plist::Dictionary& record, std::chrono::milliseconds timeout);
    // Waits until the record with this id is gone; after timeout takes it
    // back (TakenBack), unless the application took it at the last moment.
    Waiting waitUntilTaken(const std::string& id, std::chrono::milliseconds timeout);
    // Removes the record with this id if it is still unread; true when it did.
    bool takeBack(const std::string& id);

    // Application side: takes the record and removes it in one step. With an
    // id, only the record of that id; without, only a record that has none.
    // An entry that is no dictionary, or an empty one, is removed and gives nothing.
    std::optional<plist::Dictionary> take(const std::string& id = {});

private:
    UserDefaults& domain_;
    std::string key_;
};

} // namespace morvane
