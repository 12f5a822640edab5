#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "framework/app_hooks.h"
#include "framework/clip_formats.h"
#include "framework/kw_screen.h"
#include "framework/link.h"

namespace kw {

class TKwCApplication;

// Every piece of process-wide state of the framework, in one place.
struct TKwFrameworkState {
    TKwIntrusiveList<TKwLinkEvt> links{&TKwLinkEvt::allHook};
    TKwIntrusiveList<TKwLinkEvt> pending{&TKwLinkEvt::pendingHook};
    bool processInitLinks = false;
    TKwScreen screen;
    TKwClipFormats clipFormats;
    Cardinal masterMessage = 0;
    bool designMode = false;
    std::function<String()> designProjectDir;

    // The application list: index 0 is the active application object.
    std::vector<TKwCApplication*> applications;
    bool firstPassStarted = false;
    bool firstPassFinished = false;
    bool firstFormShown = false;
    bool terminateRequested = false;
    std::uint64_t startTick = 0;
    // The library's hooks on the window layer, and whether a wheel message came by yet.
    std::uintptr_t sentHook = 0;
    std::uintptr_t queuedHook = 0;
    bool wheelSeen = false;
    TKwApplicationHooks applicationHooks;
    TKwInstallation installation;
    bool installationKnown = false;
};

TKwFrameworkState& KwState();
// Back to the start-up state between tests. Links and application objects that still exist are
// dropped from the lists, not freed.
void KwResetFrameworkState();

}  // namespace kw
