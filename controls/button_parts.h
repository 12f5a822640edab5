#pragma once

#include <array>
#include <initializer_list>
#include <memory>

#include "controls/button_face.h"
#include "drawing/pen_brush.h"

namespace kw {

class TKwMemoryImage;
class TKwSetBackGround;

// A background set per button state, each bound to "Dft_BackGround" until the user chooses
// another; a change of any of them is a change of the whole object.
class TKwStateBackGrounds : public TKwStyleObject {
    KW_CLASS(TKwStateBackGrounds)
public:
    ~TKwStateBackGrounds() override;
    // The set of a state, or none when this object keeps no set for it.
    TKwSetBackGround* ForState(int state) const;
    void Assign(const TPersistent* source) override;

protected:
    explicit TKwStateBackGrounds(std::initializer_list<TKwButtonState> states);
    TKwSetBackGround& At(TKwButtonState state) const { return *sets_[state]; }

private:
    std::array<std::unique_ptr<TKwSetBackGround>, kKwButtonStates> sets_;
};

// An image reference per button state (none chosen after construction).
class TKwStateImages : public TKwStyleObject {
    KW_CLASS(TKwStateImages)
public:
    ~TKwStateImages() override;
    TKwMemoryImage* ForState(int state) const;
    void Assign(const TPersistent* source) override;

protected:
    explicit TKwStateImages(std::initializer_list<TKwButtonState> states);
    TKwMemoryImage& At(TKwButtonState state) const { return *images_[state]; }

private:
    std::array<std::unique_ptr<TKwMemoryImage>, kKwButtonStates> images_;
};

// The four looks of a bit button and of a speed button's drop-down part (no exclusive state).
class TKwBGsBitBtn : public TKwStateBackGrounds {
    KW_CLASS(TKwBGsBitBtn)
public:
    TKwBGsBitBtn();
    TKwSetBackGround& SetBGUp() const { return At(bstUp); }
    TKwSetBackGround& SetBGDown() const { return At(bstDown); }
    TKwSetBackGround& SetBGOver() const { return At(bstOver); }
    TKwSetBackGround& SetBGDisabled() const { return At(bstDisabled); }
};

class TKwBGsButtonDown : public TKwBGsBitBtn {
    KW_CLASS(TKwBGsButtonDown)
};

class TKwImagesBitBtn : public TKwStateImages {
    KW_CLASS(TKwImagesBitBtn)
public:
    TKwImagesBitBtn();
    TKwMemoryImage& ImageUp() const { return At(bstUp); }
    TKwMemoryImage& ImageDown() const { return At(bstDown); }
    TKwMemoryImage& ImageOver() const { return At(bstOver); }
    TKwMemoryImage& ImageDisabled() const { return At(bstDisabled); }
};

class TKwImagesButtonDown : public TKwImagesBitBtn {
    KW_CLASS(TKwImagesButtonDown)
};

// Publishes the four state properties of these classes (once per process and registry).
void KwRegisterButtonPartProperties();

}  // namespace kw
