#include "platform/ui/headless.h"

#include "platform/core/exception.h"
#include "platform/core/no_destructor.h"
#include "platform/ui/application.h"
#include "platform/ui/control.h"
#include "platform/ui/form.h"
#include "platform/ui/input.h"
#include "platform/ui/menus.h"
#include "platform/ui/message_hooks.h"
#include "platform/ui/message_queue.h"
#include "platform/ui/popup_menu_window.h"
#include "platform/ui/screen.h"
#include "platform/ui/system.h"
#include "platform/ui/timers.h"

namespace kw {

namespace {

std::unique_ptr<TWindowBackend>& Installed() {
    static TNoDestructor<std::unique_ptr<TWindowBackend>> backend;
    return *backend;
}

// The character a key makes with the given modifiers, or 0.
Char KeyChar(Word vk, TShiftState shift) {
    const bool upper = ((shift & ssShift) != 0) != ((GetKeyState(VK_CAPITAL) & 1) != 0);
    if (vk >= 'A' && vk <= 'Z') {
        if (shift & ssCtrl)
            return static_cast<Char>(vk - 'A' + 1);
        return static_cast<Char>(upper ? vk : vk - 'A' + 'a');
    }
    if ((vk >= '0' && vk <= '9') || vk == VK_SPACE)
        return static_cast<Char>(vk);
    switch (vk) {
        case VK_TAB:
            return u'\t';
        case VK_RETURN:
            return u'\r';
        case VK_ESCAPE:
            return 0x1B;
        case VK_BACK:
            return 0x08;
        default:
            return 0;
    }
}

constexpr std::pair<TShiftFlag, Word> kModifierKeys[] = {
    {ssShift, VK_SHIFT}, {ssCtrl, VK_CONTROL}, {ssAlt, VK_MENU}};

}  // namespace

TWindowBackend& WindowBackend() {
    auto& backend = Installed();
    if (!backend)
        backend = std::make_unique<THeadlessBackend>();
    return *backend;
}

void SetWindowBackend(std::unique_ptr<TWindowBackend> backend) {
    Installed() = std::move(backend);
}

void THeadlessBackend::Present(TCustomForm& form, const TRegion& changed) {
    ++PresentCount;
    LastPresented = changed;
}

TMenuItem* THeadlessBackend::TrackPopupMenu(TPopupMenu& menu, TPoint screen) {
    TMenuItem* picked = nullptr;
    if (!PopupAnswers.empty()) {
        auto answer = std::move(PopupAnswers.front());
        PopupAnswers.pop_front();
        picked = answer(menu);
    }
    Popups.push_back({&menu, screen, picked});
    return picked;
}

std::function<TMenuItem*(TPopupMenu& menu)> PickMenuItem(String caption) {
    return [caption = std::move(caption)](TPopupMenu& menu) { return menu.Items().Find(caption); };
}

std::function<TMenuItem*(TPopupMenu& menu)> DriveMenuWindow(
    std::function<void(TPopupMenuWindow& window)> script) {
    return [script = std::move(script)](TPopupMenu& menu) {
        // The script runs when the menu's loop first finds nothing to do: the window is shown
        // and painted by then.
        auto& answers = Headless().ModalAnswers;
        const std::size_t queued = answers.size();
        answers.push_front(
            [script](TCustomForm& form) { script(static_cast<TPopupMenuWindow&>(form)); });
        TMenuItem* picked = TrackPopupMenuWindow(menu, menu.PopupPoint());
        if (answers.size() > queued)
            answers.pop_front();  // the menu never showed: the script is not for anyone else
        return picked;
    };
}

void THeadlessBackend::ModalIdle(TCustomForm& form) {
    if (!ModalAnswers.empty()) {
        auto answer = std::move(ModalAnswers.front());
        ModalAnswers.pop_front();
        answer(form);
    } else if (OnModalIdle) {
        OnModalIdle(form);
    }
    if (form.ModalResult() == mrNone && PostedMessageCount() == 0 && !form.NeedsPaint()) {
        throw EInvalidOperation(u"The modal form \"" + form.Caption() +
                                u"\" waits for input that no scripted answer gives");
    }
}

THeadlessBackend& Headless() {
    auto* headless = dynamic_cast<THeadlessBackend*>(&WindowBackend());
    if (headless == nullptr) {
        SetWindowBackend(std::make_unique<THeadlessBackend>());
        headless = static_cast<THeadlessBackend*>(&WindowBackend());
    }
    return *headless;
}

void MouseMoveTo(const TControl& control, TPoint client) {
    DispatchMouseMove(control.ClientToScreen(client));
}

void MouseDownAt(const TControl& control, TPoint client, TMouseButton button) {
    DispatchMouseButton(button, true, control.ClientToScreen(client));
}

void MouseUpAt(const TControl& control, TPoint client, TMouseButton button) {
    DispatchMouseButton(button, false, control.ClientToScreen(client));
}

void ClickAtScreen(TPoint screen, TMouseButton button) {
    DispatchMouseButton(button, true, screen);
    DispatchMouseButton(button, false, screen);
}

void ClickAt(const TControl& control, TPoint client, TMouseButton button) {
    ClickAtScreen(control.ClientToScreen(client), button);
}

void DoubleClickAt(const TControl& control, TPoint client) {
    ClickAt(control, client);
    ClickAt(control, client);
}

void WheelAt(const TControl& control, TPoint client, int delta) {
    DispatchMouseWheel(control.ClientToScreen(client), delta);
}

void KeyPress(Word vk, TShiftState shift) {
    for (const auto& [flag, key] : kModifierKeys) {
        if (shift & flag)
            DispatchKey(key, true);
    }
    const bool handled = DispatchKey(vk, true);
    if (const Char ch = KeyChar(vk, shift); ch != 0 && !handled)
        DispatchChar(ch);
    DispatchKey(vk, false);
    for (const auto& [flag, key] : kModifierKeys) {
        if (shift & flag)
            DispatchKey(key, false);
    }
}

void TypeText(StringView text) {
    for (Char ch : text)
        DispatchChar(ch);
}

void ResetWindowLayer() {
    ResetInput();
    ResetMessageQueue();
    ResetMessageHooks();
    ResetTimers();
    ResetSystem();
    Screen().Reset();
    Application().Reset();
    ResetMenuFont();
    SetWindowBackend(nullptr);
}

}  // namespace kw
