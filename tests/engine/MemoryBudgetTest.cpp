// Memory per entry of the structures a run over a large list holds at once:
// the expanded file list (paths, identities, the main sort; a run looks up no
// path without its index, so the list builds no path index), the run's plan
// (old paths, new names, identities, steps), and the preview's rows (the
// current and new name and the folder of each). The allocator's own figures
// are read before and after building each one over 200,000 generated paths,
// so a change that adds bytes per entry fails here instead of quietly raising
// the peak of a run over a million files.
#include "MRVN7x/actions/PreviewRows.h"
#include "MRVN7x/engine/FileManager.h"
#include "MRVN7x/engine/RenameOptimizer.h"
#include "MRVN7x/filelist/DynamicFileList.h"
#include "MRVN7x/filelist/RawFileList.h"
#include "platform/PathText.h"
#include "tests/support/OwnAllocator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <malloc.h>
#include <memory>
#include <string>
#include <vector>

namespace morvane {
namespace {

constexpr size_t kEntries = 200000;

// Bytes the program has allocated and not freed (heap and mapped chunks).
size_t bytesInUse() {
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

// A path of the length of a typical photo in a typical folder (50 bytes);
// nothing exists there, so a root costs one failing lstat.
std::string generatedPath(size_t i) {
    char path[64];
    std::snprintf(path, sizeof path, "/morvane-budget-test/Holiday Photo %06zu.JPG", i);
    return path;
}

// The new name a three-step chain gives that path's file.
std::u16string generatedNewName(size_t i) {
    char name[48];
    std::snprintf(name, sizeof name, "%06zuholiday picture %06zu.jpg", i, i);
    return std::u16string(name, name + std::char_traits<char>::length(name));
}

// What a structure built by make holds per entry, in bytes, while holding is alive.
template <typename Holder>
double bytesPerEntry(const std::function<std::unique_ptr<Holder>()>& make) {
    malloc_trim(0);
    const size_t before = bytesInUse();
    auto holder = make();
    const size_t after = bytesInUse();
    return static_cast<double>(after - std::min(after, before)) / kEntries;
}

struct ExpandedList {
    RawFileList raw;
    std::unique_ptr<DynamicFileList> list;
};

struct Budget {
    const char* what;
    double bytesPerEntry; // the most allowed; the figures of December 2026 plus about a tenth
    std::function<double()> measure;
};

TEST(MemoryBudget, BytesPerEntryStayWithinTheBudget) {
    if (!MORVANE_OWN_ALLOCATOR)
        GTEST_SKIP() << "the sanitizers' allocator keeps its own figures";
    // The raw list is built outside the measurement: only the expansion counts.
    auto expanded = std::make_shared<ExpandedList>();
    for (size_t i = 1; i <= kEntries; ++i)
        expanded->raw.addPath(generatedPath(i));
    const Budget budgets[] = {
        {"expanded list, main sort by natural name", 95,
         [&] {
             return bytesPerEntry<DynamicFileList>([&] {
                 auto list = std::make_unique<DynamicFileList>(FileManager::instance());
                 list->setRawFileList(&expanded->raw);
                 list->setProcessFiles(1);
                 list->setApplyCutOff(false);
                 list->setSortingMode(10);
                 list->update();
                 EXPECT_EQ(list->count(), static_cast<int>(kEntries));
                 return list;
             });
         }},
        {"ordered plan of a run", 163,
         [&] {
             return bytesPerEntry<RenameOptimizer>([&] {
                 auto plan = std::make_unique<RenameOptimizer>();
                 for (size_t i = 1; i <= kEntries; ++i)
                     plan->addOldName(generatedPath(i), generatedNewName(i), {1, i, 'f'});
                 plan->optimizeRenameOrder();
                 EXPECT_EQ(plan->steps().size(), kEntries);
                 return plan;
             });
         }},
        {"preview rows", 96,
         [&] {
             return bytesPerEntry<PreviewRows>([&] {
                 auto rows = std::make_unique<PreviewRows>();
                 rows->reserve(kEntries);
                 for (size_t i = 1; i <= kEntries; ++i) {
                     const std::string path = generatedPath(i);
                     PreviewEntry row;
                     row.oldName = PathText::displayNameOfPath(path);
                     row.path = PathText::folderOf(path);
                     row.newName = generatedNewName(i);
                     row.diff = row.newName != row.oldName;
                     rows->push_back(row);
                 }
                 return rows;
             });
         }},
    };
    for (const Budget& budget : budgets) {
        const double measured = budget.measure();
        std::printf("%s: %.0f bytes per entry (budget %.0f)\n", budget.what, measured,
                    budget.bytesPerEntry);
        EXPECT_GT(measured, 0) << budget.what;
        EXPECT_LE(measured, budget.bytesPerEntry) << budget.what;
    }
}

} // namespace
} // namespace morvane
