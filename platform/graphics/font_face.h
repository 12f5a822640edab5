#pragma once

#include <memory>
#include <unordered_map>
#include <vector>

#include "platform/graphics/device.h"

namespace kw {

// One glyph raster: 8-bit coverage, placed relative to the pen position on the baseline.
struct TGlyph {
    int width = 0;
    int height = 0;
    int left = 0;  // from the pen position to the raster's first column
    int top = 0;   // from the baseline up to the raster's first row
    int advance = 0;
    std::vector<Byte> coverage;
};

// A font realised at one size: its metrics and its glyphs, rasterised once and kept.
class TFontFace {
public:
    virtual ~TFontFace() = default;
    virtual const TEXTMETRIC& Metrics() const = 0;
    // Thickness and position (rows below the baseline) of underlines; the strike-out row above it.
    virtual int LineThickness() const = 0;
    virtual int UnderlineOffset() const = 0;
    virtual int StrikeOutOffset() const = 0;
    const TGlyph& Glyph(char32_t ch);
    int Advance(char32_t ch) { return Glyph(ch).advance; }
    std::size_t CachedGlyphs() const { return glyphs_.size(); }
    void DropGlyphs() { glyphs_.clear(); }

protected:
    virtual TGlyph Rasterise(char32_t ch) const = 0;

private:
    std::unordered_map<char32_t, TGlyph> glyphs_;
};

// The face that draws `font`: the built-in fixed-metric font for its own name and the stock
// "System" font, otherwise the scalable back-end's match (the built-in font when nothing
// matches). Faces are shared between fonts of the same description and size.
std::shared_ptr<TFontFace> ResolveFontFace(const LOGFONT& font);
// A face from the scalable back-end, or null when no font file matches.
std::shared_ptr<TFontFace> FreeTypeFontFace(const LOGFONT& font);
void ClearFreeTypeFaces();
// The built-in face whatever the description asks for.
std::shared_ptr<TFontFace> BuiltInFontFace(const LOGFONT& font);
// The face name of the built-in font.
inline constexpr const Char* kBuiltInFontName = u"Kw Fixed";

}  // namespace kw
