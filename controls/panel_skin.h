#pragma once

#include <functional>
#include <memory>

#include "controls/single_panel.h"
#include "platform/core/persistent.h"

namespace kw {

class TKwMemoryImage;

// How a panel wears a skin: the image, whether its transparent pixels cut the window, and the
// shade along the skin's inner edge.
class TKwPanelSkin : public TPersistent {
    KW_CLASS(TKwPanelSkin)
public:
    TKwPanelSkin();
    ~TKwPanelSkin() override;

    TKwMemoryImage& Image() const { return *image_; }
    bool WinRgn() const { return winRgn_; }
    void SetWinRgn(bool value);
    bool Shadow() const { return shadow_; }
    void SetShadow(bool value);
    int SmoothSh() const { return smoothSh_; }
    void SetSmoothSh(int value);
    int MarginSh() const { return marginSh_; }
    void SetMarginSh(int value);

    void Assign(const TPersistent* source) override;
    std::function<void(TKwPanelSkin& sender)> OnChange;

private:
    void Changed();

    std::unique_ptr<TKwMemoryImage> image_;
    bool winRgn_ = true;
    bool shadow_ = false;
    int smoothSh_ = 70;
    int marginSh_ = 5;
};

// A panel that can wear a skin: painted by the skin painter and shaped by the skin's region.
class TKwBasePanelSkin : public TKwSinglePanel {
    KW_CLASS(TKwBasePanelSkin)
public:
    explicit TKwBasePanelSkin(TComponent* owner = nullptr);
    TKwBasePanelSkin(TComponent* owner, bool nonClientBorder, bool editBackGround,
                     bool selBoxOnFocus);

    TKwPanelSkin& Skin() const { return *skin_; }
    bool FullRepaint() const { return fullRepaint_; }
    void SetFullRepaint(bool value) { fullRepaint_ = value; }
    // True while the window wears the skin's region.
    bool RegionAssigned() const { return regionAssigned_; }

    void PaintBackGround(const TPaintContext& context) override;
    void AssignRgn(int width, int height) override;

protected:
    void SizeChanged() override;
    bool HasAdjustHorz() const override { return SkinFixesSize(); }
    bool HasAdjustVert() const override { return SkinFixesSize(); }
    bool GetFullRepaint() const override;

private:
    void Construct();
    // The skin image when it resolves to data, else none.
    TKwMemoryImage* SkinImage() const;
    bool SkinFixesSize() const;

    std::unique_ptr<TKwPanelSkin> skin_;
    bool regionAssigned_ = false;
    bool fullRepaint_ = false;
};

}  // namespace kw
