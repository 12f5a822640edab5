#include "framework/clip_formats.h"

#include "framework/state.h"
#include "platform/core/object.h"

namespace kw {

void TKwClipFormats::Add(Word format, const TClass& graphicClass) {
    entries_.push_back({format, &graphicClass});
}

const TClass* TKwClipFormats::FindFormat(Word format) const {
    for (auto it = entries_.rbegin(); it != entries_.rend(); ++it) {
        if (it->format == format)
            return it->graphicClass;
    }
    return nullptr;
}

Word TKwClipFormats::FindGraphicClass(const TClass& graphicClass) const {
    for (auto it = entries_.rbegin(); it != entries_.rend(); ++it) {
        if (it->graphicClass == &graphicClass)
            return it->format;
    }
    return kNoFormat;
}

void TKwClipFormats::Remove(const TClass& graphicClass) {
    std::erase_if(entries_,
                  [&](const Entry& e) { return e.graphicClass->InheritsFrom(graphicClass); });
}

TKwClipFormats& KwGetClipboardFormats() {
    return KwState().clipFormats;
}

void KwRegisterClipBoardFormat(Word format, const TClass& graphicClass) {
    KwGetClipboardFormats().Add(format, graphicClass);
}

}  // namespace kw
