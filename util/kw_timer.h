#pragma once

#include "util/kw_custom_timer.h"

namespace kw {

// A timer on the one platform timer that all of them share. Each pass charges the time since
// the last one to every enabled timer, fires those that fell due in the pass before, and arms
// the platform timer for the nearest deadline; a due timer therefore fires at the start of the
// next pass, one platform tick after its deadline at the earliest.
class TKwTimer : public TKwCustomTimer {
    KW_CLASS(TKwTimer)
public:
    explicit TKwTimer(TComponent* owner = nullptr);
    ~TKwTimer() override;

    void SetEnabled(bool enabled) override;
    void SetInterval(int interval) override;

private:
    friend struct TKwSharedTimer;
    void Restart();

    int accumulated_ = 0;  // milliseconds charged since the last firing
    bool due_ = false;
};

// Stops the shared platform timer and forgets its state (tests; every TKwTimer must be gone).
void KwResetSharedTimer();
// The shared platform timer is armed.
bool KwSharedTimerRunning();

}  // namespace kw
