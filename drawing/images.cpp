#include "drawing/images.h"

#include <algorithm>
#include <memory>

#include "display/default_sets.h"
#include "display/memory_image.h"
#include "drawing/canvas_saver.h"
#include "drawing/image_masks.h"
#include "drawing/image_pixels.h"
#include "drawing/palette.h"
#include "platform/graphics/bitmap.h"
#include "platform/graphics/canvas.h"
#include "platform/graphics/graphic.h"

namespace kw {

namespace {

int RoundHalfEven(long long numerator, long long denominator) {
    long long quotient = numerator / denominator;
    const long long twice = 2 * (numerator % denominator);
    if (twice > denominator || (twice == denominator && quotient % 2 != 0))
        ++quotient;
    return static_cast<int>(quotient);
}

TRect CentredBox(const TRect& area, int w, int h) {
    return TRect::Bounds(area.Left + (area.Width() - w) / 2, area.Top + (area.Height() - h) / 2, w,
                         h);
}

// The frame's place: its natural size, stretched when asked, shrunk to fit the area keeping its
// proportions, and centred there.
TRect Destination(const TRect& area, int frameW, int frameH, const TKwImageDraw& draw) {
    const int aw = area.Width();
    const int ah = area.Height();
    int w = frameW;
    int h = frameH;
    if (draw.stretch) {
        const bool natural = draw.width < 0 || draw.height < 0;
        w = natural ? aw : draw.width;
        h = natural ? ah : draw.height;
    }
    if (w > aw && w > 0) {
        h = RoundHalfEven(static_cast<long long>(h) * aw, w);
        w = aw;
    }
    if (h > ah && h > 0) {
        w = RoundHalfEven(static_cast<long long>(w) * ah, h);
        h = ah;
    }
    if (w < 2 && aw > 1)
        w = 2;
    if (h < 2 && ah > 1)
        h = 2;
    return CentredBox(area, w, h);
}

struct TFrames {
    int count = 1;
    int width = 0;
    int height = 0;
};

TFrames FramesOf(int imageW, int imageH, TKwImageState state) {
    TFrames frames;
    frames.count = state == TKwImageState::istAll ? 1 : KwImageFrames(imageW, imageH);
    frames.width = imageW / frames.count;
    frames.height = imageH;
    return frames;
}

// The source rectangle the state selects; a state beyond the strip falls back to the first
// frame.
TRect SourceFrame(const TFrames& frames, TKwImageState state) {
    int s = static_cast<int>(state);
    if (frames.count < s)
        s = 1;
    const int index = s == 0 ? 0 : s - 1;
    return TRect(index * frames.width, 0, (index + 1) * frames.width, frames.height);
}

// Puts a finished frame down: colour-keyed or alpha-blended when transparent. An 8-bit display
// copies or brush-copies instead of stretching with blending.
void Output(TCanvas& canvas, const TRect& dest, const TBitmap& frame, const TRect& source,
            bool transparent, TColor key, bool eightBit) {
    const bool alpha = frame.PixelFormat() == TPixelFormat::pf32bit &&
                       frame.AlphaFormat() == TAlphaFormat::afDefined;
    if (eightBit && !alpha) {
        if (transparent) {
            canvas.Brush().Style = TBrushStyle::bsClear;
            canvas.BrushCopy(dest, frame, source, key);
        } else {
            canvas.DrawBitmap(dest, frame, source, TBlendMode::bmCopy);
        }
        return;
    }
    if (!transparent)
        canvas.DrawBitmap(dest, frame, source, TBlendMode::bmCopy);
    else if (alpha)
        canvas.DrawBitmap(dest, frame, source, TBlendMode::bmAlpha);
    else
        canvas.DrawBitmap(dest, frame, source, TBlendMode::bmColorKey, key);
}

// The frame's own transparent colour: a fixed one, else its bottom-left pixel.
TColor FrameKey(const TBitmap& pixels, const TRect& source) {
    if (pixels.TransparentMode() == TTransparentMode::tmFixed)
        return pixels.TransparentColor();
    return pixels.Pixel(source.Left, source.Bottom - 1);
}

}  // namespace

TRect KwDrawImage(TCanvas& canvas, const TRect& rect, const TKwPkgImagesImage* image,
                  TColor lightColor, TColor shadowColor, bool calcRect, const TKwImageDraw& draw) {
    const bool boxed = draw.width > 0 && draw.height > 0;
    if (calcRect) {
        if (boxed)
            return TRect(0, 0, draw.width, draw.height);
        if (image == nullptr || image->Empty())
            return TRect();
        const TFrames frames = FramesOf(image->Width(), image->Height(), draw.state);
        return TRect(0, 0, frames.width, frames.height);
    }
    if (image == nullptr || image->Empty())
        return rect;
    const bool eightBit = Kw8BitPalette();
    const TKwDecodedImage decoded = KwDecodeImage(*image, eightBit);
    if (decoded.pixels == nullptr)
        return rect;
    const TBitmap& pixels = *decoded.pixels;
    const TFrames frames = FramesOf(pixels.Width(), pixels.Height(), draw.state);
    const TRect area = boxed ? CentredBox(rect, std::min(draw.width, rect.Width()),
                                          std::min(draw.height, rect.Height()))
                             : rect;
    TRect dest = Destination(area, frames.width, frames.height, draw);
    TRect source = SourceFrame(frames, draw.state);

    TKwCanvasSaver saver(canvas);
    // The frame that is finally put down: the image itself, or a generated one.
    std::unique_ptr<TBitmap> generated;
    TColor key = FrameKey(pixels, source);
    const TBitmap* frame = &pixels;
    if (draw.state == TKwImageState::istDisabled) {
        generated = frames.count == 1
                        ? KwEmbossedFrame(pixels, source, key, lightColor, shadowColor)
                        : KwRecolouredFrame(pixels, source, key, lightColor, shadowColor);
        frame = generated.get();
        source = TRect(0, 0, frame->Width(), frame->Height());
        key = ColorToRGB(clBtnFace);
    }
    if (draw.shadow) {
        const auto silhouette = KwSilhouetteFrame(*frame, source, key, KwSetColShadow().Color());
        Output(canvas, dest, *silhouette, TRect(0, 0, silhouette->Width(), silhouette->Height()),
               draw.transparent, ColorToRGB(clBtnFace), eightBit);
        dest = dest.Offset(-1, -1);
    }
    Output(canvas, dest, *frame, source, draw.transparent, key, eightBit);
    return rect;
}

TRect KwDrawImage(TCanvas& canvas, const TRect& rect, TKwMemoryImage* image, TColor lightColor,
                  TColor shadowColor, bool calcRect, const TKwImageDraw& draw) {
    return KwDrawImage(canvas, rect, image != nullptr ? image->Info() : nullptr, lightColor,
                       shadowColor, calcRect, draw);
}

TRect KwPaintImage(TCanvas& canvas, const TRect& rect, const TKwPkgImagesImage* image,
                   bool calcRect, const TKwImageDraw& draw) {
    return KwDrawImage(canvas, rect, image, KwSetTextDisLight().Color(),
                       KwSetTextDisShadow().Color(), calcRect, draw);
}

TRect KwPaintImage(TCanvas& canvas, const TRect& rect, TKwMemoryImage* image, bool calcRect,
                   const TKwImageDraw& draw) {
    return KwPaintImage(canvas, rect, image != nullptr ? image->Info() : nullptr, calcRect, draw);
}

void KwPaintImageEx(TCanvas& canvas, const TRect& rect, const String& imageName, int index,
                    TKwImageState state, bool transparent, bool stretch, int width, int height) {
    TKwMemoryImage reference;
    reference.PkgId(imageName, index);
    KwPaintImage(canvas, rect, &reference, false,
                 TKwImageDraw{state, transparent, stretch, width, height, false});
}

}  // namespace kw
