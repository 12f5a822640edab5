#pragma once

#include <vector>

#include "platform/core/types.h"
#include "platform/graphics/graphics_types.h"
#include "platform/ui/control.h"

namespace kw {

class TCustomForm;
class TWinControl;

// One display of the virtual desktop, in desktop coordinates.
struct TMonitor {
    TRect BoundsRect;
    TRect WorkareaRect;
    bool Primary = false;
    int PixelsPerInch = 96;
};

// The process-wide screen: the open forms in the order they were created and in z-order, the
// active form, the monitors of the desktop, the cursor and the display density. Forms add and
// remove themselves.
class TScreen {
public:
    TScreen();

    int FormCount() const { return static_cast<int>(forms_.size()); }
    TCustomForm* Forms(int index) const;
    const std::vector<TCustomForm*>& FormList() const { return forms_; }
    // Shown forms, bottom first.
    const std::vector<TCustomForm*>& ZOrder() const { return zOrder_; }
    // The topmost shown form that can become the active one.
    TCustomForm* TopmostForm() const;
    void BringFormToFront(TCustomForm& form);

    int PixelsPerInch() const { return pixelsPerInch_; }
    void SetPixelsPerInch(int ppi) { pixelsPerInch_ = ppi; }
    TCustomForm* ActiveForm() const { return activeForm_; }
    // Makes a form the active one: deactivates the previous, activates this one and gives the
    // keyboard focus to its active control (or the form).
    void ActivateForm(TCustomForm* form);
    // Kept for code that only records which form is active.
    void SetActiveForm(TCustomForm* form) { activeForm_ = form; }
    TWinControl* ActiveControl() const;

    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor cursor) { cursor_ = cursor; }

    const std::vector<TMonitor>& Monitors() const { return monitors_; }
    int MonitorCount() const { return static_cast<int>(monitors_.size()); }
    // Replaces the desktop's monitors (back-ends and tests); the first primary one, or the first,
    // sets the pixels per inch.
    void SetMonitors(std::vector<TMonitor> monitors);
    const TMonitor& PrimaryMonitor() const;
    const TMonitor& MonitorFromPoint(TPoint p) const;
    TRect WorkAreaRect() const { return PrimaryMonitor().WorkareaRect; }
    // The union of all monitors.
    TRect DesktopRect() const;
    int Width() const { return PrimaryMonitor().BoundsRect.Width(); }
    int Height() const { return PrimaryMonitor().BoundsRect.Height(); }

    // Tells every form that the system colours changed (CM_SYSCOLORCHANGE to every control).
    void NotifySystemColorChange();

    void AddForm(TCustomForm& form);
    void RemoveForm(TCustomForm& form);
    // Back to the start-up state; open forms stay listed.
    void Reset();

private:
    std::vector<TCustomForm*> forms_;
    std::vector<TCustomForm*> zOrder_;
    TCustomForm* activeForm_ = nullptr;
    int pixelsPerInch_ = 96;
    TCursor cursor_ = crDefault;
    std::vector<TMonitor> monitors_;
};

TScreen& Screen();

}  // namespace kw
