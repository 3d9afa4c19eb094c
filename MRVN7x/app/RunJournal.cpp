#include "MRVN7x/app/RunJournal.h"

#include "MRVN7x/engine/DiskRenamer.h"
#include "platform/PathText.h"

#include <fstream>

namespace morvane {
namespace {
// The journal's step for step index of the plan.
JournalStepView stepOf(const RenameOptimizer& plan, size_t index, std::string& temporary) {
    using Kind = RenameOptimizer::StepKind;
    const RenameOptimizer::Step& step = plan.steps()[index];
    const std::string_view oldPath = plan.oldNames()[step.pair];
    const std::string_view newPath = plan.newPaths()[step.pair];
    const ItemIdentity identity = plan.identities()[step.pair];
    if (step.kind == Kind::Whole) {
        const bool caseChange = DiskRenamer::differsInCaseOnly(PathText::displayNameOfPath(oldPath),
                                                               plan.newName(step.pair));
        return {oldPath, newPath, identity,
                caseChange ? JournalStepKind::CaseChange : JournalStepKind::Whole};
    }
    temporary = RenameOptimizer::temporaryPathFor(oldPath);
    if (step.kind == Kind::ToTemporary)
        return {oldPath, temporary, identity, JournalStepKind::ToTemporary};
    return {temporary, newPath, identity, JournalStepKind::FromTemporary};
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
