#pragma once
// The roots: the paths the user added, in the order of adding.
//
// Legality is decided by path components (exact case): a path is refused when
// it equals a root, lies inside one, or contains one, so /a/b refuses /a/b/c
// and /a but not /a/bc. One hash table makes every test independent of the
// number of roots. Per text it counts how many roots have that text, how
// many have it as their component key, and how many lie below it (it is a
// proper ancestor of their key). A test then costs one lookup per component
// of the new path. The order is a vector of pointers to the table's texts,
// so each root's text is stored once.
//
// Component keys drop empty components, so "/a/b/" and "/a//b" are the same
// item as "/a/b" and refuse each other: listing one folder twice would rename
// its items twice.
//
// Removal is lazy: a removed text is marked and its entries leave the order
// the next time the order is read, so removing many roots one by one stays
// linear.
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace morvane {

class RawFileList {
public:
    RawFileList() = default;
    RawFileList(const RawFileList&) = delete;
    RawFileList& operator=(const RawFileList&) = delete;

    int count() const { return liveCount_; }
    const std::string& pathAtIndex(int index) const;
    // True when an equal text is in the list.
    bool contains(std::string_view path) const;
    // Removes every entry with an equal text.
    void removePath(const std::string& path);
    // Appends without any test; the caller tests with isLegalPath() first.
    void addPath(const std::string& path);
    // A copy of the roots in order (count() and pathAtIndex() read them without one).
    std::vector<std::string> array() const;
    bool isLegalPath(const std::string& path) const;
    void removeAll();

    // The component key of a path: "/" then the non-empty components joined
    // by "/" ("/" alone for the file-system root); a relative path has no
    // leading "/".
    static std::string componentKey(std::string_view path);

private:
    struct Counts {
        std::int32_t roots = 0; // roots with this text
        std::int32_t keys = 0;  // roots with this component key
        std::int32_t below = 0; // roots whose key lies below this one
        bool leavingOrder = false;
    };
    struct StringHash {
        using is_transparent = void;
        size_t operator()(std::string_view text) const {
            return std::hash<std::string_view>{}(text);
        }
    };
    using Table = std::unordered_map<std::string, Counts, StringHash, std::equal_to<>>;
    using Node = Table::value_type;

    // Calls visit(ancestorKey) for every proper ancestor of key, outermost first.
    template <typename Visit> static void forEachAncestor(std::string_view key, Visit&& visit);
    const Counts* countsOf(std::string_view text) const;
    void changeKeyCounts(const std::string& path, int by);
    void eraseIfUnused(Table::iterator it) const;
    void compact() const;

    mutable Table table_;
    // Roots in order (node addresses stay valid while the table grows); nodes
    // marked leavingOrder are dropped by compact().
    mutable std::vector<Node*> order_;
    mutable std::vector<Node*> leaving_;
    int liveCount_ = 0;
};

} // namespace morvane
