#pragma once

#include "platform/ui/actions.h"

namespace kw {

class TKwCustomBitBtn;
class TKwCustomSpeedButton;

// What a bit button shows of its action: enabled and visible state, caption and hint, through
// the button's own settings (a privilege still limits them).
class TKwBitBtnActionLink : public TActionLink {
public:
    explicit TKwBitBtnActionLink(TKwCustomBitBtn& button);
};

// A speed button shows the same and also the action's group index and checked state (as
// Down).
class TKwSpeedButtonActionLink : public TActionLink {
public:
    explicit TKwSpeedButtonActionLink(TKwCustomSpeedButton& button);
};

}  // namespace kw
