#pragma once

#include <functional>
#include <memory>

#include "platform/core/types.h"
#include "util/kw_pos.h"

namespace kw {

class TControl;
class TKwMemoryLabel;
class TKwPrivilege;

// The caption and hint a button shows: its own when set, else those of its label reference
// (and, for a standard kind, the English fallback when the label is empty). The shown texts are
// handed to the platform control, so that accelerators and hints use them.
class TKwButtonTexts {
public:
    TKwButtonTexts(TControl& control, std::function<void()> changed);
    ~TKwButtonTexts();
    TKwButtonTexts(const TKwButtonTexts&) = delete;
    TKwButtonTexts& operator=(const TKwButtonTexts&) = delete;

    const String& Caption() const { return caption_; }
    void SetCaption(const String& caption);
    const String& Hint() const { return hint_; }
    void SetHint(const String& hint);
    TKwMemoryLabel& CaptionId() const { return *captionId_; }
    void SetFallback(StringView fallback);

    // Recomputes the shown texts and gives them to the control.
    void Apply();

private:
    TControl& control_;
    std::function<void()> changed_;
    String caption_;
    String hint_;
    String fallback_;
    std::unique_ptr<TKwMemoryLabel> captionId_;
};

// What a privilege leaves of a control's own visibility and enabled state: a hidden privilege
// hides it, anything below read-write access disables it (a button has no read-only state).
struct TKwPrivilegeEffect {
    bool visible;
    bool enabled;
};
TKwPrivilegeEffect KwPrivilegeEffect(TKwPrivilege& privilege, bool visible, bool enabled);

// How a button keeps its place when its parent resizes: the placement is recorded at start-up
// and whenever either alignment is set, and applied on the layout event.
struct TKwButtonPlacement {
    TKwAlignHor alignHor = alhLeft;
    TKwAlignVer alignVer = alvTop;
    TKwResizeInfo info;

    void Set(TControl& control, TKwAlignHor hor, TKwAlignVer ver) {
        alignHor = hor;
        alignVer = ver;
        KwPosSizeInfo(control, info);
    }
    void Record(TControl& control) { KwPosSizeInfo(control, info); }
    void Apply(TControl& control) const {
        KwPosSize(control, info, alignHor, alignVer, false, false);
    }
};

}  // namespace kw
