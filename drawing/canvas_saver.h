#pragma once

#include <optional>

#include "platform/graphics/canvas.h"
#include "platform/graphics/region.h"

namespace kw {

// Keeps a canvas's pen, brush, copy mode and clipping for the life of the saver and puts them
// back when it goes, on every path out of a painting routine.
class TKwCanvasSaver {
public:
    explicit TKwCanvasSaver(TCanvas& canvas)
        : canvas_(canvas),
          pen_(canvas.Pen()),
          brush_(canvas.Brush()),
          copyMode_(canvas.CopyMode()) {
        if (canvas.ClipRegion() != nullptr)
            clip_ = *canvas.ClipRegion();
    }
    ~TKwCanvasSaver() {
        canvas_.Pen() = pen_;
        canvas_.Brush() = brush_;
        canvas_.SetCopyMode(copyMode_);
        canvas_.SetClipRegion(clip_ ? &*clip_ : nullptr);
    }
    TKwCanvasSaver(const TKwCanvasSaver&) = delete;
    TKwCanvasSaver& operator=(const TKwCanvasSaver&) = delete;

private:
    TCanvas& canvas_;
    TPen pen_;
    TBrush brush_;
    TCopyMode copyMode_;
    std::optional<TRegion> clip_;
};

}  // namespace kw
