#pragma once

#include <cstdint>

#include "platform/core/types.h"

namespace kw {

// A window message delivered synchronously to a control's window procedure.
struct TMessage {
    Cardinal Msg = 0;
    std::uintptr_t WParam = 0;
    std::intptr_t LParam = 0;
    std::intptr_t Result = 0;
};

// Message numbers of the platform that the library reacts to.
enum : Cardinal {
    WM_NULL = 0x0000,
    WM_ACTIVATEAPP = 0x001C,
    WM_CANCELMODE = 0x001F,
    WM_NCLBUTTONDOWN = 0x00A1,
    WM_NCRBUTTONDOWN = 0x00A4,
    WM_NCRBUTTONDBLCLK = 0x00A6,
    WM_NCMBUTTONDOWN = 0x00A7,
    WM_NCMBUTTONUP = 0x00A8,
    WM_NCMBUTTONDBLCLK = 0x00A9,
    WM_MOUSEMOVE = 0x0200,
    WM_LBUTTONDOWN = 0x0201,
    WM_LBUTTONUP = 0x0202,
    WM_LBUTTONDBLCLK = 0x0203,
    WM_RBUTTONDOWN = 0x0204,
    WM_RBUTTONUP = 0x0205,
    WM_RBUTTONDBLCLK = 0x0206,
    WM_MBUTTONDOWN = 0x0207,
    WM_MBUTTONUP = 0x0208,
    WM_MBUTTONDBLCLK = 0x0209,
    WM_MOUSEWHEEL = 0x020A,
    WM_USER = 0x0400,
};

// Registered messages get numbers from this range, one per distinct name.
inline constexpr Cardinal kFirstRegisteredMessage = 0xC000;
inline constexpr Cardinal kLastRegisteredMessage = 0xFFFF;

// The number registered for `name` (compared case-insensitively); the same name always yields
// the same number within the process. Raises EInvalidArgument for an empty name or when the
// range is exhausted.
Cardinal RegisterWindowMessage(StringView name);
// The name registered for a number, or empty text.
String RegisteredMessageName(Cardinal msg);
// Forgets every registration (tests only).
void ResetRegisteredMessages();

}  // namespace kw
