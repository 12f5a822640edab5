// The package tool's commands on binary files: info, dump, export-image and import-image.
// Input: a command byte, a 16-bit length of the package or image file, that file, then the picture
// an import reads. Any command may refuse its input with an error, but a dump must be JSON that
// parses again, and an imported picture must export back byte for byte.
#include <cstddef>
#include <cstdint>
#include <string>

#include "kwpkg/image_kinds.h"
#include "kwpkg/kinds.h"
#include "platform/core/exception.h"

namespace {

constexpr const char* kPictureNames[] = {"p.png", "p.bmp", "p.gif", "p.jpg", "p.ico", "p.txt"};

template <class F>
bool Refused(F&& command) {
    try {
        command();
        return false;
    } catch (const kw::Exception&) {
    } catch (const kwpkg::TKwPkgError&) {
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3)
        return 0;
    const std::uint8_t command = data[0];
    const std::size_t length = std::min<std::size_t>(data[1] | data[2] << 8, size - 3);
    const kwpkg::TBytes file(data + 3, data + 3 + length);
    const kwpkg::TBytes picture(data + 3 + length, data + size);
    const int id = command >> 3;
    switch (command & 3) {
        case 0:
            Refused([&] { kwpkg::InfoText(file); });
            break;
        case 1: {
            std::string json;
            if (!Refused([&] { json = kwpkg::DumpText(file); }) && !kwpkg::Json::accept(json))
                __builtin_trap();
            break;
        }
        case 2:
            Refused([&] { kwpkg::ExportImage(file, id, (command & 4) != 0); });
            break;
        default: {
            const std::string name = kPictureNames[(command >> 2) % std::size(kPictureNames)];
            kwpkg::TBytes updated;
            if (Refused([&] { updated = kwpkg::ImportImage(file, id, name, picture); }))
                break;
            if (kwpkg::ExportImage(updated, id, false) != picture)
                __builtin_trap();
        }
    }
    return 0;
}
