// Decodes arbitrary bytes as a JPEG image at the scale the first byte picks, in colour or grey.
#include "graphic_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1)
        return 0;
    kw::TJPEGImage image;
    image.SetScale(static_cast<kw::TJPEGScale>(data[0] & 3));
    image.SetGrayscale((data[0] & 4) != 0);
    kw::fuzz::CheckDecodes(image, data + 1, size - 1);
    return 0;
}
