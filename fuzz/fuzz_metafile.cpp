// Reads arbitrary bytes as a metafile: its header either is refused or gives a size, and the
// bytes are kept exactly.
#include "graphic_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    kw::TMetafile metafile;
    try {
        metafile.SetData(std::vector<kw::Byte>(data, data + size));
    } catch (const kw::EInvalidGraphic&) {
        return 0;
    }
    if (metafile.Width() < 0 || metafile.Height() < 0 || metafile.MMWidth() < 0 ||
        metafile.Data() != std::vector<kw::Byte>(data, data + size))
        __builtin_trap();
    return 0;
}
