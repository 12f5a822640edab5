#pragma once

#include <array>
#include <functional>
#include <memory>
#include <vector>

#include "display/display_sets.h"
#include "framework/link_list.h"
#include "platform/core/types.h"

namespace kw {

class TClass;
class TKwCApplication;
class TKwMemoryImage;
class TKwPkgImages;
class TKwSetReference;

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
    // Live set references by kind (library defaults included), in creation order.
    std::array<TKwIntrusiveList<TKwSetReference>, kKwSetKinds> setReferences;
    // The library defaults, created on first use; see display/default_sets.h.
    std::vector<std::unique_ptr<TKwSetReference>> defaultSets;
    // The library default font's height is scaled once, at the first load of an application
    // object's own display package.
    bool defaultFontScaled = false;

    TKwDisplayState();
    ~TKwDisplayState();
};

TKwDisplayState& KwDisplayState();
// Back to the start-up state between tests. Packages and references that still exist are
// dropped from the lists, not freed; the library defaults are freed and come back, with their
// built-in values, at their next use.
void KwResetDisplayState();
void KwSetImagesHost(TKwImagesHost host);

}  // namespace kw
