#include "framework/state.h"

#include "platform/core/no_destructor.h"
#include "platform/ui/message_hooks.h"

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
    RemoveMessageHook(s.sentHook);
    RemoveMessageHook(s.queuedHook);
    s.sentHook = 0;
    s.queuedHook = 0;
    s.wheelSeen = false;
    s.applicationHooks = {};
    s.installation = {};
    s.installationKnown = false;
}

}  // namespace kw
