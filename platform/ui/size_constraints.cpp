#include "platform/ui/size_constraints.h"

#include <algorithm>

#include "platform/core/exception.h"
#include "platform/core/properties.h"

namespace kw {

KW_IMPLEMENT_CLASS(TSizeConstraints, TPersistent)

int TSizeConstraints::Constrain(int value, int min, int max) {
    if (max > 0)
        value = std::min(value, max);
    return std::max(value, min);
}

void TSizeConstraints::Changed() {
    if (OnChange)
        OnChange(*this);
}

void TSizeConstraints::SetPair(int& field, int& other, int value, bool isMin) {
    if (value < 0)
        throw EInvalidArgument(u"A size limit cannot be negative");
    if (value == field)
        return;
    field = value;
    // `other` is the opposite limit of the same side; 0 there means none.
    if (value > 0 && other > 0 && (isMin ? value > other : value < other))
        other = value;
    Changed();
}

void TSizeConstraints::SetMinWidth(int value) {
    SetPair(minWidth_, maxWidth_, value, true);
}
void TSizeConstraints::SetMinHeight(int value) {
    SetPair(minHeight_, maxHeight_, value, true);
}
void TSizeConstraints::SetMaxWidth(int value) {
    SetPair(maxWidth_, minWidth_, value, false);
}
void TSizeConstraints::SetMaxHeight(int value) {
    SetPair(maxHeight_, minHeight_, value, false);
}

void TSizeConstraints::Assign(const TPersistent* source) {
    const auto* other = dynamic_cast<const TSizeConstraints*>(source);
    if (other == nullptr) {
        TPersistent::Assign(source);
        return;
    }
    if (minWidth_ == other->minWidth_ && minHeight_ == other->minHeight_ &&
        maxWidth_ == other->maxWidth_ && maxHeight_ == other->maxHeight_)
        return;
    minWidth_ = other->minWidth_;
    minHeight_ = other->minHeight_;
    maxWidth_ = other->maxWidth_;
    maxHeight_ = other->maxHeight_;
    Changed();
}

void TSizeConstraints::RegisterProperties() {
    using C = TSizeConstraints;
    if (FindProperty(C::StaticClass(), u"MaxHeight") != nullptr)
        return;
    Properties<C>()
        .Integer(u"MaxHeight", &C::MaxHeight, &C::SetMaxHeight, 0)
        .Integer(u"MaxWidth", &C::MaxWidth, &C::SetMaxWidth, 0)
        .Integer(u"MinHeight", &C::MinHeight, &C::SetMinHeight, 0)
        .Integer(u"MinWidth", &C::MinWidth, &C::SetMinWidth, 0);
}

}  // namespace kw
