#pragma once

#include <string>

#include "kwpkg/kinds.h"

namespace kw {
class TKwPkgImages;
}  // namespace kw

namespace kwpkg {

// An image package as the images kind shows it, and back: display files embed two of them in
// the same form. `path` prefixes error messages.
Json ImagesToJson(const kw::TKwPkgImages& package);
void ImagesFromJson(const Json& source, const std::string& path, kw::TKwPkgImages& package);

Json DumpImages(const TBytes& file);
TBytes BuildImages(const Json& source);
Json DumpImage(const TBytes& file);
// Display files: sets as readable objects, the two image packages in the images kind's form.
Json DumpDisplay(const TBytes& file);
TBytes BuildDisplay(const Json& source);
TBytes BuildImage(const Json& source);

// The native bytes of image `id` of an image-package or image file (`id` is ignored for an
// image file), or a .png rendering of it.
TBytes ExportImage(const TBytes& file, int id, bool asPng);
// Raises when `file` is no image package or image file that reads whole, or `id` is out of range
// for a package: what an import would refuse about the file it updates.
void CheckImportTarget(const TBytes& file, int id);
// The file with image `id` added or replaced by the picture file `pictureName` holds; its
// extension chooses the decoder.
TBytes ImportImage(const TBytes& file, int id, const std::string& pictureName,
                   const TBytes& picture);

}  // namespace kwpkg
