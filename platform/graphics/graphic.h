#pragma once

#include <functional>
#include <memory>
#include <span>
#include <vector>

#include "platform/core/persistent.h"
#include "platform/graphics/graphics_types.h"

namespace kw {

class TBitmap;
class TCanvas;
class TStream;

// An image that can be loaded, saved, measured and drawn on a canvas.
class TGraphic : public TPersistent {
    KW_CLASS(TGraphic)
public:
    using TNotifyEvent = std::function<void(TGraphic&)>;

    virtual bool Empty() const = 0;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    // Raises EInvalidGraphicOperation unless the graphic can be resized.
    virtual void SetSize(int width, int height);
    void SetWidth(int width) { SetSize(width, Height()); }
    void SetHeight(int height) { SetSize(Width(), height); }

    bool Transparent() const { return transparent_; }
    virtual void SetTransparent(bool value);
    bool Modified() const { return modified_; }
    void SetModified(bool value) { modified_ = value; }
    const TNotifyEvent& OnChange() const { return onChange_; }
    void SetOnChange(TNotifyEvent handler) { onChange_ = std::move(handler); }

    // Reads the graphic from the stream's position to its end.
    virtual void LoadFromStream(TStream& stream) = 0;
    virtual void SaveToStream(TStream& stream) const = 0;
    void LoadFromFile(const String& fileName);
    void SaveToFile(const String& fileName) const;

    // The in-process clipboard format under which the graphic exchanges its saved bytes; 0 when
    // it has none (the clipboard operations then raise EInvalidGraphic).
    virtual Word ClipboardFormat() const { return 0; }
    virtual void LoadFromClipboardFormat(Word format, std::span<const Byte> data);
    virtual void SaveToClipboardFormat(Word& format, std::vector<Byte>& data) const;

    // True for a graphic of the same class whose saved bytes are equal.
    virtual bool Equals(const TGraphic& other) const;
    // Paints the graphic stretched into `rect`.
    virtual void Draw(TCanvas& canvas, const TRect& rect) const = 0;
    // The decoded pixels, or null for a graphic that has none (empty, or a metafile).
    virtual const TBitmap* PixelData() const { return nullptr; }

protected:
    TGraphic() = default;
    virtual void Changed();
    // Sets the flag without a change notification, for assignments that notify once.
    void StoreTransparent(bool value) { transparent_ = value; }
    std::vector<Byte> SavedBytes() const;
    static std::vector<Byte> ReadToEnd(TStream& stream);
    static void WriteBytes(TStream& stream, std::span<const Byte> bytes);

private:
    bool transparent_ = false;
    bool modified_ = false;
    TNotifyEvent onChange_;
};

// A graphic that keeps the encoded bytes it was loaded from, writes them back unchanged, reads its
// size from their header and decodes its pixels on first need.
class TEncodedGraphic : public TGraphic {
    KW_CLASS(TEncodedGraphic)
public:
    ~TEncodedGraphic() override;

    bool Empty() const override { return data_.empty(); }
    int Width() const override { return size_.cx; }
    int Height() const override { return size_.cy; }
    void LoadFromStream(TStream& stream) override;
    void SaveToStream(TStream& stream) const override;
    // From a graphic of the same class: its bytes. From any other graphic with pixels: encodes
    // those pixels in this class's format.
    void Assign(const TPersistent* source) override;
    void Draw(TCanvas& canvas, const TRect& rect) const override;
    const TBitmap* PixelData() const override;

    const std::vector<Byte>& Data() const { return data_; }
    // Takes encoded bytes; raises EInvalidGraphic (and stays unchanged) when their header is bad.
    void SetData(std::vector<Byte> data);
    void Clear();

protected:
    TEncodedGraphic();
    // The image size that the header of `data` announces; raises EInvalidGraphic.
    virtual TSize ReadHeader(std::span<const Byte> data) const = 0;
    // The pixels of `data`, or null for a class that does not decode pixels.
    virtual std::unique_ptr<TBitmap> Decode(std::span<const Byte> data) const = 0;
    virtual std::vector<Byte> Encode(const TBitmap& pixels) const = 0;
    // Re-reads the size after a setting that changes it, and drops the decoded pixels.
    void Refresh();

private:
    std::vector<Byte> data_;
    TSize size_;
    mutable std::unique_ptr<TBitmap> pixels_;
};

// An icon file: the largest entry (and among equal sizes the deepest colour) is shown. Writing
// produces the loaded file unchanged, or a one-entry 32-bit icon built from a bitmap.
class TIcon : public TEncodedGraphic {
    KW_CLASS(TIcon)
public:
    TIcon();

protected:
    TSize ReadHeader(std::span<const Byte> data) const override;
    std::unique_ptr<TBitmap> Decode(std::span<const Byte> data) const override;
    std::vector<Byte> Encode(const TBitmap& pixels) const override;
};

class TPngImage : public TEncodedGraphic {
    KW_CLASS(TPngImage)
public:
    TPngImage();
    Word ClipboardFormat() const override;

protected:
    TSize ReadHeader(std::span<const Byte> data) const override;
    std::unique_ptr<TBitmap> Decode(std::span<const Byte> data) const override;
    std::vector<Byte> Encode(const TBitmap& pixels) const override;
};

enum class TJPEGScale { jsFullSize, jsHalf, jsQuarter, jsEighth };

// A JPEG image; Width and Height report the size at the current decoding scale.
class TJPEGImage : public TEncodedGraphic {
    KW_CLASS(TJPEGImage)
public:
    TJPEGImage();
    Word ClipboardFormat() const override;

    TJPEGScale Scale() const { return scale_; }
    void SetScale(TJPEGScale scale);
    bool Grayscale() const { return grayscale_; }
    void SetGrayscale(bool value);
    // 1 to 100, used when pixels are encoded.
    int CompressionQuality() const { return quality_; }
    void SetCompressionQuality(int quality);

protected:
    TSize ReadHeader(std::span<const Byte> data) const override;
    std::unique_ptr<TBitmap> Decode(std::span<const Byte> data) const override;
    std::vector<Byte> Encode(const TBitmap& pixels) const override;

private:
    TJPEGScale scale_ = TJPEGScale::jsFullSize;
    bool grayscale_ = false;
    int quality_ = 90;
};

// A GIF image; its first frame is shown, with the frame's transparent colour see-through.
class TGIFImage : public TEncodedGraphic {
    KW_CLASS(TGIFImage)
public:
    TGIFImage();
    Word ClipboardFormat() const override;

protected:
    TSize ReadHeader(std::span<const Byte> data) const override;
    std::unique_ptr<TBitmap> Decode(std::span<const Byte> data) const override;
    std::vector<Byte> Encode(const TBitmap& pixels) const override;
};

// A placeable or enhanced metafile. Its bytes are kept and its size is read from its header; it
// is not played back, so drawing it paints nothing.
class TMetafile : public TEncodedGraphic {
    KW_CLASS(TMetafile)
public:
    TMetafile();
    Word ClipboardFormat() const override;
    void Draw(TCanvas& canvas, const TRect& rect) const override {}

    bool Enhanced() const;
    // The picture frame in hundredths of a millimetre.
    int MMWidth() const;
    int MMHeight() const;

protected:
    TSize ReadHeader(std::span<const Byte> data) const override;
    std::unique_ptr<TBitmap> Decode(std::span<const Byte> data) const override;
    std::vector<Byte> Encode(const TBitmap& pixels) const override;
};

// Holds one graphic of any registered class and loads files by their extension.
class TPicture : public TPersistent {
    KW_CLASS(TPicture)
public:
    using TNotifyEvent = std::function<void(TPicture&)>;

    TPicture();
    ~TPicture() override;

    TGraphic* Graphic() const { return graphic_.get(); }
    // Holds a copy of `graphic` (of the same class), or nothing for null.
    void SetGraphic(const TGraphic* graphic);
    void TakeGraphic(std::unique_ptr<TGraphic> graphic);
    // The graphic as a bitmap; any other graphic is first replaced by an empty bitmap.
    TBitmap& Bitmap();
    int Width() const;
    int Height() const;

    // The class comes from the file's extension (EInvalidGraphic when none is registered).
    void LoadFromFile(const String& fileName);
    void SaveToFile(const String& fileName) const;
    // The class comes from the data's first bytes (EInvalidGraphic when unknown).
    virtual void LoadFromStream(TStream& stream);
    virtual void SaveToStream(TStream& stream) const;
    void LoadFromClipboardFormat(Word format, std::span<const Byte> data);
    void SaveToClipboardFormat(Word& format, std::vector<Byte>& data) const;
    static bool SupportsClipboardFormat(Word format);

    void Assign(const TPersistent* source) override;
    const TNotifyEvent& OnChange() const { return onChange_; }
    void SetOnChange(TNotifyEvent handler) { onChange_ = std::move(handler); }

protected:
    void AssignTo(TPersistent& dest) const override;
    virtual void Changed();

private:
    void Install(std::unique_ptr<TGraphic> graphic);

    std::unique_ptr<TGraphic> graphic_;
    TNotifyEvent onChange_;
};

}  // namespace kw
