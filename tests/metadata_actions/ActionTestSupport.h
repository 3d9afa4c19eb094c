#pragma once
// Helpers of the metadata action tests: running an action on one item, the
// time zone for one test, and audio files with tags written by TagLib.
#include "MRVN7x/actions/BaseRenameAction.h"
#include "MRVN7x/engine/FileManager.h"
#include "tests/support/TempDir.h"

#include <cstdlib>
#include <ctime>
#include <map>
#include <optional>
#include <string>

namespace morvane::test {

// Runs the action on the item at path, whose display name is name, as the
// preview does, with the shared file attribute service unless files is given;
// returns the new display name.
std::u16string applyAction(BaseRenameAction& action, const std::string& path,
                           const std::u16string& name, FileManager* files = nullptr);
// The same with the display name of the path.
std::u16string applyAction(BaseRenameAction& action, const std::string& path,
                           FileManager* files = nullptr);

// Sets TZ for the lifetime of the object (POSIX rule strings need no zone data).
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* key, const std::string& value);
    ~ScopedEnvironment();
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    std::string key_;
    std::optional<std::string> saved_;
};

// A copy of a real sample file in dir under the given name.
std::string copyOfSample(const TempDir& dir, const std::string& sample, const std::string& name);

// ID3v2 text frames to write into an MP3 file ("TPE1", "TALB", "TIT2", "TRCK",
// "TPOS"); every other tag is removed first.
bool writeId3v2(const std::string& path, const std::map<std::string, std::string>& frames);

struct Mp4Tags {
    std::optional<std::string> artist, album, title;
    std::optional<std::pair<int, int>> track, disc;
};
// Replaces the item list of an MPEG-4 file with the given tags.
bool writeMp4(const std::string& path, const Mp4Tags& tags);

} // namespace morvane::test
