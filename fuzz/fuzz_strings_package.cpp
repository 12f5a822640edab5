// Reads arbitrary bytes as a strings package file; what loads must round-trip exactly.
#include "framework/pkg_formats.h"
#include "package_fuzz.h"
#include "packages/strings_package.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    kwfuzz::CheckRoundTrip<kw::TKwPkgStrings>(data, size, kw::kKwFormatStrings.newestVersion);
    return 0;
}
