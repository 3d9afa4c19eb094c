#include "MRVN7x/filelist/DynamicFileList.h"

#include "MRVN7x/filelist/RawFileList.h"
#include "MRVN7x/filelist/SortingModeValues.h"
#include "platform/HelperThread.h"
#include "platform/PathText.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace morvane {
namespace {
struct NameSpan {
    size_t offset;
    size_t length;
    unsigned char type;
    std::uint64_t inode;
};

struct CloseFolder {
    void operator()(DIR* dir) const { closedir(dir); }
};
using OpenFolder = std::unique_ptr<DIR, CloseFolder>;

enum class Reading { More, End, Failed };

// The next names of an open folder but "." and "..", at most limit of them
// (0: all that are left).
Reading readNames(DIR* dir, size_t limit, std::string& names, std::vector<NameSpan>& spans) {
    while (limit == 0 || spans.size() < limit) {
        errno = 0;
        const dirent* item = readdir(dir);
        if (!item)
            return errno == 0 ? Reading::End : Reading::Failed;
        const std::string_view name(item->d_name);
        if (name != "." && name != "..") {
            spans.push_back({names.size(), name.size(), item->d_type, item->d_ino});
            names.append(name);
        }
    }
    return Reading::More;
}

// The names read, as elements of a level (views into names).
template <typename Element>
std::vector<Element> elementsOf(const std::string& names, const std::vector<NameSpan>& spans) {
    std::vector<Element> elements;
    elements.reserve(spans.size());
    for (const NameSpan& span : spans)
        elements.push_back(
            {std::string_view(names).substr(span.offset, span.length), span.type, span.inode});
    return elements;
}

// The names a piece at a time as the folder lists them, each piece handed
// to take, until the folder ends or take answers false. The folder is closed
// as soon as it is read to the end, before its last piece is taken, so a
// descent keeps a folder open only where it has more than a piece of names.
// A folder that fails partway keeps what it gave before.
template <typename Element, typename Take> void readInPieces(OpenFolder dir, Take&& take) {
    constexpr size_t kPiece = 512;
    for (;;) {
        std::string names;
        std::vector<NameSpan> spans;
        const Reading reading = readNames(dir.get(), kPiece, names, spans);
        if (reading != Reading::More)
            dir.reset();
        if (reading == Reading::Failed || !take(elementsOf<Element>(names, spans)) || !dir)
            return;
    }
}

// The item itself, a symbolic link not followed; a missing item is no folder.
bool isFolderPath(const std::string& path) {
    struct stat info {};
    return lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool isFolder(const std::string& path, unsigned char type) {
    if (type == DT_UNKNOWN)
        return isFolderPath(path);
    return type == DT_DIR;
}

bool exists(const std::string& path) {
    struct stat info {};
    return lstat(path.c_str(), &info) == 0;
}

bool hasBundleEnding(std::string_view path) {
    static constexpr std::string_view endings[] = {".app",  ".bundle", ".plugin",
                                                   ".kext", ".rtfd",   ".band"};
    while (path.size() > 1 && path.back() == '/')
        path.remove_suffix(1);
    std::string lower(path.substr(path.size() > 8 ? path.size() - 8 : 0));
    for (auto& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return std::any_of(std::begin(endings), std::end(endings),
                       [&](std::string_view ending) { return lower.ends_with(ending); });
}

// Linux keeps no registry of package types, so a folder counts as a possible
// package when its name carries an extension (letters and digits after the
// last dot, at least one letter): "Report.pages", "Library.photoslibrary".
// Whether it is one is then decided by its bundle items.
bool mayBeAPackage(const std::string& path) {
    const std::string name = PathText::lastComponent(path);
    const size_t dot = name.find_last_of('.');
    if (dot == std::string::npos || dot == 0 || dot + 1 == name.size())
        return false;
    const std::string_view extension = std::string_view(name).substr(dot + 1);
    if (extension.size() > 24)
        return false;
    bool hasLetter = false;
    for (const char c : extension) {
        const auto byte = static_cast<unsigned char>(c);
        if (!std::isalnum(byte))
            return false;
        hasLetter = hasLetter || std::isalpha(byte);
    }
    return hasLetter;
}
} // namespace

DynamicFileList::DynamicFileList(FileInformation& files) : fm_(files) {}

DynamicFileList::~DynamicFileList() = default;

void DynamicFileList::setProgressController(FileListProgressReceiver* receiver) {
    progressController_ = receiver;
}

void DynamicFileList::update() {
    cutOffPointWasActuallyAppliedFlag_ = false;
    TextList entries;
    std::vector<Element> roots;
    identities_.clear();
    if (rawFileList_) {
        const int rootCount = rawFileList_->count();
        roots.reserve(static_cast<size_t>(rootCount));
        entries.reserve(static_cast<size_t>(rootCount));
        for (int i = 0; i < rootCount; ++i) {
            const std::string& root = rawFileList_->pathAtIndex(i);
            const auto identity = FileOperations::identityOf(root);
            const bool folder = identity && identity->type == 'd';
            if (qualifies(folder)) {
                entries.push_back(root);
                identities_.push_back(identity.value_or(ItemIdentity{}));
            }
            roots.push_back({root, static_cast<unsigned char>(folder ? DT_DIR : DT_REG)});
        }
    }
    foldersBeingDescended_.clear();
    filterLevel(roots, entries, nullptr);

    pathIndex_.reset();
    fileList_ = std::move(entries);
    fileList_.shrinkToFit();
    identities_.resize(fileList_.size());
    identities_.shrinkToFit();
    mainMode_ = sortingMode_;
    mainMode2_ = sortingMode2_;
    ranks_ = {};
    for (auto& sort : sorts_)
        if (sort)
            sort->markIndexesAsDirty();
    performSort();
}

void DynamicFileList::releaseIdentitiesAndOrders() {
    identities_ = {};
    ranks_ = {};
    for (auto& sort : sorts_)
        if (sort)
            sort->markIndexesAsDirty();
}

void DynamicFileList::filterFileList(const std::vector<std::string>& elements, TextList& target,
                                     const std::string* rootPath) {
    std::vector<Element> typed;
    typed.reserve(elements.size());
    for (const auto& element : elements)
        typed.push_back({element, DT_UNKNOWN, 0});
    filterLevel(typed, target, rootPath);
}

// One level of the expansion. rootPath is null at the level of the roots,
// which were already listed by update() and are only descended into here.
void DynamicFileList::filterLevel(std::span<const Element> elements, TextList& target,
                                  const std::string* rootPath) {
    std::string path;            // one buffer for the level: a folder may hold a million names
    constexpr size_t kAhead = 8; // sorted names lie all over the listing's buffer
    for (size_t k = 0; k < elements.size(); ++k) {
        if (k + kAhead < elements.size())
            __builtin_prefetch(elements[k + kAhead].text.data());
        const Element& element = elements[k];
        if (nothingMoreCanBeAdded(target))
            return;
        if (element.text == ".DS_Store")
            continue;
        const bool hidden =
            rootPath ? element.text.starts_with('.')
                     : PathText::lastComponent(std::string(element.text)).starts_with('.');
        if (hidden)
            continue;
        if (rootPath)
            PathText::join(*rootPath, element.text, path);
        else
            path.assign(element.text);
        const bool folder = isFolder(path, element.type);
        if (rootPath && qualifies(folder)) {
            if (applyCutOff_ && target.size() > static_cast<size_t>(kCutOff - 1)) {
                cutOffPointWasActuallyAppliedFlag_ = true;
                return;
            }
            addEntry(target, path, element, folder);
            if (progressController_) {
                progressController_->setTotalNumberOfFiles(static_cast<int>(target.size()));
                progressController_->setLastPathProcessed(path);
            }
        }
        if (processSubfolders_ && folder && !folderIsLikelyToBeABundle(path))
            descendInto(path, target);
    }
}

// Lists a folder (never through a symbolic link, never one that is already
// being descended) and runs a level over its names in byte order. A folder
// that cannot be opened or read to the end contributes nothing.
void DynamicFileList::descendInto(const std::string& folder, TextList& target) {
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return;
    struct stat info {};
    if (fstat(fd, &info) != 0) {
        close(fd);
        return;
    }
    const FolderIdentity identity{static_cast<std::uint64_t>(info.st_dev),
                                  static_cast<std::uint64_t>(info.st_ino)};
    if (std::find(foldersBeingDescended_.begin(), foldersBeingDescended_.end(), identity) !=
        foldersBeingDescended_.end()) {
        close(fd);
        return;
    }
    OpenFolder dir(fdopendir(fd));
    if (!dir) {
        close(fd);
        return;
    }
    foldersBeingDescended_.push_back(identity);
    const std::uint64_t outerDevice = std::exchange(listedDevice_, identity.device);
    if (folderOrder_ && applyCutOff_) {
        // A folder of a million files is not read whole to learn that it
        // holds more than the cut-off.
        readInPieces<Element>(std::move(dir), [&](const std::vector<Element>& elements) {
            filterLevel(elements, target, &folder);
            return !nothingMoreCanBeAdded(target);
        });
    } else {
        // The names go into one buffer: a folder of 100,000 files costs a few
        // allocations, not one per name. The folder is closed before the
        // descent, so a deep tree does not hold a descriptor per level.
        std::string names;
        std::vector<NameSpan> spans;
        const Reading reading = readNames(dir.get(), 0, names, spans);
        dir.reset();
        if (reading == Reading::End) {
            std::vector<Element> elements = elementsOf<Element>(names, spans);
            filterInByteOrder(elements, target, folder);
        }
    }
    listedDevice_ = outerDevice;
    foldersBeingDescended_.pop_back();
}

// With the cut-off a big folder usually gives only its first few hundred
// names: those are picked out in order first, and the rest is sorted only
// if the walk gets beyond them.
void DynamicFileList::filterInByteOrder(std::vector<Element>& elements, TextList& target,
                                        const std::string& folder) {
    const auto byName = [](const Element& a, const Element& b) { return a.text < b.text; };
    auto rest = elements.begin();
    if (applyCutOff_) {
        rest += static_cast<std::ptrdiff_t>(std::min<size_t>(elements.size(), kCutOff + 1));
        std::partial_sort(elements.begin(), rest, elements.end(), byName);
        filterLevel({elements.begin(), rest}, target, &folder);
        if (rest == elements.end() || nothingMoreCanBeAdded(target))
            return;
    }
    // Names in one folder never tie. A disk's listing comes in hash order, so
    // a big folder's sort is real work: it takes both cores.
    constexpr std::ptrdiff_t kSharedFrom = 16384;
    sortOnTwoThreads(rest, elements.end(), byName, kSharedFrom);
    filterLevel({rest, elements.end()}, target, &folder);
}

// An entry and its identity. The listing's inode serves for everything but a
// folder, which may be a mount point (the listing then names the inode below
// it): a folder, or an entry the listing said nothing about, is looked at.
void DynamicFileList::addEntry(TextList& target, const std::string& path, const Element& element,
                               bool folder) {
    ItemIdentity identity{listedDevice_, element.inode,
                          FileOperations::typeOfDirentType(element.type)};
    if (folder || element.inode == 0 || identity.type == 0)
        identity = FileOperations::identityOf(path).value_or(ItemIdentity{});
    target.push_back(path);
    identities_.resize(target.size() - 1);
    identities_.push_back(identity);
}

bool DynamicFileList::qualifies(bool isFolder) const {
    return isFolder ? processFolders_ != 0 : processFiles_ != 0;
}

// Once the cut-off has refused an item, every later item that qualifies is
// refused too (the list only grows), so the rest of the descent can be skipped.
bool DynamicFileList::nothingMoreCanBeAdded(const TextList& target) const {
    return applyCutOff_ && cutOffPointWasActuallyAppliedFlag_ &&
           target.size() > static_cast<size_t>(kCutOff - 1);
}

bool DynamicFileList::folderIsLikelyToBeABundle(const std::string& path) const {
    if (hasBundleEnding(path))
        return true;
    if (!mayBeAPackage(path))
        return false;
    for (const char* item : {"Contents", "Info.plist", "PkgInfo"})
        if (exists(PathText::join(path, item)))
            return true;
    return false;
}

std::string_view DynamicFileList::pathAtIndex(int index) {
    const int internal = translateExternalIndexToInternal(index);
    return internal < 0 ? std::string_view() : fileList_[static_cast<size_t>(internal)];
}

ItemIdentity DynamicFileList::identityAtIndex(int index) {
    return identityAtInternalIndex(translateExternalIndexToInternal(index));
}

ItemIdentity DynamicFileList::identityAtInternalIndex(int internal) const {
    return internal < 0 || static_cast<size_t>(internal) >= identities_.size()
               ? ItemIdentity{}
               : identities_[static_cast<size_t>(internal)];
}

bool DynamicFileList::isRoot(int index) {
    const int internal = translateExternalIndexToInternal(index);
    return internal >= 0 && rawFileList_ &&
           rawFileList_->contains(fileList_[static_cast<size_t>(internal)]);
}

int DynamicFileList::getSortingIndexForPath(const std::string& path, std::int32_t mode,
                                            std::int32_t mode2, bool eachFolderSeparately,
                                            int indexHint) {
    return sortFor(mode, mode2).getSortingIndexForPath(path, eachFolderSeparately, indexHint);
}

DynamicSort& DynamicFileList::getMainSort() {
    return sortFor(mainMode_, mainMode2_);
}

std::int32_t DynamicFileList::slotOf(std::int32_t mode) {
    return SortingModeValues::isKnownMode(mode) ? mode : kModeCount;
}

DynamicSort& DynamicFileList::sortFor(std::int32_t mode, std::int32_t mode2) {
    const std::int32_t row = slotOf(mode);
    const std::int32_t column = slotOf(mode2);
    auto& sort = sorts_[static_cast<size_t>(row * kSlots + column)];
    if (!sort) {
        sort = std::make_unique<DynamicSort>();
        sort->setDynamicFileList(this);
        sort->setSortingMode(row);
        sort->setSortingMode2(column);
    }
    return *sort;
}

std::string_view DynamicFileList::pathAtInternalIndex(int index) const {
    if (index < 0 || index >= count())
        return {};
    return fileList_[static_cast<size_t>(index)];
}

int DynamicFileList::internalIndexOfPath(std::string_view path, int indexHint) const {
    if (indexHint >= 0 && static_cast<size_t>(indexHint) < fileList_.size() &&
        fileList_[static_cast<size_t>(indexHint)] == path)
        return indexHint;
    std::lock_guard lock(pathIndexMutex_); // naming may run on two threads
    if (!pathIndex_)
        pathIndex_ = indexOfTexts(fileList_);
    return pathIndex_->find(path);
}

int DynamicFileList::translateExternalIndexToInternal(int position) {
    return getMainSort().translateExternalIndexToInternal(position);
}

int DynamicFileList::translateInternalIndexToExternal(int internalIndex) {
    return getMainSort().translateInternalIndexToExternal(internalIndex);
}

const std::vector<std::uint32_t>& DynamicFileList::ranksUnder(std::int32_t mode) {
    auto& ranks = ranks_[static_cast<size_t>(slotOf(mode))];
    if (!ranks) {
        ranks.emplace();
        if (SortingModeValues::isKnownMode(mode)) {
            auto pathAt = [this](size_t i) { return fileList_[i]; };
            *ranks = SortingModeValues(mode, fileList_.size(), pathAt, fm_, collator_).ranks();
        }
    }
    return *ranks;
}

void DynamicFileList::performSort() {
    getMainSort().performSort();
}

int DynamicFileList::allocatedSortCount() const {
    return static_cast<int>(std::count_if(sorts_.begin(), sorts_.end(),
                                          [](const auto& sort) { return sort != nullptr; }));
}

} // namespace morvane
