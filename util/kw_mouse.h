#pragma once

#include <cstdint>
#include <functional>

#include "platform/core/types.h"

namespace kw {

// The mouse as the library sees it. The first use registers "__Kw_MOUSEWHEELMESSAGE__" and
// reads the settings (KwInitMouseSettings).
bool KwMousePresent();
bool KwMouseWheelPresent();
bool KwMouseWheel3dSupport();
int KwMouseWheelScrollLines();
// One wheel notch scrolls a page.
bool KwMouseWheelPages();
Cardinal KwMouseWheelMessage();
// The platform's own wheel support is used (rather than the legacy driver's messages).
bool KwMouseWheelNative();

// Reads every setting again from the platform.
void KwInitMouseSettings();
// Reads the scroll-lines setting again, stores it and returns it.
int KwGetWheelScrollLines();

// Old systems without wheel support of their own learnt about the wheel from a driver window
// answering three registered messages. This platform has no such driver, so by default nothing
// answers (every answer is 0); the entry point stays for a port that has one. The answer takes
// the registered message number.
using TKwLegacyWheelDriver = std::function<std::intptr_t(Cardinal message)>;
void KwSetLegacyWheelDriver(TKwLegacyWheelDriver driver);

// Forgets the settings and the legacy driver; the next use reads them again (tests).
void KwResetMouseSettings();

}  // namespace kw
