// Reads arbitrary bytes as an item stream and as description lines. Failures must be the
// library's errors; what was read must save and read back to the same items.

#include <cstddef>
#include <cstdint>

#include "fuzz_util_common.h"
#include "platform/core/stream.h"
#include "util/kw_items.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kw;
    TMemoryStream input;
    input.Write(data, static_cast<std::int64_t>(size));

    TKwStateItems items(nullptr);
    input.SetPosition(0);
    bool read = false;
    fuzz::Guarded([&] {
        items.LoadFromStream(input);
        read = true;
    });
    if (read) {
        TMemoryStream saved;
        items.SaveToStream(saved);
        saved.SetPosition(0);
        TKwItems again(nullptr);
        again.LoadFromStream(saved);
        if (again.Count() != items.Count())
            __builtin_trap();
        for (int i = 0; i < items.Count(); ++i)
            if (again.Items(i).GetDescription() != items.Items(i).GetDescription())
                __builtin_trap();
    }

    input.SetPosition(0);
    fuzz::Guarded([&] { items.LoadDescriptionsFromStream(input); });
    return 0;
}
