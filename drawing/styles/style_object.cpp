#include "drawing/styles/style_object.h"

#include "platform/text/strings.h"

namespace kw {

KW_IMPLEMENT_CLASS(TKwStyleObject, TPersistent)

TKwStyleObject::TKwStyleObject(TPersistent* owner) : owner_(owner) {
    KwEnsureStyleProperties();
}

void TKwStyleObject::Change() {
    if (holding_) {
        heldChange_ = true;
        return;
    }
    if (OnChange)
        OnChange(*this);
}

void TKwStyleObject::Assign(const TPersistent* source) {
    if (source == this)
        return;
    const auto* style = dynamic_cast<const TKwStyleObject*>(source);
    // An outer Assign already holds the event; only the outermost one releases it.
    const bool outer = !holding_;
    if (outer) {
        holding_ = true;
        heldChange_ = false;
    }
    bool copied = false;
    try {
        copied = style != nullptr && AssignFrom(*style);
    } catch (...) {
        if (outer)
            holding_ = false;
        throw;
    }
    if (outer) {
        holding_ = false;
        if (heldChange_)
            Change();
    }
    if (!copied)
        TPersistent::Assign(source);
}

bool TKwStyleObject::Equals(const TKwStyleObject& other) const {
    return &ClassType() == &other.ClassType() && SameAs(other);
}

void KwBindDefault(TKwSetColor& set, TKwSetColor& library) {
    set.SetDefaultSetColor(&library);
    set.SetDefault(true);
}

void KwBindDefault(TKwSetBackGround& set, TKwSetBackGround& library) {
    set.SetDefaultSetBackGround(&library);
    set.SetDefault(true);
}

void KwBindDefault(TKwSetFont& set, TKwSetFont& library) {
    set.SetDefaultSetFont(&library);
    set.SetDefault(true);
}

bool KwSameStyleValue(const TKwSetReference& a, const TKwSetReference& b) {
    return a.Kind() == b.Kind() && AnsiSameText(a.Name(), b.Name());
}

bool KwSameStyleValue(const TKwMemoryImage& a, const TKwMemoryImage& b) {
    return a.Id() == b.Id() && AnsiSameText(a.PkgName(), b.PkgName());
}

bool KwSameStyleValue(const TKwMemoryReference& a, const TKwMemoryReference& b) {
    return a.Kind() == b.Kind() && a.Id() == b.Id() && AnsiSameText(a.PkgName(), b.PkgName());
}

}  // namespace kw
