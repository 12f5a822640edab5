#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "framework/errors.h"
#include "framework/pkg_info.h"
#include "platform/core/stream.h"

namespace kw {

// The library error `action` raises; empty when it raises none.
inline std::optional<EKwError> ErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const EKwError& error) {
        return error;
    }
    return std::nullopt;
}

// The message number of the library error `action` raises; 0 when it raises none.
inline int MessageIdOf(const std::function<void()>& action) {
    const std::optional<EKwError> error = ErrorOf(action);
    return error ? error->MessageId() : 0;
}

// The text of the library error `action` raises; empty when it raises none.
inline String MessageOf(const std::function<void()>& action) {
    const std::optional<EKwError> error = ErrorOf(action);
    return error ? String(error->Message()) : String();
}

inline std::vector<std::uint8_t> SavedBytes(TKwPkgInfo& package) {
    TMemoryStream stream;
    package.SaveToStream(stream);
    return stream.Bytes();
}

inline void LoadBytes(TKwPkgInfo& package, const std::vector<std::uint8_t>& bytes) {
    TMemoryStream stream;
    if (!bytes.empty())
        stream.Write(bytes.data(), static_cast<std::int64_t>(bytes.size()));
    package.LoadFromStream(stream);
}

}  // namespace kw
