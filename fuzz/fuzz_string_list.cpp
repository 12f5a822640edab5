// String lists read from arbitrary bytes (UTF-8, UTF-16 with either mark, broken sequences) and
// from text with every line-break style. Whatever is read saves to text that reads back to the
// same list, and saving that list again gives the same bytes.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/core/stream.h"
#include "platform/text/string_list.h"
#include "platform/text/unicode.h"

namespace {

std::vector<kw::Byte> Saved(const kw::TStringList& list) {
    kw::TMemoryStream stream;
    list.SaveToStream(stream);
    return stream.Bytes();
}

void Load(kw::TStringList& list, const std::vector<kw::Byte>& bytes) {
    kw::TMemoryStream stream;
    if (!bytes.empty())
        stream.WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
    stream.SetPosition(0);
    list.LoadFromStream(stream);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    kw::TStringList read;
    Load(read, std::vector<kw::Byte>(data, data + size));
    const std::vector<kw::Byte> first = Saved(read);
    kw::TStringList again;
    Load(again, first);
    if (Saved(again) != first)
        __builtin_trap();

    kw::TStringList fromText;
    fromText.SetText(kw::Utf8ToString({reinterpret_cast<const char*>(data), size}));
    kw::TStringList copy;
    copy.SetText(fromText.Text());
    if (copy.Count() != fromText.Count())
        __builtin_trap();
    for (int i = 0; i < copy.Count(); ++i) {
        if (copy.Strings(i) != fromText.Strings(i))
            __builtin_trap();
    }
    return 0;
}
