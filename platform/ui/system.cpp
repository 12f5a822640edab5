#include "platform/ui/system.h"

#include <filesystem>
#include <map>

#include "platform/core/no_destructor.h"
#include "platform/text/unicode.h"

namespace kw {

namespace {

struct SystemState {
    std::map<int, int> metricOverrides;
    Cardinal doubleClickTime = 500;
    Cardinal wheelScrollLines = 3;
    TPlatformVersion version;
    TSystemHooks hooks;
    std::vector<Cardinal> beeps;
    std::vector<String> shellOpens;
    std::map<String, String> versionStrings;
};

SystemState& State() {
    static TNoDestructor<SystemState> state;
    return *state;
}

int DefaultMetric(int metric) {
    switch (metric) {
        case SM_CXSCREEN:
            return 1920;
        case SM_CYSCREEN:
            return 1080;
        case SM_CXVSCROLL:
        case SM_CYHSCROLL:
        case SM_CYVTHUMB:
        case SM_CXHTHUMB:
            return 17;
        case SM_CYCAPTION:
            return 23;
        case SM_CYSMCAPTION:
            return 17;
        case SM_CXBORDER:
        case SM_CYBORDER:
            return 1;
        case SM_CXDLGFRAME:
        case SM_CYDLGFRAME:
            return 3;
        case SM_CXFRAME:
        case SM_CYFRAME:
            return 4;
        case SM_CXDOUBLECLK:
        case SM_CYDOUBLECLK:
            return 4;
        case SM_CMONITORS:
        case SM_MOUSEPRESENT:
        case SM_MOUSEWHEELPRESENT:
            return 1;
        default:
            return 0;
    }
}

void InstallRecordingHooks(SystemState& s) {
    s.hooks.MessageBeep = [&s](Cardinal type) { s.beeps.push_back(type); };
    s.hooks.ShellOpen = [&s](const String& target) {
        s.shellOpens.push_back(target);
        return true;
    };
}

std::filesystem::path ModulePath() {
    std::error_code error;
    return std::filesystem::read_symlink("/proc/self/exe", error);
}

}  // namespace

int GetSystemMetrics(int metric) {
    const auto& overrides = State().metricOverrides;
    const auto it = overrides.find(metric);
    return it != overrides.end() ? it->second : DefaultMetric(metric);
}

void SetSystemMetric(int metric, int value) {
    State().metricOverrides[metric] = value;
}

Cardinal GetDoubleClickTime() {
    return State().doubleClickTime;
}

void SetDoubleClickTime(Cardinal ms) {
    State().doubleClickTime = ms;
}

Cardinal GetWheelScrollLines() {
    return State().wheelScrollLines;
}

void SetWheelScrollLines(Cardinal lines) {
    State().wheelScrollLines = lines;
}

const TPlatformVersion& PlatformVersion() {
    return State().version;
}

void SetPlatformVersion(const TPlatformVersion& version) {
    State().version = version;
}

TSystemHooks& SystemHooks() {
    auto& s = State();
    if (!s.hooks.MessageBeep)
        InstallRecordingHooks(s);
    return s.hooks;
}

const std::vector<Cardinal>& RecordedBeeps() {
    return State().beeps;
}

const std::vector<String>& RecordedShellOpens() {
    return State().shellOpens;
}

void MessageBeep(Cardinal type) {
    if (auto& hook = SystemHooks().MessageBeep)
        hook(type);
}

bool ShellOpen(const String& target) {
    auto& hook = SystemHooks().ShellOpen;
    return hook ? hook(target) : false;
}

String ModuleFileName() {
    return Utf8ToString(ModulePath().string());
}

TDateTime ModuleFileDate() {
    std::error_code error;
    const auto written = std::filesystem::last_write_time(ModulePath(), error);
    if (error)
        return 0;
    // The file clock and the system clock differ by a fixed offset; measure it now.
    const auto system = std::chrono::system_clock::now() +
                        std::chrono::duration_cast<std::chrono::system_clock::duration>(
                            written - std::filesystem::file_time_type::clock::now());
    const double seconds = std::chrono::duration<double>(system.time_since_epoch()).count();
    return kUnixDateDelta + seconds / kSecsPerDay;
}

std::int64_t ModuleFileSize() {
    std::error_code error;
    const auto size = std::filesystem::file_size(ModulePath(), error);
    return error ? -1 : static_cast<std::int64_t>(size);
}

String ModuleVersionString(const String& key) {
    const auto& strings = State().versionStrings;
    const auto it = strings.find(key);
    return it != strings.end() ? it->second : String();
}

void SetModuleVersionString(const String& key, const String& value) {
    State().versionStrings[key] = value;
}

void ResetSystem() {
    auto& s = State();
    s.metricOverrides.clear();
    s.doubleClickTime = 500;
    s.wheelScrollLines = 3;
    s.version = TPlatformVersion();
    s.beeps.clear();
    s.shellOpens.clear();
    s.versionStrings.clear();
    InstallRecordingHooks(s);
}

}  // namespace kw
