#pragma once

#include <vector>

#include "platform/core/types.h"

namespace kw {

class TClass;

// Which graphic class serves which clipboard format. Later registrations win lookups.
class TKwClipFormats {
public:
    static constexpr Word kNoFormat = 0xFFFF;

    void Add(Word format, const TClass& graphicClass);
    // The class of the last pair with this format, or none.
    const TClass* FindFormat(Word format) const;
    // The format of the last pair with exactly this class, or kNoFormat.
    Word FindGraphicClass(const TClass& graphicClass) const;
    // Drops every pair whose class is this class or inherits from it.
    void Remove(const TClass& graphicClass);
    int Count() const { return static_cast<int>(entries_.size()); }
    void Clear() { entries_.clear(); }

private:
    struct Entry {
        Word format;
        const TClass* graphicClass;
    };
    std::vector<Entry> entries_;
};

TKwClipFormats& KwGetClipboardFormats();
void KwRegisterClipBoardFormat(Word format, const TClass& graphicClass);

}  // namespace kw
