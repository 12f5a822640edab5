#pragma once

namespace kw {

// Batches updates: while an update is held, changed links wait, and the outermost EndUpdate
// updates each of them once, in link order.
class TKwScreen {
public:
    void BeginUpdate();
    void EndUpdate();
    // True when no update is held.
    bool Update() const { return updateCount_ == 0; }
    int UpdateCount() const { return updateCount_; }
    bool Applying() const { return applying_; }
    void ApplyChanges();
    void Reset();

private:
    int updateCount_ = 0;
    bool applying_ = false;
};

TKwScreen& KwScreen();

// Holds a screen update for the lifetime of the object.
class TKwScreenUpdate {
public:
    TKwScreenUpdate() { KwScreen().BeginUpdate(); }
    ~TKwScreenUpdate() noexcept(false) { KwScreen().EndUpdate(); }
    TKwScreenUpdate(const TKwScreenUpdate&) = delete;
    TKwScreenUpdate& operator=(const TKwScreenUpdate&) = delete;
};

}  // namespace kw
