#pragma once
// Many texts kept together: the texts live in large blocks and the list holds
// a view of each, so a million paths cost their characters and 16 bytes each
// instead of a heap block and a string header each (about 100 bytes more per
// path, and as many allocations).
//
// A text's view stays valid until the list is cleared or destroyed, however
// many texts are added later, and reordering the list moves only the views.
// Each text is followed by a zero character in its block, so data() of a
// view of a path can be handed to a system call as it is.
#include <algorithm>
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace morvane {

template <typename Char> class BasicTextList {
public:
    using View = std::basic_string_view<Char>;

    BasicTextList() = default;
    BasicTextList(BasicTextList&& other) noexcept { *this = std::move(other); }
    BasicTextList& operator=(BasicTextList&& other) noexcept {
        views_ = std::exchange(other.views_, {});
        blocks_ = std::exchange(other.blocks_, {});
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
    void clear() { *this = BasicTextList(); }

    size_t size() const { return views_.size(); }
    bool empty() const { return views_.empty(); }
    View operator[](size_t index) const { return views_[index]; }
    auto begin() const { return views_.begin(); }
    auto end() const { return views_.end(); }

    // Reorders the texts: order[i] is the old index of the new i-th text.
    template <typename Index> void permute(const std::vector<Index>& order) {
        std::vector<View> views;
        views.reserve(order.size());
        for (Index index : order)
            views.push_back(views_[static_cast<size_t>(index)]);
        views_ = std::move(views);
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
            blocks_.push_back(std::make_unique_for_overwrite<Char[]>(size));
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
    std::vector<std::unique_ptr<Char[]>> blocks_;
    Char* next_ = nullptr;
    size_t room_ = 0; // characters left in the newest block
    size_t used_ = 0; // characters stored in all blocks
};

using TextList = BasicTextList<char>;
using U16TextList = BasicTextList<char16_t>;

} // namespace morvane
