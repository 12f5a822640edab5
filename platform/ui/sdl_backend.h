#pragma once

#include <cstdint>
#include <map>
#include <memory>

#include "platform/ui/backend.h"

namespace kw {

class TControl;

// Real windows through SDL2: one borderless SDL window per shown form (the form draws its own
// frame), the form's surface uploaded to a streaming texture after each paint, SDL events turned
// into the layer's input, and the layer's clock following real time. Works under the dummy
// video driver and a virtual X server. Raises EInvalidOperation when SDL cannot start.
class TSdlBackend : public TWindowBackend {
public:
    TSdlBackend();
    ~TSdlBackend() override;

    void ShowWindow(TCustomForm& form, bool show) override;
    void WindowChanged(TCustomForm& form) override;
    void Present(TCustomForm& form, const TRegion& changed) override;
    void DestroyWindow(TCustomForm& form) override;
    bool Pump(bool wait) override;
    void ModalIdle(TCustomForm& form) override {}

    // The SDL window id of a shown form, or 0 (tests push events to it).
    std::uint32_t WindowId(const TCustomForm& form) const;
    // Pushes a left click at `point` of `control` into SDL's event queue, the way a user's click
    // arrives (a move there, a press, a release), for scripts that drive real windows. The
    // control's form must be shown. Raises EInvalidOperation when SDL refuses an event.
    void PushClick(const TControl& control, TPoint point);
    // Reads the displays into the screen's monitors, with their pixels per inch.
    void UpdateMonitors();

private:
    struct Window;
    Window* Find(const TCustomForm& form) const;
    TCustomForm* FormOfWindow(std::uint32_t id) const;
    void Translate(const void* event);
    void Upload(TCustomForm& form, Window& window);

    std::map<const TCustomForm*, std::unique_ptr<Window>> windows_;
    std::uint64_t startTicks_ = 0;
    std::uint64_t startClock_ = 0;
};

}  // namespace kw
