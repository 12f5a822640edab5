#pragma once

#include <cstdint>
#include <functional>

#include "platform/core/types.h"
#include "platform/graphics/device.h"
#include "platform/graphics/graphics_types.h"

namespace kw {

enum TFontPitch : std::uint8_t { fpDefault = 0, fpVariable = 1, fpFixed = 2 };

// Style flags, combined in a TFontStyles bit set.
enum TFontStyle : std::uint8_t {
    fsBold = 1 << 0,
    fsItalic = 1 << 1,
    fsUnderline = 1 << 2,
    fsStrikeOut = 1 << 3,
};
using TFontStyles = std::uint8_t;

using TFontCharset = std::uint8_t;
inline constexpr TFontCharset kDefaultCharset = 1;

// A font description as the platform keeps it. The size in points and the height in pixels
// describe the same thing at the font's pixels per inch: setting one recomputes the other. The
// height is negative, the platform's way of saying "character height without internal leading".
class TFont {
public:
    using TNotify = std::function<void(TFont& sender)>;

    // The platform's default font.
    TFont();
    TFont(const TFont& other);
    TFont& operator=(const TFont& other);

    const String& Name() const { return name_; }
    void SetName(const String& name);
    TFontCharset Charset() const { return charset_; }
    void SetCharset(TFontCharset charset);
    TFontPitch Pitch() const { return pitch_; }
    void SetPitch(TFontPitch pitch);
    int Size() const;
    void SetSize(int points);
    int Height() const { return height_; }
    void SetHeight(int pixels);
    int PixelsPerInch() const { return pixelsPerInch_; }
    // Keeps the height; the size follows the new density.
    void SetPixelsPerInch(int ppi);
    TFontStyles Style() const { return style_; }
    void SetStyle(TFontStyles style);
    bool HasStyle(TFontStyle flag) const { return (style_ & flag) != 0; }
    void SetStyleFlag(TFontStyle flag, bool on);
    TColor Color() const { return color_; }
    void SetColor(TColor color);

    // Copies every value except the pixels per inch, the height being what is kept; one
    // notification when anything changed.
    void Assign(const TFont& source);
    // Same description (name compared exactly, height rather than size).
    friend bool operator==(const TFont& a, const TFont& b);

    TNotify OnChange;

private:
    template <class T>
    void Store(T& field, T value);
    void Changed();

    String name_;
    TFontCharset charset_ = kDefaultCharset;
    TFontPitch pitch_ = fpDefault;
    int height_;
    int pixelsPerInch_;
    TFontStyles style_ = 0;
    TColor color_ = clWindowText;
};

// The device description of a font, as CreateFontIndirect takes it (no escapement).
LOGFONT ToLogFont(const TFont& font);

// What a default-constructed font holds.
inline constexpr const Char* kPlatformDefaultFontName = u"Sans";
inline constexpr int kPlatformDefaultFontSize = 8;

}  // namespace kw
