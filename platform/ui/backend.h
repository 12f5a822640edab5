#pragma once

#include <memory>

#include "platform/graphics/region.h"

namespace kw {

class TCustomForm;
class TMenuItem;
class TPopupMenu;
struct TPoint;

// Where top-level windows live: the headless back-end (surfaces in memory, input injected by
// tests) or real windows on a desktop. The window layer tells the back-end what happens to
// forms; the back-end feeds input back through the Dispatch functions of input.h.
class TWindowBackend {
public:
    virtual ~TWindowBackend() = default;

    virtual void ShowWindow(TCustomForm& form, bool show) {}
    // Bounds or caption changed.
    virtual void WindowChanged(TCustomForm& form) {}
    // `changed` (window coordinates) of the form's surface was painted.
    virtual void Present(TCustomForm& form, const TRegion& changed) {}
    virtual void DestroyWindow(TCustomForm& form) {}
    // Handles the platform's pending events; with `wait`, first waits for one or for the next
    // timer. Returns whether anything happened.
    virtual bool Pump(bool wait) = 0;
    // A modal loop of `form` found nothing to do.
    virtual void ModalIdle(TCustomForm& form) = 0;
    // Shows `menu` at the screen point until the user picks an item (returned) or dismisses
    // it (none). By default the layer's own menu window shows it, in a loop of Pump and
    // ModalIdle (popup_menu_window.h).
    virtual TMenuItem* TrackPopupMenu(TPopupMenu& menu, TPoint screen);
};

// The installed back-end; the headless one unless another was installed.
TWindowBackend& WindowBackend();
// Installs a back-end; none goes back to a fresh headless one.
void SetWindowBackend(std::unique_ptr<TWindowBackend> backend);

}  // namespace kw
