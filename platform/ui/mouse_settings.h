#pragma once

#include <cstdint>

#include "platform/core/types.h"

namespace kw {

// The operating system's family and version, as the platform reports them.
enum class TPlatformFamily : std::uint8_t { pfConsumer, pfNT };
struct TPlatformVersion {
    TPlatformFamily family = TPlatformFamily::pfNT;
    int major = 10;
    int minor = 0;
};

// What the platform reports about the pointing device. The values are process-wide and may be
// changed, so that tests can play other machines.
struct TMouseSettings {
    bool mousePresent = true;
    bool wheelPresent = true;
    // Lines one wheel notch scrolls; 65535 means a page.
    Cardinal wheelScrollLines = 3;
};

TPlatformVersion& PlatformVersion();
TMouseSettings& PlatformMouseSettings();
// Back to a current NT version with a three-line wheel mouse (tests).
void ResetPlatformMouseSettings();

}  // namespace kw
