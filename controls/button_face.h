#pragma once

#include <cstdint>
#include <functional>

#include "drawing/pen_brush.h"
#include "drawing/region_buttons.h"
#include "drawing/shapes.h"
#include "drawing/styles/style_enums.h"
#include "platform/graphics/graphics_types.h"

namespace kw {

class TCanvas;
class TKwMemoryImage;
class TKwSetBackGround;
class TKwSetColor;
class TKwSetFont;
class TKwButtonText;
struct TPaintContext;

// The five looks of a button part, in the order of the state tables of its style objects.
enum TKwButtonState : std::uint8_t { bstUp, bstOver, bstDown, bstExclusive, bstDisabled };
inline constexpr int kKwButtonStates = bstDisabled + 1;

// How a bit button marks the focus and the default button.
enum TKwFocusStyle : std::uint8_t {
    fcsNone,
    fcsNotGrid,
    fcsColGrid,
    fcsInLine,
    fcsOutLine,
    fcsDouble
};
const std::vector<String>& KwFocusStyleNames();

TKwButtonState KwButtonState(bool enabled, bool pressed, bool over, bool grouped);
// Which state's entry a part shows: the disabled and exclusive entries only when defined, the
// over and down entries when defined and else the up one. -1 when nothing applies; the caller
// then takes its own fallback (the button's background, the image of its Image style).
int KwButtonStateChoice(TKwButtonState state, bool over, const std::function<bool(int)>& defined);

// Everything one button part paints, resolved from the control's style objects.
struct TKwButtonFace {
    TRect Rect;  // in the control's coordinates
    TKwButtonStyle Style = btsShape;
    TKwBorderStyle BorderStyle = bos3D;
    int BorderWidth = 1;
    TKwShapes Shape = shaRectangle;
    bool Reflection = false;
    TKwShapeOrientation Orientation = sorDefault;
    bool Pressed = false;
    bool Enabled = true;
    bool Flat = false;
    bool Over = false;
    bool Shadow = false;
    TKwSetBackGround* BackGround = nullptr;
    TKwSetColor* FrameColor = nullptr;
    TKwBrush* Brush = nullptr;
    TKwPen* Pen = nullptr;
    int MarginLeftRight = 0;
    int MarginTopBottom = 0;
    // The face of an image-style part: the state's image.
    TKwMemoryImage* FaceImage = nullptr;
    // The content: an image placed by Layout and Spacing beside the caption.
    TKwMemoryImage* Image = nullptr;
    int ImageWidth = 18;
    int ImageHeight = 18;
    TKwInternalControlLayout Layout = iclLeft;
    int Spacing = 2;
    bool ImageShadow = false;
    String Caption;
    // The caption's style; none paints it in the library's default font and colour.
    TKwButtonText* Text = nullptr;
};

// Shadow, face and caption of one part.
void KwPaintButtonFace(const TPaintContext& context, const TKwButtonFace& face);
// Whether painting the part covers every pixel of its rectangle; a shaped, shadowed or
// image face leaves pixels that show what lies behind the button.
bool KwFaceCoversRect(const TKwButtonFace& face);
// The outline of a part as the region painters see it, border left out: its shape over its
// rectangle, or its face image's mask.
TKwRgnButtonLook KwFaceRegionLook(const TKwButtonFace& face);
// Whether a point (control coordinates) lies on the part's face.
bool KwInFaceRegion(const TKwButtonFace& face, int x, int y);
// A focus or default mark that follows the part's outline: a dotted line (inverting the pixels
// for fcsNotGrid, in `color` for fcsColGrid) or a solid line in `color` three pixels inside
// the face (fcsInLine), on its edge (fcsOutLine) or both (fcsDouble).
void KwPaintFocusMark(const TPaintContext& context, const TKwButtonFace& face, TKwFocusStyle style,
                      TColor color);

}  // namespace kw
