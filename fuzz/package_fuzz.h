// Shared by the package fuzz targets: whatever a reader accepts must save, load back and save
// again to the same bytes.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "packages/package_scopes.h"
#include "platform/core/exception.h"
#include "platform/core/stream.h"

namespace kwfuzz {

using Bytes = std::vector<std::uint8_t>;

template <class Package>
bool Load(Package& package, const std::uint8_t* data, size_t size) {
    kw::TMemoryStream stream;
    if (size > 0)
        stream.Write(data, static_cast<std::int64_t>(size));
    try {
        kw::TKwLoadingScope quiet(package);
        package.LoadFromStream(stream);
        return true;
    } catch (const kw::Exception&) {
        return false;
    }
}

template <class Package>
Bytes Save(Package& package, int newestVersion) {
    package.SetSaveVersion(std::clamp(package.LoadedVersion(), 1, newestVersion));
    kw::TMemoryStream stream;
    package.SaveToStream(stream);
    return stream.Bytes();
}

template <class Package>
void CheckRoundTrip(const std::uint8_t* data, size_t size, int newestVersion) {
    Bytes saved;
    {
        Package package;
        if (!Load(package, data, size))
            return;
        saved = Save(package, newestVersion);
    }
    Package again;
    if (!Load(again, saved.data(), saved.size()))
        __builtin_trap();
    if (Save(again, newestVersion) != saved)
        __builtin_trap();
}

}  // namespace kwfuzz
