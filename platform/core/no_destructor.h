#pragma once

#include <new>
#include <utility>

namespace kw {

// Process-wide state that must outlive every static object: components owned by the platform
// application are freed when the program ends and still reach the registries, locks and lists
// on their way out. The object is built on first use and never destroyed; what it owns stays
// reachable, so leak checkers do not report it.
template <class T>
class TNoDestructor {
public:
    template <class... Args>
    explicit TNoDestructor(Args&&... args) {
        new (storage_) T(std::forward<Args>(args)...);
    }
    TNoDestructor(const TNoDestructor&) = delete;
    TNoDestructor& operator=(const TNoDestructor&) = delete;

    T& operator*() { return *Get(); }
    T* operator->() { return Get(); }

private:
    T* Get() { return std::launder(reinterpret_cast<T*>(storage_)); }

    alignas(T) unsigned char storage_[sizeof(T)];
};

}  // namespace kw
