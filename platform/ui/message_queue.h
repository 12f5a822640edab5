#pragma once

#include <cstdint>

#include "platform/core/types.h"

namespace kw {

class TComponent;
class TControl;

// The post queue: messages posted now are delivered, in order, by the message loop
// (TApplication::ProcessMessages and HandleMessage). A message for a control that is destroyed
// before delivery is dropped. WM_QUIT posted without a target ends the application's loop.
void PostMessage(TControl* target, Cardinal msg, std::uintptr_t wParam = 0,
                 std::intptr_t lParam = 0);
// Delivers the oldest posted message; false when the queue was empty.
bool DeliverPostedMessage();
int PostedMessageCount();
// Frees `component` once the message being delivered now has been handled (at once when no
// message is being delivered). Only components that their owner or nobody else holds qualify.
void FreeAfterMessage(TComponent& component);
void ForgetPostedMessages(const TControl* target);
void ResetMessageQueue();

}  // namespace kw
