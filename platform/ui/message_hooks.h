#pragma once

#include <cstdint>
#include <functional>

#include "platform/ui/messages.h"

namespace kw {

class TControl;

// The main thread's message hooks. A sent-message hook sees every message that reaches a
// window procedure through Perform, before the procedure does. A queued-message hook sees every
// message the loop takes from the queue (input from the back-end, posted messages) before it is
// dispatched to `window`, and may change it; one that sets Msg to WM_NULL swallows it. Hooks run
// newest first; a hook may add or remove hooks while it runs, and does not see the messages of
// its own kind that its handling causes.
enum class TMessageHookKind { mhkSent, mhkQueued };
using TMessageHook = std::function<void(TControl* window, TMessage& message)>;
using THookId = std::uintptr_t;

THookId SetMessageHook(TMessageHookKind kind, TMessageHook hook);
// False when no such hook is installed.
bool RemoveMessageHook(THookId id);
bool MessageHookInstalled(THookId id);

// Runs the hooks of a kind (the window layer calls these); returns false when a hook swallowed
// the message.
bool CallMessageHooks(TMessageHookKind kind, TControl* window, TMessage& message);

// Removes every hook (tests).
void ResetMessageHooks();

}  // namespace kw
