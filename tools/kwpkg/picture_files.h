#pragma once

#include <cstddef>
#include <string>

#include "kwpkg/kinds.h"

namespace kwpkg {

// The largest picture file an image entry may name.
inline constexpr std::size_t kMaxPictureBytes = std::size_t{16} << 20;

// Turns every image entry of a source that names a picture file ("file": "images/button.png",
// relative to `folder`) into the inline form the builders read (the PNG graphic class and its
// bytes in base64), so that a skin is drawn in any image editor. Entries live in "images" of
// an images source, in "systemImages" and "userImages" of a display source, and at the top of
// an image source. An empty `folder` refuses such entries: text given without a file has no
// folder to take them from. Raises TKwPkgError naming the entry for a missing, oversized or
// unreadable picture.
void ResolvePictureFiles(Json& source, const std::string& folder);

}  // namespace kwpkg
