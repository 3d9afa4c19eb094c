// Damaged journals: a real run's journal over a few real items (a change of
// case, a swap through the cycle's temporary name, a file in a folder and the
// folder itself), stopped after any number of renames, then damaged (bytes
// changed, cut short, junk appended) and undone twice. Undo may refuse or
// restore, but every item stays in the work folder, nothing is overwritten or
// lost, and no item is moved to a path that neither the plan nor the damaged
// journal names. An undamaged journal is undone completely.
#include "MRVN7x/engine/DiskRenamer.h"
#include "MRVN7x/engine/RenameJournal.h"
#include "MRVN7x/engine/RenameOptimizer.h"
#include "fuzz/FuzzSupport.h"
#include "platform/PathText.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

using namespace morvane;
namespace fs = std::filesystem;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::setUpPrivateHome();
    return 0;
}

namespace {
struct Plan {
    std::string work;
    std::vector<JournalStep> steps;
    std::vector<std::string> files; // original paths of the files; each holds its own path
};

Plan makeItems(const std::string& work) {
    Plan plan{work, {}, {work + "/a", work + "/b", work + "/c", work + "/sub/d"}};
    fs::create_directories(work + "/sub");
    for (const auto& file : plan.files)
        std::ofstream(file) << file;
    const std::string cycle = work + "/" + RenameOptimizer::kCycleTemporaryName;
    auto step = [&](const std::string& from, const std::string& to, JournalStepKind kind,
                    const std::string& identityOf) {
        plan.steps.push_back({from, to, *FileOperations::identityOf(identityOf), kind});
    };
    step(work + "/a", work + "/A", JournalStepKind::CaseChange, work + "/a");
    step(work + "/b", cycle, JournalStepKind::ToTemporary, work + "/b");
    step(work + "/c", work + "/b", JournalStepKind::Whole, work + "/c");
    step(cycle, work + "/c", JournalStepKind::FromTemporary, work + "/b");
    step(work + "/sub/d", work + "/sub/e", JournalStepKind::Whole, work + "/sub/d");
    step(work + "/sub", work + "/sub2", JournalStepKind::Whole, work + "/sub");
    return plan;
}

// Writes the journal and renames the first `done` steps, as a run killed then would.
std::string runPartly(const Plan& plan, const std::string& journals, size_t done, bool ended) {
    std::vector<JournalStepView> views;
    for (const auto& step : plan.steps)
        views.push_back({step.from, step.to, step.identity, step.kind});
    auto journal = RenameJournal::create(journals, views);
    if (!journal)
        fuzz::fail("cannot write a journal: " + journal.message());
    for (size_t i = 0; i < done; ++i) {
        if (!FileOperations::moveNoReplace(plan.steps[i].from, plan.steps[i].to))
            fuzz::fail("the run itself failed");
        journal->markDone(i);
    }
    if (ended)
        journal->markEnd();
    return journal->path();
}

void damage(const std::string& path, FuzzedDataProvider& input) {
    std::string bytes;
    {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream buffer;
        buffer << in.rdbuf();
        bytes = buffer.str();
    }
    const int patches = input.ConsumeIntegralInRange<int>(0, 8);
    for (int i = 0; i < patches && !bytes.empty(); ++i)
        bytes[input.ConsumeIntegral<std::uint32_t>() % bytes.size()] =
            static_cast<char>(input.ConsumeIntegral<std::uint8_t>());
    if (input.ConsumeIntegralInRange<int>(0, 3) == 0)
        bytes.resize(input.ConsumeIntegral<std::uint32_t>() % (bytes.size() + 1));
    if (input.ConsumeIntegralInRange<int>(0, 3) == 0)
        bytes += input.ConsumeRandomLengthString(64);
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// The path a text names on disk: a damaged journal may say "items//x" or
// "items/x/" for "items/x".
std::string onDisk(std::string_view path) {
    std::string normal = fs::path(path).lexically_normal().string();
    if (normal.size() > 1 && normal.back() == '/')
        normal.pop_back();
    return normal;
}

// Paths a moved item may legitimately be found at, as the file system spells them.
std::set<std::string> allowedPaths(const Plan& plan, const std::optional<JournalRecord>& read) {
    std::set<std::string> allowed(plan.files.begin(), plan.files.end());
    auto add = [&](const auto& steps) {
        for (const auto& step : steps)
            for (const auto& path : {step.from, step.to}) {
                allowed.insert(onDisk(path));
                allowed.insert(onDisk(RenameJournal::caseChangeTemporaryPath(path)));
            }
    };
    add(plan.steps);
    if (read)
        add(read->steps);
    // The files below the folder, whatever the folder's name at the time.
    std::set<std::string> below;
    for (const auto& folder : allowed)
        for (const auto& name : allowed)
            if (name.starts_with(plan.work + "/sub/"))
                below.insert(onDisk(folder + "/" + PathText::lastComponent(name)));
    allowed.insert(below.begin(), below.end());
    return allowed;
}

bool staysInside(const Plan& plan, const std::optional<JournalRecord>& read) {
    if (!read)
        return true;
    for (const auto& step : read->steps)
        for (const auto& path : {step.from, step.to})
            if (!path.starts_with(plan.work + "/") || path.find("/..") != std::string::npos)
                return false;
    return true;
}

void checkItems(const Plan& plan, const std::set<std::string>& allowed, bool complete) {
    size_t files = 0;
    for (auto it = fs::recursive_directory_iterator(plan.work);
         it != fs::recursive_directory_iterator(); ++it) {
        const std::string path = it->path().string();
        if (it->is_directory())
            continue;
        ++files;
        std::ifstream in(path);
        std::string content;
        std::getline(in, content);
        if (!allowed.count(path))
            fuzz::fail("undo moved " + content + " to " + path + ", which no journal planned");
        if (complete && content != path)
            fuzz::fail("a complete undo left " + content + " at " + path);
    }
    if (files != plan.files.size())
        fuzz::fail("files were lost or overwritten");
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    const std::string work = fuzz::scratchFolder() + "/items";
    const std::string journals = fuzz::scratchFolder() + "/runs";
    fuzz::removeTree(work);
    fuzz::removeTree(journals);
    const Plan plan = makeItems(work);
    const size_t done = input.ConsumeIntegralInRange<size_t>(0, plan.steps.size());
    const std::string journal = runPartly(plan, journals, done, input.ConsumeBool());
    damage(journal, input);

    RenameJournalReader::list(journals);
    const auto read = RenameJournalReader::read(journal);
    if (!staysInside(plan, read))
        return 0; // a damaged path may name anything; undo is not run on the machine's files
    const std::string runId = PathText::lastComponent(journal).substr(
        0, PathText::lastComponent(journal).size() - std::string(".journal").size());
    const auto allowed = allowedPaths(plan, read);
    const bool intact = read && !read->damaged && !read->endedWithNothingDone &&
                        !read->undoComplete && read->steps.size() == plan.steps.size() &&
                        std::equal(read->steps.begin(), read->steps.end(), plan.steps.begin(),
                                   [](const JournalStepView& a, const JournalStep& b) {
                                       return a.from == b.from && a.to == b.to &&
                                              a.identity == b.identity && a.kind == b.kind;
                                   });
    for (int pass = 0; pass < 2; ++pass) {
        const UndoOutcome outcome = RenameJournalReader::undo(journals, runId);
        checkItems(plan, allowed, false);
        if (pass == 1 && intact && outcome.status != UndoOutcome::Status::JournalUnwritable)
            checkItems(plan, allowed, true);
    }
    return 0;
}
