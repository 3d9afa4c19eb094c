#include "MRVN7x/filelist/RawFileList.h"

namespace morvane {

std::string RawFileList::componentKey(std::string_view path) {
    std::string key;
    key.reserve(path.size());
    if (!path.empty() && path.front() == '/')
        key.push_back('/');
    size_t start = 0;
    while (start < path.size()) {
        size_t end = path.find('/', start);
        if (end == std::string_view::npos)
            end = path.size();
        if (end > start) {
            if (!key.empty() && key.back() != '/')
                key.push_back('/');
            key.append(path.substr(start, end - start));
        }
        start = end + 1;
    }
    return key;
}

// The ancestors of "/a/b/c" are "/", "/a" and "/a/b"; of "a/b" only "a".
template <typename Visit> void RawFileList::forEachAncestor(std::string_view key, Visit&& visit) {
    const bool absolute = !key.empty() && key.front() == '/';
    if (absolute && key.size() > 1)
        visit(key.substr(0, 1));
    for (size_t slash = key.find('/', 1); slash != std::string_view::npos;
         slash = key.find('/', slash + 1))
        visit(key.substr(0, slash));
}

const std::string& RawFileList::pathAtIndex(int index) const {
    compact();
    return order_[static_cast<size_t>(index)]->first;
}

bool RawFileList::contains(std::string_view path) const {
    const Counts* counts = countsOf(path);
    return counts && counts->roots > 0;
}

void RawFileList::removePath(const std::string& path) {
    const auto it = table_.find(path);
    if (it == table_.end() || it->second.roots == 0)
        return;
    const int times = it->second.roots;
    it->second.roots = 0;
    liveCount_ -= times;
    if (!it->second.leavingOrder) {
        it->second.leavingOrder = true; // also keeps the node while the order points to it
        leaving_.push_back(&*it);
    }
    changeKeyCounts(path, -times);
}

void RawFileList::addPath(const std::string& path) {
    if (const Counts* counts = countsOf(path); counts && counts->leavingOrder)
        compact(); // the removed entries leave before the new one arrives
    const auto it = table_.try_emplace(path).first;
    ++it->second.roots;
    order_.push_back(&*it);
    ++liveCount_;
    changeKeyCounts(path, 1);
}

std::vector<std::string> RawFileList::array() const {
    compact();
    std::vector<std::string> roots;
    roots.reserve(order_.size());
    for (const Node* node : order_)
        roots.push_back(node->first);
    return roots;
}

bool RawFileList::isLegalPath(const std::string& path) const {
    const std::string key = componentKey(path);
    if (key.empty())
        return false; // no item at all
    if (contains(path))
        return false;
    if (const Counts* counts = countsOf(key); counts && (counts->keys > 0 || counts->below > 0))
        return false; // the same item written otherwise, or it contains a root
    bool insideRoot = false;
    forEachAncestor(key, [&](std::string_view ancestor) {
        const Counts* counts = insideRoot ? nullptr : countsOf(ancestor);
        insideRoot = insideRoot || (counts && counts->keys > 0);
    });
    return !insideRoot;
}

void RawFileList::removeAll() {
    order_.clear();
    leaving_.clear();
    table_.clear();
    liveCount_ = 0;
}

const RawFileList::Counts* RawFileList::countsOf(std::string_view text) const {
    const auto it = table_.find(text);
    return it == table_.end() ? nullptr : &it->second;
}

// Adds by to the key count of path's component key and to the count below
// each of its ancestors.
void RawFileList::changeKeyCounts(const std::string& path, int by) {
    const std::string key = componentKey(path);
    auto change = [&](std::string_view text, std::int32_t Counts::*field) {
        auto it = table_.find(text);
        if (it == table_.end()) {
            if (by < 0)
                return;
            it = table_.emplace(std::string(text), Counts{}).first;
        }
        it->second.*field += by;
        if (by < 0)
            eraseIfUnused(it);
    };
    change(key, &Counts::keys);
    forEachAncestor(key, [&](std::string_view ancestor) { change(ancestor, &Counts::below); });
}

void RawFileList::eraseIfUnused(Table::iterator it) const {
    const Counts& counts = it->second;
    if (counts.roots == 0 && counts.keys == 0 && counts.below == 0 && !counts.leavingOrder)
        table_.erase(it);
}

void RawFileList::compact() const {
    if (leaving_.empty())
        return;
    std::erase_if(order_, [](const Node* node) { return node->second.leavingOrder; });
    for (Node* node : leaving_) {
        node->second.leavingOrder = false;
        eraseIfUnused(table_.find(node->first));
    }
    leaving_.clear();
}

} // namespace morvane
