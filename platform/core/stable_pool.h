#pragma once

#include <cstddef>
#include <memory>
#include <new>
#include <utility>
#include <vector>

namespace kw {

// Objects stored by value in chunks that never move, so that pointers to them stay valid for
// the object's whole life. Freed slots are reused. The pool does not track which slots are
// live: its owner destroys every live object (Destroy) before Reset or the pool's destruction.
template <class T, size_t kChunk = 256>
class TStablePool {
public:
    TStablePool() = default;
    TStablePool(const TStablePool&) = delete;
    TStablePool& operator=(const TStablePool&) = delete;

    template <class... Args>
    T& Emplace(Args&&... args) {
        Slot* slot = TakeSlot();
        try {
            return *::new (static_cast<void*>(slot->bytes)) T(std::forward<Args>(args)...);
        } catch (...) {
            free_.push_back(slot);
            throw;
        }
    }

    void Destroy(T& object) {
        std::destroy_at(&object);
        free_.push_back(reinterpret_cast<Slot*>(&object));
    }

    // Every object is destroyed already: all slots become free, the chunks are kept.
    void Reset() {
        free_.clear();
        chunk_ = 0;
        used_ = 0;
    }

private:
    struct Slot {
        alignas(T) std::byte bytes[sizeof(T)];
    };

    Slot* TakeSlot() {
        if (!free_.empty()) {
            Slot* slot = free_.back();
            free_.pop_back();
            return slot;
        }
        if (used_ == kChunk) {
            ++chunk_;
            used_ = 0;
        }
        if (chunk_ == chunks_.size())
            chunks_.push_back(std::make_unique_for_overwrite<Slot[]>(kChunk));
        return &chunks_[chunk_][used_++];
    }

    std::vector<std::unique_ptr<Slot[]>> chunks_;
    size_t chunk_ = 0;  // the chunk fresh slots come from
    size_t used_ = 0;   // fresh slots taken from it
    std::vector<Slot*> free_;
};

}  // namespace kw
