// Reads arbitrary bytes as a variables package. Whatever loads must save to bytes that load and
// save identically, and every variable that a path can name must be found by that path, both in
// the collation it was loaded under and after the collation locale changed (files of other
// collations may hold siblings in any order). The first input byte picks the collation.
//
// The seeds in fuzz/corpus/vars_package are written by this target itself:
//   KW_VARS_FUZZ_SEEDS=fuzz/corpus/vars_package ./fuzz_vars_package -runs=0

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "packages/vars_package.h"
#include "platform/core/exception.h"
#include "platform/core/stream.h"
#include "platform/text/strings.h"

namespace kw {
namespace {

const char* const kCollations[] = {"en_US", "sv_SE", "de_DE", "tr_TR"};
// Paths checked per input; the search is linear in the siblings, so this keeps runs quick.
constexpr int kMaxChecked = 2000;

std::vector<std::uint8_t> Saved(TKwPkgVars& vars) {
    TMemoryStream stream;
    vars.SaveToStream(stream);
    return stream.Bytes();
}

bool HoldsSeparator(StringView ident) {
    for (Char c : ident) {
        if (c == u'/' || c == u'\\')
            return true;
    }
    return false;
}

// Of siblings that compare equal a path names the first; the others stay in the tree unnamed.
bool FirstAmongEquals(const TKwPkgVars& vars, const TKwPkgVarsItem& item) {
    const TKwPkgVarsItem* first =
        item.Parent() != nullptr ? item.Parent()->FirstChild() : vars.FirstItem();
    for (const TKwPkgVarsItem* it = first; it != &item; it = it->Next()) {
        if (AnsiCompareText(it->Ident(), item.Ident()) == 0)
            return false;
    }
    return true;
}

// The item its path must find: none when an ident on the way cannot be written in a path.
bool Named(const TKwPkgVars& vars, const TKwPkgVarsItem& item) {
    if (item.Ident().empty() || Trim(item.Path()).empty())
        return false;
    for (const TKwPkgVarsItem* it = &item; it != nullptr; it = it->Parent()) {
        if (HoldsSeparator(it->Ident()) || !FirstAmongEquals(vars, *it))
            return false;
    }
    return true;
}

void CheckEveryPathIsFound(const TKwPkgVars& vars) {
    int checked = 0;
    std::vector<const TKwPkgVarsItem*> pending{vars.FirstItem()};
    while (!pending.empty() && checked < kMaxChecked) {
        const TKwPkgVarsItem* item = pending.back();
        pending.pop_back();
        if (item == nullptr)
            continue;
        pending.push_back(item->Next());
        pending.push_back(item->FirstChild());
        if (!Named(vars, *item))
            continue;
        ++checked;
        if (vars.Find(item->Path()) != item)
            __builtin_trap();
    }
}

void CheckRoundTrip(TKwPkgVars& vars) {
    const std::vector<std::uint8_t> first = Saved(vars);
    TMemoryStream stream;
    stream.WriteBuffer(first.data(), static_cast<std::int64_t>(first.size()));
    TKwPkgVars copy;
    copy.LoadFromStream(stream);
    if (copy.Count() != vars.Count() || Saved(copy) != first)
        __builtin_trap();
}

void WriteSeed(const std::string& dir, const char* name, TKwPkgVars& vars) {
    const std::vector<std::uint8_t> bytes = Saved(vars);
    std::ofstream out(dir + "/" + name, std::ios::binary);
    out.put(0);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

void WriteSeeds(const std::string& dir) {
    TKwPkgVars vars;
    vars.SetDescription(u"seed");
    vars.WriteBool(u"Options/Visible", true);
    vars.WriteInteger(u"Window/Main/Left", -70000);
    vars.WriteFloat(u"Window/Main/Scale", 1.25);
    vars.WriteString(u"Window/Title", u"\u00C4rger \u00FCber Zebras");
    vars.Add(u"Empty", vitDirectory);
    vars.DesignWindow() = {10, 20, 300, 400, 1};
    for (int version = 1; version <= 4; ++version) {
        vars.SetSaveVersion(version);
        WriteSeed(dir, ("version" + std::to_string(version) + ".pva").c_str(), vars);
    }

    // Siblings in Swedish order, and two that compare equal, as another program may write them.
    TKwPkgVars foreign;
    TKwPkgVarsItem* previous = nullptr;
    for (const Char* ident : {u"zebra", u"\u00E4ra", u"b", u"B"})
        previous = &foreign.InsertLoaded(nullptr, previous, ident, vitDirectory);
    foreign.InsertLoaded(previous, nullptr, u"x", vitInteger).SetVInteger(1);
    WriteSeed(dir, "foreign_order.pva", foreign);
}

}  // namespace
}  // namespace kw

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    if (const char* dir = std::getenv("KW_VARS_FUZZ_SEEDS"))
        kw::WriteSeeds(dir);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    constexpr std::size_t kCollationCount = std::size(kw::kCollations);
    kw::SetCollationLocale(kw::kCollations[data[0] % kCollationCount]);
    kw::TMemoryStream input;
    input.WriteBuffer(data + 1, static_cast<std::int64_t>(size - 1));
    kw::TKwPkgVars vars;
    try {
        vars.LoadFromStream(input);
    } catch (const kw::Exception&) {
        return 0;
    }
    kw::CheckEveryPathIsFound(vars);
    kw::CheckRoundTrip(vars);
    kw::SetCollationLocale(kw::kCollations[(data[0] + 1) % kCollationCount]);
    kw::CheckEveryPathIsFound(vars);
    return 0;
}
