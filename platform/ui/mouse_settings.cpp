#include "platform/ui/mouse_settings.h"

namespace kw {

namespace {

struct PlatformState {
    TPlatformVersion version;
    TMouseSettings mouse;
};

PlatformState& State() {
    static PlatformState state;
    return state;
}

}  // namespace

TPlatformVersion& PlatformVersion() {
    return State().version;
}

TMouseSettings& PlatformMouseSettings() {
    return State().mouse;
}

void ResetPlatformMouseSettings() {
    State() = PlatformState();
}

}  // namespace kw
