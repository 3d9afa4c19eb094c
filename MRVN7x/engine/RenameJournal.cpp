#include "MRVN7x/engine/RenameJournal.h"

#include "MRVN7x/engine/DiskRenamer.h"
#include "platform/PathText.h"
#include "platform/XdgPaths.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <sstream>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_map>
#include <utility>

namespace morvane {
namespace {

constexpr std::string_view kHeader = "morvane-journal 2\n";
constexpr char kNotDone = '.';
constexpr char kDone = '+';
constexpr std::string_view kSuffix = ".journal";

std::string errorText(const std::string& what) {
    return what + ": " + std::strerror(errno);
}

// The failure of the system call just made.
Failure systemFailure(const std::string& what) {
    const int code = errno;
    return {code, what + ": " + std::strerror(code)};
}

bool writeAll(int fd, std::string_view bytes) {
    size_t written = 0;
    while (written < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = EIO;
            return false;
        }
        written += static_cast<size_t>(n);
    }
    return true;
}

bool endsWith(std::string_view text, std::string_view end) {
    return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

bool syncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok = fsync(fd) == 0;
    ::close(fd);
    return ok;
}

// Creates path and the folders above it (private to the user), each new one
// flushed into its parent, so a journal never sits in a folder a power loss forgets.
bool makePrivateFolders(const std::string& path, Failure& error) {
    struct stat info {};
    if (stat(path.c_str(), &info) == 0) {
        if (S_ISDIR(info.st_mode))
            return true;
        error = {ENOTDIR, path + ": not a folder"};
        return false;
    }
    const std::string parent(PathText::folderView(path));
    if (parent != path && !parent.empty() && parent != "/" && !makePrivateFolders(parent, error))
        return false;
    if (mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) {
        error = systemFailure("cannot create " + path);
        return false;
    }
    if (!syncFolder(parent.empty() ? "/" : parent)) {
        error = systemFailure("cannot flush " + parent);
        return false;
    }
    return true;
}

// Moves the finished plan into place without replacing anything and without
// the renamer's own moves (which a test can count).
bool placePlan(const std::string& from, const std::string& to) {
    if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP)
        return false;
    if (link(from.c_str(), to.c_str()) != 0)
        return false;
    ::unlink(from.c_str());
    return true;
}

std::string newRunId() {
    char stamp[32];
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    return std::string(stamp) + "-" + std::to_string(getpid());
}

std::string journalPath(const std::string& folder, const std::string& runId) {
    return folder + "/" + runId + std::string(kSuffix);
}

// A temporary plan file: RUN.journal.XXXXXX.
bool isTemporaryPlan(std::string_view name) {
    const size_t at = name.rfind(".journal.");
    return at != std::string_view::npos && name.size() == at + 9 + 6;
}

// The sequence number in a journal's first lines; 0 when it has none.
std::uint64_t sequenceOf(const std::string& path) {
    char buffer[96] = {};
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return 0;
    const ssize_t n = ::read(fd, buffer, sizeof buffer - 1);
    ::close(fd);
    const std::string_view text(buffer, n > 0 ? static_cast<size_t>(n) : 0);
    const size_t at = text.find("\nsequence ");
    return at == std::string_view::npos ? 0 : std::strtoull(buffer + at + 10, nullptr, 10);
}

// The whole file, read straight into a text of its size (a journal of a
// million steps is some 200 MB: no stream buffer and copy besides). As with
// a stream, a read error ends the text there; false only when it cannot be opened.
bool readWholeFile(const std::string& path, std::string& text) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat info {};
    if (fstat(fd, &info) == 0 && info.st_size > 0)
        text.reserve(static_cast<size_t>(info.st_size) + 1);
    for (;;) {
        const size_t at = text.size();
        if (at == text.capacity())
            text.reserve(2 * at + 65536);
        text.resize(text.capacity());
        const ssize_t n = ::read(fd, text.data() + at, text.size() - at);
        text.resize(at + (n > 0 ? static_cast<size_t>(n) : 0));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
    }
    ::close(fd);
    return true;
}

// Whether a journal's last record is "undo-complete". Such a run needs no
// undo by default: either everything was undone, or the record lies beyond
// damage and the damaged journal is undone only when named.
bool endsWithUndoComplete(const std::string& path) {
    constexpr std::string_view tail = "\nundo-complete\n";
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat info {};
    char buffer[tail.size()];
    const bool ends =
        fd >= 0 && fstat(fd, &info) == 0 && info.st_size >= static_cast<off_t>(tail.size()) &&
        pread(fd, buffer, tail.size(), info.st_size - static_cast<off_t>(tail.size())) ==
            static_cast<ssize_t>(tail.size()) &&
        std::string_view(buffer, tail.size()) == tail;
    if (fd >= 0)
        ::close(fd);
    return ends;
}

// One past the highest sequence of the folder's journals. Temporary plans
// left by runs that died while writing them are removed on the way: the
// caller holds the run lock, so no live run is writing one.
std::uint64_t nextSequenceCleaningUp(const std::string& folder) {
    std::uint64_t highest = 0;
    DIR* dir = opendir(folder.c_str());
    if (!dir)
        return 1;
    while (const dirent* entry = readdir(dir)) {
        const std::string_view name = entry->d_name;
        if (endsWith(name, kSuffix))
            highest = std::max(highest, sequenceOf(folder + "/" + std::string(name)));
        else if (isTemporaryPlan(name))
            ::unlinkat(dirfd(dir), entry->d_name, 0);
    }
    closedir(dir);
    return highest + 1;
}

// A number and a space, written in place: a plan has a hundred thousand steps.
void appendNumber(std::string& text, std::uint64_t number) {
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, number).ptr;
    text.append(digits, static_cast<size_t>(end - digits)).push_back(' ');
}

void appendStep(std::string& text, const JournalStepView& step) {
    const ItemIdentity& id = step.identity;
    for (const std::uint64_t number :
         {std::uint64_t{step.from.size()}, std::uint64_t{step.to.size()}, id.device, id.inode})
        appendNumber(text, number);
    text += {id.type ? id.type : '-', ' ', static_cast<char>(step.kind), '\n'};
    ((((text += step.from) += '\n') += step.to) += '\n');
}

// Writes the plan, then one mark per step (all "not done"), in pieces of
// about a megabyte; marksOffset is where the marks begin in the file.
bool writePlanText(int fd, std::uint64_t sequence, size_t count,
                   const RenameJournal::StepSource& source, size_t& marksOffset) {
    constexpr size_t piece = 1 << 20;
    std::string text(kHeader);
    text += "sequence " + std::to_string(sequence) + "\n";
    text += "created " + std::to_string(std::time(nullptr)) + "\n";
    text += "steps " + std::to_string(count) + "\n";
    size_t written = 0;
    std::string scratch;
    for (size_t i = 0; i < count; ++i) {
        appendStep(text, source(i, scratch));
        if (text.size() >= piece) {
            if (!writeAll(fd, text))
                return false;
            written += text.size();
            text.clear();
        }
    }
    text += "plan-end\nmarks " + std::to_string(count) + "\n";
    marksOffset = written + text.size();
    text.append(count, kNotDone);
    text += '\n';
    return writeAll(fd, text);
}

// Writes the plan aside, flushes it, moves it into place and flushes the folder.
bool writePlan(const std::string& folder, const std::string& path, std::uint64_t sequence,
               size_t count, const RenameJournal::StepSource& source, size_t& marksOffset,
               Failure& error) {
    std::string temporary = path + ".XXXXXX";
    const int fd = mkstemp(temporary.data());
    if (fd < 0) {
        error = systemFailure("cannot create a journal in " + folder);
        return false;
    }
    bool ok = writePlanText(fd, sequence, count, source, marksOffset) && fsync(fd) == 0;
    if (!ok)
        error = systemFailure("cannot write the journal " + temporary);
    if (::close(fd) != 0 && ok) {
        ok = false;
        error = systemFailure("cannot write the journal " + temporary);
    }
    if (ok && !placePlan(temporary, path)) {
        ok = false;
        error = systemFailure("cannot move the journal to " + path);
    }
    if (!ok) {
        ::unlink(temporary.c_str());
        return false;
    }
    if (!syncFolder(folder)) {
        error = systemFailure("cannot flush " + folder);
        ::unlink(path.c_str());
        return false;
    }
    return true;
}

bool readLine(const std::string& text, size_t& pos, std::string& line) {
    const size_t end = text.find('\n', pos);
    if (end == std::string::npos)
        return false;
    line = text.substr(pos, end - pos);
    pos = end + 1;
    return true;
}

bool readNumberLine(const std::string& text, size_t& pos, std::string_view key,
                    std::uint64_t& value) {
    std::string line;
    if (!readLine(text, pos, line) || line.rfind(std::string(key) + " ", 0) != 0)
        return false;
    value = std::strtoull(line.c_str() + key.size() + 1, nullptr, 10);
    return true;
}

bool isKind(char c) {
    return c == 'w' || c == 'c' || c == 't' || c == 'f';
}

// No path holds a NUL byte: the system would read a damaged "a/b\0c" as "a/b".
bool isPath(std::string_view text) {
    return text.find('\0') == std::string_view::npos;
}

// A number followed by one space, taken off the front of fields.
bool takeNumber(std::string_view& fields, std::uint64_t& number) {
    const auto [end, error] = std::from_chars(fields.data(), fields.data() + fields.size(), number);
    const auto length = static_cast<size_t>(end - fields.data());
    if (error != std::errc() || length == fields.size() || fields[length] != ' ')
        return false;
    fields.remove_prefix(length + 1);
    return true;
}

// "<from length> <to length> <device> <inode> <type> <kind>" and the two
// paths, which the step views in text. Read without a stream: a journal has
// a line like it for every item of the run.
bool parseStep(const std::string& text, size_t& pos, JournalStepView& step) {
    const size_t end = text.find('\n', pos);
    if (end == std::string::npos)
        return false;
    std::string_view fields(text.data() + pos, end - pos);
    std::uint64_t fromLength = 0, toLength = 0;
    if (!takeNumber(fields, fromLength) || !takeNumber(fields, toLength) ||
        !takeNumber(fields, step.identity.device) || !takeNumber(fields, step.identity.inode) ||
        fields.size() != 3 || fields[0] == ' ' || fields[1] != ' ' || !isKind(fields[2]))
        return false;
    pos = end + 1;
    if (fromLength > text.size() || toLength > text.size() ||
        pos + fromLength + toLength + 2 > text.size() || text[pos + fromLength] != '\n' ||
        text[pos + fromLength + 1 + toLength] != '\n')
        return false;
    step.identity.type = fields[0] == '-' ? 0 : fields[0];
    step.kind = static_cast<JournalStepKind>(fields[2]);
    step.from = std::string_view(text).substr(pos, fromLength);
    step.to = std::string_view(text).substr(pos + fromLength + 1, toLength);
    pos += fromLength + toLength + 2;
    return isPath(step.from) && isPath(step.to);
}

// The block of marks written with the plan, one byte per step.
bool parseMarkBlock(const std::string& text, size_t& pos, JournalRecord& record) {
    const std::string prefix = "marks " + std::to_string(record.steps.size()) + "\n";
    const size_t first = pos + prefix.size();
    if (text.compare(pos, prefix.size(), prefix) != 0 || first + record.steps.size() >= text.size())
        return false;
    for (size_t i = 0; i < record.steps.size(); ++i)
        record.done[i] = text[first + i] == kDone;
    pos = first + record.steps.size() + 1;
    return true;
}

// "edit INDEX LENGTH KIND" and the path on the next line.
void parseEdit(const std::string& text, size_t& pos, const std::string& line,
               JournalRecord& record) {
    std::istringstream fields(line.substr(5));
    size_t index = 0, length = 0;
    char kind = 0;
    if (!(fields >> index >> length >> kind) || pos + length + 1 > text.size() ||
        text[pos + length] != '\n')
        return;
    const std::string_view path(text.data() + pos, length);
    if (index < record.steps.size() && (kind == 'w' || kind == 'c') && isPath(path)) {
        record.steps[index].to = path;
        record.steps[index].kind = static_cast<JournalStepKind>(kind);
    }
    pos += length + 1;
}

// Records appended after the marks; a record cut short at the end is ignored.
void parseRecords(const std::string& text, size_t& pos, JournalRecord& record) {
    std::string line;
    while (readLine(text, pos, line)) {
        if (line.rfind("edit ", 0) == 0) {
            parseEdit(text, pos, line, record);
        } else if (line.rfind("undone ", 0) == 0) {
            const size_t index = std::strtoull(line.c_str() + 7, nullptr, 10);
            if (index < record.undone.size())
                record.undone[index] = true;
        } else if (line.rfind("end ", 0) == 0) {
            record.ended = true;
            record.endedWithNothingDone = std::strtoull(line.c_str() + 4, nullptr, 10) == 0;
        } else if (line == "undo-complete") {
            record.undoComplete = true;
        }
    }
}

JournalRecord parseJournal(const std::string& text) {
    JournalRecord record;
    size_t pos = 0;
    auto damaged = [&record](const std::string& what) {
        record.damaged = true;
        record.damage = what;
        record.done.resize(record.steps.size());
        record.undone.resize(record.steps.size());
        return record;
    };
    std::uint64_t created = 0, count = 0;
    if (text.compare(0, kHeader.size(), kHeader) != 0)
        return damaged("not a journal of this version");
    pos = kHeader.size();
    if (!readNumberLine(text, pos, "sequence", record.sequence) ||
        !readNumberLine(text, pos, "created", created) ||
        !readNumberLine(text, pos, "steps", count))
        return damaged("its header is damaged");
    record.created = static_cast<std::int64_t>(created);
    record.plannedSteps = static_cast<size_t>(count);
    // No step takes fewer than 16 bytes, so a damaged count reserves no more than the text allows.
    record.steps.reserve(static_cast<size_t>(std::min<std::uint64_t>(count, text.size() / 16)));
    for (std::uint64_t i = 0; i < count; ++i) {
        JournalStepView step;
        if (!parseStep(text, pos, step))
            return damaged("its plan is damaged after step " + std::to_string(i));
        record.steps.push_back(step);
    }
    std::string line;
    record.done.assign(record.steps.size(), false);
    record.undone.assign(record.steps.size(), false);
    if (!readLine(text, pos, line) || line != "plan-end" || !parseMarkBlock(text, pos, record))
        return damaged("its marks are damaged");
    parseRecords(text, pos, record);
    return record;
}

// Where the item of a step is now, as far as undo cares.
enum class Place { Target, Temporary, Home, Elsewhere };

// An undo goes through the run's steps folder by folder: each folder is kept
// open while its items are looked up and moved.
bool holds(FileOperations::OpenFolder& folder, const std::string& path,
           const ItemIdentity& identity) {
    return !path.empty() && folder.identityOf(path) == identity;
}

Place placeOf(FileOperations::OpenFolder& folder, const JournalStep& step,
              const std::string& temporary) {
    if (holds(folder, step.to, step.identity))
        return Place::Target;
    if (holds(folder, temporary, step.identity))
        return Place::Temporary;
    if (holds(folder, step.from, step.identity))
        return Place::Home;
    return Place::Elsewhere;
}

// Moves the item of a step from where it is back to its old path. A change of
// case goes through the case-change temporary name (on a file system that
// ignores case the two names are one entry), which the journal names, so an
// undo killed in between is finished by the next.
bool moveBack(FileOperations::OpenFolder& folder, const JournalStep& step,
              const std::string& temporary, Place place, std::string& reason) {
    const std::string* at = place == Place::Target ? &step.to : &temporary;
    if (place == Place::Target && !temporary.empty()) {
        if (!folder.moveNoReplace(step.to, temporary)) {
            reason = std::strerror(errno);
            return false;
        }
        at = &temporary;
    }
    if (folder.moveNoReplace(*at, step.from))
        return true;
    reason = errno == EEXIST ? "another item now has its old name" : std::strerror(errno);
    // Back to where it was found rather than left under the temporary name.
    if (place == Place::Target && *at != step.to)
        folder.moveNoReplace(*at, step.to);
    return false;
}

std::string temporaryOf(const JournalStep& step) {
    return step.kind == JournalStepKind::CaseChange
               ? RenameJournal::caseChangeTemporaryPath(step.to)
               : std::string();
}

// For each step that ends a broken cycle, the step that began it: the pair's
// old path is the first step's. Temporary names are per folder and a folder
// breaks one cycle at a time, so the last step into a temporary name before
// a step out of it is its pair's.
std::unordered_map<size_t, size_t> cycleStartsOf(const JournalRecord& record) {
    std::unordered_map<size_t, size_t> starts;
    std::unordered_map<std::string_view, size_t> parked; // temporary path -> its step
    for (size_t i = 0; i < record.steps.size(); ++i) {
        const JournalStepView& step = record.steps[i];
        if (step.kind == JournalStepKind::ToTemporary) {
            parked[step.to] = i;
        } else if (step.kind == JournalStepKind::FromTemporary) {
            const auto start = parked.find(step.from);
            if (start != parked.end() && record.steps[start->second].identity == step.identity)
                starts[i] = start->second;
        }
    }
    return starts;
}

// Reverses step index of the run; false when the journal cannot record it.
// The "undone" records go to the journal in pieces of 64 KiB, not one write
// per item. A record lost with a killed undo costs nothing: the next undo
// finds that item at home and records it without a word. When a piece cannot
// be written the undo stops there.
struct StepUndo {
    static constexpr size_t kPiece = 1 << 16;
    const JournalRecord& record;
    int fd;
    UndoOutcome& outcome;
    const std::unordered_map<size_t, size_t> cycleStarts = cycleStartsOf(record);
    std::string pending = {};
    FileOperations::OpenFolder folder = {};
    // The step at hand with paths of its own for the system calls, which want
    // them ended by a zero byte; kept from step to step so that its texts are
    // not allocated again for every item.
    JournalStep step = {};

    bool noteUndone(size_t index) {
        char number[24];
        const auto end = std::to_chars(number, number + sizeof number, index).ptr;
        pending.append("undone ").append(number, end).push_back('\n');
        return pending.size() < kPiece || flush();
    }
    bool flush() {
        if (pending.empty() || writeAll(fd, pending)) {
            pending.clear();
            return true;
        }
        outcome.problems.push_back(
            {{}, errorText("the journal cannot record the undo; nothing more was moved")});
        return false;
    }
    // The last step of a broken cycle whose item is at the pair's old path: an
    // undo put the whole pair back and was stopped before it could say so.
    bool isBackBeforeItsCycle(size_t index, const ItemIdentity& identity) {
        const auto start = cycleStarts.find(index);
        return start != cycleStarts.end() &&
               holds(folder, std::string(record.steps[start->second].from), identity);
    }
    bool run(size_t index) {
        const JournalStepView& planned = record.steps[index];
        if (record.undone[index] || planned.from == planned.to) // an item that kept its name
            return true;
        step.from.assign(planned.from);
        step.to.assign(planned.to);
        step.identity = planned.identity;
        step.kind = planned.kind;
        const std::string temporary = temporaryOf(step);
        Place place = step.identity.inode ? placeOf(folder, step, temporary) : Place::Elsewhere;
        if (place == Place::Elsewhere && isBackBeforeItsCycle(index, step.identity))
            place = Place::Home;
        if (place == Place::Home || (place == Place::Elsewhere && !record.done[index])) {
            // Never moved, or moved back by an undo that was stopped before it
            // could say so; only a done step is worth a record.
            return !record.done[index] || noteUndone(index);
        }
        if (place == Place::Elsewhere) {
            outcome.problems.push_back({{step.from, step.to},
                                        step.identity.inode
                                            ? "it is no longer at its new path"
                                            : "the run did not record which item it was"});
            return true;
        }
        std::string reason;
        if (!moveBack(folder, step, temporary, place, reason)) {
            outcome.problems.push_back({{step.from, step.to}, reason});
            return true;
        }
        if (step.kind != JournalStepKind::FromTemporary) // a pair counts once
            ++outcome.restored;
        return noteUndone(index);
    }
};

} // namespace

std::string RenameJournal::defaultFolder() {
    return XdgPaths::stateHome() + "/morvane/runs";
}

std::string RenameJournal::caseChangeTemporaryPath(std::string_view path) {
    return PathText::join(PathText::folderView(path), DiskRenamer::kCaseChangeTemporaryName);
}

Result<RenameJournal> RenameJournal::create(const std::string& folder,
                                            const std::vector<JournalStepView>& steps) {
    return create(folder, steps.size(), [&steps](size_t i, std::string&) { return steps[i]; });
}

Result<RenameJournal> RenameJournal::create(const std::string& folder, size_t count,
                                            const StepSource& source) {
    Failure error;
    if (!makePrivateFolders(folder, error))
        return error;
    const std::uint64_t sequence = nextSequenceCleaningUp(folder);
    std::string runId = newRunId();
    for (int n = 2; FileOperations::exists(journalPath(folder, runId)); ++n)
        runId = newRunId() + "-" + std::to_string(n);
    const std::string path = journalPath(folder, runId);
    size_t marksOffset = 0;
    if (!writePlan(folder, path, sequence, count, source, marksOffset, error))
        return error;
    const int fd = ::open(path.c_str(), O_RDWR | O_APPEND | O_CLOEXEC);
    if (fd < 0) {
        error = systemFailure("cannot open the journal " + path);
        ::unlink(path.c_str());
        return error;
    }
    RenameJournal journal(runId, path, fd, sequence);
    journal.mapMarks(marksOffset, count);
    return journal;
}

// The marks are stores into a shared mapping of the file: the page cache holds
// them as soon as they are made, so a killed process loses none, and a mark
// costs no system call (an append per rename slowed a run of 100,000 files by
// a third). Without a mapping each mark is written in place.
void RenameJournal::mapMarks(size_t offset, size_t count) {
    marksOffset_ = offset;
    markCount_ = count;
    const size_t page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
    const size_t start = offset / page * page;
    const size_t length = offset + count - start;
    if (count == 0)
        return;
    void* mapped =
        mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_SHARED, fd_, static_cast<off_t>(start));
    if (mapped == MAP_FAILED)
        return;
    mapping_ = static_cast<char*>(mapped);
    mappingLength_ = length;
    marks_ = mapping_ + (offset - start);
}

RenameJournal::RenameJournal(std::string runId, std::string path, int fd, std::uint64_t sequence)
    : runId_(std::move(runId)), path_(std::move(path)), fd_(fd), sequence_(sequence) {}

RenameJournal::RenameJournal(RenameJournal&& other) noexcept {
    *this = std::move(other);
}

RenameJournal& RenameJournal::operator=(RenameJournal&& other) noexcept {
    if (this != &other) {
        release();
        runId_ = std::move(other.runId_);
        path_ = std::move(other.path_);
        fd_ = std::exchange(other.fd_, -1);
        sequence_ = other.sequence_;
        mapping_ = std::exchange(other.mapping_, nullptr);
        mappingLength_ = std::exchange(other.mappingLength_, 0);
        marks_ = std::exchange(other.marks_, nullptr);
        marksOffset_ = other.marksOffset_;
        markCount_ = std::exchange(other.markCount_, 0);
        doneCount_ = std::exchange(other.doneCount_, 0);
    }
    return *this;
}

RenameJournal::~RenameJournal() {
    release();
}

void RenameJournal::release() {
    if (mapping_)
        munmap(mapping_, mappingLength_);
    if (fd_ >= 0)
        ::close(fd_);
    mapping_ = marks_ = nullptr;
    fd_ = -1;
}

void RenameJournal::markDone(size_t index) {
    if (index >= markCount_)
        return;
    ++doneCount_;
    if (marks_)
        marks_[index] = kDone;
    else if (fd_ >= 0)
        (void)pwrite(fd_, &kDone, 1, static_cast<off_t>(marksOffset_ + index));
}

Result<void> RenameJournal::recordEdit(size_t index, const std::string& newPath, bool caseChange) {
    // One write, so a kill leaves the record whole or cut short, never torn apart.
    const std::string record = "edit " + std::to_string(index) + " " +
                               std::to_string(newPath.size()) + " " + (caseChange ? "c" : "w") +
                               "\n" + newPath + "\n";
    if (fd_ < 0 || !writeAll(fd_, record) || fdatasync(fd_) != 0)
        return systemFailure("cannot record the new name in the journal " + path_);
    return Result<void>::success();
}

bool RenameJournal::markEnd() {
    return fd_ >= 0 && writeAll(fd_, "end " + std::to_string(doneCount_) + "\n");
}

size_t JournalRecord::pairCount() const {
    return static_cast<size_t>(std::count_if(steps.begin(), steps.end(), [](const auto& step) {
        return step.kind != JournalStepKind::FromTemporary;
    }));
}

size_t JournalRecord::doneCount() const {
    size_t count = 0;
    for (size_t i = 0; i < steps.size(); ++i)
        count += done[i] && steps[i].kind != JournalStepKind::ToTemporary ? 1 : 0;
    return count;
}

bool JournalRecord::someUndone() const {
    return std::find(undone.begin(), undone.end(), true) != undone.end();
}

bool JournalRecord::mayNeedUndo() const {
    // A damaged journal is undone only when named: what it says after the
    // damage (its marks, its undo records) cannot be read.
    return !(undoComplete || damaged || endedWithNothingDone);
}

std::string JournalRecord::state() const {
    if (undoComplete)
        return "undone";
    if (damaged)
        return "damaged (" + damage + "; " + std::to_string(steps.size()) + " of " +
               std::to_string(plannedSteps) + " steps readable)";
    if (someUndone())
        return "partly undone";
    return ended ? "done" : "interrupted";
}

std::optional<JournalRecord> RenameJournalReader::read(const std::string& path) {
    auto text = std::make_shared<std::string>();
    if (!readWholeFile(path, *text))
        return std::nullopt;
    JournalRecord record = parseJournal(*text);
    record.text = std::move(text);
    const std::string name = path.substr(path.find_last_of('/') + 1);
    record.runId = name.substr(0, name.size() - kSuffix.size());
    return record;
}

std::vector<JournalRecord> RenameJournalReader::list(const std::string& folder) {
    std::vector<JournalRecord> records;
    DIR* dir = opendir(folder.c_str());
    if (!dir)
        return records;
    while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name.size() > kSuffix.size() && endsWith(name, kSuffix))
            if (auto record = read(folder + "/" + name))
                records.push_back(std::move(*record));
    }
    closedir(dir);
    std::sort(records.begin(), records.end(), [](const auto& a, const auto& b) {
        return a.sequence != b.sequence ? a.sequence < b.sequence : a.runId < b.runId;
    });
    return records;
}

std::optional<JournalRecord> RenameJournalReader::newestUndoable(const std::string& folder) {
    std::vector<std::pair<std::uint64_t, std::string>> candidates; // sequence, run
    if (DIR* dir = opendir(folder.c_str())) {
        while (const dirent* entry = readdir(dir)) {
            const std::string name = entry->d_name;
            if (name.size() > kSuffix.size() && endsWith(name, kSuffix))
                candidates.emplace_back(sequenceOf(folder + "/" + name),
                                        name.substr(0, name.size() - kSuffix.size()));
        }
        closedir(dir);
    }
    std::sort(candidates.rbegin(), candidates.rend());
    for (const auto& [sequence, runId] : candidates) {
        const std::string path = journalPath(folder, runId);
        if (endsWithUndoComplete(path))
            continue;
        if (auto record = read(path); record && record->mayNeedUndo())
            return record;
    }
    return std::nullopt;
}

UndoOutcome RenameJournalReader::undo(const std::string& folder, const std::string& runId) {
    const auto record = read(journalPath(folder, runId));
    if (!record) {
        UndoOutcome outcome;
        outcome.status = UndoOutcome::Status::NoSuchRun;
        outcome.problems.push_back({{}, "no readable journal for run " + runId});
        return outcome;
    }
    return undo(folder, *record);
}

UndoOutcome RenameJournalReader::undo(const std::string& folder, const JournalRecord& record) {
    UndoOutcome outcome;
    const std::string path = journalPath(folder, record.runId);
    // Nothing is moved unless the journal can say so.
    const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
    if (fd < 0 || !writeAll(fd, "undo-begin\n")) {
        outcome.status = UndoOutcome::Status::JournalUnwritable;
        outcome.problems.push_back({{}, errorText("cannot write the journal " + path)});
        if (fd >= 0)
            ::close(fd);
        return outcome;
    }
    StepUndo step{record, fd, outcome};
    bool recording = true;
    for (size_t i = record.steps.size(); recording && i-- > 0;)
        recording = step.run(i);
    recording = recording && step.flush();
    if (record.damaged)
        outcome.problems.push_back({{},
                                    "the journal is damaged (" + record.damage +
                                        "); only the steps before the damage were undone"});
    if (recording) {
        const bool complete = outcome.problems.empty();
        if (!((!complete || writeAll(fd, "undo-complete\n")) && fsync(fd) == 0))
            outcome.problems.push_back({{}, errorText("cannot record the undo in " + path)});
    }
    ::close(fd);
    outcome.status =
        outcome.problems.empty() ? UndoOutcome::Status::Complete : UndoOutcome::Status::Incomplete;
    return outcome;
}

} // namespace morvane
