#pragma once
// The items to rename: the roots of a RawFileList expanded by three switches
// (files, folders, descend into subfolders), in the order of the main sort.
//
// Expansion (update):
//   - every root is an entry when it qualifies (a file with files included, a
//     folder with folders included); roots are never hidden, never refused by
//     the cut-off, and a hidden root is listed but not entered;
//   - below the roots, ".DS_Store" and names beginning with "." are neither
//     listed nor entered;
//   - a folder is entered when descending is on and it is not likely to be a
//     bundle; its names are taken in byte order, so the expansion order (and
//     with it the items that a cut-off preview shows) is the same on every
//     file system;
//   - with the cut-off on, an item that qualifies while the list already holds
//     more than 249 entries ends its folder level and sets the cut-off flag;
//     nothing is added after that, so the descent stops there;
//   - a folder that cannot be opened or read contributes nothing;
//   - a path that no longer exists counts as an item that is not a folder.
//
// Symbolic links are never followed, neither for roots nor below them: a link
// is an item that is not a folder (an entry when files are included, whatever
// it points to), and renaming it renames the link. Following links would list
// items outside the dropped folders, list items twice, and loop forever on a
// link to an enclosing folder. A folder that is already being descended
// (reached again through a bind mount) is not entered a second time.
//
// Indexes: an internal index is a position in expansion order, an external
// index a position in the main sort's order. Paths are found by a hash index
// built on the first lookup after an update, so every lookup is constant
// expected time; a caller that knows the entry's index gives it as a hint.
//
// Sorts: one DynamicSort per pair of modes, made on first use (a new list
// allocates none); every mode outside 0 to 11 orders nothing and shares the
// sort objects of mode 12. At every update all existing sorts are marked out
// of date and the main sort is computed; the others are computed when next
// asked.
//
// Threads: update() and every query run on one thread at a time (the main
// thread for the preview, the rename run's worker while the main thread
// waits). Progress goes to the receiver on the expanding thread.
#include "MRVN7x/actions/FileInformation.h"
#include "MRVN7x/actions/SortingIndex.h"
#include "MRVN7x/filelist/DynamicSort.h"
#include "MRVN7x/filelist/FileListProgressReceiver.h"
#include "MRVN7x/filelist/NaturalNameCollator.h"
#include "MRVN7x/filelist/PathIndex.h"
#include "platform/FileOperations.h"
#include "platform/ItemIdentities.h"
#include "platform/TextList.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace morvane {

class RawFileList;

class DynamicFileList final : public SortingIndex {
public:
    static constexpr int kCutOff = 250;
    static constexpr int kNotFound = -1;
    static constexpr std::int32_t kModeCount = 12;

    explicit DynamicFileList(FileInformation& files);
    ~DynamicFileList();
    DynamicFileList(const DynamicFileList&) = delete;
    DynamicFileList& operator=(const DynamicFileList&) = delete;

    // The list to expand; not owned.
    void setRawFileList(RawFileList* rawFileList) { rawFileList_ = rawFileList; }
    RawFileList* currentRawFileList() const { return rawFileList_; }

    // The switches take effect at the next update().
    void setProcessFiles(std::int32_t flag) { processFiles_ = flag; }
    void setProcessFolders(std::int32_t flag) { processFolders_ = flag; }
    void setProcessSubFolders(std::int32_t flag) { processSubfolders_ = flag; }
    void setSortingMode(std::int32_t mode) { sortingMode_ = mode; }
    void setSortingMode2(std::int32_t mode) { sortingMode2_ = mode; }
    std::int32_t getSortingMode() const { return sortingMode_; }
    std::int32_t getSortingMode2() const { return sortingMode2_; }

    // The receiver of progress for the expansions that follow (none to stop).
    void setProgressController(FileListProgressReceiver* receiver);
    void setProgressController(std::nullptr_t) {
        setProgressController(static_cast<FileListProgressReceiver*>(nullptr));
    }

    void setApplyCutOff(bool apply) { applyCutOff_ = apply; }
    // With the cut-off, take each folder's names in the order the folder
    // lists them and stop reading it at the cut-off, instead of reading it
    // whole for its first names in byte order. Which entries the list then
    // holds depends on the file system; how many, and whether the cut-off
    // was applied, do not. For a look that asks only that.
    void setFolderOrder(bool inFolderOrder) { folderOrder_ = inFolderOrder; }
    bool applyCutOff() const { return applyCutOff_; }
    bool cutOffPointWasActuallyApplied() const { return cutOffPointWasActuallyAppliedFlag_; }

    // Expands the raw list and computes the main sort; earlier indexes become invalid.
    void update();
    // Frees the identities and the sorts' orders once a run's plan holds what
    // it needs of them; the orders are made again when next asked for, the
    // identities at the next update. A run over a million files so does not
    // hold them through its renames.
    void releaseIdentitiesAndOrders();

    int count() const { return static_cast<int>(fileList_.size()); }
    // The entry at an external index (the empty text outside 0 to count() - 1),
    // valid until the next update.
    std::string_view pathAtIndex(int index);
    // What the entry at an external index was when the list was expanded
    // (device, inode, type; the folder listing gives the inode of most
    // entries, so this costs no extra call per file). Empty outside the list.
    ItemIdentity identityAtIndex(int index);
    ItemIdentity identityAtInternalIndex(int internal) const;
    // Whether the entry at an external index is itself a root.
    bool isRoot(int index);

    bool folderIsLikelyToBeABundle(const std::string& path) const;
    // One level of the expansion: elements are names below rootPath, or
    // paths when rootPath is null (nothing is appended at that level).
    void filterFileList(const std::vector<std::string>& elements, TextList& target,
                        const std::string* rootPath);

    int getSortingIndexForPath(const std::string& path, std::int32_t mode, std::int32_t mode2,
                               bool eachFolderSeparately, int indexHint = -1) override;

    // For the sort objects.
    DynamicSort& getMainSort();
    DynamicSort& sortFor(std::int32_t mode, std::int32_t mode2);
    std::string_view pathAtInternalIndex(int index) const;
    // Every entry by internal index.
    const TextList& paths() const { return fileList_; }
    // The internal index of path: indexHint when it is that entry's (no search).
    int internalIndexOfPath(std::string_view path, int indexHint = -1) const;
    int translateExternalIndexToInternal(int position);
    int translateInternalIndexToExternal(int internalIndex);
    void performSort();
    FileInformation& fileManager() { return fm_; }
    NaturalNameCollator& naturalNameCollator() { return collator_; }
    // The rank of every entry under mode (empty for a mode that orders
    // nothing), read once per update and shared by every sort with that mode.
    const std::vector<std::uint32_t>& ranksUnder(std::int32_t mode);

    // How many sort objects exist so far (for tests and diagnostics).
    int allocatedSortCount() const;

private:
    // A name or path with what the folder listing said about its type.
    struct Element {
        std::string_view text;   // held by the caller of filterLevel
        unsigned char type;      // a dirent d_type; DT_UNKNOWN when not known
        std::uint64_t inode = 0; // from the folder listing; 0 when not known
    };
    struct FolderIdentity {
        std::uint64_t device;
        std::uint64_t inode;
        bool operator==(const FolderIdentity&) const = default;
    };
    static constexpr std::int32_t kSlots = kModeCount + 1; // the last serves every other mode

    void filterLevel(std::span<const Element> elements, TextList& target,
                     const std::string* rootPath);
    void filterInByteOrder(std::vector<Element>& elements, TextList& target,
                           const std::string& folder);
    void descendInto(const std::string& folder, TextList& target);
    bool qualifies(bool isFolder) const;
    void addEntry(TextList& target, const std::string& path, const Element& element, bool folder);
    bool nothingMoreCanBeAdded(const TextList& target) const;
    static std::int32_t slotOf(std::int32_t mode);

    FileInformation& fm_;
    RawFileList* rawFileList_ = nullptr;
    FileListProgressReceiver* progressController_ = nullptr;
    std::int32_t processFolders_ = 0;
    std::int32_t processFiles_ = 0;
    std::int32_t processSubfolders_ = 0;
    std::int32_t sortingMode_ = 10;
    std::int32_t sortingMode2_ = 0;
    // The main sort's row and column, fixed at update().
    std::int32_t mainMode_ = 10;
    std::int32_t mainMode2_ = 0;
    bool applyCutOff_ = true;
    bool folderOrder_ = false;
    bool cutOffPointWasActuallyAppliedFlag_ = false;
    TextList fileList_;              // by internal index
    ItemIdentities identities_;      // by internal index
    std::uint64_t listedDevice_ = 0; // the device of the folder being listed
    // Built when a path is first looked up without a right hint (most
    // lookups have one): a preview or a run then needs none.
    mutable std::mutex pathIndexMutex_;
    mutable std::optional<TextListIndex> pathIndex_;
    std::vector<FolderIdentity> foldersBeingDescended_;
    std::array<std::unique_ptr<DynamicSort>, kSlots * kSlots> sorts_;
    std::array<std::optional<std::vector<std::uint32_t>>, kSlots> ranks_;
    NaturalNameCollator collator_;
};

} // namespace morvane
