#pragma once

#include <cstddef>
#include <memory>
#include <vector>

#include "platform/core/types.h"

namespace kw {

// UTF-16 texts packed into a few large blocks, so that loading thousands of strings costs a
// handful of allocations. Blocks never move: a view of stored text stays valid until Reset.
class TTextArena {
public:
    TTextArena() = default;
    TTextArena(const TTextArena&) = delete;
    TTextArena& operator=(const TTextArena&) = delete;

    // Contiguous room for `units` characters; the caller writes up to that many and hands back
    // the unused tail with Shrink before the next Allocate.
    Char* Allocate(size_t units);
    // Returns the tail of the latest allocation beyond `used` of its `units`.
    void Shrink(const Char* start, size_t units, size_t used);
    StringView Store(StringView text);
    // Forgets every text; the largest block is kept for the next fill.
    void Reset();
    // Characters handed out since the last Reset (for tests and statistics).
    size_t Used() const { return total_; }

private:
    static constexpr size_t kBlockUnits = 32 * 1024;
    struct Block {
        std::unique_ptr<Char[]> data;
        size_t size = 0;
    };

    void AddBlock(size_t atLeast);

    std::vector<Block> blocks_;
    size_t top_ = 0;  // characters used in the last block
    size_t total_ = 0;
};

}  // namespace kw
