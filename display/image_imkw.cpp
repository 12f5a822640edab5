#include "display/image_imkw.h"

#include "display/format_graphics.h"
#include "platform/core/stream.h"
#include "platform/graphics/bitmap.h"
#include "platform/graphics/canvas.h"
#include "platform/graphics/clipboard.h"

namespace kw {

KW_IMPLEMENT_CLASS(TKwImageIMKW, TGraphic)

TKwImageIMKW::TKwImageIMKW() : image_(std::make_unique<TKwPkgImagesImage>(nullptr)) {
    image_->OnChange = [this](TKwPkgImagesImage&) { ImageReplaced(); };
}

TKwImageIMKW::~TKwImageIMKW() {
    image_->OnChange = nullptr;
}

void TKwImageIMKW::ImageReplaced() {
    bitmap_.reset();
    Changed();
}

const TBitmap* TKwImageIMKW::Bitmap() const {
    if (bitmap_ == nullptr) {
        TStream* rendered = image_->ReadStream(true);
        if (rendered == nullptr)
            return nullptr;
        auto bitmap = std::make_unique<TBitmap>();
        bitmap->LoadFromStream(*rendered);
        bitmap_ = std::move(bitmap);
    }
    return bitmap_.get();
}

void TKwImageIMKW::LoadFromStream(TStream& stream) {
    try {
        image_->LoadFromStreamIMKW(stream);
    } catch (...) {
        // A refused header leaves the image emptied without a change report.
        ImageReplaced();
        throw;
    }
}

void TKwImageIMKW::SaveToStream(TStream& stream) const {
    image_->SaveToStreamIMKW(stream);
}

Word TKwImageIMKW::ClipboardFormat() const {
    return KwImageClipboardFormat();
}

void TKwImageIMKW::LoadFromClipboardFormat(Word format, std::span<const Byte> data) {
    if (format != ClipboardFormat())
        return;
    std::vector<Byte> block(data.begin(), data.end());
    if (block.empty())
        block = Clipboard().AsBytes(format);
    TMemoryStream stream;
    if (!block.empty())
        stream.Write(block.data(), static_cast<std::int64_t>(block.size()));
    LoadFromStream(stream);
}

void TKwImageIMKW::SaveToClipboardFormat(Word& format, std::vector<Byte>& data) const {
    TMemoryStream stream;
    SaveToStream(stream);
    format = ClipboardFormat();
    data = stream.Bytes();
    TClipboard& clipboard = Clipboard();
    clipboard.Open();
    clipboard.SetAsBytes(format, data);
    clipboard.Close();
}

void TKwImageIMKW::Assign(const TPersistent* source) {
    if (const auto* other = dynamic_cast<const TKwImageIMKW*>(source)) {
        if (other == this)
            return;
        TMemoryStream stream;
        other->SaveToStream(stream);
        LoadFromStream(stream);
        return;
    }
    if (dynamic_cast<const TClipboard*>(source) != nullptr) {
        LoadFromClipboardFormat(ClipboardFormat(), {});
        return;
    }
    TGraphic::Assign(source);
}

void TKwImageIMKW::AssignTo(TPersistent& dest) const {
    if (auto* bitmap = dynamic_cast<TBitmap*>(&dest)) {
        if (const TBitmap* pixels = Bitmap()) {
            bitmap->Assign(pixels);
        } else {
            bitmap->SetSize(0, 0);
        }
        return;
    }
    TGraphic::AssignTo(dest);
}

bool TKwImageIMKW::Equals(const TGraphic& other) const {
    const auto* image = dynamic_cast<const TKwImageIMKW*>(&other);
    return image != nullptr && image->image_.get() == image_.get();
}

void TKwImageIMKW::Draw(TCanvas& canvas, const TRect& rect) const {
    if (const TBitmap* bitmap = Bitmap())
        canvas.StretchDraw(rect, *bitmap);
}

}  // namespace kw
