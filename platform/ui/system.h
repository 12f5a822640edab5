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
    SM_CXFRAME = 32,
    SM_CYFRAME = 33,
    SM_CXDOUBLECLK = 36,
    SM_CYDOUBLECLK = 37,
    SM_CYSMCAPTION = 51,
    SM_CMONITORS = 80,
};

// The metric's value: a test override when one was set, else the layer's default.
int GetSystemMetrics(int metric);
void SetSystemMetric(int metric, int value);
// Milliseconds within which a second click makes a double click.
Cardinal GetDoubleClickTime();
void SetDoubleClickTime(Cardinal ms);

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

// Default metrics, recording hooks, no version strings (tests).
void ResetSystem();

}  // namespace kw
