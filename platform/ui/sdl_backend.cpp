#include "platform/ui/sdl_backend.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>

#include "platform/core/exception.h"
#include "platform/graphics/bitmap.h"
#include "platform/text/unicode.h"
#include "platform/ui/form.h"
#include "platform/ui/input.h"
#include "platform/ui/popup_menu_window.h"
#include "platform/ui/screen.h"
#include "platform/ui/timers.h"

namespace kw {

struct TSdlBackend::Window {
    SDL_Window* window = nullptr;
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* texture = nullptr;
    int width = 0;
    int height = 0;

    ~Window() {
        if (texture != nullptr)
            SDL_DestroyTexture(texture);
        if (renderer != nullptr)
            SDL_DestroyRenderer(renderer);
        if (window != nullptr)
            SDL_DestroyWindow(window);
    }
};

namespace {

Word VirtualKey(SDL_Keycode key) {
    if (key >= SDLK_a && key <= SDLK_z)
        return static_cast<Word>('A' + (key - SDLK_a));
    if (key >= SDLK_0 && key <= SDLK_9)
        return static_cast<Word>('0' + (key - SDLK_0));
    if (key >= SDLK_F1 && key <= SDLK_F12)
        return static_cast<Word>(VK_F1 + (key - SDLK_F1));
    switch (key) {
        case SDLK_RETURN:
        case SDLK_KP_ENTER:
            return VK_RETURN;
        case SDLK_ESCAPE:
            return VK_ESCAPE;
        case SDLK_TAB:
            return VK_TAB;
        case SDLK_BACKSPACE:
            return VK_BACK;
        case SDLK_SPACE:
            return VK_SPACE;
        case SDLK_DELETE:
            return VK_DELETE;
        case SDLK_INSERT:
            return VK_INSERT;
        case SDLK_HOME:
            return VK_HOME;
        case SDLK_END:
            return VK_END;
        case SDLK_PAGEUP:
            return VK_PRIOR;
        case SDLK_PAGEDOWN:
            return VK_NEXT;
        case SDLK_LEFT:
            return VK_LEFT;
        case SDLK_RIGHT:
            return VK_RIGHT;
        case SDLK_UP:
            return VK_UP;
        case SDLK_DOWN:
            return VK_DOWN;
        case SDLK_LSHIFT:
        case SDLK_RSHIFT:
            return VK_SHIFT;
        case SDLK_LCTRL:
        case SDLK_RCTRL:
            return VK_CONTROL;
        case SDLK_LALT:
        case SDLK_RALT:
            return VK_MENU;
        case SDLK_CAPSLOCK:
            return VK_CAPITAL;
        case SDLK_NUMLOCKCLEAR:
            return VK_NUMLOCK;
        case SDLK_SCROLLLOCK:
            return VK_SCROLL;
        case SDLK_PAUSE:
            return VK_PAUSE;
        default:
            return 0;
    }
}

// Keys that type a character SDL does not report as text input.
Char ControlChar(Word vk) {
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

TMouseButton MouseButton(Uint8 button) {
    switch (button) {
        case SDL_BUTTON_RIGHT:
            return TMouseButton::mbRight;
        case SDL_BUTTON_MIDDLE:
            return TMouseButton::mbMiddle;
        default:
            return TMouseButton::mbLeft;
    }
}

TRect ToRect(const SDL_Rect& r) {
    return TRect::Bounds(r.x, r.y, r.w, r.h);
}

}  // namespace

TSdlBackend::TSdlBackend() {
    if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_TIMER) != 0)
        throw EInvalidOperation(u"SDL cannot start: " + Utf8ToString(SDL_GetError()));
    startTicks_ = SDL_GetTicks64();
    startClock_ = ClockNow();
    UpdateMonitors();
}

TSdlBackend::~TSdlBackend() {
    windows_.clear();
    SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_TIMER);
}

void TSdlBackend::UpdateMonitors() {
    std::vector<TMonitor> monitors;
    const int count = SDL_GetNumVideoDisplays();
    for (int i = 0; i < count; ++i) {
        SDL_Rect bounds{}, usable{};
        if (SDL_GetDisplayBounds(i, &bounds) != 0)
            continue;
        if (SDL_GetDisplayUsableBounds(i, &usable) != 0)
            usable = bounds;
        float hdpi = 0;
        int ppi = 96;
        if (SDL_GetDisplayDPI(i, nullptr, &hdpi, nullptr) == 0 && hdpi > 0)
            ppi = static_cast<int>(std::lround(hdpi));
        monitors.push_back(TMonitor{ToRect(bounds), ToRect(usable), i == 0, ppi});
    }
    Screen().SetMonitors(std::move(monitors));
}

TSdlBackend::Window* TSdlBackend::Find(const TCustomForm& form) const {
    const auto it = windows_.find(&form);
    return it == windows_.end() ? nullptr : it->second.get();
}

TCustomForm* TSdlBackend::FormOfWindow(std::uint32_t id) const {
    for (const auto& [form, window] : windows_) {
        if (SDL_GetWindowID(window->window) == id)
            return const_cast<TCustomForm*>(form);
    }
    return nullptr;
}

std::uint32_t TSdlBackend::WindowId(const TCustomForm& form) const {
    const Window* w = Find(form);
    return w != nullptr ? SDL_GetWindowID(w->window) : 0;
}

void TSdlBackend::ShowWindow(TCustomForm& form, bool show) {
    Window* w = Find(form);
    if (w == nullptr && show) {
        auto created = std::make_unique<Window>();
        // Windows that never activate (menus, hints) must not take the keyboard focus from
        // the window they belong to, nor show in the task bar.
        const Uint32 flags =
            SDL_WINDOW_BORDERLESS | SDL_WINDOW_ALLOW_HIGHDPI | SDL_WINDOW_HIDDEN |
            (form.Activates() ? 0 : SDL_WINDOW_POPUP_MENU | SDL_WINDOW_SKIP_TASKBAR);
        created->window =
            SDL_CreateWindow(StringToUtf8(form.Caption()).c_str(), form.Left(), form.Top(),
                             std::max(form.Width(), 1), std::max(form.Height(), 1), flags);
        if (created->window == nullptr)
            throw EInvalidOperation(u"SDL cannot open a window: " + Utf8ToString(SDL_GetError()));
        created->renderer = SDL_CreateRenderer(created->window, -1, SDL_RENDERER_SOFTWARE);
        if (created->renderer == nullptr)
            throw EInvalidOperation(u"SDL cannot render: " + Utf8ToString(SDL_GetError()));
        w = created.get();
        windows_[&form] = std::move(created);
    }
    if (w == nullptr)
        return;
    if (show) {
        SDL_ShowWindow(w->window);
    } else {
        SDL_HideWindow(w->window);
    }
}

void TSdlBackend::WindowChanged(TCustomForm& form) {
    Window* w = Find(form);
    if (w == nullptr)
        return;
    SDL_SetWindowTitle(w->window, StringToUtf8(form.Caption()).c_str());
    SDL_SetWindowPosition(w->window, form.Left(), form.Top());
    SDL_SetWindowSize(w->window, std::max(form.Width(), 1), std::max(form.Height(), 1));
}

void TSdlBackend::Upload(TCustomForm& form, Window& w) {
    const TBitmap* surface = form.Surface();
    if (surface == nullptr || surface->Width() == 0 || surface->Height() == 0)
        return;
    if (w.texture == nullptr || w.width != surface->Width() || w.height != surface->Height()) {
        if (w.texture != nullptr)
            SDL_DestroyTexture(w.texture);
        w.width = surface->Width();
        w.height = surface->Height();
        w.texture = SDL_CreateTexture(w.renderer, SDL_PIXELFORMAT_ARGB8888,
                                      SDL_TEXTUREACCESS_STREAMING, w.width, w.height);
    }
    if (w.texture == nullptr)
        return;
    void* pixels = nullptr;
    int pitch = 0;
    if (SDL_LockTexture(w.texture, nullptr, &pixels, &pitch) != 0)
        return;
    const auto rowBytes = static_cast<size_t>(w.width) * 4;
    for (int y = 0; y < w.height; ++y) {
        std::copy_n(surface->ScanLine(y), rowBytes,
                    static_cast<Byte*>(pixels) + static_cast<std::ptrdiff_t>(y) * pitch);
    }
    SDL_UnlockTexture(w.texture);
    SDL_RenderCopy(w.renderer, w.texture, nullptr, nullptr);
    SDL_RenderPresent(w.renderer);
}

void TSdlBackend::Present(TCustomForm& form, const TRegion& changed) {
    if (Window* w = Find(form))
        Upload(form, *w);
}

void TSdlBackend::DestroyWindow(TCustomForm& form) {
    windows_.erase(&form);
}

bool TSdlBackend::Pump(bool wait) {
    const std::uint64_t dueBefore = NextTimerDue();
    SDL_Event event;
    bool any = false;
    if (wait) {
        const std::uint64_t now = ClockNow();
        const std::uint64_t due = NextTimerDue();
        const int timeout =
            due <= now ? 0 : static_cast<int>(std::min<std::uint64_t>(due - now, 50));
        if (SDL_WaitEventTimeout(&event, timeout) != 0) {
            Translate(&event);
            any = true;
        }
    }
    while (SDL_PollEvent(&event) != 0) {
        Translate(&event);
        any = true;
    }
    AdvanceClockTo(startClock_ + (SDL_GetTicks64() - startTicks_));
    return any || dueBefore <= ClockNow();
}

void TSdlBackend::Translate(const void* raw) {
    const auto& e = *static_cast<const SDL_Event*>(raw);
    auto formOf = [&](std::uint32_t id) { return FormOfWindow(id); };
    auto toScreen = [](const TCustomForm& form, int x, int y) {
        return TPoint{form.Left() + x, form.Top() + y};
    };
    switch (e.type) {
        case SDL_MOUSEMOTION:
            if (TCustomForm* form = formOf(e.motion.windowID))
                DispatchMouseMove(toScreen(*form, e.motion.x, e.motion.y));
            break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            if (TCustomForm* form = formOf(e.button.windowID)) {
                DispatchMouseButton(MouseButton(e.button.button), e.type == SDL_MOUSEBUTTONDOWN,
                                    toScreen(*form, e.button.x, e.button.y));
            }
            break;
        case SDL_MOUSEWHEEL: {
            const int notches =
                e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -e.wheel.y : e.wheel.y;
            DispatchMouseWheel(CursorPos(), notches * WHEEL_DELTA);
            break;
        }
        case SDL_KEYDOWN:
        case SDL_KEYUP: {
            const SDL_Keymod mod = SDL_GetModState();
            SetKeyToggled(VK_CAPITAL, (mod & KMOD_CAPS) != 0);
            SetKeyToggled(VK_NUMLOCK, (mod & KMOD_NUM) != 0);
            const Word vk = VirtualKey(e.key.keysym.sym);
            if (vk == 0)
                break;
            const bool down = e.type == SDL_KEYDOWN;
            const bool handled = DispatchKey(vk, down);
            if (!down || handled)
                break;
            if (const Char ch = ControlChar(vk); ch != 0) {
                DispatchChar(ch);
            } else if ((mod & KMOD_ALT) && vk >= 'A' && vk <= 'Z') {
                DispatchChar(static_cast<Char>(vk - 'A' + 'a'));  // accelerators
            }
            break;
        }
        case SDL_TEXTINPUT:
            if (!(SDL_GetModState() & KMOD_ALT)) {
                for (Char ch : Utf8ToString(e.text.text))
                    DispatchChar(ch);
            }
            break;
        case SDL_WINDOWEVENT: {
            TCustomForm* form = formOf(e.window.windowID);
            if (form == nullptr)
                break;
            switch (e.window.event) {
                case SDL_WINDOWEVENT_LEAVE:
                    DispatchMouseExit();
                    break;
                case SDL_WINDOWEVENT_FOCUS_GAINED:
                    if (form->Enabled() && form->Activates())
                        Screen().ActivateForm(form);
                    break;
                case SDL_WINDOWEVENT_FOCUS_LOST:
                    // The keyboard went to another program: an open menu closes, as a press
                    // outside it would. Focus moving between our own windows keeps it open.
                    if (SDL_GetKeyboardFocus() == nullptr) {
                        if (TPopupMenuWindow* menu = TrackedPopupMenu())
                            menu->Dismiss();
                    }
                    break;
                case SDL_WINDOWEVENT_CLOSE:
                    form->Perform(WM_SYSCOMMAND, SC_CLOSE);
                    break;
                case SDL_WINDOWEVENT_EXPOSED:
                    if (Window* w = Find(*form))
                        Upload(*form, *w);
                    break;
                case SDL_WINDOWEVENT_SIZE_CHANGED:
                    if (e.window.data1 != form->Width() || e.window.data2 != form->Height())
                        form->SetBounds(form->Left(), form->Top(), e.window.data1, e.window.data2);
                    break;
                default:
                    break;
            }
            break;
        }
        default:
            break;
    }
}

void TSdlBackend::PushClick(const TControl& control, TPoint point) {
    const TCustomForm* form = GetParentForm(&control);
    const std::uint32_t id = form ? WindowId(*form) : 0;
    if (id == 0)
        throw EInvalidOperation(u"The control is not on a shown window");
    auto push = [](SDL_Event event) {
        if (SDL_PushEvent(&event) != 1)
            throw EInvalidOperation(
                Utf8ToString(std::string("SDL refused an event: ") + SDL_GetError()));
    };
    // SDL reports positions in window coordinates, the form's frame included.
    const TPoint screen = control.ClientToScreen(point);
    const int x = screen.X - form->Left(), y = screen.Y - form->Top();
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    e.motion.windowID = id;
    e.motion.x = x;
    e.motion.y = y;
    push(e);
    for (Uint32 type : {SDL_MOUSEBUTTONDOWN, SDL_MOUSEBUTTONUP}) {
        e = SDL_Event{};
        e.type = type;
        e.button.windowID = id;
        e.button.button = SDL_BUTTON_LEFT;
        e.button.clicks = 1;
        e.button.x = x;
        e.button.y = y;
        push(e);
    }
}

}  // namespace kw
