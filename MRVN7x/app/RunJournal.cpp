#include "MRVN7x/app/RunJournal.h"

#include "MRVN7x/engine/DiskRenamer.h"
#include "platform/PathText.h"

namespace morvane {

std::vector<std::string> RunJournal::newPaths(const RenameOptimizer& plan) {
    std::vector<std::string> paths;
    paths.reserve(plan.count());
    for (size_t i = 0; i < plan.count(); ++i) {
        const std::string& oldPath = plan.oldNames()[i];
        auto name = PathText::fileNameFromDisplayName(plan.newNames()[i]);
        paths.push_back(PathText::join(PathText::folderView(oldPath), name.value_or("")));
    }
    return paths;
}

std::optional<RunJournal> RunJournal::begin(const std::string& folder, const RenameOptimizer& plan,
                                            const std::vector<std::string>& newPaths,
                                            std::string& error) {
    using Kind = RenameOptimizer::StepKind;
    // The temporary paths of the pairs that break a cycle, kept while the views point at them.
    std::vector<std::string> temporaries(plan.count());
    std::vector<JournalStepView> steps;
    steps.reserve(plan.steps().size());
    for (const RenameOptimizer::Step& step : plan.steps()) {
        const size_t pair = step.pair;
        const std::string& oldPath = plan.oldNames()[pair];
        const ItemIdentity identity = plan.identities()[pair];
        if (step.kind != Kind::Whole && temporaries[pair].empty())
            temporaries[pair] = RenameOptimizer::temporaryPathFor(oldPath);
        switch (step.kind) {
        case Kind::Whole: {
            const bool caseChange = DiskRenamer::differsInCaseOnly(
                PathText::displayNameOfPath(oldPath), plan.newNames()[pair]);
            steps.push_back({oldPath, newPaths[pair], identity,
                             caseChange ? JournalStepKind::CaseChange : JournalStepKind::Whole});
            break;
        }
        case Kind::ToTemporary:
            steps.push_back({oldPath, temporaries[pair], identity, JournalStepKind::ToTemporary});
            break;
        case Kind::FromTemporary:
            steps.push_back(
                {temporaries[pair], newPaths[pair], identity, JournalStepKind::FromTemporary});
            break;
        }
    }
    auto journal = RenameJournal::create(folder, steps, error);
    if (!journal)
        return std::nullopt;
    return RunJournal(std::move(*journal));
}

} // namespace morvane
