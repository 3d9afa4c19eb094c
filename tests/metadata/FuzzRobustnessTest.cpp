// Damaged copies of every real sample and every photo made for the tests go
// through all three readers: truncated files, flipped bits and overwritten runs
// of bytes. No reader may crash, hang
// or let an exception out, and every answer must still be well-formed. The
// copies are made from a fixed seed per sample, so a failure repeats.
// scripts/test.sh runs this under AddressSanitizer and UndefinedBehaviorSanitizer too.
#include "MRVN7x/metadata/AudioTagReader.h"
#include "MRVN7x/metadata/ExifHelper.h"

#include "tests/support/SamplePhotos.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <mutex>
#include <random>
#include <set>
#include <thread>

namespace morvane {
namespace {
using test::TempDir;

// Aborts the program, naming the input, when one input takes longer than the limit.
class HangWatchdog {
public:
    explicit HangWatchdog(std::chrono::seconds limit)
        : limit_(limit), thread_([this] { watch(); }) {}
    ~HangWatchdog() {
        {
            std::lock_guard lock(mutex_);
            done_ = true;
        }
        wake_.notify_all();
        thread_.join();
    }
    void starting(const std::string& input) {
        std::lock_guard lock(mutex_);
        input_ = input;
        started_ = std::chrono::steady_clock::now();
    }

private:
    void watch() {
        std::unique_lock lock(mutex_);
        while (!wake_.wait_for(lock, std::chrono::milliseconds(200), [this] { return done_; })) {
            if (!input_.empty() && std::chrono::steady_clock::now() - started_ > limit_) {
                std::fprintf(stderr, "reader hangs on %s\n", input_.c_str());
                std::abort();
            }
        }
    }

    const std::chrono::seconds limit_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool done_ = false;
    std::string input_;
    std::chrono::steady_clock::time_point started_;
    std::thread thread_;
};

struct Mutation {
    std::string label;
    std::string bytes;
};

// About thirty damaged versions of one file.
std::vector<Mutation> mutationsOf(const std::string& original, std::uint32_t seed) {
    std::mt19937 random(seed);
    auto below = [&](size_t n) {
        return n == 0 ? 0 : std::uniform_int_distribution<size_t>(0, n - 1)(random);
    };
    std::vector<Mutation> out;
    const size_t size = original.size();
    std::set<size_t> lengths = {0, 1, 2, 4, 8, 11, 16, 64, 200, size / 4, size / 2, size * 3 / 4};
    for (int i = 0; i < 4; ++i)
        lengths.insert(below(size));
    for (size_t length : lengths)
        if (length < size)
            out.push_back({"cut at " + std::to_string(length), original.substr(0, length)});
    for (int i = 0; i < 12; ++i) {
        std::string bytes = original;
        // Half of the copies are damaged in the first 4 KiB, where the structure is.
        const size_t region = i % 2 == 0 ? std::min<size_t>(size, 4096) : size;
        const int flips = 1 + static_cast<int>(below(16));
        for (int f = 0; f < flips; ++f)
            bytes[below(region)] ^= static_cast<char>(1 << below(8));
        out.push_back({"flips " + std::to_string(i), bytes});
    }
    const char fills[] = {'\0', '\xff', '\x7f'};
    for (int i = 0; i < 6; ++i) {
        std::string bytes = original;
        const size_t at = below(std::min<size_t>(size, 2048));
        const size_t length = std::min(size - at, 4 + below(60));
        for (size_t k = at; k < at + length; ++k)
            bytes[k] = fills[i % 3];
        out.push_back({"run " + std::to_string(i), bytes});
    }
    return out;
}

void expectWellFormed(const std::string& path) {
    const auto date = ExifHelper::captureDateFor(path);
    if (date) {
        EXPECT_TRUE(std::isfinite(*date));
    }
    if (!date) {
        EXPECT_EQ(ExifHelper::exifDateFor(path), 0.0);
    } else if (*date != 0) {
        EXPECT_EQ(ExifHelper::exifDateFor(path), *date);
    }
    const ImagePixelSize size = ExifHelper::pixelSizeFor(path);
    EXPECT_TRUE((size.width == -1 && size.height == -1) || (size.width > 0 && size.height > 0));
    static const std::set<std::string> keys = {"art",      "alb", "titl",  "track",
                                               "numTrack", "cd",  "numCds"};
    for (const auto& [key, value] : AudioTagReader::tagsFor(path)) {
        EXPECT_TRUE(keys.count(key)) << key;
        EXPECT_TRUE(value.isString()) << key;
    }
}

TEST(FuzzRobustnessTest, DamagedSamplesNeitherCrashNorHangNorThrow) {
    TempDir dir("fuzz");
    HangWatchdog watchdog(std::chrono::seconds(30));
    std::vector<std::string> samples;
    for (const char* folder : {"images", "audio"})
        for (const auto& entry : std::filesystem::directory_iterator(test::testDataPath(folder)))
            samples.push_back(entry.path().string());
    for (const auto& made : test::madePhotoNames())
        samples.push_back(dir.write(made, test::sampleBytes(made)));
    std::sort(samples.begin(), samples.end());
    ASSERT_EQ(samples.size(), 30u);

    size_t inputs = 0;
    for (const auto& sample : samples) {
        const std::string name = std::filesystem::path(sample).filename().string();
        const std::string extension = std::filesystem::path(sample).extension().string();
        const std::uint32_t seed = static_cast<std::uint32_t>(std::hash<std::string>()(name));
        const auto mutations = mutationsOf(test::readFile(sample), seed);
        for (size_t i = 0; i < mutations.size(); ++i) {
            // The same bytes under the sample's own ending and under both audio
            // endings, so that each reader sees every kind of damaged file.
            for (const std::string& ending :
                 {extension, std::string(".mp3"), std::string(".m4a")}) {
                const std::string path =
                    dir.write("input-" + std::to_string(i) + ending, mutations[i].bytes);
                SCOPED_TRACE(name + ": " + mutations[i].label + " as " + ending);
                watchdog.starting(name + ": " + mutations[i].label + " as " + ending);
                EXPECT_NO_THROW(expectWellFormed(path));
                std::filesystem::remove(path);
                ++inputs;
            }
        }
    }
    EXPECT_GT(inputs, 2000u);
}

} // namespace
} // namespace morvane
