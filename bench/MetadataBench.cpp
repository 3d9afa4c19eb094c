// What reading metadata costs for a folder of 1,000 files, against what Exiv2
// and TagLib alone cost for the same files.
//
// "Cold" means the attribute service has nothing cached (every iteration starts
// with invalidateCache). With the argument 1 the kernel's page cache is dropped
// for the files too (posix_fadvise DONTNEED, outside the timed part), so each
// file is read from the disk again.
//
//   build/bench/MetadataBench --benchmark_filter=Exif
#include "MRVN7x/engine/FileManager.h"
#include "MRVN7x/metadata/AudioTagReader.h"
#include "MRVN7x/metadata/ExifHelper.h"
#include "tests/support/SamplePhotos.h"

#include <benchmark/benchmark.h>
#include <exiv2/exiv2.hpp>
#include <taglib/mpegfile.h>

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;
using namespace morvane;

namespace {
constexpr int kFiles = 1000;

// A temporary folder with kFiles copies of one sample, removed at exit.
class SampleCopies {
public:
    SampleCopies(const std::string& sample, const std::string& ending) {
        std::string pattern = (fs::temp_directory_path() / "morvane-bench-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            std::abort();
        folder_ = pattern;
        const std::string bytes =
            test::sampleBytes(std::string(MORVANE_SOURCE_DIR) + "/tests/data/real", sample);
        for (int i = 0; i < kFiles; ++i) {
            paths_.push_back(folder_ + "/photo-" + std::to_string(i) + ending);
            std::ofstream(paths_.back(), std::ios::binary) << bytes;
        }
    }
    ~SampleCopies() { fs::remove_all(folder_); }
    const std::vector<std::string>& paths() const { return paths_; }

    void dropFromPageCache() const {
        for (const auto& path : paths_) {
            const int fd = open(path.c_str(), O_RDONLY);
            fdatasync(fd);
            posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
            close(fd);
        }
    }

private:
    std::string folder_;
    std::vector<std::string> paths_;
};

const SampleCopies& jpegs() {
    static const SampleCopies copies("made/both-dates.jpg", ".jpg");
    return copies;
}

const SampleCopies& mp3s() {
    static const SampleCopies copies("audio/silence-44-s.mp3", ".mp3");
    return copies;
}

// Runs body over every file once per iteration; argument 1 drops the page cache first.
template <typename Body>
void overFiles(benchmark::State& state, const SampleCopies& copies, Body body) {
    for (auto _ : state) {
        if (state.range(0) == 1) {
            state.PauseTiming();
            copies.dropFromPageCache();
            state.ResumeTiming();
        }
        for (const auto& path : copies.paths())
            body(path);
    }
    state.SetItemsProcessed(state.iterations() * kFiles);
}

// The baseline: Exiv2 opening each file and reading its metadata, nothing more.
void Exiv2OpenAndRead(benchmark::State& state) {
    Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute);
    overFiles(state, jpegs(), [](const std::string& path) {
        auto image = Exiv2::ImageFactory::open(path);
        image->readMetadata();
        benchmark::DoNotOptimize(image->exifData().count());
    });
}

void ExifDateFor(benchmark::State& state) {
    overFiles(state, jpegs(), [](const std::string& path) {
        benchmark::DoNotOptimize(ExifHelper::exifDateFor(path));
    });
}

void FileManagerExifDateCold(benchmark::State& state) {
    FileManager files;
    for (auto _ : state) {
        state.PauseTiming();
        files.invalidateCache();
        if (state.range(0) == 1)
            jpegs().dropFromPageCache();
        state.ResumeTiming();
        for (const auto& path : jpegs().paths())
            benchmark::DoNotOptimize(files.fileEXIFDate(path));
    }
    state.SetItemsProcessed(state.iterations() * kFiles);
}

void FileManagerExifDateCached(benchmark::State& state) {
    FileManager files;
    for (const auto& path : jpegs().paths())
        files.fileEXIFDate(path);
    overFiles(state, jpegs(),
              [&](const std::string& path) { benchmark::DoNotOptimize(files.fileEXIFDate(path)); });
}

void PixelSizeFor(benchmark::State& state) {
    overFiles(state, jpegs(), [](const std::string& path) {
        benchmark::DoNotOptimize(ExifHelper::pixelSizeFor(path));
    });
}

void AttributesFor(benchmark::State& state) {
    FileManager files;
    for (auto _ : state) {
        state.PauseTiming();
        files.invalidateCache();
        state.ResumeTiming();
        for (const auto& path : jpegs().paths())
            benchmark::DoNotOptimize(files.attributesFor(path));
    }
    state.SetItemsProcessed(state.iterations() * kFiles);
}

void TagLibOpen(benchmark::State& state) {
    overFiles(state, mp3s(), [](const std::string& path) {
        TagLib::MPEG::File file(path.c_str(), false);
        benchmark::DoNotOptimize(file.tag()->artist());
    });
}

void AudioTagsFor(benchmark::State& state) {
    overFiles(state, mp3s(), [](const std::string& path) {
        benchmark::DoNotOptimize(AudioTagReader::tagsFor(path));
    });
}
} // namespace

BENCHMARK(Exiv2OpenAndRead)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(ExifDateFor)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(FileManagerExifDateCold)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(FileManagerExifDateCached)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK(PixelSizeFor)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK(AttributesFor)->Unit(benchmark::kMillisecond);
BENCHMARK(TagLibOpen)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(AudioTagsFor)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
