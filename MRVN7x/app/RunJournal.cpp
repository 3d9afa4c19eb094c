#include "MRVN7x/app/RunJournal.h"

#include "MRVN7x/engine/DiskRenamer.h"
#include "platform/PathText.h"

#include <fstream>

namespace morvane {
namespace {
// The journal's step for step index of the plan. The paths it makes (new
// and temporary) are kept in scratch, one after the other.
JournalStepView stepOf(const RenameOptimizer& plan, size_t index, std::string& scratch) {
    using Kind = RenameOptimizer::StepKind;
    const RenameOptimizer::Step& step = plan.steps()[index];
    const std::string_view oldPath = plan.oldNames()[step.pair];
    const ItemIdentity identity = plan.identity(step.pair);
    if (step.kind == Kind::ToTemporary) {
        scratch = RenameOptimizer::temporaryPathFor(oldPath);
        return {oldPath, scratch, identity, JournalStepKind::ToTemporary};
    }
    size_t split = 0; // where the new path begins in scratch
    if (step.kind == Kind::Whole) {
        plan.newPath(step.pair, scratch); // scratch's storage serves every step
    } else {
        scratch = RenameOptimizer::temporaryPathFor(oldPath);
        split = scratch.size();
        scratch += plan.newPath(step.pair);
    }
    const std::string_view made(scratch);
    const std::string_view newPath = made.substr(split);
    if (step.kind == Kind::FromTemporary)
        return {made.substr(0, split), newPath, identity, JournalStepKind::FromTemporary};
    // Most names are compared as they are stored, without making their display names.
    const auto plain = DiskRenamer::plainNamesDifferInCaseOnly(PathText::lastComponentView(oldPath),
                                                               plan.newFileName(step.pair));
    const bool caseChange =
        plain ? *plain
              : DiskRenamer::differsInCaseOnly(PathText::displayNameOfPath(oldPath),
                                               plan.newName(step.pair));
    return {oldPath, newPath, identity,
            caseChange ? JournalStepKind::CaseChange : JournalStepKind::Whole};
}
} // namespace

Result<RunJournal> RunJournal::begin(const std::string& folder, const RenameOptimizer& plan) {
    auto journal = RenameJournal::create(
        folder, plan.steps().size(),
        [&plan](size_t index, std::string& scratch) { return stepOf(plan, index, scratch); });
    if (!journal)
        return journal.failure();
    return RunJournal(std::move(*journal));
}

void RunJournal::writeAbout(const std::string& folder, const std::string& runId,
                            const std::string& text) {
    std::ofstream(folder + "/" + runId + ".about", std::ios::binary) << text << "\n";
}

std::string RunJournal::aboutOf(const std::string& folder, const std::string& runId) {
    std::ifstream file(folder + "/" + runId + ".about", std::ios::binary);
    std::string line;
    std::getline(file, line);
    return line;
}

} // namespace morvane
