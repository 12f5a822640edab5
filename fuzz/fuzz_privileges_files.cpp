// Reads arbitrary bytes as one of the three privileges files; the first byte picks the kind
// (access, visibles, template). Whatever the stored-form reader accepts must write back to bytes
// that read and write identically, and whatever a package accepts must save, load back and save
// again to the same bytes.
//
// The seeds in fuzz/corpus/privileges_files are written by this target itself:
//   KW_PRIVILEGES_FUZZ_SEEDS=fuzz/corpus/privileges_files ./fuzz_privileges_files -runs=0

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "packages/memory_refs.h"
#include "packages/package_scopes.h"
#include "packages/privileges_formats.h"
#include "packages/privileges_package.h"
#include "platform/core/exception.h"
#include "platform/core/filer.h"
#include "platform/core/stream.h"

namespace kw {
namespace {

using Bytes = std::vector<std::uint8_t>;
enum Kind : std::uint8_t { kAccess, kVisibles, kTemplate, kKinds };

void Fill(TMemoryStream& stream, const std::uint8_t* data, size_t size) {
    if (size > 0)
        stream.Write(data, static_cast<std::int64_t>(size));
    stream.SetPosition(0);
}

Bytes Written(const std::function<void(TWriter&)>& write) {
    TMemoryStream stream;
    {
        TWriter writer(stream);
        write(writer);
    }
    return stream.Bytes();
}

// The stored form: read, write, read again, write again.
Bytes StoredRoundTrip(Kind kind, const std::uint8_t* data, size_t size) {
    TMemoryStream stream;
    Fill(stream, data, size);
    TReader reader(stream);
    if (kind == kTemplate) {
        const TKwTemplateFile file = KwReadTemplateFile(reader, u"", u"");
        return Written([&](TWriter& w) { KwWriteTemplateFile(w, file); });
    }
    const TKwRightsKind rights =
        kind == kAccess ? TKwRightsKind::rkAccess : TKwRightsKind::rkVisibles;
    const TKwRightsFile file = KwReadRightsFile(reader, rights, u"", u"");
    return Written([&](TWriter& w) { KwWriteRightsFile(w, rights, file); });
}

void CheckStored(Kind kind, const std::uint8_t* data, size_t size) {
    Bytes first;
    try {
        first = StoredRoundTrip(kind, data, size);
    } catch (const Exception&) {
        return;
    }
    if (StoredRoundTrip(kind, first.data(), first.size()) != first)
        __builtin_trap();
}

// A package with a small tree, so that rights find items.
void Prepare(TKwPkgPrivileges& package) {
    for (int id = 0; id < 4; ++id)
        package.Add(id);
    package.FindId(1)->SetParent(package.FindId(0));
}

bool Load(Kind kind, TKwPkgPrivileges& package, const Bytes& bytes) {
    TMemoryStream stream;
    Fill(stream, bytes.data(), bytes.size());
    try {
        switch (kind) {
            case kAccess:
                package.LoadFromStream(stream);
                break;
            case kVisibles:
                package.LoadVisiblesFromStream(stream);
                break;
            default:
                package.LoadTemplateFromStream(stream);
                break;
        }
        return true;
    } catch (const Exception&) {
        return false;
    }
}

Bytes Save(Kind kind, TKwPkgPrivileges& package) {
    TMemoryStream stream;
    switch (kind) {
        case kAccess:
            package.SaveToStream(stream);
            break;
        case kVisibles:
            package.SaveVisiblesToStream(stream);
            break;
        default:
            package.SaveTemplateToStream(stream);
            break;
    }
    return stream.Bytes();
}

void CheckPackage(Kind kind, const std::uint8_t* data, size_t size) {
    Bytes saved;
    {
        TKwPkgPrivileges package(nullptr);
        Prepare(package);
        if (!Load(kind, package, Bytes(data, data + size)))
            return;
        saved = Save(kind, package);
    }
    TKwPkgPrivileges again(nullptr);
    Prepare(again);
    if (!Load(kind, again, saved) || Save(kind, again) != saved)
        __builtin_trap();
}

void WriteSeed(const std::string& dir, const char* name, Kind kind, const Bytes& bytes) {
    std::ofstream out(dir + "/" + name, std::ios::binary);
    out.put(static_cast<char>(kind));
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

void WriteSeeds(const std::string& dir) {
    TKwPkgPrivileges package(nullptr);
    Prepare(package);
    package.FindId(1)->SetDescription(u"Open \u00E9");
    package.FindId(1)->SetVisible(false);
    package.FindId(2)->SetAccess(accRead);
    package.FindId(3)->DescriptionId().PkgId(u"User", 4);
    package.SetKey(u"clerk");
    package.SetTemplateDescription(u"shop");
    WriteSeed(dir, "access.acc", kAccess, Save(kAccess, package));
    WriteSeed(dir, "visibles.vis", kVisibles, Save(kVisibles, package));
    WriteSeed(dir, "template.tpl", kTemplate, Save(kTemplate, package));
}

}  // namespace
}  // namespace kw

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    if (const char* dir = std::getenv("KW_PRIVILEGES_FUZZ_SEEDS"))
        kw::WriteSeeds(dir);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const auto kind = static_cast<kw::Kind>(data[0] % kw::kKinds);
    kw::CheckStored(kind, data + 1, size - 1);
    kw::CheckPackage(kind, data + 1, size - 1);
    return 0;
}
