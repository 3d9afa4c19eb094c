// The file list at the size users drop: 100,000 roots, a tree of 100,000
// files, the main sort by name and by date, and the per-folder position of
// every entry under a second sort.
//
// The tree is the naming benchmarks' (NamingBenchSupport.h). "heap_MB" is the heap in use by the
// list and its sorts (mallinfo2), measured after the timed work.
#include "NamingBenchSupport.h"

#include "MRVN7x/engine/FileManager.h"
#include "MRVN7x/filelist/DynamicFileList.h"
#include "MRVN7x/filelist/RawFileList.h"

#include <benchmark/benchmark.h>

#include <malloc.h>
#include <memory>
#include <string>

namespace {
using namespace morvane;
using namespace morvane::bench;

double heapInUse() {
    return static_cast<double>(mallinfo2().uordblks);
}

// A user selects every file of one big folder: 100,000 siblings.
void BM_AddRootsSiblings(benchmark::State& state) {
    std::vector<std::string> paths;
    for (int i = 0; i < 100000; ++i)
        paths.push_back(numberedName("/home/user/Pictures/Import/IMG_%06d.JPG", i));
    double heap = 0;
    for (auto _ : state) {
        const double before = heapInUse();
        RawFileList list;
        for (const auto& path : paths)
            if (list.isLegalPath(path))
                list.addPath(path);
        benchmark::DoNotOptimize(list.count());
        heap = heapInUse() - before;
    }
    state.counters["heap_MB"] = heap / 1e6;
    state.SetItemsProcessed(state.iterations() * 100000);
}
BENCHMARK(BM_AddRootsSiblings)->Unit(benchmark::kMillisecond);

// 100,000 roots spread over 1000 nested folders.
void BM_AddRootsNested(benchmark::State& state) {
    std::vector<std::string> paths;
    for (int i = 0; i < 100000; ++i)
        paths.push_back("/home/user/Pictures/" + numberedName("%04d/", i / 100) +
                        numberedName("day %02d/", i / 100 % 30) + numberedName("IMG_%06d.JPG", i));
    double heap = 0;
    for (auto _ : state) {
        const double before = heapInUse();
        RawFileList list;
        for (const auto& path : paths)
            if (list.isLegalPath(path))
                list.addPath(path);
        benchmark::DoNotOptimize(list.count());
        heap = heapInUse() - before;
    }
    state.counters["heap_MB"] = heap / 1e6;
    state.SetItemsProcessed(state.iterations() * 100000);
}
BENCHMARK(BM_AddRootsNested)->Unit(benchmark::kMillisecond);

// Removing all 100,000 roots one by one, then reading the list once.
void BM_RemoveRootsOneByOne(benchmark::State& state) {
    std::vector<std::string> paths;
    for (int i = 0; i < 100000; ++i)
        paths.push_back(numberedName("/home/user/Pictures/Import/IMG_%06d.JPG", i));
    for (auto _ : state) {
        state.PauseTiming();
        RawFileList list;
        for (const auto& path : paths)
            list.addPath(path);
        state.ResumeTiming();
        for (const auto& path : paths)
            list.removePath(path);
        benchmark::DoNotOptimize(list.array().size());
    }
}
BENCHMARK(BM_RemoveRootsOneByOne)->Unit(benchmark::kMillisecond);

// Expansion alone: the main sort orders nothing.
void BM_Expand100000Files(benchmark::State& state) {
    tree();
    const double before = heapInUse();
    std::unique_ptr<ExpandedTree> expanded;
    for (auto _ : state) {
        expanded.reset();
        expanded = std::make_unique<ExpandedTree>(12, 12);
        benchmark::DoNotOptimize(expanded->list.count());
    }
    state.counters["entries"] = expanded->list.count();
    state.counters["heap_MB"] = (heapInUse() - before) / 1e6;
}
BENCHMARK(BM_Expand100000Files)->Unit(benchmark::kMillisecond);

// Every file of the tree dropped as a root of its own, then expanded and
// sorted by name for the preview.
void BM_Update100000FileRoots(benchmark::State& state) {
    std::vector<std::string> paths;
    for (const auto& folder : std::filesystem::directory_iterator(tree().root()))
        for (const auto& file : std::filesystem::directory_iterator(folder.path()))
            paths.push_back(file.path().string());
    FileManager fm;
    RawFileList raw;
    for (const auto& path : paths)
        raw.addPath(path);
    const double before = heapInUse();
    DynamicFileList list(fm);
    list.setRawFileList(&raw);
    list.setProcessFiles(1);
    list.setProcessSubFolders(1);
    for (auto _ : state) {
        list.update();
        benchmark::DoNotOptimize(list.count());
    }
    state.counters["entries"] = list.count();
    state.counters["heap_MB"] = (heapInUse() - before) / 1e6;
}
BENCHMARK(BM_Update100000FileRoots)->Unit(benchmark::kMillisecond);

// The live preview of the dropped tree: the cut-off ends the descent early.
void BM_PreviewExpansionWithCutOff(benchmark::State& state) {
    FileManager fm;
    RawFileList raw;
    raw.addPath(tree().root());
    DynamicFileList list(fm);
    list.setRawFileList(&raw);
    list.setProcessFiles(1);
    list.setProcessSubFolders(1);
    for (auto _ : state) {
        list.update();
        benchmark::DoNotOptimize(list.count());
    }
    state.counters["entries"] = list.count();
}
BENCHMARK(BM_PreviewExpansionWithCutOff)->Unit(benchmark::kMillisecond);

void mainSort(benchmark::State& state, std::int32_t mode, std::int32_t mode2, bool coldCache) {
    tree();
    const double before = heapInUse();
    ExpandedTree expanded(mode, mode2);
    for (auto _ : state) {
        if (coldCache) {
            state.PauseTiming();
            expanded.fm.invalidateCache();
            state.ResumeTiming();
        }
        expanded.list.getMainSort().markIndexesAsDirty();
        expanded.list.performSort();
        benchmark::DoNotOptimize(expanded.list.pathAtIndex(0));
    }
    state.counters["heap_MB"] = (heapInUse() - before) / 1e6;
}

void BM_MainSortByNaturalName(benchmark::State& state) {
    mainSort(state, 10, 0, false);
}
BENCHMARK(BM_MainSortByNaturalName)->Unit(benchmark::kMillisecond);

void BM_MainSortByName(benchmark::State& state) {
    mainSort(state, 0, 12, false);
}
BENCHMARK(BM_MainSortByName)->Unit(benchmark::kMillisecond);

// Every date read from the file system (the first sort after a list is made).
void BM_MainSortByModificationDateCold(benchmark::State& state) {
    mainSort(state, 2, 12, true);
}
BENCHMARK(BM_MainSortByModificationDateCold)->Unit(benchmark::kMillisecond);

// Dates from the attribute cache (every later sort of the same list).
void BM_MainSortByModificationDateCached(benchmark::State& state) {
    mainSort(state, 2, 12, false);
}
BENCHMARK(BM_MainSortByModificationDateCached)->Unit(benchmark::kMillisecond);

// The preview's default order: natural names, ties by EXIF date (every file
// is read for EXIF data).
void BM_MainSortByNaturalNameThenExifDateCold(benchmark::State& state) {
    mainSort(state, 10, 8, true);
}
BENCHMARK(BM_MainSortByNaturalNameThenExifDateCold)->Unit(benchmark::kMillisecond);

// A numbering action with its own order: the position within its folder of
// every entry under a sort other than the main one, which is computed on the
// first question after the list changed. The heap figure is the list with
// two sorts computed.
void BM_PerFolderPositionOfEveryEntry(benchmark::State& state) {
    tree();
    const double before = heapInUse();
    ExpandedTree expanded(10, 0);
    const int n = expanded.list.count();
    long long sum = 0;
    for (auto _ : state) {
        expanded.list.sortFor(11, 0).markIndexesAsDirty();
        for (int i = 0; i < n; ++i)
            sum += expanded.list.getSortingIndexForPath(std::string(expanded.list.pathAtIndex(i)),
                                                        11, 0, true);
    }
    benchmark::DoNotOptimize(sum);
    state.counters["entries"] = n;
    state.counters["heap_MB"] = (heapInUse() - before) / 1e6;
    state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_PerFolderPositionOfEveryEntry)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
