#include "framework/kw_screen.h"

#include "framework/state.h"
#include "platform/ui/application.h"

namespace kw {

void TKwScreen::BeginUpdate() {
    if (!applying_)
        ++updateCount_;
}

void TKwScreen::EndUpdate() {
    if (applying_)
        return;
    if (updateCount_ > 0)
        --updateCount_;
    if (updateCount_ == 0 && !Application().Destroying())
        ApplyChanges();
}

void TKwScreen::ApplyChanges() {
    struct ApplyingScope {
        bool& flag;
        explicit ApplyingScope(bool& f) : flag(f) { flag = true; }
        ~ApplyingScope() { flag = false; }
    } scope(applying_);
    TKwIntrusiveList<TKwLinkEvt>::Cursor cursor(KwState().links, false);
    while (TKwLinkEvt* link = cursor.Next()) {
        if (link->Changed())
            link->DoUpdate();
    }
}

void TKwScreen::Reset() {
    updateCount_ = 0;
    applying_ = false;
}

TKwScreen& KwScreen() {
    return KwState().screen;
}

}  // namespace kw
