#include "platform/graphics/font.h"

#include "platform/core/numbers.h"
#include "platform/ui/screen.h"

namespace kw {

namespace {

int HeightOf(int points, int ppi) {
    return -MulDiv(points, ppi, 72);
}

}  // namespace

TFont::TFont()
    : name_(kPlatformDefaultFontName),
      height_(HeightOf(kPlatformDefaultFontSize, Screen().PixelsPerInch())),
      pixelsPerInch_(Screen().PixelsPerInch()) {}

// The copy is a new object: it does not inherit the handler of the one it copies.
TFont::TFont(const TFont& other)
    : name_(other.name_),
      charset_(other.charset_),
      pitch_(other.pitch_),
      height_(other.height_),
      pixelsPerInch_(other.pixelsPerInch_),
      style_(other.style_),
      color_(other.color_) {}

TFont& TFont::operator=(const TFont& other) {
    Assign(other);
    return *this;
}

template <class T>
void TFont::Store(T& field, T value) {
    if (field == value)
        return;
    field = value;
    Changed();
}

void TFont::Changed() {
    if (OnChange)
        OnChange(*this);
}

void TFont::SetName(const String& name) {
    Store(name_, name);
}

void TFont::SetCharset(TFontCharset charset) {
    Store(charset_, charset);
}

void TFont::SetPitch(TFontPitch pitch) {
    Store(pitch_, pitch);
}

int TFont::Size() const {
    return -MulDiv(height_, 72, pixelsPerInch_);
}

void TFont::SetSize(int points) {
    Store(height_, HeightOf(points, pixelsPerInch_));
}

void TFont::SetHeight(int pixels) {
    Store(height_, pixels);
}

void TFont::SetPixelsPerInch(int ppi) {
    if (ppi > 0)
        pixelsPerInch_ = ppi;
}

void TFont::SetStyle(TFontStyles style) {
    Store(style_, style);
}

void TFont::SetStyleFlag(TFontStyle flag, bool on) {
    SetStyle(static_cast<TFontStyles>(on ? (style_ | flag) : (style_ & ~flag)));
}

void TFont::SetColor(TColor color) {
    Store(color_, color);
}

void TFont::Assign(const TFont& source) {
    if (&source == this || *this == source)
        return;
    name_ = source.name_;
    charset_ = source.charset_;
    pitch_ = source.pitch_;
    height_ = source.height_;
    style_ = source.style_;
    color_ = source.color_;
    Changed();
}

bool operator==(const TFont& a, const TFont& b) {
    return a.name_ == b.name_ && a.charset_ == b.charset_ && a.pitch_ == b.pitch_ &&
           a.height_ == b.height_ && a.style_ == b.style_ && a.color_ == b.color_;
}

LOGFONT ToLogFont(const TFont& font) {
    LOGFONT log;
    log.lfHeight = font.Height();
    log.lfWeight = font.HasStyle(fsBold) ? FW_BOLD : FW_NORMAL;
    log.lfItalic = font.HasStyle(fsItalic);
    log.lfUnderline = font.HasStyle(fsUnderline);
    log.lfStrikeOut = font.HasStyle(fsStrikeOut);
    log.lfCharSet = font.Charset();
    log.lfPitchAndFamily = static_cast<Byte>(font.Pitch());
    SetFaceName(log, font.Name());
    return log;
}

}  // namespace kw
