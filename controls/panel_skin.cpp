#include "controls/panel_skin.h"

#include "display/memory_image.h"
#include "display/package_image.h"
#include "drawing/canvas_saver.h"
#include "drawing/skins.h"
#include "drawing/transparent_background.h"
#include "framework/events.h"
#include "framework/link.h"

namespace kw {

KW_IMPLEMENT_CLASS(TKwPanelSkin, TPersistent)
KW_IMPLEMENT_CLASS(TKwBasePanelSkin, TKwSinglePanel)

// --- TKwPanelSkin --------------------------------------------------------------------------

TKwPanelSkin::TKwPanelSkin() : image_(std::make_unique<TKwMemoryImage>()) {
    image_->OnChange = [this](TKwMemoryImage&) { Changed(); };
}

TKwPanelSkin::~TKwPanelSkin() = default;

void TKwPanelSkin::Changed() {
    if (OnChange)
        OnChange(*this);
}

void TKwPanelSkin::SetWinRgn(bool value) {
    if (value == winRgn_)
        return;
    winRgn_ = value;
    Changed();
}

void TKwPanelSkin::SetShadow(bool value) {
    if (value == shadow_)
        return;
    shadow_ = value;
    Changed();
}

void TKwPanelSkin::SetSmoothSh(int value) {
    if (value == smoothSh_)
        return;
    smoothSh_ = value;
    Changed();
}

void TKwPanelSkin::SetMarginSh(int value) {
    if (value == marginSh_)
        return;
    marginSh_ = value;
    Changed();
}

void TKwPanelSkin::Assign(const TPersistent* source) {
    const auto* other = dynamic_cast<const TKwPanelSkin*>(source);
    if (other == nullptr) {
        TPersistent::Assign(source);
        return;
    }
    // One notification for the whole copy.
    auto notify = std::move(OnChange);
    image_->Assign(other->image_.get());
    winRgn_ = other->winRgn_;
    shadow_ = other->shadow_;
    smoothSh_ = other->smoothSh_;
    marginSh_ = other->marginSh_;
    OnChange = std::move(notify);
    Changed();
}

// --- TKwBasePanelSkin ----------------------------------------------------------------------

TKwBasePanelSkin::TKwBasePanelSkin(TComponent* owner) : TKwSinglePanel(owner) {
    Construct();
}

TKwBasePanelSkin::TKwBasePanelSkin(TComponent* owner, bool nonClientBorder, bool editBackGround,
                                   bool selBoxOnFocus)
    : TKwSinglePanel(owner, nonClientBorder, editBackGround, selBoxOnFocus) {
    Construct();
}

void TKwBasePanelSkin::Construct() {
    skin_ = std::make_unique<TKwPanelSkin>();
    skin_->OnChange = [this](TKwPanelSkin&) { Link().Change(); };
}

TKwMemoryImage* TKwBasePanelSkin::SkinImage() const {
    TKwMemoryImage& image = skin_->Image();
    TKwPkgImagesImage* info = image.Info();
    return info != nullptr && !info->Empty() ? &image : nullptr;
}

bool TKwBasePanelSkin::SkinFixesSize() const {
    TKwMemoryImage* image = SkinImage();
    return image != nullptr && !image->Info()->Skin().adjusts;
}

bool TKwBasePanelSkin::GetFullRepaint() const {
    return fullRepaint_ || SkinImage() != nullptr;
}

void TKwBasePanelSkin::PaintBackGround(const TPaintContext& context) {
    TKwMemoryImage* image = SkinImage();
    if (image == nullptr) {
        TKwSinglePanel::PaintBackGround(context);
        return;
    }
    // The background the panel would give a child that asks for it.
    TKwBackGroundQuery query{&SetBackGround(), this, false};
    KwPerform(this, kwEvtParentBackground, &query);
    TKwCanvasSaver saver(*context.Canvas);
    KwPaintSkin(context.ToDevice(ClientRect()), *context.Canvas, image, nullptr,
                query.SetBackGround, skin_->Shadow(), skin_->SmoothSh(), skin_->MarginSh());
    ShowCaption(context);
}

void TKwBasePanelSkin::AssignRgn(int width, int height) {
    TKwMemoryImage* image = skin_->WinRgn() && WindowExists() ? SkinImage() : nullptr;
    if (image != nullptr) {
        SetWindowRgn(KwRgnSkin(TRect(0, 0, width, height), image, true));
        regionAssigned_ = true;
    } else if (regionAssigned_) {
        SetWindowRgn(std::nullopt);
        regionAssigned_ = false;
    }
}

void TKwBasePanelSkin::SizeChanged() {
    if (!SkinFixesSize())
        return;
    TKwMemoryImage* image = SkinImage();
    SetBounds(Left(), Top(), image->Width(), image->Height());
}

}  // namespace kw
