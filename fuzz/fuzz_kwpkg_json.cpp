// Feeds arbitrary text to the package tool's JSON reader. A source it accepts must build a file
// whose dump builds the very same file again.
#include <cstddef>
#include <cstdint>
#include <string>

#include "kwpkg/kinds.h"
#include "platform/core/exception.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    const std::string source(reinterpret_cast<const char*>(data), size);
    kwpkg::TBytes file;
    try {
        file = kwpkg::BuildFile(source);
    } catch (const kwpkg::TKwPkgError&) {
        return 0;
    } catch (const kw::Exception&) {
        return 0;
    }
    if (kwpkg::BuildFile(kwpkg::DumpText(file)) != file)
        __builtin_trap();
    return 0;
}
