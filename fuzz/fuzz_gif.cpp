// Decodes arbitrary bytes as a GIF (first frame) image.
#include "graphic_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    kw::TGIFImage image;
    kw::fuzz::CheckDecodes(image, data, size);
    return 0;
}
