// How fast the date, tag and size actions name a large list once the
// attribute service has cached the metadata (as in every preview after the
// first): one action run per item, as the preview makes it.
#include "MRVN7x/engine/FileManager.h"
#include "MRVN7x/metadata/AddDateToFrontAction.h"
#include "MRVN7x/metadata/AddDimensionsToEndAction.h"
#include "MRVN7x/metadata/DateFormatter.h"
#include "MRVN7x/metadata/MP3RenameAction.h"
#include "platform/PathText.h"
#include "tests/support/SamplePhotos.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

using namespace morvane;

namespace {

// A folder with count copies of one file, removed at exit.
class SampleFolder {
public:
    SampleFolder(const std::string& sample, const std::string& extension, int count) {
        char pattern[] = "/tmp/morvane-bench-XXXXXX";
        folder_ = mkdtemp(pattern);
        const std::string bytes =
            test::sampleBytes(std::string(MORVANE_SOURCE_DIR) + "/tests/data/real", sample);
        for (int i = 0; i < count; ++i) {
            const std::string path = folder_ + "/item" + std::to_string(i) + extension;
            std::ofstream(path, std::ios::binary) << bytes;
            paths_.push_back(path);
        }
    }
    ~SampleFolder() { std::filesystem::remove_all(folder_); }
    const std::vector<std::string>& paths() const { return paths_; }

private:
    std::string folder_;
    std::vector<std::string> paths_;
};

void runOverList(benchmark::State& state, BaseRenameAction& action,
                 const std::vector<std::string>& paths) {
    FileManager& files = FileManager::instance();
    std::vector<std::u16string> names;
    for (const auto& path : paths)
        names.push_back(PathText::displayNameOfPath(path));
    for (auto _ : state) {
        for (size_t i = 0; i < paths.size(); ++i) {
            InputContext input{paths[i], names[i], &files};
            OutputContext output;
            action.executeWithInputContext(input, output);
            benchmark::DoNotOptimize(output.newName);
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(paths.size()));
}

void BM_AddExifDateToFront(benchmark::State& state) {
    static SampleFolder photos("made/both-dates.jpg", ".jpg", 1000);
    auto action = makeAction<AddDateToFrontAction>();
    action->setValueForKey("mode", plist::Value(2));
    action->setValueForKey("separatorMode", plist::Value(3));
    runOverList(state, *action, photos.paths());
}
BENCHMARK(BM_AddExifDateToFront)->Unit(benchmark::kMillisecond);

void BM_FormatDateWithNames(benchmark::State& state) {
    const auto& formatter = DateFormatter::instance();
    double date = 200000000.0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(formatter.formatDate(date, 13, 9, 0, false));
        date += 61.0;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_FormatDateWithNames);

void BM_Mp3RenamePreset4(benchmark::State& state) {
    static SampleFolder songs("audio/silence-44-s.mp3", ".mp3", 1000);
    auto action = makeAction<MP3RenameAction>();
    action->selectPattern(4);
    runOverList(state, *action, songs.paths());
}
BENCHMARK(BM_Mp3RenamePreset4)->Unit(benchmark::kMillisecond);

void BM_AddDimensionsToEnd(benchmark::State& state) {
    static SampleFolder photos("made/both-dates.jpg", ".jpg", 1000);
    auto action = makeAction<AddDimensionsToEndAction>();
    runOverList(state, *action, photos.paths());
}
BENCHMARK(BM_AddDimensionsToEnd)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
