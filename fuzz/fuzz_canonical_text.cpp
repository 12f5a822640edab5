// Canonical texts to values: each routine either reads a value that writes back and reads again
// to the same value, or fails with a conversion error.

#include "fuzz/fuzz_util_common.h"
#include "platform/text/strings.h"
#include "util/convert.h"
#include "util/variants.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kw;
    const String text = fuzz::Text({reinterpret_cast<const char*>(data), size});
    fuzz::Guarded([&] {
        const TDateTime date = KwCStrToDate(text);
        if (DateOf(KwCStrToDate(KwCDateToStr(date))) != DateOf(date))
            __builtin_trap();
    });
    fuzz::Guarded([&] {
        const double value = KwCStrToNumeric(text);
        const double again = KwCStrToNumeric(KwCNumericToStr(value));
        if (KwCNumericToStr(again) != KwCNumericToStr(value))
            __builtin_trap();
    });
    fuzz::Guarded([&] {
        const std::int64_t value = KwCStrToInt64(text);
        if (KwCStrToInt64(IntToStr(value)) != value)
            __builtin_trap();
    });
    for (int kind = 0; kind <= static_cast<int>(TKwDataType::dtyMemo); ++kind)
        fuzz::Guarded([&] { KwDataCast(Variant(text), static_cast<TKwDataType>(kind)); });
    return 0;
}
