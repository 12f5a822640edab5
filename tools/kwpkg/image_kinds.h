#pragma once

#include <string>

#include "kwpkg/kinds.h"

namespace kwpkg {

Json DumpImages(const TBytes& file);
TBytes BuildImages(const Json& source);
Json DumpImage(const TBytes& file);
TBytes BuildImage(const Json& source);

// The native bytes of image `id` of an image-package or image file (`id` is ignored for an
// image file), or a .png rendering of it.
TBytes ExportImage(const TBytes& file, int id, bool asPng);
// The file with image `id` added or replaced by the picture file `pictureName` holds; its
// extension chooses the decoder.
TBytes ImportImage(const TBytes& file, int id, const std::string& pictureName,
                   const TBytes& picture);

}  // namespace kwpkg
