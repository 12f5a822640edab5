// Reads arbitrary bytes as a setup package. Whatever loads must save to bytes that load and save
// identically, and the conventions in force must stay readable whatever the engine.
//
// The seeds in fuzz/corpus/setup_package are written by this target itself:
//   KW_SETUP_FUZZ_SEEDS=fuzz/corpus/setup_package ./fuzz_setup_package -runs=0

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "packages/setup_package.h"
#include "platform/core/exception.h"
#include "platform/core/stream.h"

namespace kw {
namespace {

std::vector<std::uint8_t> Saved(TKwPkgSetup& setup) {
    TMemoryStream stream;
    setup.SaveToStream(stream);
    return stream.Bytes();
}

void CheckRoundTrip(TKwPkgSetup& setup) {
    const std::vector<std::uint8_t> first = Saved(setup);
    TMemoryStream stream;
    stream.WriteBuffer(first.data(), static_cast<std::int64_t>(first.size()));
    TKwPkgSetup copy;
    copy.LoadFromStream(stream);
    copy.SetSaveVersion(setup.SaveVersion());
    if (Saved(copy) != first)
        __builtin_trap();
    const TKwDbSettings settings = copy.DataBase().Settings();
    if (settings.dateFormat > TKwDateFormat::dfoymd)
        __builtin_trap();
}

void WriteSeeds(const std::string& dir) {
    TKwPkgSetup setup;
    setup.SetDescription(u"seed");
    setup.Keys().SetActionEnter(true);
    setup.Keys().SetDeleteType(dltGrids);
    setup.Keys().SetAppendRecord(0x6000 | 45);
    setup.DataBase().SetDateFormat(TKwDateFormat::dfoymd);
    setup.DataBase().SetDateSeparator(u'-');
    setup.DataBase().SetSQLSyntax(true);
    setup.SetLanguage(u"Spanish");
    setup.SetDisplay(u"standard");
    setup.SetVars(u"user");
    for (int version = 1; version <= 5; ++version) {
        setup.SetSaveVersion(version);
        const std::vector<std::uint8_t> bytes = Saved(setup);
        std::ofstream out(dir + "/version" + std::to_string(version) + ".stp", std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
    }
}

}  // namespace
}  // namespace kw

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    if (const char* dir = std::getenv("KW_SETUP_FUZZ_SEEDS"))
        kw::WriteSeeds(dir);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    kw::TMemoryStream input;
    input.WriteBuffer(data, static_cast<std::int64_t>(size));
    kw::TKwPkgSetup setup;
    try {
        setup.LoadFromStream(input);
    } catch (const kw::Exception&) {
        return 0;
    }
    // Version 0 files read as version 1.
    setup.SetSaveVersion(std::max(1, setup.LoadedVersion()));
    kw::CheckRoundTrip(setup);
    return 0;
}
