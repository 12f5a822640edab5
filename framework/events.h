#pragma once

#include "platform/core/types.h"

namespace kw {

class TControl;
class TWinControl;
class TCustomForm;

// Event codes carried by links and by the master message.
enum TKwEventCode : int {
    kwEvtKeySettings = 2,
    kwEvtMasks = 3,
    kwEvtCommitValue = 4,
    kwEvtParentBackground = 5,
    kwEvtPanelInvalidated = 6,
    kwEvtToggleKey = 7,
    kwEvtAdjustment = 8,
    kwEvtCheckRequired = 9,
    kwEvtStringsPackages = 10,
    kwEvtImagesPackages = 11,
    kwEvtVariablesPackages = 12,
    kwEvtApplications = 16,
    kwEvtLayout = 17,
    kwEvtSaveSettings = 23,
    kwEvtLoadSettings = 24,
    kwEvtFocusActivate = 26,
    kwEvtPrivileges = 31,
    kwEvtTipsChanged = 34,
    kwEvtControlDestroyed = 35,
    kwEvtDatabaseSettings = 37,
    kwEvtScrollBarsConfig = 38,
    kwEvtActiveControl = 40,
    kwEvtMainButtonsConfig = 41,
    kwEvtWindowActivation = 42,
    kwEvtWindowSkins = 44,
    // A skin-configuration object of the application changed (the object): dialogs, menus and
    // hints that draw with it restyle.
    kwEvtSkinConfig = 47,
    kwEvtNoBuffer = 58,
    kwEvtPaintFrame = 59,
    kwEvtParentDisabled = 60,
    kwEvtEnabledChanged = 61,
    kwEvtParentReadOnly = 65,
};

// The registered message "__Kw_MessageMaster__": first parameter the event code, second the
// event's argument.
Cardinal KwMasterMessage();

std::intptr_t KwPerform(TControl* control, int evt, void* data);
void KwControlsPerform(TWinControl* control, int evt, void* data);
void KwFormsPerform(int evt, void* data);
void KwFormPerform(TCustomForm* form, int evt, void* data);
void KwGlobalPerform(int evt, void* data);
void KwLinksPerform(int evt, void* data);
// Tells the outermost parent first, then each parent down to `control` itself.
void KwActiveControl(TControl* control);

// Gives every link with a cancel-mode handler the click or deactivation.
void KwNotifyCancelMode(TControl* control, int message);

// Entry points for an event loop. A message sent to a window: application deactivation
// cancels pop-ups. A message taken from the queue: clicks outside drop-downs close them and
// the form companions see the click; the wheel is forwarded after the cancel.
void KwHookSentMessage(TControl* window, Cardinal msg, std::uintptr_t wParam);
void KwHookQueuedMessage(TControl* control, Cardinal msg);

}  // namespace kw
