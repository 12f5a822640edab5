#pragma once

#include "drawing/element_types.h"
#include "drawing/pen_brush.h"
#include "drawing/shapes.h"
#include "platform/graphics/graphics_types.h"
#include "platform/graphics/region.h"

namespace kw {

class TCanvas;
class TKwMemoryImage;
class TKwSetBackGround;
class TKwSetColor;

// What gives a shaped button its outline: a shape over the button's rectangle, or an image
// whose outer mask (or slices) shape it.
struct TKwRgnButtonLook {
    TKwButtonStyle ButtonStyle = btsShape;
    TKwBorderStyle BorderStyle = bos3D;
    TKwMemoryImage* Image = nullptr;
    TKwShapes Shape = shaRectangle;
    bool Reflection = false;
    TKwShapeOrientation Orientation = sorDefault;
};

// A button made of a shape or an image region: a one-pixel halo round the region gives its 3D
// or single edge, the face is painted inside it, and Down with PressShadow shows a black shadow
// along its top-left. With `region` given, the region is put there and nothing is painted.
void KwDrawRgnButton(TCanvas& canvas, const TRect& rect, const TKwRgnButtonLook& look, bool down,
                     bool pressShadow, TKwSetBackGround* setBackGround, TKwSetColor* setColor,
                     TKwPen* pen, TRegion* region = nullptr);
// The region KwDrawRgnButton paints for a button that is up, moved by (dx, dy): for the focus
// mark or the window's shape.
TRegion KwFocusRgn(const TRect& rect, const TKwRgnButtonLook& look, int dx, int dy);

// A button whose face is an image: its size (or, for a sliced shape image, the rectangle) and
// its outer mask give the face and region; the draw style chooses the edge (halo, shadow halo,
// flat frames) and the face (the image for dbsButton, the shadow colour for dbsShadow, the
// background's grid for a pressed dbsBackFlat; the flat styles leave the face to the caller).
// Down and the flat styles move the face one pixel right and down.
void KwDrawImageButton(TCanvas& canvas, const TRect& rect, TKwBorderStyle borderStyle, bool down,
                       TKwSetBackGround* setBackGround, TKwSetColor* setColor,
                       TKwMemoryImage* image, TKwMemoryImage* shapeImage,
                       TKwDrawButtonStyle drawStyle, TKwPen* pen);

// Fills `region` at the six one-pixel offsets round it: `light` towards the top-left, `dark`
// towards the bottom-right. What is then painted over the region leaves a one-pixel edge.
void KwPaintRegionHalo(TCanvas& canvas, const TRegion& region, TColor light, TColor dark);

}  // namespace kw
