#include "platform/ui/screen.h"

#include <algorithm>

#include "platform/core/exception.h"
#include "platform/core/no_destructor.h"
#include "platform/text/strings.h"
#include "platform/ui/form.h"
#include "platform/ui/input.h"

namespace kw {

namespace {

std::vector<TMonitor> DefaultMonitors() {
    return {TMonitor{TRect(0, 0, 1920, 1080), TRect(0, 0, 1920, 1040), true, 96}};
}

}  // namespace

TScreen::TScreen() : monitors_(DefaultMonitors()) {}

TCustomForm* TScreen::Forms(int index) const {
    if (index < 0 || index >= FormCount()) {
        throw EListError(u"List index out of bounds (" + IntToStr(index) + u")");
    }
    return forms_[static_cast<size_t>(index)];
}

TCustomForm* TScreen::TopmostForm() const {
    for (auto it = zOrder_.rbegin(); it != zOrder_.rend(); ++it) {
        if ((*it)->Visible() && (*it)->Activates())
            return *it;
    }
    return nullptr;
}

void TScreen::BringFormToFront(TCustomForm& form) {
    std::erase(zOrder_, &form);
    zOrder_.push_back(&form);
}

void TScreen::ActivateForm(TCustomForm* form) {
    if (form == activeForm_)
        return;
    TCustomForm* previous = activeForm_;
    activeForm_ = form;
    if (previous != nullptr)
        previous->Perform(CM_DEACTIVATE);
    if (form == nullptr) {
        MoveFocus(nullptr);
        return;
    }
    form->Perform(CM_ACTIVATE);
    TWinControl* target = form->ActiveControl();
    if (target == nullptr || !target->CanFocus())
        target = form->FindNextControl(nullptr, true, true);
    MoveFocus(target != nullptr ? target : form);
}

TWinControl* TScreen::ActiveControl() const {
    TWinControl* focused = FocusedControl();
    return focused != nullptr && GetParentForm(focused) == activeForm_ ? focused : nullptr;
}

void TScreen::SetMonitors(std::vector<TMonitor> monitors) {
    monitors_ = monitors.empty() ? DefaultMonitors() : std::move(monitors);
    pixelsPerInch_ = PrimaryMonitor().PixelsPerInch;
}

const TMonitor& TScreen::PrimaryMonitor() const {
    const auto it = std::find_if(monitors_.begin(), monitors_.end(),
                                 [](const TMonitor& m) { return m.Primary; });
    return it != monitors_.end() ? *it : monitors_.front();
}

const TMonitor& TScreen::MonitorFromPoint(TPoint p) const {
    for (const TMonitor& m : monitors_) {
        if (m.BoundsRect.Contains(p.X, p.Y))
            return m;
    }
    return PrimaryMonitor();
}

TRect TScreen::DesktopRect() const {
    TRect r = monitors_.front().BoundsRect;
    for (const TMonitor& m : monitors_) {
        r = TRect(std::min(r.Left, m.BoundsRect.Left), std::min(r.Top, m.BoundsRect.Top),
                  std::max(r.Right, m.BoundsRect.Right), std::max(r.Bottom, m.BoundsRect.Bottom));
    }
    return r;
}

void TScreen::NotifySystemColorChange() {
    for (TCustomForm* form : forms_)
        form->Perform(CM_SYSCOLORCHANGE);
}

void TScreen::AddForm(TCustomForm& form) {
    if (std::find(forms_.begin(), forms_.end(), &form) == forms_.end())
        forms_.push_back(&form);
}

void TScreen::RemoveForm(TCustomForm& form) {
    std::erase(forms_, &form);
    std::erase(zOrder_, &form);
    if (activeForm_ == &form)
        activeForm_ = nullptr;
}

void TScreen::Reset() {
    activeForm_ = nullptr;
    pixelsPerInch_ = 96;
    cursor_ = crDefault;
    monitors_ = DefaultMonitors();
}

TScreen& Screen() {
    static TNoDestructor<TScreen> screen;
    return *screen;
}

}  // namespace kw
