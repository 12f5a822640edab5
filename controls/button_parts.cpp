#include "controls/button_parts.h"

#include "display/default_sets.h"
#include "display/memory_image.h"
#include "display/set_references.h"
#include "platform/core/properties.h"

namespace kw {

KW_IMPLEMENT_CLASS(TKwStateBackGrounds, TKwStyleObject)
KW_IMPLEMENT_CLASS(TKwStateImages, TKwStyleObject)
KW_IMPLEMENT_CLASS(TKwBGsBitBtn, TKwStateBackGrounds)
KW_IMPLEMENT_CLASS(TKwBGsButtonDown, TKwBGsBitBtn)
KW_IMPLEMENT_CLASS(TKwImagesBitBtn, TKwStateImages)
KW_IMPLEMENT_CLASS(TKwImagesButtonDown, TKwImagesBitBtn)

namespace {

constexpr std::initializer_list<TKwButtonState> kFourStates = {bstUp, bstDown, bstOver,
                                                               bstDisabled};

}  // namespace

TKwStateBackGrounds::TKwStateBackGrounds(std::initializer_list<TKwButtonState> states) {
    for (TKwButtonState state : states) {
        sets_[state] = std::make_unique<TKwSetBackGround>(&KwSetBackGround(), true);
        sets_[state]->OnChange = [this](TKwSetReference&) { Change(); };
    }
}

TKwStateBackGrounds::~TKwStateBackGrounds() = default;

TKwSetBackGround* TKwStateBackGrounds::ForState(int state) const {
    return state >= 0 && state < kKwButtonStates ? sets_[state].get() : nullptr;
}

void TKwStateBackGrounds::Assign(const TPersistent* source) {
    const auto* other = dynamic_cast<const TKwStateBackGrounds*>(source);
    if (other == nullptr || &other->ClassType() != &ClassType()) {
        TKwStyleObject::Assign(source);
        return;
    }
    Batch([&] {
        for (int i = 0; i < kKwButtonStates; ++i) {
            if (sets_[i])
                sets_[i]->Assign(other->sets_[i].get());
        }
    });
}

TKwStateImages::TKwStateImages(std::initializer_list<TKwButtonState> states) {
    for (TKwButtonState state : states) {
        images_[state] = std::make_unique<TKwMemoryImage>();
        images_[state]->OnChange = [this](TKwMemoryImage&) { Change(); };
    }
}

TKwStateImages::~TKwStateImages() = default;

TKwMemoryImage* TKwStateImages::ForState(int state) const {
    return state >= 0 && state < kKwButtonStates ? images_[state].get() : nullptr;
}

void TKwStateImages::Assign(const TPersistent* source) {
    const auto* other = dynamic_cast<const TKwStateImages*>(source);
    if (other == nullptr || &other->ClassType() != &ClassType()) {
        TKwStyleObject::Assign(source);
        return;
    }
    Batch([&] {
        for (int i = 0; i < kKwButtonStates; ++i) {
            if (images_[i])
                images_[i]->Assign(other->images_[i].get());
        }
    });
}

TKwBGsBitBtn::TKwBGsBitBtn() : TKwStateBackGrounds(kFourStates) {}
TKwImagesBitBtn::TKwImagesBitBtn() : TKwStateImages(kFourStates) {}

void KwRegisterButtonPartProperties() {
    using BG = TKwBGsBitBtn;
    using IM = TKwImagesBitBtn;
    if (FindProperty(BG::StaticClass(), u"SetBGUp"))
        return;
    Properties<BG>()
        .Object(u"SetBGUp", &BG::SetBGUp)
        .Object(u"SetBGDown", &BG::SetBGDown)
        .Object(u"SetBGOver", &BG::SetBGOver)
        .Object(u"SetBGDisabled", &BG::SetBGDisabled);
    Properties<IM>()
        .Object(u"ImageUp", &IM::ImageUp)
        .Object(u"ImageDown", &IM::ImageDown)
        .Object(u"ImageOver", &IM::ImageOver)
        .Object(u"ImageDisabled", &IM::ImageDisabled);
}

}  // namespace kw
