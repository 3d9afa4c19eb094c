#pragma once
// Many texts kept together: the texts live in large blocks and the list holds
// a view of each, so a million paths cost their characters and 16 bytes each
// instead of a heap block and a string header each (about 100 bytes more per
// path, and as many allocations).
//
// A text's view stays valid until the list is cleared or destroyed, however
// many texts are added later, and reordering the list moves only the views.
// Each text is followed by a zero character in its block, so data() of a
// view of a path can be handed to a system call as it is. A list can take a
// text of another list without copying it (pushShared): both then hold the
// block, and it lives as long as either list needs it.
#include <algorithm>
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace morvane {

// Puts values in the order given (order[i] is the old index of the new i-th
// value) by following the permutation's cycles: one bit per value of room
// instead of a second array.
template <typename Values, typename Index>
void reorderInPlace(Values& values, const std::vector<Index>& order) {
    std::vector<bool> placed(order.size());
    for (size_t start = 0; start < order.size(); ++start) {
        if (placed[start])
            continue;
        auto first = std::move(values[start]);
        for (size_t at = start;;) {
            placed[at] = true;
            const auto from = static_cast<size_t>(order[at]);
            if (from == start) {
                values[at] = std::move(first);
                break;
            }
            values[at] = std::move(values[from]);
            at = from;
        }
    }
}

template <typename Char> class BasicTextList {
public:
    using View = std::basic_string_view<Char>;

    BasicTextList() = default;
    BasicTextList(BasicTextList&& other) noexcept { *this = std::move(other); }
    BasicTextList& operator=(BasicTextList&& other) noexcept {
        views_ = std::exchange(other.views_, {});
        blocks_ = std::exchange(other.blocks_, {});
        lastShared_ = std::exchange(other.lastShared_, nullptr);
        next_ = std::exchange(other.next_, nullptr);
        room_ = std::exchange(other.room_, 0);
        used_ = std::exchange(other.used_, 0);
        return *this;
    }
    BasicTextList(const BasicTextList&) = delete;
    BasicTextList& operator=(const BasicTextList&) = delete;

    void reserve(size_t count) { views_.reserve(count); }
    void shrinkToFit() { views_.shrink_to_fit(); }
    void push_back(View text) { views_.push_back(stored(text)); }
    // Adds the text at index of other without copying it. The blocks of
    // other are taken on each time it has a new one: a view of a finished
    // list costs no more than its own 16 bytes.
    void pushShared(const BasicTextList& other, size_t index) {
        if (other.blocks_.back().get() != lastShared_) {
            blocks_.insert(blocks_.end(), other.blocks_.begin(), other.blocks_.end());
            lastShared_ = other.blocks_.back().get();
        }
        views_.push_back(other.views_[index]);
    }
    void clear() { *this = BasicTextList(); }

    size_t size() const { return views_.size(); }
    bool empty() const { return views_.empty(); }
    View operator[](size_t index) const { return views_[index]; }
    auto begin() const { return views_.begin(); }
    auto end() const { return views_.end(); }

    // Reorders the texts: order[i] is the old index of the new i-th text.
    template <typename Index> void reorder(const std::vector<Index>& order) {
        reorderInPlace(views_, order);
    }

private:
    // Blocks grow with the list up to 1 MiB, so a short list stays small and
    // a long one is allocated in few large pieces.
    static constexpr size_t kSmallestBlock = 256, kLargestBlock = (1u << 20) / sizeof(Char);

    View stored(View text) {
        const size_t needed = text.size() + 1;
        if (needed > room_) {
            const size_t wanted = std::clamp(used_, kSmallestBlock, kLargestBlock);
            const size_t size = std::max(wanted, needed);
            blocks_.push_back(std::make_shared_for_overwrite<Char[]>(size));
            next_ = blocks_.back().get();
            room_ = size;
        }
        Char* at = next_;
        std::copy(text.begin(), text.end(), at);
        at[text.size()] = Char();
        next_ += needed;
        room_ -= needed;
        used_ += needed;
        return View(at, text.size());
    }

    std::vector<View> views_;
    std::vector<std::shared_ptr<Char[]>> blocks_; // its own and those it shares
    const Char* lastShared_ = nullptr;            // the newest block taken from another list
    Char* next_ = nullptr;
    size_t room_ = 0; // characters left in the newest block
    size_t used_ = 0; // characters stored in all blocks
};

using TextList = BasicTextList<char>;
using U16TextList = BasicTextList<char16_t>;

} // namespace morvane
