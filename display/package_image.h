#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "platform/core/types.h"
#include "platform/graphics/bitmap.h"
#include "platform/graphics/region.h"

namespace kw {

class TCanvas;
class TClass;
class TMemoryStream;
class TReader;
class TStream;
class TWriter;
class TKwPkgImages;
class TKwPkgImagesImages;

inline constexpr int kKwMaxImageId = 9999;

enum class TKwImageState { istAll, istUp, istDisabled, istDown, istExclusive };

// An image whose width is 1 to 4 times its height is a strip of that many square frames.
int KwImageFrames(int width, int height);

// The sliced-skin settings kept with an image: its four corners keep their size, the rest is
// fitted. Plain values that the mask editor sets.
struct TKwImageSkin {
    bool adjusts = false;
    bool syncHor = true;
    bool syncVer = true;
    std::int32_t up1 = 1, up2 = 1, down1 = 1, down2 = 1;
    std::int32_t left1 = 1, left2 = 1, right1 = 1, right2 = 1;
    friend bool operator==(const TKwImageSkin&, const TKwImageSkin&) = default;
};

// One numbered image: the bytes of its own file format, kept unchanged, its size, the outer
// and inner window-shape regions and its skin corners. A stand-alone image (an image file's)
// has no collection.
class TKwPkgImagesImage {
public:
    explicit TKwPkgImagesImage(TKwPkgImagesImages* owner);
    ~TKwPkgImagesImage();
    TKwPkgImagesImage(const TKwPkgImagesImage&) = delete;

    // Runs after every change of the image's data, whoever made it; a graphic that wraps the
    // image drops what it built from the old data.
    std::function<void(TKwPkgImagesImage&)> OnChange;
    TKwPkgImagesImage& operator=(const TKwPkgImagesImage&) = delete;

    TKwPkgImagesImages* Owner() const { return owner_; }
    TKwPkgImages* Package() const;

    int Id() const { return id_; }
    // Raises "System" 22 to 24 for an invalid or used id, except while the package loads.
    void SetId(int id);
    bool Protected() const { return protected_; }
    void SetProtected(bool value) { protected_ = value; }
    // The decoding class's name, or the stored name when no registered class matches it.
    String GraphicName() const;
    const TClass* GraphicClass() const { return graphicClass_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    TKwImageSkin& Skin() { return skin_; }
    const TKwImageSkin& Skin() const { return skin_; }

    bool Empty() const { return native_ == nullptr; }
    int Size() const;
    bool ExternalMask() const { return externalMask_ != nullptr; }
    bool InternalMask() const { return internalMask_ != nullptr; }
    int Frames() const { return KwImageFrames(width_, height_); }
    int FrameWidth() const { return width_ / Frames(); }

    // The native bytes at position 0; none when empty.
    TStream* ReadNativeStream() const;
    // What painting uses: the native bytes of a bitmap (and of a PNG unless a bitmap is
    // forced), else a bitmap file rendered once and kept until the data changes.
    TStream* ReadStream(bool forceBitmap) const;
    void PixelFormat(TPixelFormat format);
    // The size the native bytes decode to; decoding every pixel, it raises for bytes that are
    // corrupt or cut short.
    void ReCalcSize();

    // New regions from the stored region data; none without a mask.
    std::unique_ptr<TRegion> CreateExternalRgn() const;
    std::unique_ptr<TRegion> CreateInternalRgn() const;
    // Stores the region's data; none removes the mask.
    void CreateExternalMask(const TRegion* region);
    void CreateInternalMask(const TRegion* region);
    // The outer shape for a window; none gives a rectangular window.
    std::unique_ptr<TRegion> WindowMask() const { return CreateExternalRgn(); }
    // Resets the skin settings, not the regions.
    void ClearMask() { skin_ = TKwImageSkin(); }

    void Assign(const TKwPkgImagesImage& other);
    void Clear();
    // The whole stream becomes the native bytes of `graphicClass`; bytes that do not decode
    // raise and leave the image as it was.
    void LoadFromStream(TStream& stream, const TClass* graphicClass);
    void SaveToStream(TStream& stream) const;
    // The image file: header and record, the id not taken. Native bytes that do not decode
    // raise and leave the image empty.
    void LoadFromStreamIMKW(TStream& stream);
    void SaveToStreamIMKW(TStream& stream) const;
    // ".imkw" names an image file; other extensions the native bytes of a registered class.
    void LoadFromFile(const String& fileName);
    void SaveToFile(const String& fileName) const;
    void LoadFromClipBoard();
    void SaveToClipBoard() const;

    // Paints the first frame at its natural size with its top-left at (x, y).
    void Draw(TCanvas& canvas, int x, int y, bool transparent) const;
    // Paints the frame of `state` into `rect`, stretched when asked.
    void DrawRect(TCanvas& canvas, const TRect& rect, TKwImageState state, bool stretch,
                  bool transparent) const;

    // The image record of a package or image file of `version`.
    void xLoadFromStream(TReader& reader, int version, bool takeId);
    // The same, with the size of the reader's stream known (asking a file costs system calls).
    void xLoadFromStream(TReader& reader, int version, bool takeId, std::int64_t streamSize);
    void xSaveToStream(TWriter& writer) const;

private:
    friend class TKwPkgImagesImages;

    bool Loading() const;
    // Re-resolves the references to this image and tells its package.
    void Notify();
    void DropData();
    void TakeNative(std::unique_ptr<TMemoryStream> native, const TClass* graphicClass);
    void StoreMask(std::unique_ptr<TMemoryStream>& mask, const TRegion* region);

    TKwPkgImagesImages* owner_;
    int id_ = -1;
    std::unique_ptr<TMemoryStream> native_;
    mutable std::unique_ptr<TMemoryStream> bitmap_;
    std::unique_ptr<TMemoryStream> externalMask_;
    std::unique_ptr<TMemoryStream> internalMask_;
    String graphicName_;
    const TClass* graphicClass_ = nullptr;
    int width_ = 0;
    int height_ = 0;
    bool protected_ = false;
    TKwImageSkin skin_;
};

// The images of a package in insertion (or load) order, with an index by id so that finding
// an image is one access.
class TKwPkgImagesImages {
public:
    explicit TKwPkgImagesImages(TKwPkgImages& owner);
    ~TKwPkgImagesImages();
    TKwPkgImagesImages(const TKwPkgImagesImages&) = delete;
    TKwPkgImagesImages& operator=(const TKwPkgImagesImages&) = delete;

    TKwPkgImages& Owner() const { return owner_; }
    int Count() const { return static_cast<int>(items_.size()); }
    // Raises EListError for an index out of range.
    TKwPkgImagesImage& Items(int index) const;
    TKwPkgImagesImage* FindId(int id) const;
    // The first free slot of the index.
    int UniqueId() const;
    // Raises "System" 22, 23 or 24 for an id below 0, above 9999 or in use; also while loading.
    void CheckId(int id) const;
    // A new empty image with a checked id.
    TKwPkgImagesImage& Add(int id);
    // Frees the image; the references showing it fall silent.
    void Delete(int index);
    void Clear();
    // An image read from a package stream, its id taken as stored.
    TKwPkgImagesImage& AppendLoaded(TReader& reader, int version, std::int64_t streamSize);

private:
    friend class TKwPkgImagesImage;

    bool Loading() const;
    void ChangeId(TKwPkgImagesImage& image, int id);
    void Unindex(const TKwPkgImagesImage& image);
    void Index(TKwPkgImagesImage& image);
    void Destroy(std::size_t position);

    TKwPkgImages& owner_;
    std::vector<std::unique_ptr<TKwPkgImagesImage>> items_;
    // Slot n holds the image whose id is n; grows to one past the highest id placed.
    std::vector<TKwPkgImagesImage*> index_;
};

}  // namespace kw
