#pragma once
// The file attribute service: per absolute path, the dates, size, EXIF date,
// audio tags and pixel size of an item, each read once and cached by path
// until invalidateCache().
//
// Dates are seconds since 1 January 2001 00:00:00 UTC.
//
// Threading contract: the rename run hands the service to one worker thread
// while the main thread waits for it (modal progress), and the preview uses it
// on the main thread; the two take turns and never query at the same time.
// Every cache access still happens under one mutex, so two threads that do
// overlap get correct answers (a file may then be read twice, never wrongly
// cached). The readers run outside the lock, on the calling thread: Exiv2 and
// TagLib need no particular thread, so tag reading does not hop to the main
// thread and a waiting main thread cannot deadlock the worker.
#include "MRVN7x/actions/FileInformation.h"

#include <atomic>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>

namespace morvane {

struct FileAttributes {
    double modificationDate = 0;
    double creationDate = 0; // birth time where the file system records it, else modification
    std::int64_t size = 0;
    bool isDirectory = false;
    bool isSymbolicLink = false;
};

class FileManager final : public FileInformation {
public:
    static FileManager& instance();
    FileManager(); // fixes now()

    void invalidateCache();
    bool usesCache() const;
    void setCache(bool use);

    // The item itself (a symbolic link is not followed); nothing when it does not exist.
    std::optional<FileAttributes> attributesFor(const std::string& path);
    std::optional<double> fileModificationDate(const std::string& path) override;
    std::optional<double> fileCreationDate(const std::string& path) override;
    // The exact size is attributesFor(path)->size.
    std::int32_t fileLength(const std::string& path) override;
    double fileEXIFDate(const std::string& path) override;
    plist::Dictionary mp3TagsFor(const std::string& path) override;
    PixelSize fileEXIFDimensions(const std::string& path) override;
    // Fixed, so that every item of one preview or run gets the same date,
    // until fixNow() takes the present moment again.
    double now() const override;
    void fixNow();

    // How often each source was actually read (cache misses), for tests and
    // diagnostics; invalidateCache() does not reset them.
    struct ReadCounts {
        std::uint64_t attributes = 0;
        std::uint64_t exifDates = 0;
        std::uint64_t audioTags = 0;
        std::uint64_t pixelSizes = 0;
    };
    ReadCounts readCounts() const;

private:
    template <typename Value, typename Read>
    Value cached(std::unordered_map<std::string, Value>& cache, std::atomic<std::uint64_t>& count,
                 const std::string& path, Read&& read);

    std::atomic<double> now_;
    mutable std::mutex mutex_; // guards usesCache_ and the four caches
    bool usesCache_ = true;
    std::unordered_map<std::string, FileAttributes> attributesCache_;
    std::unordered_map<std::string, double> exifCache_;
    std::unordered_map<std::string, plist::Dictionary> mp3Cache_;
    std::unordered_map<std::string, PixelSize> dimensionCache_;
    std::atomic<std::uint64_t> attributeReads_{0}, exifReads_{0}, tagReads_{0}, sizeReads_{0};
};

} // namespace morvane
