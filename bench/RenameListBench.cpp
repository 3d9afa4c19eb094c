// Rename from a list at the size users drop: a 100,000-line pair list naming
// every file of a tree of 100,000 files, loaded and applied to every entry,
// and a 100,000-line plain list applied in sort order.
#include "NamingBenchSupport.h"

#include "MRVN7x/lists/RenameFromListAction.h"

#include <benchmark/benchmark.h>

#include <fstream>
#include <memory>

namespace {
using namespace morvane;
using namespace morvane::bench;

// A list file beside the tree, removed at exit.
class ListFile {
public:
    explicit ListFile(bool pairs) {
        path_ = tree().root() + (pairs ? "-pairs.txt" : "-names.txt");
        std::ofstream out(path_);
        ExpandedTree expanded(12, 12);
        for (int i = 0; i < expanded.list.count(); ++i) {
            const std::string entry(expanded.list.pathAtIndex(i));
            if (pairs)
                out << entry << '\t';
            out << "Renamed " << numberedName("%06d", i) << ".jpg\n";
        }
    }
    ~ListFile() { std::filesystem::remove(path_); }
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

void loadAndApply(benchmark::State& state, bool pairs, bool apply) {
    tree();
    const ListFile file(pairs);
    ExpandedTree expanded(11, 0);
    auto action = makeAction<RenameFromListAction>();
    int changed = 0;
    for (auto _ : state) {
        action->browse(file.path());
        if (apply)
            changed = nameEveryEntry(*action, expanded.list, expanded.fm);
    }
    state.counters["loaded"] = static_cast<double>(action->newNames().size());
    state.counters["renamed"] = changed;
    state.SetItemsProcessed(state.iterations() * kFiles);
}

void BM_LoadPairList100000(benchmark::State& state) {
    loadAndApply(state, true, false);
}
BENCHMARK(BM_LoadPairList100000)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_LoadAndApplyPairList100000(benchmark::State& state) {
    loadAndApply(state, true, true);
}
BENCHMARK(BM_LoadAndApplyPairList100000)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_LoadAndApplyPlainList100000(benchmark::State& state) {
    loadAndApply(state, false, true);
}
BENCHMARK(BM_LoadAndApplyPlainList100000)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

BENCHMARK_MAIN();
