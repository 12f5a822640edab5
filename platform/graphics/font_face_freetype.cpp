// The scalable back-end: faces found through fontconfig, rasterised by FreeType with
// anti-aliasing. Rotation is applied to the rendered line by the text routines.

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H
#include <fontconfig/fontconfig.h>

#include <cmath>
#include <map>
#include <tuple>

#include "platform/graphics/font_face.h"
#include "platform/graphics/gdi_objects.h"
#include "platform/text/unicode.h"

namespace kw {

namespace {

struct FontFile {
    std::string path;
    int index = 0;
    bool syntheticBold = false;
    bool syntheticItalic = false;
};

// The one FreeType library, started on first use and kept for the process.
FT_Library Library() {
    static FT_Library library = [] {
        FT_Library created = nullptr;
        return FT_Init_FreeType(&created) == 0 ? created : nullptr;
    }();
    return library;
}

// The file fontconfig picks for a family, weight and slant; empty when there is none.
FontFile Match(const std::string& family, bool bold, bool italic) {
    FontFile file;
    if (!FcInit())
        return file;
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    if (match == nullptr)
        return file;
    FcChar8* path = nullptr;
    int index = 0, weight = 0, slant = 0;
    if (FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch && path != nullptr) {
        file.path = reinterpret_cast<const char*>(path);
        FcPatternGetInteger(match, FC_INDEX, 0, &index);
        file.index = index;
        if (FcPatternGetInteger(match, FC_WEIGHT, 0, &weight) == FcResultMatch)
            file.syntheticBold = bold && weight < FC_WEIGHT_DEMIBOLD;
        if (FcPatternGetInteger(match, FC_SLANT, 0, &slant) == FcResultMatch)
            file.syntheticItalic = italic && slant == FC_SLANT_ROMAN;
    }
    FcPatternDestroy(match);
    return file;
}

std::int64_t Round26(FT_Pos value) {
    return (static_cast<std::int64_t>(value) + 32) >> 6;
}

class TFreeTypeFace final : public TFontFace {
public:
    TFreeTypeFace(FT_Face face, const FontFile& file, int height) : face_(face), file_(file) {
        // Negative heights ask for the em size, positive ones for ascent plus descent.
        int ppem = std::max(1, std::abs(height));
        if (height > 0 && face->units_per_EM > 0 && face->ascender - face->descender > 0) {
            ppem = std::max<int>(
                1, static_cast<int>(std::lround(static_cast<double>(height) * face->units_per_EM /
                                                (face->ascender - face->descender))));
        }
        FT_Set_Pixel_Sizes(face_, 0, static_cast<FT_UInt>(std::min(ppem, 2048)));
        const FT_Size_Metrics& m = face_->size->metrics;
        metrics_.tmAscent = static_cast<int>(Round26(m.ascender));
        metrics_.tmDescent = static_cast<int>(Round26(-m.descender));
        metrics_.tmHeight = metrics_.tmAscent + metrics_.tmDescent;
        metrics_.tmInternalLeading = std::max(0, metrics_.tmHeight - ppem);
        metrics_.tmExternalLeading =
            std::max<int>(0, static_cast<int>(Round26(m.height)) - metrics_.tmHeight);
        metrics_.tmAveCharWidth = Advance(U'x');
        metrics_.tmMaxCharWidth = static_cast<int>(Round26(m.max_advance));
        metrics_.tmWeight =
            file.syntheticBold || (face->style_flags & FT_STYLE_FLAG_BOLD) ? FW_BOLD : FW_NORMAL;
        metrics_.tmPitchAndFamily = static_cast<Byte>((FT_IS_SFNT(face_) ? TMPF_TRUETYPE : 0) |
                                                      (FT_IS_FIXED_WIDTH(face_) ? 0 : 0x01));
        metrics_.tmCharSet = DEFAULT_CHARSET;
        underline_ = std::max(
            1, static_cast<int>(std::lround(static_cast<double>(face->underline_thickness) *
                                            m.y_ppem / std::max<int>(face->units_per_EM, 1))));
    }
    ~TFreeTypeFace() override { FT_Done_Face(face_); }

    const TEXTMETRIC& Metrics() const override { return metrics_; }
    int LineThickness() const override { return underline_; }
    int UnderlineOffset() const override { return std::max(1, metrics_.tmDescent / 2); }
    int StrikeOutOffset() const override { return metrics_.tmAscent / 3; }

protected:
    TGlyph Rasterise(char32_t ch) const override {
        TGlyph glyph;
        if (FT_Load_Char(face_, ch, FT_LOAD_DEFAULT) != 0)
            return glyph;
        FT_GlyphSlot slot = face_->glyph;
        if (file_.syntheticBold)
            FT_GlyphSlot_Embolden(slot);
        if (file_.syntheticItalic)
            FT_GlyphSlot_Oblique(slot);
        if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0)
            return glyph;
        const FT_Bitmap& bitmap = slot->bitmap;
        glyph.width = static_cast<int>(bitmap.width);
        glyph.height = static_cast<int>(bitmap.rows);
        glyph.left = slot->bitmap_left;
        glyph.top = slot->bitmap_top;
        glyph.advance = static_cast<int>(Round26(slot->advance.x));
        glyph.coverage.resize(static_cast<std::size_t>(glyph.width) * glyph.height);
        for (int y = 0; y < glyph.height; ++y) {
            const unsigned char* row =
                bitmap.buffer + static_cast<std::ptrdiff_t>(y) * bitmap.pitch;
            for (int x = 0; x < glyph.width; ++x) {
                const Byte value = bitmap.pixel_mode == FT_PIXEL_MODE_MONO
                                       ? ((row[x >> 3] >> (7 - (x & 7))) & 1 ? 255 : 0)
                                       : row[x];
                glyph.coverage[static_cast<std::size_t>(y) * glyph.width + x] = value;
            }
        }
        return glyph;
    }

private:
    FT_Face face_;
    FontFile file_;
    TEXTMETRIC metrics_;
    int underline_ = 1;
};

using FaceKey = std::tuple<std::string, bool, bool, int>;

struct FreeTypeCache {
    std::map<std::tuple<std::string, bool, bool>, FontFile> files;
    std::map<FaceKey, std::shared_ptr<TFontFace>> faces;
};

FreeTypeCache& Cache() {
    static FreeTypeCache cache;
    return cache;
}

}  // namespace

std::shared_ptr<TFontFace> FreeTypeFontFace(const LOGFONT& font) {
    FT_Library library = Library();
    if (library == nullptr)
        return nullptr;
    const std::string family = StringToUtf8(FaceName(font));
    const bool bold = font.lfWeight >= 600;
    const bool italic = font.lfItalic != 0;
    const int height = font.lfHeight == 0 ? -12 : std::clamp(font.lfHeight, -2048, 2048);
    FreeTypeCache& cache = Cache();
    const auto fileKey = std::make_tuple(family, bold, italic);
    auto found = cache.files.find(fileKey);
    if (found == cache.files.end())
        found = cache.files.emplace(fileKey, Match(family, bold, italic)).first;
    const FontFile& file = found->second;
    if (file.path.empty())
        return nullptr;
    auto& slot = cache.faces[FaceKey{family, bold, italic, height}];
    if (!slot) {
        FT_Face face = nullptr;
        if (FT_New_Face(library, file.path.c_str(), file.index, &face) != 0)
            return nullptr;
        slot = std::make_shared<TFreeTypeFace>(face, file, height);
    }
    return slot;
}

void ClearFreeTypeFaces() {
    Cache().faces.clear();
}

}  // namespace kw
