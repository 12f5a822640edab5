// Reads arbitrary bytes as a region data block; an accepted block must export a canonical block
// that reads back to the same region and exports the same bytes again.
#include <cstddef>
#include <cstdint>
#include <span>

#include "platform/graphics/region.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    kw::TRegion region;
    try {
        region = kw::TRegion::FromRegionData(std::span(data, size));
    } catch (const kw::ERegionError&) {
        return 0;
    }
    const auto exported = region.RegionData();
    const kw::TRegion back = kw::TRegion::FromRegionData(exported);
    if (!(back == region) || back.RegionData() != exported)
        __builtin_trap();
    return 0;
}
