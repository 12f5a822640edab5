// Decodes arbitrary bytes as a icon (largest entry) image.
#include "graphic_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    kw::TIcon image;
    kw::fuzz::CheckDecodes(image, data, size);
    return 0;
}
