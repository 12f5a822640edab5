// Feeds arbitrary bytes to the package tool's form dump. It may refuse them, but whatever it
// accepts must come out as JSON that parses again.
#include <cstddef>
#include <cstdint>
#include <string>

#include "kwpkg/form_dump.h"
#include "platform/core/exception.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    std::string text;
    try {
        text = kwpkg::DumpFormText(kwpkg::TBytes(data, data + size));
    } catch (const kw::Exception&) {
        return 0;
    }
    if (!kwpkg::Json::accept(text))
        __builtin_trap();
    return 0;
}
