// Feeds arbitrary text to the package tool's JSON reader. A source it accepts must build a file
// whose dump builds the very same file again. Image entries may name picture files: the folder
// given holds one good PNG ("p.png") and one damaged one ("bad.png").
#include <unistd.h>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "kwpkg/kinds.h"
#include "platform/core/exception.h"
#include "platform/core/stream.h"
#include "platform/graphics/bitmap.h"
#include "platform/graphics/graphic.h"

namespace {

std::string PictureFolder() {
    static const std::string folder = [] {
        const auto dir = std::filesystem::temp_directory_path() /
                         ("kwpkg-json-fuzz-" + std::to_string(getpid()));
        std::filesystem::create_directories(dir);
        kw::TBitmap bitmap(5, 3);
        kw::TPngImage png;
        png.Assign(&bitmap);
        kw::TMemoryStream stream;
        png.SaveToStream(stream);
        const std::string bytes(stream.Bytes().begin(), stream.Bytes().end());
        std::ofstream(dir / "p.png", std::ios::binary) << bytes;
        std::ofstream(dir / "bad.png", std::ios::binary) << bytes.substr(0, bytes.size() / 2);
        return dir.string();
    }();
    return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    const std::string source(reinterpret_cast<const char*>(data), size);
    kwpkg::TBytes file;
    try {
        file = kwpkg::BuildFile(source, PictureFolder());
    } catch (const kwpkg::TKwPkgError&) {
        return 0;
    } catch (const kw::Exception&) {
        return 0;
    }
    if (kwpkg::BuildFile(kwpkg::DumpText(file)) != file)
        __builtin_trap();
    return 0;
}
