#pragma once

#include "framework/kw_screen.h"
#include "framework/pkg_info.h"

namespace kw {

// Runs `body` inside a screen update when `open`. The update is closed on every path; when the
// body failed, an error raised while closing does not replace the body's error.
template <class F>
void KwWithScreenUpdate(bool open, F&& body) {
    if (!open) {
        body();
        return;
    }
    KwScreen().BeginUpdate();
    try {
        body();
    } catch (...) {
        try {
            KwScreen().EndUpdate();
        } catch (...) {
        }
        throw;
    }
    KwScreen().EndUpdate();
}

// Holds a package in loading state, so that its parts notify nobody, for its lifetime.
class TKwLoadingScope {
public:
    explicit TKwLoadingScope(TKwPkgInfo& package) : package_(package) { package_.BeginLoading(); }
    ~TKwLoadingScope() { package_.EndLoading(); }
    TKwLoadingScope(const TKwLoadingScope&) = delete;
    TKwLoadingScope& operator=(const TKwLoadingScope&) = delete;

private:
    TKwPkgInfo& package_;
};

}  // namespace kw
