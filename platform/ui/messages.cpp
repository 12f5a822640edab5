#include "platform/ui/messages.h"

#include <algorithm>
#include <mutex>
#include <vector>

#include "platform/core/exception.h"
#include "platform/core/no_destructor.h"
#include "platform/text/strings.h"

namespace kw {

namespace {

struct MessageRegistry {
    std::mutex mutex;
    std::vector<String> names;  // index i holds the name of kFirstRegisteredMessage + i
};

MessageRegistry& Registry() {
    static TNoDestructor<MessageRegistry> registry;
    return *registry;
}

}  // namespace

Cardinal RegisterWindowMessage(StringView name) {
    if (name.empty())
        throw EInvalidArgument(u"A registered message needs a name");
    auto& reg = Registry();
    std::lock_guard lock(reg.mutex);
    for (size_t i = 0; i < reg.names.size(); ++i) {
        if (SameText(reg.names[i], name))
            return kFirstRegisteredMessage + static_cast<Cardinal>(i);
    }
    if (reg.names.size() > kLastRegisteredMessage - kFirstRegisteredMessage) {
        throw EInvalidArgument(u"No registered message numbers are left");
    }
    reg.names.emplace_back(name);
    return kFirstRegisteredMessage + static_cast<Cardinal>(reg.names.size() - 1);
}

String RegisteredMessageName(Cardinal msg) {
    auto& reg = Registry();
    std::lock_guard lock(reg.mutex);
    if (msg < kFirstRegisteredMessage)
        return {};
    const size_t index = msg - kFirstRegisteredMessage;
    return index < reg.names.size() ? reg.names[index] : String();
}

void ResetRegisteredMessages() {
    auto& reg = Registry();
    std::lock_guard lock(reg.mutex);
    reg.names.clear();
}

}  // namespace kw

namespace kw {

namespace {

std::int16_t Clamp16(int v) {
    return static_cast<std::int16_t>(std::clamp(v, -32768, 32767));
}

}  // namespace

std::intptr_t PointToLParam(int x, int y) {
    const auto lo = static_cast<std::uint16_t>(Clamp16(x));
    const auto hi = static_cast<std::uint16_t>(Clamp16(y));
    return static_cast<std::intptr_t>(static_cast<std::uint32_t>(lo) |
                                      (static_cast<std::uint32_t>(hi) << 16));
}

int LParamX(std::intptr_t lParam) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(lParam & 0xFFFF));
}

int LParamY(std::intptr_t lParam) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>((lParam >> 16) & 0xFFFF));
}

TShiftState MouseShiftState(std::uintptr_t keys) {
    TShiftState shift = 0;
    if (keys & MK_SHIFT)
        shift |= ssShift;
    if (keys & MK_CONTROL)
        shift |= ssCtrl;
    if (keys & MK_LBUTTON)
        shift |= ssLeft;
    if (keys & MK_RBUTTON)
        shift |= ssRight;
    if (keys & MK_MBUTTON)
        shift |= ssMiddle;
    return shift;
}

std::uintptr_t ShiftStateToKeys(TShiftState shift) {
    std::uintptr_t keys = 0;
    if (shift & ssShift)
        keys |= MK_SHIFT;
    if (shift & ssCtrl)
        keys |= MK_CONTROL;
    if (shift & ssLeft)
        keys |= MK_LBUTTON;
    if (shift & ssRight)
        keys |= MK_RBUTTON;
    if (shift & ssMiddle)
        keys |= MK_MBUTTON;
    return keys;
}

}  // namespace kw
