#pragma once

#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "platform/ui/control.h"

namespace kw {

class TBitmap;
class TCanvas;
class TKwGalleryView;
class TKwLinkEvt;
class TKwMemoryLabel;
class TKwSetBackGround;
class TKwSetColor;

// A text as the gallery painted it: where, clipped to what, in which size and colour.
struct TKwGalleryText {
    TRect clip;
    TPoint origin;
    String text;
    int pixels = 0;
    TColor color = 0;
};

// What a section paints with: the canvas of the whole gallery, the sets every section shares,
// and small helpers that keep text and tiles looking the same everywhere.
class TKwGalleryPainter {
public:
    TKwGalleryPainter(TKwGalleryView& view, TCanvas& canvas, TKwSetBackGround& tile,
                      TKwSetBackGround& accent, TKwSetColor& text, TKwSetColor& frame);

    TCanvas& Canvas() { return canvas_; }
    TKwSetBackGround& Tile() { return tile_; }
    // The skin's gradient of title bars and pressed buttons.
    TKwSetBackGround& Accent() { return accent_; }
    TKwSetColor& Frame() { return frame_; }
    // The text of a "System" label in the active language.
    String Label(int id);
    TColor TextColor();
    // Text in the built-in fixed font, `pixels` high, without a background.
    void Text(int x, int y, StringView text, int pixels = kBodyPixels);
    // Text centred horizontally (and vertically) in `rect`.
    void TextCentered(const TRect& rect, StringView text, int pixels = kBodyPixels);
    // A small caption centred under a tile.
    void TileCaption(const TRect& tile, StringView text);
    TSize TextSize(StringView text, int pixels = kBodyPixels);
    // The one way text reaches the canvas: at `origin`, clipped to `clip`.
    void TextAt(const TRect& clip, TPoint origin, StringView text, int pixels, TColor color);

    static constexpr int kBodyPixels = 10;
    static constexpr int kTitlePixels = 14;
    static constexpr int kCaptionPixels = 9;

private:
    void UseFont(int pixels, TColor color);

    TKwGalleryView& view_;
    TCanvas& canvas_;
    TKwSetBackGround& tile_;
    TKwSetBackGround& accent_;
    TKwSetColor& text_;
    TKwSetColor& frame_;
};

// One section of the gallery: a title and the routine that paints its body into `body`, whose
// height the section fixes. Adding a section is one entry of KwGallerySections().
struct TKwGallerySection {
    const char16_t* title;
    int height;
    std::function<void(TKwGalleryPainter& painter, const TRect& body)> paint;
};
const std::vector<TKwGallerySection>& KwGallerySections();

// The reference languages and the bundled skins, by the base names of their files
// ("German" for "German.lan", "dark" for "dark.dis").
const std::vector<String>& KwGalleryLanguages();
const std::vector<String>& KwGallerySkins();

// The form's one control: every section stacked under a header that names the language and the
// skin. It repaints when the packages it draws from change (a language or skin loaded at run
// time), through its link and its set references.
class TKwGalleryView : public TCustomControl {
    KW_CLASS(TKwGalleryView)
public:
    explicit TKwGalleryView(TComponent* owner = nullptr);
    ~TKwGalleryView() override;

    // The size that shows every section.
    static TSize PreferredSize();
    // Paints the whole gallery on `canvas` at (0, 0).
    void PaintGallery(TCanvas& canvas);
    // The switch buttons under the header: the languages, then the skins. A click on one calls
    // OnSwitch with the language and skin it asks for.
    static int SwitchCount();
    static TRect SwitchRect(int index);
    std::function<void(const String& language, const String& skin)> OnSwitch;
    // How often the gallery was painted, so that callers can tell a repaint happened.
    int PaintCount() const { return paints_; }
    // The text of "System" label `id`; the view keeps a reference to it, so that a language
    // loaded later repaints the view.
    String LabelText(int id);
    // Every text of the last paint, in painting order.
    const std::vector<TKwGalleryText>& PaintedTexts() const { return texts_; }
    void NoteText(TKwGalleryText text);

protected:
    void Paint(const TPaintContext& context) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

private:
    void PaintHeader(TKwGalleryPainter& painter, const TRect& rect);
    void PaintSwitches(TKwGalleryPainter& painter);
    // The base names of the files the packages hold now.
    String ActiveLanguage() const;
    String ActiveSkin() const;

    std::unique_ptr<TKwLinkEvt> link_;
    std::unique_ptr<TKwSetBackGround> main_;
    std::unique_ptr<TKwSetBackGround> title_;
    std::unique_ptr<TKwSetBackGround> tile_;
    std::unique_ptr<TKwSetColor> text_;
    std::unique_ptr<TKwSetColor> frame_;
    std::map<int, std::unique_ptr<TKwMemoryLabel>> labels_;
    std::unique_ptr<TBitmap> buffer_;
    std::vector<TKwGalleryText> texts_;
    int paints_ = 0;
};

}  // namespace kw
