#pragma once

#include "controls/button_face.h"
#include "drawing/shape_styles.h"
#include "drawing/styles/image_styles.h"
#include "drawing/styles/style_object.h"

namespace kw {

// The four looks of a bit button and of a speed button's drop-down part (no exclusive state).
#define KW_BGS_BIT_BTN_PROPERTIES(P)                       \
    P(Owned, TKwSetBackGround, SetBGUp, KwSetBackGround)   \
    P(Owned, TKwSetBackGround, SetBGDown, KwSetBackGround) \
    P(Owned, TKwSetBackGround, SetBGOver, KwSetBackGround) \
    P(Owned, TKwSetBackGround, SetBGDisabled, KwSetBackGround)
class TKwBGsBitBtn : public TKwStyleObject {
    KW_STYLE_DECLARE(TKwBGsBitBtn, KW_BGS_BIT_BTN_PROPERTIES)
};
class TKwBGsButtonDown : public TKwBGsBitBtn {
    KW_STYLE_DECLARE(TKwBGsButtonDown, KW_STYLE_NO_PROPERTIES)
};

#define KW_IMAGES_BIT_BTN_PROPERTIES(P)          \
    P(Owned, TKwMemoryImage, ImageUp, nullptr)   \
    P(Owned, TKwMemoryImage, ImageDown, nullptr) \
    P(Owned, TKwMemoryImage, ImageOver, nullptr) \
    P(Owned, TKwMemoryImage, ImageDisabled, nullptr)
class TKwImagesBitBtn : public TKwStyleObject {
    KW_STYLE_DECLARE(TKwImagesBitBtn, KW_IMAGES_BIT_BTN_PROPERTIES)
};
class TKwImagesButtonDown : public TKwImagesBitBtn {
    KW_STYLE_DECLARE(TKwImagesButtonDown, KW_STYLE_NO_PROPERTIES)
};

// The small second part at the right of a speed button, clicked on its own. With Sync it takes
// the main part's shape and backgrounds.
#define KW_SPEED_BUTTON_DOWN_PROPERTIES(P)               \
    P(Value, TKwButtonStyle, Style, btsShape)            \
    P(Owned, TKwButtonShape, Shape, nullptr)             \
    P(Owned, TKwSpeedDownImage, Image, nullptr)          \
    P(Owned, TKwImagesButtonDown, ImagesButton, nullptr) \
    P(Owned, TKwBGsButtonDown, BGsButton, nullptr)       \
    P(Value, bool, Visible, false)                       \
    P(Value, bool, Sync, true)                           \
    P(Value, int, Width, 13)
class TKwSpeedButtonDown : public TKwStyleObject {
    KW_STYLE_DECLARE(TKwSpeedButtonDown, KW_SPEED_BUTTON_DOWN_PROPERTIES)
};

// A state's entry of a per-state table (none where the table keeps no such state: the exclusive
// look of the four-state tables).
template <class BGs>
TKwSetBackGround* KwStateBackGround(BGs& bgs, int state) {
    switch (state) {
        case bstUp:
            return &bgs.SetBGUp();
        case bstOver:
            return &bgs.SetBGOver();
        case bstDown:
            return &bgs.SetBGDown();
        case bstDisabled:
            return &bgs.SetBGDisabled();
        default:
            if constexpr (requires { bgs.SetBGExclusive(); })
                return &bgs.SetBGExclusive();
            return nullptr;
    }
}
template <class Images>
TKwMemoryImage* KwStateImage(Images& images, int state) {
    switch (state) {
        case bstUp:
            return &images.ImageUp();
        case bstOver:
            return &images.ImageOver();
        case bstDown:
            return &images.ImageDown();
        case bstDisabled:
            return &images.ImageDisabled();
        default:
            if constexpr (requires { images.ImageExclusive(); })
                return &images.ImageExclusive();
            return nullptr;
    }
}

// The background a part shows in `state`: the table's defined entry by the state rules, else
// `fallback` (the button's own background).
template <class BGs>
TKwSetBackGround* KwChooseBackGround(BGs& bgs, TKwButtonState state, bool over,
                                     TKwSetBackGround* fallback) {
    const int chosen = KwButtonStateChoice(state, over, [&bgs](int s) {
        const TKwSetBackGround* set = KwStateBackGround(bgs, s);
        return set != nullptr && set->Defined();
    });
    return chosen >= 0 ? KwStateBackGround(bgs, chosen) : fallback;
}
// The image a part shows in `state`, else `fallback` (the image of its Image style).
template <class Images>
TKwMemoryImage* KwChooseImage(Images& images, TKwButtonState state, bool over,
                              TKwMemoryImage* fallback) {
    const int chosen = KwButtonStateChoice(state, over, [&images](int s) {
        TKwMemoryImage* image = KwStateImage(images, s);
        return image != nullptr && image->Defined();
    });
    return chosen >= 0 ? KwStateImage(images, chosen) : fallback;
}

// Publishes the properties of this unit's style classes (again after a registry reset).
void KwRegisterButtonPartProperties();

}  // namespace kw
