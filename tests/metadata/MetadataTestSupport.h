#pragma once
// Helpers of the metadata tests: the time zone for one test, the sample-file
// manifest, and the conversion of a local date text for expected values.
#include <cstdlib>
#include <ctime>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace morvane::test {

// Sets TZ for the lifetime of the object (POSIX rule strings need no time-zone data).
class ScopedTimeZone {
public:
    explicit ScopedTimeZone(const char* zone) {
        if (const char* old = std::getenv("TZ"))
            saved_ = old;
        setenv("TZ", zone, 1);
        tzset();
    }
    ~ScopedTimeZone() {
        if (saved_)
            setenv("TZ", saved_->c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }
    ScopedTimeZone(const ScopedTimeZone&) = delete;
    ScopedTimeZone& operator=(const ScopedTimeZone&) = delete;

private:
    std::optional<std::string> saved_;
};

// One row of MANIFEST.tsv per sample file, keyed by column name.
using ManifestRow = std::map<std::string, std::string>;
std::vector<ManifestRow> readManifest();

// Seconds since 1 January 2001 UTC for "yyyy:MM:dd HH:mm:ss" read as UTC, by
// sscanf and timegm; nothing when the text does not hold a real date.
std::optional<double> utcSecondsOf(const std::string& text);

std::vector<std::string> splitOn(const std::string& text, const std::string& separator);

} // namespace morvane::test
