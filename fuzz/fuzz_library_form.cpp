// Reads arbitrary bytes as a host form holding the library's own components: an application
// object whose stored properties carry its packages' data blocks, a stand-alone strings package,
// a variables package, a privileges package, and the form companion the start-up adds. Whatever
// reads must write back to a stream that reads again and writes the very same bytes. Process-wide
// state is reset between inputs.
//
// The seeds in fuzz/corpus/library_form are written by this target itself:
//   KW_LIBRARY_FORM_SEEDS=fuzz/corpus/library_form ./fuzz_library_form -runs=0

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "display/state.h"
#include "framework/application.h"
#include "framework/form_companion.h"
#include "framework/state.h"
#include "packages/privileges_package.h"
#include "packages/state.h"
#include "packages/strings_package.h"
#include "packages/vars_package.h"
#include "platform/core/component.h"
#include "platform/core/exception.h"
#include "platform/core/form_stream.h"
#include "platform/core/stream.h"
#include "platform/ui/application.h"
#include "platform/ui/form.h"
#include "platform/ui/screen.h"

namespace kw {
namespace {

void ResetState() {
    KwResetFrameworkState();
    KwResetPackagesState();
    KwResetDisplayState();
    Application().Reset();
    Screen().Reset();
}

std::vector<Byte> Written(TComponent& root) {
    TMemoryStream stream;
    WriteComponent(stream, root);
    return stream.Bytes();
}

std::unique_ptr<TComponent> Read(const std::vector<Byte>& bytes) {
    TMemoryStream stream;
    if (!bytes.empty())
        stream.WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
    stream.SetPosition(0);
    return ReadNewComponent(stream);
}

void WriteSeed(const std::string& dir) {
    TForm form;
    form.SetName(u"Form1");
    auto& app = Create<TKwCApplication>(form);
    app.SetName(u"App");
    app.PkgVars().WriteString(u"Main/Title", u"Ledger");
    app.Privileges().Add(7).SetDescription(u"Edit customers");
    auto& strings = Create<TKwPkgStrings>(form);
    strings.SetName(u"Extra");
    strings.SetPkgName(u"Extra");
    strings.Labels().Add(1, u"Stand-alone", String());
    auto& vars = Create<TKwPkgVars>(form);
    vars.SetName(u"Settings");
    vars.WriteString(u"Window/Left", u"12");
    auto& rights = Create<TKwPkgPrivileges>(form);
    rights.SetName(u"Rights");
    const std::vector<Byte> bytes = Written(form);
    std::ofstream(dir + "/form.bin", std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

// Every input of this target runs through tens of thousands of edges (a whole application
// object with its packages and skin configurations is read and written twice). The entropic
// schedule's bookkeeping walks its list of rare features once per feature an input reaches, and
// while the run is young every feature is rare: that cost grows with the square of the coverage
// and dwarfs the input itself (one input a second against thirty with the plain schedule). The
// plain schedule is asked for ahead of the given flags, so one given on the command line wins.
void PreferPlainSchedule(int* argc, char*** argv) {
    static std::vector<char*> args;
    static char plain[] = "-entropic=0";
    args.assign(*argv, *argv + *argc);
    args.insert(args.begin() + 1, plain);
    args.push_back(nullptr);
    *argc = static_cast<int>(args.size()) - 1;
    *argv = args.data();
}

}  // namespace
}  // namespace kw

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    kw::PreferPlainSchedule(argc, argv);
    for (const kw::TClass* c : {&kw::TForm::StaticClass(), &kw::TKwCApplication::StaticClass(),
                                &kw::TKwPkgStrings::StaticClass(), &kw::TKwPkgVars::StaticClass(),
                                &kw::TKwPkgPrivileges::StaticClass(), &kw::TKwCForm::StaticClass()})
        kw::RegisterClass(*c);
    if (const char* dir = std::getenv("KW_LIBRARY_FORM_SEEDS")) {
        kw::WriteSeed(dir);
        kw::ResetState();
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<kw::Byte> first;
    try {
        const std::unique_ptr<kw::TComponent> root = kw::Read({data, data + size});
        first = kw::Written(*root);
    } catch (const kw::Exception&) {
        kw::ResetState();
        return 0;
    }
    kw::ResetState();
    try {
        const std::unique_ptr<kw::TComponent> again = kw::Read(first);
        if (kw::Written(*again) != first)
            __builtin_trap();
    } catch (const kw::Exception&) {
        __builtin_trap();  // what the library wrote, it must read
    }
    kw::ResetState();
    return 0;
}
