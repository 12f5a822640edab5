#include "display/state.h"

#include "display/format_graphics.h"

#include "platform/core/no_destructor.h"

#include "display/memory_image.h"
#include "display/set_references.h"

namespace kw {

TKwDisplayState::TKwDisplayState()
    : imageReferences(&TKwMemoryImage::registryHook),
      setReferences{TKwIntrusiveList<TKwSetReference>(&TKwSetReference::registryHook),
                    TKwIntrusiveList<TKwSetReference>(&TKwSetReference::registryHook),
                    TKwIntrusiveList<TKwSetReference>(&TKwSetReference::registryHook)} {}

// The defaults unregister themselves, so they go while the lists still exist.
TKwDisplayState::~TKwDisplayState() {
    defaultSets.clear();
}

TKwDisplayState& KwDisplayState() {
    static TNoDestructor<TKwDisplayState> state;
    return *state;
}

void KwResetDisplayState() {
    TKwDisplayState& state = KwDisplayState();
    if (state.formatGraphicsRegistered)
        UnRegisterFormatGraphics();
    state.formatGraphics.clear();
    state.formatGraphicsRegistered = false;
    state.imageClipboardFormat = 0;
    state.imagePackages.clear();
    state.imageReferences.Clear();
    state.imagesHost = {};
    for (auto& references : state.setReferences)
        references.Clear();
    state.defaultSets.clear();
    state.defaultFontScaled = false;
}

void KwSetImagesHost(TKwImagesHost host) {
    KwDisplayState().imagesHost = std::move(host);
}

}  // namespace kw
