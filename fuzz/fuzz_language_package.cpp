// Reads arbitrary bytes as a language package file (locale and two strings payloads); what
// loads must round-trip exactly.
#include "framework/pkg_formats.h"
#include "package_fuzz.h"
#include "packages/language_package.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    kwfuzz::CheckRoundTrip<kw::TKwPkgLanguage>(data, size, kw::kKwFormatLanguage.newestVersion);
    return 0;
}
