#pragma once
// The roots: the paths the user added, in the order of adding.
//
// Legality is decided by path components (exact case): a path is refused when
// it equals a root, lies inside one, or contains one, so /a/b refuses /a/b/c
// and /a but not /a/bc. Two hash tables make every test independent of the
// number of roots: one holds each root's component key, the other every
// proper ancestor key of every root (with a count, so removal is exact). A
// test then costs one lookup per component of the new path.
//
// Component keys drop empty components, so "/a/b/" and "/a//b" are the same
// item as "/a/b" and refuse each other: listing one folder twice would rename
// its items twice.
//
// Removal is lazy: a removed text is remembered and its entries are squeezed
// out the next time the order is read, so removing many roots one by one
// stays linear.
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace morvane {

class RawFileList {
public:
    int count() const { return liveCount_; }
    const std::string& pathAtIndex(int index) const;
    // True when an equal text is in the list.
    bool contains(const std::string& path) const;
    // Removes every entry with an equal text.
    void removePath(const std::string& path);
    // Appends without any test; the caller tests with isLegalPath() first.
    void addPath(const std::string& path);
    const std::vector<std::string>& array() const;
    bool isLegalPath(const std::string& path) const;
    void removeAll();

    // The component key of a path: "/" then the non-empty components joined
    // by "/" ("/" alone for the file-system root); a relative path has no
    // leading "/".
    static std::string componentKey(std::string_view path);

private:
    struct StringHash {
        using is_transparent = void;
        size_t operator()(std::string_view text) const {
            return std::hash<std::string_view>{}(text);
        }
    };
    using CountTable = std::unordered_map<std::string, int, StringHash, std::equal_to<>>;

    // Calls visit(ancestorKey) for every proper ancestor of key, outermost first.
    template <typename Visit> static void forEachAncestor(std::string_view key, Visit&& visit);
    void addKeys(const std::string& path);
    void removeKeys(const std::string& path, int times);
    void compact() const;

    // Roots in order, still holding the entries of pendingRemovals_ until compact().
    mutable std::vector<std::string> files_;
    mutable std::unordered_set<std::string, StringHash, std::equal_to<>> pendingRemovals_;
    int liveCount_ = 0;
    CountTable texts_;     // root text -> how many entries have it
    CountTable keys_;      // root component key -> how many roots have it
    CountTable ancestors_; // proper ancestor key -> how many roots lie below it
};

} // namespace morvane
