#pragma once

#include <cstdint>

#include "platform/core/types.h"

namespace kw {

// A window message delivered to a control's window procedure.
struct TMessage {
    Cardinal Msg = 0;
    std::uintptr_t WParam = 0;
    std::intptr_t LParam = 0;
    std::intptr_t Result = 0;
};

// Message numbers of the platform.
enum : Cardinal {
    WM_NULL = 0x0000,
    WM_CREATE = 0x0001,
    WM_DESTROY = 0x0002,
    WM_MOVE = 0x0003,
    WM_SIZE = 0x0005,
    WM_ACTIVATE = 0x0006,
    WM_SETFOCUS = 0x0007,
    WM_KILLFOCUS = 0x0008,
    WM_ENABLE = 0x000A,
    WM_SETTEXT = 0x000C,
    WM_PAINT = 0x000F,
    WM_CLOSE = 0x0010,
    WM_QUIT = 0x0012,
    WM_ERASEBKGND = 0x0014,
    WM_SYSCOLORCHANGE = 0x0015,
    WM_SHOWWINDOW = 0x0018,
    WM_ACTIVATEAPP = 0x001C,
    WM_CANCELMODE = 0x001F,
    WM_SETCURSOR = 0x0020,
    WM_CONTEXTMENU = 0x007B,
    WM_WINDOWPOSCHANGING = 0x0046,
    WM_WINDOWPOSCHANGED = 0x0047,
    WM_NCCALCSIZE = 0x0083,
    WM_NCHITTEST = 0x0084,
    WM_NCPAINT = 0x0085,
    WM_GETDLGCODE = 0x0087,
    WM_NCMOUSEMOVE = 0x00A0,
    WM_NCLBUTTONDOWN = 0x00A1,
    WM_NCLBUTTONUP = 0x00A2,
    WM_NCLBUTTONDBLCLK = 0x00A3,
    WM_NCRBUTTONDOWN = 0x00A4,
    WM_NCRBUTTONUP = 0x00A5,
    WM_NCRBUTTONDBLCLK = 0x00A6,
    WM_NCMBUTTONDOWN = 0x00A7,
    WM_NCMBUTTONUP = 0x00A8,
    WM_NCMBUTTONDBLCLK = 0x00A9,
    WM_KEYDOWN = 0x0100,
    WM_KEYUP = 0x0101,
    WM_CHAR = 0x0102,
    WM_SYSKEYDOWN = 0x0104,
    WM_SYSKEYUP = 0x0105,
    WM_SYSCHAR = 0x0106,
    WM_COMMAND = 0x0111,
    WM_SYSCOMMAND = 0x0112,
    WM_TIMER = 0x0113,
    WM_HSCROLL = 0x0114,
    WM_VSCROLL = 0x0115,
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
    WM_CAPTURECHANGED = 0x0215,
    WM_MOUSELEAVE = 0x02A3,
    WM_USER = 0x0400,
};

// The layer's own control messages: notifications between a control, its parent and its form.
enum : Cardinal {
    CM_BASE = 0xB000,
    CM_ACTIVATE = CM_BASE + 0,
    CM_DEACTIVATE = CM_BASE + 1,
    CM_ENABLEDCHANGED = CM_BASE + 3,
    CM_COLORCHANGED = CM_BASE + 4,
    CM_FONTCHANGED = CM_BASE + 5,
    CM_CURSORCHANGED = CM_BASE + 6,
    CM_PARENTFONTCHANGED = CM_BASE + 8,
    CM_PARENTCOLORCHANGED = CM_BASE + 9,
    CM_HITTEST = CM_BASE + 10,
    CM_VISIBLECHANGED = CM_BASE + 11,
    CM_ENTER = CM_BASE + 12,
    CM_EXIT = CM_BASE + 13,
    CM_MOUSEENTER = CM_BASE + 19,
    CM_MOUSELEAVE = CM_BASE + 20,
    CM_TEXTCHANGED = CM_BASE + 18,
    CM_HINTSHOW = CM_BASE + 48,
    CM_SYSCOLORCHANGE = CM_BASE + 22,
    CM_DIALOGKEY = CM_BASE + 24,
    CM_DIALOGCHAR = CM_BASE + 25,
    CM_FOCUSCHANGED = CM_BASE + 26,
    CM_WANTSPECIALKEY = CM_BASE + 30,
    CM_CANCELMODE = CM_BASE + 32,
    CM_BUTTONPRESSED = CM_BASE + 33,
    CM_SHOWINGCHANGED = CM_BASE + 34,
    CM_RELEASE = CM_BASE + 35,
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

// Hit-test answers of WM_NCHITTEST. Codes from 200 up are free for controls that want
// non-client mouse messages over a part they draw themselves.
enum : int {
    HTERROR = -2,
    HTTRANSPARENT = -1,
    HTNOWHERE = 0,
    HTCLIENT = 1,
    HTCAPTION = 2,
    HTSYSMENU = 3,
    HTMINBUTTON = 8,
    HTMAXBUTTON = 9,
    HTLEFT = 10,
    HTRIGHT = 11,
    HTTOP = 12,
    HTTOPLEFT = 13,
    HTTOPRIGHT = 14,
    HTBOTTOM = 15,
    HTBOTTOMLEFT = 16,
    HTBOTTOMRIGHT = 17,
    HTBORDER = 18,
    HTCLOSE = 20,
    HTPRIVATE = 200,
};

// WM_SYSCOMMAND codes.
enum : std::uintptr_t {
    SC_SIZE = 0xF000,
    SC_MOVE = 0xF010,
    SC_MINIMIZE = 0xF020,
    SC_MAXIMIZE = 0xF030,
    SC_CLOSE = 0xF060,
    SC_RESTORE = 0xF120,
};

// Scroll codes in the low word of WM_HSCROLL and WM_VSCROLL; the high word carries the position
// for the thumb codes.
enum : Word {
    SB_LINEUP = 0,
    SB_LINEDOWN = 1,
    SB_PAGEUP = 2,
    SB_PAGEDOWN = 3,
    SB_THUMBPOSITION = 4,
    SB_THUMBTRACK = 5,
    SB_TOP = 6,
    SB_BOTTOM = 7,
    SB_ENDSCROLL = 8,
};

// WM_GETDLGCODE answers: which keys a control handles itself instead of the dialog.
enum : std::intptr_t {
    DLGC_WANTARROWS = 0x0001,
    DLGC_WANTTAB = 0x0002,
    DLGC_WANTALLKEYS = 0x0004,
    DLGC_WANTCHARS = 0x0080,
};

// Button and modifier flags in the WParam of mouse messages.
enum : std::uintptr_t {
    MK_LBUTTON = 0x0001,
    MK_RBUTTON = 0x0002,
    MK_SHIFT = 0x0004,
    MK_CONTROL = 0x0008,
    MK_MBUTTON = 0x0010,
};

// One notch of a mouse wheel.
inline constexpr int WHEEL_DELTA = 120;

// Virtual-key codes.
enum : Word {
    VK_LBUTTON = 0x01,
    VK_RBUTTON = 0x02,
    VK_MBUTTON = 0x04,
    VK_BACK = 0x08,
    VK_TAB = 0x09,
    VK_RETURN = 0x0D,
    VK_SHIFT = 0x10,
    VK_CONTROL = 0x11,
    VK_MENU = 0x12,
    VK_PAUSE = 0x13,
    VK_CAPITAL = 0x14,
    VK_ESCAPE = 0x1B,
    VK_SPACE = 0x20,
    VK_PRIOR = 0x21,
    VK_NEXT = 0x22,
    VK_END = 0x23,
    VK_HOME = 0x24,
    VK_LEFT = 0x25,
    VK_UP = 0x26,
    VK_RIGHT = 0x27,
    VK_DOWN = 0x28,
    VK_INSERT = 0x2D,
    VK_DELETE = 0x2E,
    VK_APPS = 0x5D,
    VK_F1 = 0x70,
    VK_F10 = 0x79,
    VK_F12 = 0x7B,
    VK_NUMLOCK = 0x90,
    VK_SCROLL = 0x91,
};

// Modifier and button state handed to mouse and key events.
enum TShiftFlag : Word {
    ssShift = 1 << 0,
    ssAlt = 1 << 1,
    ssCtrl = 1 << 2,
    ssLeft = 1 << 3,
    ssRight = 1 << 4,
    ssMiddle = 1 << 5,
    ssDouble = 1 << 6,
};
using TShiftState = Word;

enum class TMouseButton { mbLeft, mbRight, mbMiddle };

// Points travel in an LParam as two signed 16-bit halves, as the platform packs them; values
// beyond that range are clamped rather than wrapped.
std::intptr_t PointToLParam(int x, int y);
int LParamX(std::intptr_t lParam);
int LParamY(std::intptr_t lParam);

// The shift state a mouse message's WParam describes, and back.
TShiftState MouseShiftState(std::uintptr_t keys);
std::uintptr_t ShiftStateToKeys(TShiftState shift);

}  // namespace kw
