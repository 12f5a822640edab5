#pragma once

#include "kwpkg/kinds.h"

namespace kwsysimages {

// The "System" image package file: every glyph drawn and stored as PNG under its id.
kwpkg::TBytes BuildSystemImagesPackage();
// The same package in the JSON form of an images package dump.
kwpkg::Json SystemImagesJson();
// A display source whose "systemImages" member is replaced by SystemImagesJson(), keeping
// every other member and the order of members.
kwpkg::Json WithSystemImages(kwpkg::Json displaySource);

}  // namespace kwsysimages
