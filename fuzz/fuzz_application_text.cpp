// Application texts to values under settings picked by the first byte.

#include "fuzz/fuzz_util_common.h"
#include "util/app_format.h"
#include "util/convert.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kw;
    if (size < 2)
        return 0;
    const TKwFormatSettings settings = fuzz::SettingsFor(data[0]);
    const int decimals = static_cast<int>(data[1] % 20) - 2;
    const String text = fuzz::Text({reinterpret_cast<const char*>(data + 2), size - 2});
    fuzz::Guarded([&] { KwAStrToDate(text, settings); });
    fuzz::Guarded([&] {
        const double value = KwAStrToNumeric(text, decimals, settings);
        const String edit = KwANumericToStr(value, u"-", 0, decimals, settings);
        if (KwAStrToNumeric(edit, decimals, settings) != value && value == value)
            __builtin_trap();
        KwANumericToStrShow(value, u".+0&", 30, decimals, settings);
    });
    fuzz::Guarded([&] {
        const std::int64_t value = KwAStrToInt64(text, settings);
        if (KwAStrToInt64(KwAInt64ToStrShow(value, u".", 0, settings), settings) != value)
            __builtin_trap();
    });
    KwARemoveThousandSeparator(text, settings);
    return 0;
}
