#include "framework/state.h"

#include "platform/core/no_destructor.h"

namespace kw {

TKwFrameworkState& KwState() {
    static TNoDestructor<TKwFrameworkState> state;
    return *state;
}

void KwResetFrameworkState() {
    TKwFrameworkState& s = KwState();
    s.links.Clear();
    s.pending.Clear();
    s.processInitLinks = false;
    s.screen.Reset();
    s.clipFormats.Clear();
    s.masterMessage = 0;
    s.designMode = false;
    s.designProjectDir = nullptr;
    s.applications.clear();
    s.firstPassStarted = false;
    s.firstPassFinished = false;
    s.firstFormShown = false;
    s.terminateRequested = false;
    s.startTick = 0;
    s.applicationHooks = {};
    s.installation = {};
    s.installationKnown = false;
}

}  // namespace kw
