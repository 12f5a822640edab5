// Reads arbitrary bytes as a display file; what loads must save, load back and save again to
// the same bytes.
#include "display/display_package.h"
#include "display/state.h"
#include "framework/pkg_formats.h"
#include "framework/state.h"
#include "package_fuzz.h"

namespace {

struct TNewestOnly : kw::TKwPkgDisplay {
    // Display files are always written at the newest layout.
    void SetSaveVersion(int) {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    kw::KwResetFrameworkState();
    kw::KwResetDisplayState();
    kwfuzz::CheckRoundTrip<TNewestOnly>(data, size, kw::kKwFormatDisplay.newestVersion);
    return 0;
}
