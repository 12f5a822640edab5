#include "platform/core/text_arena.h"

#include <algorithm>
#include <cstring>

namespace kw {

void TTextArena::AddBlock(size_t atLeast) {
    Block block;
    block.size = std::max(kBlockUnits, atLeast);
    block.data = std::make_unique_for_overwrite<Char[]>(block.size);
    blocks_.push_back(std::move(block));
    top_ = 0;
}

Char* TTextArena::Allocate(size_t units) {
    if (blocks_.empty() || blocks_.back().size - top_ < units)
        AddBlock(units);
    Char* start = blocks_.back().data.get() + top_;
    top_ += units;
    total_ += units;
    return start;
}

void TTextArena::Shrink(const Char* start, size_t units, size_t used) {
    // Only the latest allocation can give room back; any other call is a caller's slip that
    // must not corrupt texts already handed out.
    if (blocks_.empty() || used > units || start + units != blocks_.back().data.get() + top_)
        return;
    top_ -= units - used;
    total_ -= units - used;
}

StringView TTextArena::Store(StringView text) {
    if (text.empty())
        return {};
    Char* room = Allocate(text.size());
    std::memcpy(room, text.data(), text.size() * sizeof(Char));
    return {room, text.size()};
}

void TTextArena::Reset() {
    if (blocks_.size() > 1) {
        auto largest =
            std::max_element(blocks_.begin(), blocks_.end(),
                             [](const Block& a, const Block& b) { return a.size < b.size; });
        Block keep = std::move(*largest);
        blocks_.clear();
        blocks_.push_back(std::move(keep));
    }
    top_ = 0;
    total_ = 0;
}

}  // namespace kw
