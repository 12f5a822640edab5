#pragma once

#include <functional>
#include <vector>

#include "framework/link_list.h"
#include "platform/types.h"

namespace kw {

class TClass;
class TKwCApplication;
class TKwMemoryImage;
class TKwPkgImages;

struct TKwFormatGraphicEntry {
    const TClass* graphicClass;
    String extension;
    String description;
};

// Where "System" and "User" image packages are found for an application object. Unset, no
// application object has any; the display package points it at its own two packages.
struct TKwImagesHost {
    std::function<TKwPkgImages*(TKwCApplication& app, bool system)> imagesOf;
};

// Every piece of process-wide state of the display subsystem, in one place.
struct TKwDisplayState {
    // The graphic-format registry, in registration order.
    std::vector<TKwFormatGraphicEntry> formatGraphics;
    bool formatGraphicsRegistered = false;
    Word imageClipboardFormat = 0;
    // Image packages in activity order: of several with one name, the first is active.
    std::vector<TKwPkgImages*> imagePackages;
    // Live image references, in creation order.
    TKwIntrusiveList<TKwMemoryImage> imageReferences;
    TKwImagesHost imagesHost;

    TKwDisplayState();
};

TKwDisplayState& KwDisplayState();
// Back to the start-up state between tests. Packages and references that still exist are
// dropped from the lists, not freed.
void KwResetDisplayState();
void KwSetImagesHost(TKwImagesHost host);

}  // namespace kw
