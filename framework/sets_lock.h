#pragma once

namespace kw {

// The process-wide lock every change of packages, sets and references takes. The same thread
// may take it again; KwTryLockSets never waits and fails whenever anyone holds it.
void KwLockSets();
void KwUnLockSets();
bool KwTryLockSets();

// Holds the sets lock for its lifetime.
class TKwSetsLock {
public:
    TKwSetsLock() { KwLockSets(); }
    ~TKwSetsLock() { KwUnLockSets(); }
    TKwSetsLock(const TKwSetsLock&) = delete;
    TKwSetsLock& operator=(const TKwSetsLock&) = delete;
};

}  // namespace kw
