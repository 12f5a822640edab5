#pragma once

#include "platform/core/types.h"

namespace kw {

// Opens the gallery in a real window (SDL) in English with the standard skin; its switch
// buttons change language and skin live. Returns when the window closes.
int KwRunGalleryWindow(const String& packagesFolder);

// The same window driven by a script: clicks pushed through SDL's event queue switch to German
// and the dark skin; screenshots before and after the switch go to `folder` ("window-before.png",
// "window-after.png", and "window-fresh.png" from a gallery started in German and dark). Returns
// 0 when the switched window shows exactly the pixels of the fresh one.
int KwRunGalleryScript(const String& packagesFolder, const String& folder);

}  // namespace kw
