// Numbering 100,000 files: the new name of every entry of a dropped tree of
// 100,000 files, through a one-step chain and a two-step chain whose steps
// number in different orders (so two sort objects are asked per entry).
#include "NamingBenchSupport.h"

#include "MRVN7x/actions/ActionList.h"
#include "MRVN7x/actions/CompositeRenameAction.h"
#include "platform/UserDefaults.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {
using namespace morvane;
using namespace morvane::bench;

// The registry over a private, throw-away preferences domain.
struct Registry {
    Registry() {
        std::string pattern = (std::filesystem::temp_directory_path() / "morvane-prefs-XXXXXX");
        if (!mkdtemp(pattern.data()))
            std::abort();
        folder = pattern;
        defaults = std::make_unique<UserDefaults>("net.halvard.mrvn7", folder);
        list = std::make_unique<ActionList>(*defaults);
    }
    ~Registry() {
        list.reset();
        defaults.reset();
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
    std::string folder;
    std::unique_ptr<UserDefaults> defaults;
    std::unique_ptr<ActionList> list;
};

plist::Value step(const std::string& name, plist::Dictionary parameters) {
    return plist::Value(plist::Dictionary{{"action name", plist::Value(name)},
                                          {"action parameter list", plist::Value(parameters)}});
}

std::unique_ptr<CompositeRenameAction> chainOf(Registry& registry, plist::Array steps) {
    auto chain = makeAction<CompositeRenameAction>(*registry.list);
    (void)chain->setFlatParameterList(
        plist::Dictionary{{"currentActionIndex", plist::Value(0)},
                          {"composite actions array", plist::Value(std::move(steps))}});
    return chain;
}

// "Add number to start" in its default order (names descending), which is
// also the list's main sort, as the application sets it for this action.
void BM_Number100000Files(benchmark::State& state) {
    tree();
    Registry registry;
    auto chain = chainOf(registry, {step("Add number to start", {{"padding", plist::Value(6)}})});
    ExpandedTree expanded(11, 0);
    int changed = 0;
    for (auto _ : state)
        changed = nameEveryEntry(*chain, expanded.list, expanded.fm);
    state.counters["renamed"] = changed;
    state.SetItemsProcessed(state.iterations() * expanded.list.count());
}
BENCHMARK(BM_Number100000Files)->Unit(benchmark::kMillisecond)->Iterations(3);

// The rename run's whole way: expand the tree again, then number every entry
// in an order other than the main sort, which is therefore sorted on the
// first query.
void BM_ExpandAndNumber100000Files(benchmark::State& state) {
    tree();
    Registry registry;
    auto chain =
        chainOf(registry, {step("Add number to end", {{"sortingMode", plist::Value(0)},
                                                      {"sortEachFolderSeparately", plist::Value(1)},
                                                      {"fragmentSelection", plist::Value(1)}})});
    ExpandedTree expanded(10, 8);
    int changed = 0;
    for (auto _ : state) {
        expanded.list.update();
        changed = nameEveryEntry(*chain, expanded.list, expanded.fm);
    }
    state.counters["renamed"] = changed;
    state.SetItemsProcessed(state.iterations() * expanded.list.count());
}
BENCHMARK(BM_ExpandAndNumber100000Files)->Unit(benchmark::kMillisecond)->Iterations(3);

// Numbers in one order and letters in another, in one chain.
void BM_TwoSequenceSteps100000Files(benchmark::State& state) {
    tree();
    Registry registry;
    auto chain =
        chainOf(registry, {step("Add number to start", {{"sortingMode", plist::Value(10)}}),
                           step("Add alphabetical sequence to end",
                                {{"sortingMode", plist::Value(1)}, {"padding", plist::Value(4)}})});
    ExpandedTree expanded(10, 0);
    int changed = 0;
    for (auto _ : state) {
        expanded.list.update();
        changed = nameEveryEntry(*chain, expanded.list, expanded.fm);
    }
    state.counters["renamed"] = changed;
    state.SetItemsProcessed(state.iterations() * expanded.list.count());
}
BENCHMARK(BM_TwoSequenceSteps100000Files)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

BENCHMARK_MAIN();
