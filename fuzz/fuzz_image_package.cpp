// Reads arbitrary bytes as an image-package file; what loads must round-trip exactly.
#include "display/image_package.h"
#include "display/state.h"
#include "packages/package_scopes.h"
#include "platform/core/exception.h"
#include "platform/core/stream.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

bool Load(kw::TKwPkgImages& package, const std::uint8_t* data, size_t size) {
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

Bytes Save(kw::TKwPkgImages& package) {
    kw::TMemoryStream stream;
    package.SaveToStream(stream);
    return stream.Bytes();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    kw::KwResetDisplayState();
    Bytes saved;
    {
        kw::TKwPkgImages package;
        if (!Load(package, data, size))
            return 0;
        for (int i = 0; i < package.Images().Count(); ++i) {
            try {
                package.Images().Items(i).ReadStream(true);
            } catch (const kw::Exception&) {
            }
        }
        saved = Save(package);
    }
    kw::TKwPkgImages again;
    if (!Load(again, saved.data(), saved.size()) || Save(again) != saved)
        __builtin_trap();
    return 0;
}
