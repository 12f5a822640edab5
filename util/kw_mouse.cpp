#include "util/kw_mouse.h"

#include "platform/ui/messages.h"
#include "platform/ui/system.h"

namespace kw {

namespace {

constexpr Cardinal kWheelPageLines = 65535;

struct MouseState {
    bool initialized = false;
    bool present = false;
    bool wheelPresent = false;
    bool wheel3d = false;
    int scrollLines = 0;
    bool pages = false;
    Cardinal wheelMessage = 0;
    bool native = false;
    TKwLegacyWheelDriver legacyDriver;
};

MouseState& RawState() {
    static MouseState state;
    return state;
}

// Native support from NT 4 and from the consumer line's 4.10.
bool PlatformHasNativeWheel() {
    const TPlatformVersion& version = PlatformVersion();
    if (version.family == TPlatformFamily::pfNT)
        return version.major >= 4;
    return version.major > 4 || (version.major == 4 && version.minor >= 10);
}

std::intptr_t AskLegacyDriver(Cardinal message) {
    const MouseState& state = RawState();
    return state.legacyDriver ? state.legacyDriver(message) : 0;
}

int ReadScrollLines(MouseState& state) {
    if (state.native)
        return static_cast<int>(GetWheelScrollLines());
    return static_cast<int>(AskLegacyDriver(RegisterWindowMessage(u"MSH_SCROLL_LINES_MSG")));
}

MouseState& State() {
    MouseState& state = RawState();
    if (!state.initialized)
        KwInitMouseSettings();
    return state;
}

}  // namespace

void KwInitMouseSettings() {
    MouseState& state = RawState();
    state.initialized = true;
    state.wheelMessage = RegisterWindowMessage(u"__Kw_MOUSEWHEELMESSAGE__");
    state.native = PlatformHasNativeWheel();
    state.present = GetSystemMetrics(SM_MOUSEPRESENT) != 0;
    state.wheel3d = false;
    state.scrollLines = 0;
    if (state.native) {
        state.wheelPresent = GetSystemMetrics(SM_MOUSEWHEELPRESENT) != 0;
        if (state.wheelPresent)
            state.scrollLines = ReadScrollLines(state);
    } else {
        const Cardinal roll = RegisterWindowMessage(u"MSWHEEL_ROLLMSG");
        const Cardinal support = RegisterWindowMessage(u"MSH_WHEELSUPPORT_MSG");
        state.wheelPresent = roll != 0;
        state.wheel3d = support != 0 && AskLegacyDriver(support) != 0;
        state.scrollLines = ReadScrollLines(state);
    }
    state.pages = state.scrollLines == static_cast<int>(kWheelPageLines);
}

int KwGetWheelScrollLines() {
    MouseState& state = State();
    state.scrollLines = ReadScrollLines(state);
    state.pages = state.scrollLines == static_cast<int>(kWheelPageLines);
    return state.scrollLines;
}

void KwSetLegacyWheelDriver(TKwLegacyWheelDriver driver) {
    RawState().legacyDriver = std::move(driver);
}

void KwResetMouseSettings() {
    RawState() = MouseState();
}

bool KwMousePresent() {
    return State().present;
}

bool KwMouseWheelPresent() {
    return State().wheelPresent;
}

bool KwMouseWheel3dSupport() {
    return State().wheel3d;
}

int KwMouseWheelScrollLines() {
    return State().scrollLines;
}

bool KwMouseWheelPages() {
    return State().pages;
}

Cardinal KwMouseWheelMessage() {
    return State().wheelMessage;
}

bool KwMouseWheelNative() {
    return State().native;
}

}  // namespace kw
