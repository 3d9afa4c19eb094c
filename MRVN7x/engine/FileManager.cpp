#include "MRVN7x/engine/FileManager.h"

#include "MRVN7x/metadata/AudioTagReader.h"
#include "MRVN7x/metadata/ExifHelper.h"
#include "platform/ReferenceDate.h"

#include <cerrno>
#include <chrono>
#include <cmath>
#include <fcntl.h>
#include <limits>
#include <sys/stat.h>

namespace morvane {
namespace {
double referenceSeconds(std::int64_t seconds, std::uint32_t nanoseconds) {
    return static_cast<double>(seconds) - kUnixToReference + nanoseconds / 1e9;
}

FileAttributes attributesFromStat(const struct stat& info) {
    FileAttributes attributes;
    attributes.modificationDate = referenceSeconds(info.st_mtim.tv_sec, info.st_mtim.tv_nsec);
    attributes.creationDate = attributes.modificationDate;
    attributes.size = info.st_size;
    attributes.isDirectory = S_ISDIR(info.st_mode);
    attributes.isSymbolicLink = S_ISLNK(info.st_mode);
    return attributes;
}

// The attributes of the item itself (lstat semantics). The creation date is the
// birth time when the file system records it (statx reports STATX_BTIME: ext4,
// btrfs, xfs, tmpfs on recent kernels) and the modification date otherwise. A
// birth time of exactly 1 January 1970 00:00:00 is what some file systems and
// copied images report for "never recorded", so it counts as unrecorded too.
bool hasBirthTime(const struct statx& extended) {
    return (extended.stx_mask & STATX_BTIME) &&
           (extended.stx_btime.tv_sec != 0 || extended.stx_btime.tv_nsec != 0);
}

std::optional<FileAttributes> readAttributes(const std::string& path) {
    struct statx extended {};
    const int flags = AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT;
    if (statx(AT_FDCWD, path.c_str(), flags, STATX_BASIC_STATS | STATX_BTIME, &extended) == 0) {
        FileAttributes attributes;
        attributes.modificationDate =
            referenceSeconds(extended.stx_mtime.tv_sec, extended.stx_mtime.tv_nsec);
        attributes.creationDate =
            hasBirthTime(extended)
                ? referenceSeconds(extended.stx_btime.tv_sec, extended.stx_btime.tv_nsec)
                : attributes.modificationDate;
        attributes.size = static_cast<std::int64_t>(extended.stx_size);
        attributes.isDirectory = S_ISDIR(extended.stx_mode);
        attributes.isSymbolicLink = S_ISLNK(extended.stx_mode);
        return attributes;
    }
    if (errno != ENOSYS && errno != EPERM)
        return std::nullopt; // no such item (or it cannot be reached)
    // A kernel or sandbox without statx: lstat, which knows no birth time.
    struct stat info {};
    if (lstat(path.c_str(), &info) != 0)
        return std::nullopt;
    return attributesFromStat(info);
}
} // namespace

FileManager& FileManager::instance() {
    static FileManager shared;
    return shared;
}

FileManager::FileManager() : now_(currentReferenceSeconds()) {}

void FileManager::invalidateCache() {
    std::lock_guard lock(mutex_);
    attributesCache_.clear();
    exifCache_.clear();
    mp3Cache_.clear();
    dimensionCache_.clear();
}

bool FileManager::usesCache() const {
    std::lock_guard lock(mutex_);
    return usesCache_;
}

void FileManager::setCache(bool use) {
    std::lock_guard lock(mutex_);
    usesCache_ = use;
}

void FileManager::fixNow() {
    now_ = currentReferenceSeconds();
}

double FileManager::now() const {
    return now_;
}

FileManager::ReadCounts FileManager::readCounts() const {
    return {attributeReads_.load(), exifReads_.load(), tagReads_.load(), sizeReads_.load()};
}

// The cached answer for path, or a fresh one from read (outside the lock: a
// slow file does not hold up other queries), stored when the cache is in use.
template <typename Value, typename Read>
Value FileManager::cached(std::unordered_map<std::string, Value>& cache,
                          std::atomic<std::uint64_t>& count, const std::string& path, Read&& read) {
    {
        std::lock_guard lock(mutex_);
        if (const auto hit = cache.find(path); hit != cache.end())
            return hit->second;
    }
    ++count;
    Value value = read();
    std::lock_guard lock(mutex_);
    if (usesCache_)
        cache.emplace(path, value); // a value stored meanwhile by another thread stays
    return value;
}

std::optional<FileAttributes> FileManager::attributesFor(const std::string& path) {
    {
        std::lock_guard lock(mutex_);
        if (const auto hit = attributesCache_.find(path); hit != attributesCache_.end())
            return hit->second;
    }
    ++attributeReads_;
    const std::optional<FileAttributes> attributes = readAttributes(path);
    if (!attributes)
        return std::nullopt; // a missing item leaves no entry
    std::lock_guard lock(mutex_);
    if (usesCache_)
        attributesCache_.emplace(path, *attributes);
    return attributes;
}

std::optional<double> FileManager::fileModificationDate(const std::string& path) {
    const auto attributes = attributesFor(path);
    if (!attributes)
        return std::nullopt;
    return attributes->modificationDate;
}

std::optional<double> FileManager::fileCreationDate(const std::string& path) {
    const auto attributes = attributesFor(path);
    if (!attributes)
        return std::nullopt;
    return attributes->creationDate;
}

std::int32_t FileManager::fileLength(const std::string& path) {
    const auto attributes = attributesFor(path);
    if (!attributes)
        return 0;
    constexpr std::int64_t largest = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(std::min(attributes->size, largest));
}

double FileManager::fileEXIFDate(const std::string& path) {
    // A capture date that falls exactly on the reference instant is a date
    // like any other here; only a file without one gets the distant past.
    return cached(exifCache_, exifReads_, path,
                  [&] { return ExifHelper::captureDateFor(path).value_or(kDistantPast); });
}

plist::Dictionary FileManager::mp3TagsFor(const std::string& path) {
    // TagLib has no thread restriction: read on the calling thread.
    return cached(mp3Cache_, tagReads_, path, [&] { return AudioTagReader::tagsFor(path); });
}

PixelSize FileManager::fileEXIFDimensions(const std::string& path) {
    PixelSize size = cached(dimensionCache_, sizeReads_, path, [&] {
        const ImagePixelSize pixels = ExifHelper::pixelSizeFor(path);
        if (!pixels.known())
            return PixelSize{};
        return PixelSize{static_cast<float>(pixels.width), static_cast<float>(pixels.height)};
    });
    // Stored sizes are read back as whole numbers.
    return {std::trunc(size.width), std::trunc(size.height)};
}

} // namespace morvane
