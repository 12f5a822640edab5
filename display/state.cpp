#include "display/state.h"

#include "display/memory_image.h"

namespace kw {

TKwDisplayState::TKwDisplayState() : imageReferences(&TKwMemoryImage::registryHook) {}

TKwDisplayState& KwDisplayState() {
    static TKwDisplayState state;
    return state;
}

void KwResetDisplayState() {
    TKwDisplayState& state = KwDisplayState();
    state.formatGraphics.clear();
    state.formatGraphicsRegistered = false;
    state.imageClipboardFormat = 0;
    state.imagePackages.clear();
    state.imageReferences.Clear();
    state.imagesHost = {};
}

void KwSetImagesHost(TKwImagesHost host) {
    KwDisplayState().imagesHost = std::move(host);
}

}  // namespace kw
