#pragma once

#include "platform/core/types.h"

namespace kw {

class TControl;
class TCustomForm;
struct TMessage;

// The library's two hooks on the window layer's main-thread messages. The first library object
// installs them (every library object owns a link, whose construction calls this); installing
// again does nothing while they are in place.
//
// Sent messages: application deactivation posts the master message to the window and cancels
// drop-downs; the first showing of a library form schedules its first-show handling.
// Queued messages: a mouse move refreshes the hint, clicks reach the form companions and cancel
// drop-downs, and the wheel, after the cancel, goes as the library's wheel message to the
// control under the pointer and its parents, the first one to answer taking it.
void KwInstallMessageHooks();
void KwRemoveMessageHooks();

// The control a mouse message taken from the queue for `window` concerns: the child under its
// position for client messages, else the window.
TControl* KwControlOfMouseMessage(TControl* window, const TMessage& message);

// Offers a wheel message to `control` and its parents as the library's wheel message; true when
// one of them answered it.
bool KwForwardMouseWheel(TControl* control, const TMessage& message);

// The message a form is posted when it shows for the first time; the queued hook hands it to
// the form's companion.
Cardinal KwFirstShowMessage();

}  // namespace kw
