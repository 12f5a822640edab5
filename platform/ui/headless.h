#pragma once

#include <deque>
#include <functional>
#include <vector>

#include "platform/graphics/graphics_types.h"
#include "platform/ui/backend.h"
#include "platform/ui/messages.h"

namespace kw {

class TControl;
class TCustomForm;
class TMenuItem;
class TPopupMenu;
class TPopupMenuWindow;

// The back-end without a display: forms paint on their surfaces in memory, input comes from the
// injection functions below, time from AdvanceClock. All tests use it.
class THeadlessBackend : public TWindowBackend {
public:
    void Present(TCustomForm& form, const TRegion& changed) override;
    bool Pump(bool wait) override { return false; }
    // Gives the modal form the next scripted answer, or else OnModalIdle. Raises
    // EInvalidOperation when neither answered (the loop would wait forever for input).
    void ModalIdle(TCustomForm& form) override;

    // One-shot answers for the next modal loops, used first come first served.
    std::deque<std::function<void(TCustomForm& form)>> ModalAnswers;
    // The standing answer once the one-shot answers ran out.
    std::function<void(TCustomForm& form)> OnModalIdle;

    // Records the pop-up and answers it with the next scripted pick; with none left the menu
    // is dismissed.
    TMenuItem* TrackPopupMenu(TPopupMenu& menu, TPoint screen) override;

    // One pop-up menu that was shown: which, where (screen), and the item picked, if any. The
    // pointers are only good while the menu lives.
    struct TShownPopup {
        TPopupMenu* Menu = nullptr;
        TPoint Point{};
        TMenuItem* Picked = nullptr;
    };
    std::vector<TShownPopup> Popups;
    // One-shot picks for the next pop-up menus, first come first served; an answer returns the
    // item to pick or none to dismiss the menu.
    std::deque<std::function<TMenuItem*(TPopupMenu& menu)>> PopupAnswers;

    // How often a surface was presented, and the last area that was.
    int PresentCount = 0;
    TRegion LastPresented;
};

// The installed headless back-end; installs a fresh one when another back-end is installed.
THeadlessBackend& Headless();

// A scripted pop-up answer that picks the item with this caption (accelerator marks ignored),
// or dismisses the menu when it has none.
std::function<TMenuItem*(TPopupMenu& menu)> PickMenuItem(String caption);

// A scripted pop-up answer that shows the menu in the layer's real menu window and, once it is
// up, runs `script` with that window (the first one); the script drives it with the injection
// functions below. Returns what the window picked. Tracking that the script leaves unfinished
// raises EInvalidOperation, as a modal form without an answer does.
std::function<TMenuItem*(TPopupMenu& menu)> DriveMenuWindow(
    std::function<void(TPopupMenuWindow& window)> script);

// Input injection. Points are in the control's client coordinates; the *Screen forms take
// screen coordinates. Each call returns after every resulting message was handled.
void MouseMoveTo(const TControl& control, TPoint client);
void MouseDownAt(const TControl& control, TPoint client,
                 TMouseButton button = TMouseButton::mbLeft);
void MouseUpAt(const TControl& control, TPoint client, TMouseButton button = TMouseButton::mbLeft);
void ClickAt(const TControl& control, TPoint client, TMouseButton button = TMouseButton::mbLeft);
void ClickAtScreen(TPoint screen, TMouseButton button = TMouseButton::mbLeft);
void DoubleClickAt(const TControl& control, TPoint client);
void WheelAt(const TControl& control, TPoint client, int delta);
// Presses and releases a key with the given modifiers held, typing the character the key makes
// (letters, digits, space, Tab, Enter, Escape, Backspace) unless the key was handled as a
// dialog key.
void KeyPress(Word vk, TShiftState shift = 0);
// Types each character of `text` (no key events).
void TypeText(StringView text);

// Every process-wide state of the window layer back to the start: input, posted messages,
// timers and clock, system metrics and hooks, screen, headless back-end (tests).
void ResetWindowLayer();

}  // namespace kw
