// Decodes arbitrary bytes as a PNG image.
#include "graphic_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    kw::TPngImage image;
    kw::fuzz::CheckDecodes(image, data, size);
    return 0;
}
