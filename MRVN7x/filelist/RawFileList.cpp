#include "MRVN7x/filelist/RawFileList.h"

namespace morvane {
namespace {
void increment(auto& table, std::string_view key, int by) {
    if (auto it = table.find(key); it != table.end()) {
        it->second += by;
        return;
    }
    table.emplace(std::string(key), by);
}

void decrement(auto& table, std::string_view key, int by) {
    auto it = table.find(key);
    if (it == table.end())
        return;
    it->second -= by;
    if (it->second <= 0)
        table.erase(it);
}

bool holds(const auto& table, std::string_view key) {
    return table.find(key) != table.end();
}
} // namespace

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
    return files_[static_cast<size_t>(index)];
}

bool RawFileList::contains(const std::string& path) const {
    return holds(texts_, path);
}

void RawFileList::removePath(const std::string& path) {
    auto it = texts_.find(path);
    if (it == texts_.end())
        return;
    const int times = it->second;
    texts_.erase(it);
    removeKeys(path, times);
    liveCount_ -= times;
    pendingRemovals_.insert(path);
}

void RawFileList::addPath(const std::string& path) {
    if (pendingRemovals_.contains(path))
        compact(); // the old entries go before the new one arrives
    files_.push_back(path);
    ++liveCount_;
    increment(texts_, path, 1);
    addKeys(path);
}

const std::vector<std::string>& RawFileList::array() const {
    compact();
    return files_;
}

bool RawFileList::isLegalPath(const std::string& path) const {
    const std::string key = componentKey(path);
    if (key.empty())
        return false; // no item at all
    if (contains(path) || holds(keys_, key) || holds(ancestors_, key))
        return false; // the same item, or it contains a root
    bool insideRoot = false;
    forEachAncestor(
        key, [&](std::string_view ancestor) { insideRoot = insideRoot || holds(keys_, ancestor); });
    return !insideRoot;
}

void RawFileList::removeAll() {
    files_.clear();
    pendingRemovals_.clear();
    liveCount_ = 0;
    texts_.clear();
    keys_.clear();
    ancestors_.clear();
}

void RawFileList::addKeys(const std::string& path) {
    const std::string key = componentKey(path);
    increment(keys_, key, 1);
    forEachAncestor(key, [&](std::string_view ancestor) { increment(ancestors_, ancestor, 1); });
}

void RawFileList::removeKeys(const std::string& path, int times) {
    const std::string key = componentKey(path);
    decrement(keys_, key, times);
    forEachAncestor(key,
                    [&](std::string_view ancestor) { decrement(ancestors_, ancestor, times); });
}

void RawFileList::compact() const {
    if (pendingRemovals_.empty())
        return;
    std::erase_if(files_, [&](const std::string& path) { return pendingRemovals_.contains(path); });
    pendingRemovals_.clear();
}

} // namespace morvane
