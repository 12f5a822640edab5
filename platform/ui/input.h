#pragma once

#include "platform/graphics/graphics_types.h"
#include "platform/ui/messages.h"

namespace kw {

class TControl;
class TWinControl;

// The process-wide input state of the window layer (mouse capture, the control under the mouse,
// keyboard focus, key states, click counting) and the entry points through which back-ends
// deliver input. Positions are in screen coordinates. Every entry point routes the event the
// way the platform does and returns once all resulting messages were handled.

// --- mouse ---
void DispatchMouseMove(TPoint screen);
void DispatchMouseButton(TMouseButton button, bool down, TPoint screen);
// `delta` in units of WHEEL_DELTA per notch, positive away from the user.
void DispatchMouseWheel(TPoint screen, int delta);
// The pointer left every window of the program.
void DispatchMouseExit();
// The program became the active one on the desktop, or stopped being it: every shown form
// receives WM_ACTIVATEAPP with `active` in WParam.
void DispatchAppActivation(bool active);
TPoint CursorPos();

// The control mouse messages go to regardless of the pointer's position; none releases it.
// The control losing the capture receives WM_CAPTURECHANGED.
TControl* CaptureControl();
void SetCaptureControl(TControl* control);
// The control under the pointer (enter/leave tracking).
TControl* MouseControl();

// The innermost enabled window at a screen point and its hit-test code, through window regions
// and HTTRANSPARENT answers; none outside every shown form.
TWinControl* WindowFromPoint(TPoint screen, int* hitCode = nullptr);

// --- keyboard ---
// A key going down or up; Alt, Shift and Ctrl update the modifier state. The focused control
// gets it, after the form when that has KeyPreview, and unwanted dialog keys go to the form.
// Returns whether something handled the key (a handled key types no character).
bool DispatchKey(Word vk, bool down);
// A typed character, after DispatchKey of its key went down.
void DispatchChar(Char ch);
TWinControl* FocusedControl();
// Moves the focus without the checks of SetFocus (used by SetFocus and form activation).
void MoveFocus(TWinControl* control);
// The platform's key state: 0x8000 while down, bit 0 toggled (caps, num, scroll lock, insert).
short GetKeyState(Word vk);
void SetKeyToggled(Word vk, bool on);
TShiftState KeyboardShiftState();

// A control is going away: every reference the input state holds to it is dropped.
void ForgetControl(const TControl* control);
// Back to the start-up state (tests).
void ResetInput();

}  // namespace kw
