// Reads arbitrary bytes as an image file; what loads must round-trip exactly, and its masks and
// native bytes must decode or be refused cleanly.
#include "display/image_imkw.h"
#include "display/state.h"
#include "platform/core/exception.h"
#include "platform/core/stream.h"
#include "platform/graphics/region.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

bool Load(kw::TKwImageIMKW& graphic, const std::uint8_t* data, size_t size) {
    kw::TMemoryStream stream;
    if (size > 0)
        stream.Write(data, static_cast<std::int64_t>(size));
    try {
        graphic.LoadFromStream(stream);
        return true;
    } catch (const kw::Exception&) {
        return false;
    }
}

Bytes Save(const kw::TKwImageIMKW& graphic) {
    kw::TMemoryStream stream;
    graphic.SaveToStream(stream);
    return stream.Bytes();
}

void Decode(const kw::TKwPkgImagesImage& image) {
    try {
        image.CreateExternalRgn();
        image.CreateInternalRgn();
        image.ReadStream(true);
    } catch (const kw::Exception&) {
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    kw::KwResetDisplayState();
    Bytes saved;
    {
        kw::TKwImageIMKW graphic;
        if (!Load(graphic, data, size))
            return 0;
        Decode(graphic.Image());
        saved = Save(graphic);
    }
    if (saved.empty())
        return 0;
    kw::TKwImageIMKW again;
    if (!Load(again, saved.data(), saved.size()) || Save(again) != saved)
        __builtin_trap();
    return 0;
}
