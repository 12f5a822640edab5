#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "platform/core/datetime.h"
#include "platform/core/types.h"

namespace kw {

// System metrics the layer and the library size things by.
enum TSystemMetric : int {
    SM_CXSCREEN = 0,
    SM_CYSCREEN = 1,
    SM_CXVSCROLL = 2,
    SM_CYHSCROLL = 3,
    SM_CYCAPTION = 4,
    SM_CXBORDER = 5,
    SM_CYBORDER = 6,
    SM_CXDLGFRAME = 7,
    SM_CYDLGFRAME = 8,
    SM_CYVTHUMB = 9,
    SM_CXHTHUMB = 10,
    SM_MOUSEPRESENT = 19,
    SM_CXFRAME = 32,
    SM_CYFRAME = 33,
    SM_CXDOUBLECLK = 36,
    SM_CYDOUBLECLK = 37,
    SM_CYSMCAPTION = 51,
    SM_MOUSEWHEELPRESENT = 75,
    SM_CMONITORS = 80,
};

// The metric's value: a test override when one was set, else the layer's default.
int GetSystemMetrics(int metric);
void SetSystemMetric(int metric, int value);
// Milliseconds within which a second click makes a double click.
Cardinal GetDoubleClickTime();
void SetDoubleClickTime(Cardinal ms);

// Lines one wheel notch scrolls (3 by default); 65535 means a page.
Cardinal GetWheelScrollLines();
void SetWheelScrollLines(Cardinal lines);

// The operating system's family and version (a current NT by default).
enum class TPlatformFamily : std::uint8_t { pfConsumer, pfNT };
struct TPlatformVersion {
    TPlatformFamily family = TPlatformFamily::pfNT;
    int major = 10;
    int minor = 0;
};
const TPlatformVersion& PlatformVersion();
void SetPlatformVersion(const TPlatformVersion& version);

// Services of the desktop reached through replaceable hooks. By default the hooks only record
// what was asked, so tests can read it; a desktop back-end may install real ones.
struct TSystemHooks {
    std::function<void(Cardinal type)> MessageBeep;
    // Opens a document or address with the program the desktop associates with it.
    std::function<bool(const String& target)> ShellOpen;
};
TSystemHooks& SystemHooks();
// What the recording hooks saw.
const std::vector<Cardinal>& RecordedBeeps();
const std::vector<String>& RecordedShellOpens();

void MessageBeep(Cardinal type = 0);
bool ShellOpen(const String& target);

// The running program's file and what its version information tells.
String ModuleFileName();
TDateTime ModuleFileDate();
std::int64_t ModuleFileSize();
// A version-information string ("FileVersion", "ProductName", ...); empty when not set.
String ModuleVersionString(const String& key);
void SetModuleVersionString(const String& key, const String& value);

// Default metrics and settings, recording hooks, no version strings (tests).
void ResetSystem();

}  // namespace kw
