// Feeds arbitrary text and bytes to the memory store's columns of every kind: text setters,
// value-stream reads, blob loads and re-typing. Failures must be the library's errors; a value
// that was stored must read back, and must survive the value stream unchanged.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "data/memory_data.h"
#include "fuzz_util_common.h"
#include "platform/core/filer.h"
#include "platform/core/stream.h"

namespace {

using namespace kw;
using enum TKwDataType;

constexpr TKwDataType kKinds[] = {dtyInteger,  dtyCurrency, dtyDouble, dtyString,
                                  dtyDateTime, dtyBinary,   dtyMemo};

// Writes the source column's value and reads it into the target; the texts must match for the
// kinds whose stream form is exact.
void CheckValueStream(TKwMemoryField& source, TKwMemoryField& target) {
    TMemoryStream stream;
    {
        TWriter writer(stream);
        source.WriteValue(writer);
    }
    stream.SetPosition(0);
    TReader reader(stream);
    target.ReadValue(reader);
    if (source.GetIsNull() != target.GetIsNull())
        __builtin_trap();
    const TKwDataType kind = source.DataType();
    if (kind == dtyCurrency || kind == dtyBinary)
        return;
    if (source.GetAsString() != target.GetAsString())
        __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const std::uint8_t selector = data[0];
    const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);
    const String text = fuzz::Text(bytes);

    TKwMemoryTable table;
    for (TKwDataType kind : kKinds) {
        table.Fields().Add(kind);
        table.Fields().Add(kind);
    }
    table.AppendRow();
    for (int i = 0; i < table.Fields().Count(); i += 2) {
        TKwMemoryField& field = table.Fields().Field(i);
        fuzz::Guarded([&] { field.SetAsString(text); });
        if (field.DataType() != dtyBinary && !field.GetIsNull())
            field.GetAsString();  // a stored value must read back without failing
        fuzz::Guarded([&] { CheckValueStream(field, table.Fields().Field(i + 1)); });
    }

    // The bytes as a value stream read into a column of the chosen kind.
    TKwMemoryField& target = table.Fields().Field(2 * (selector % 7) + 1);
    TMemoryStream raw;
    raw.Write(bytes.data(), static_cast<std::int64_t>(bytes.size()));
    raw.SetPosition(0);
    fuzz::Guarded([&] {
        TReader reader(raw);
        target.ReadValue(reader);
    });

    // The bytes as a blob, re-typed through the text kinds.
    TKwMemoryField& blob = table.Fields().Field(10);
    raw.SetPosition(0);
    blob.LoadFromStream(raw);
    if (blob.ReadStream()->Size() != static_cast<std::int64_t>(bytes.size()))
        __builtin_trap();
    fuzz::Guarded([&] {
        table.FieldChangeType(blob, dtyMemo, false);
        table.FieldChangeType(blob, kKinds[(selector >> 3) % 7], false);
    });
    return 0;
}
