#include "drawing/backgrounds.h"

#include "display/set_references.h"
#include "drawing/gradient.h"
#include "drawing/shape_paint.h"

namespace kw {

void KwPaintBackGroundEx(TCanvas& canvas, const TRect& rect, TKwSetBackGround& setBackGround,
                         int colors) {
    const TKwPkgDisplaySetBackGround* entry = setBackGround.Info();
    if (entry == nullptr) {
        KwDrawGradient(canvas, rect, bgsSolid, 0, 0, setBackGround.Color(), nullptr, false, 0);
        return;
    }
    if (entry->Style() == bgsSolid) {
        KwDrawGradient(canvas, rect, bgsSolid, 0, 0, entry->SolidColor(), nullptr, false, 0);
        return;
    }
    KwDrawGradientShape(canvas, rect, entry->Style(), entry->StartGraColor(), entry->EndGraColor(),
                        entry->SolidColor(), shaRectangle, false, sorDefault, &entry->Image(),
                        entry->Transparent(), 1, pesSolid, false, colors);
}

void KwPaintBackGround(TCanvas& canvas, const TRect& rect, TKwSetBackGround* setBackGround) {
    if (setBackGround != nullptr)
        KwPaintBackGroundEx(canvas, rect, *setBackGround, 0);
}

}  // namespace kw
