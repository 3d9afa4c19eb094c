#pragma once
// The journal of one rename run as the controller keeps it: the plan's steps
// written before the first rename, a mark after each, a name chosen in a
// dialog recorded (and flushed) before its rename, the end. Every front end
// gets it by running the controller; a run whose journal cannot be written
// does not start.
#include "MRVN7x/engine/RenameJournal.h"
#include "MRVN7x/engine/RenameOptimizer.h"

#include <string>
#include <vector>

namespace morvane {

class RunJournal {
public:
    // Writes the plan's steps into a new journal in folder; a failure when it
    // could not be written and flushed.
    static Result<RunJournal> begin(const std::string& folder, const RenameOptimizer& plan);

    // A line about the run beside its journal (RUN.about), for lists of runs:
    // the chain in a few words. Best effort: a run is not stopped for it.
    static void writeAbout(const std::string& folder, const std::string& runId,
                           const std::string& text);
    // That line, or the empty text when there is none.
    static std::string aboutOf(const std::string& folder, const std::string& runId);

    const std::string& runId() const { return journal_.runId(); }
    // Step index of the plan was done.
    void stepDone(size_t index) { journal_.markDone(index); }
    // Step index is about to go to newPath instead of its planned target.
    Result<void> stepRedirected(size_t index, const std::string& newPath, bool caseChange) {
        return journal_.recordEdit(index, newPath, caseChange);
    }
    bool finish() { return journal_.markEnd(); }

private:
    explicit RunJournal(RenameJournal journal) : journal_(std::move(journal)) {}
    RenameJournal journal_;
};

} // namespace morvane
