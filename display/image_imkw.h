#pragma once

#include <memory>

#include "display/package_image.h"
#include "platform/graphics/graphic.h"

namespace kw {

// The library's image file as a graphic, so that any picture can load, save, draw and exchange
// it through the clipboard. The image belongs to no package.
class TKwImageIMKW : public TGraphic {
    KW_CLASS(TKwImageIMKW)
public:
    TKwImageIMKW();
    ~TKwImageIMKW() override;

    TKwPkgImagesImage& Image() { return *image_; }
    const TKwPkgImagesImage& Image() const { return *image_; }
    // The image rendered as a bitmap, built on first need; none for an image without pixels.
    const TBitmap* Bitmap() const;

    bool Empty() const override { return image_->Empty(); }
    int Width() const override { return image_->Width(); }
    int Height() const override { return image_->Height(); }
    void LoadFromStream(TStream& stream) override;
    void SaveToStream(TStream& stream) const override;
    void ReadData(TStream& stream) { LoadFromStream(stream); }
    void WriteData(TStream& stream) const { SaveToStream(stream); }

    Word ClipboardFormat() const override;
    void LoadFromClipboardFormat(Word format, std::span<const Byte> data) override;
    void SaveToClipboardFormat(Word& format, std::vector<Byte>& data) const override;

    void Assign(const TPersistent* source) override;
    // Only the very same image object is equal.
    bool Equals(const TGraphic& other) const override;
    void Draw(TCanvas& canvas, const TRect& rect) const override;
    const TBitmap* PixelData() const override { return Bitmap(); }

protected:
    void AssignTo(TPersistent& dest) const override;

private:
    void ImageReplaced();

    std::unique_ptr<TKwPkgImagesImage> image_;
    mutable std::unique_ptr<TBitmap> bitmap_;
};

}  // namespace kw
