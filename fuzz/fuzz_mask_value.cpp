// A mask text and an edit text (split at the first NUL) read back as a value for a kind picked
// by the first byte; the value, when there is one, must give an edit text again.

#include <string_view>

#include "fuzz/fuzz_util_common.h"
#include "util/app_format.h"
#include "util/mask_value.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kw;
    if (size < 3)
        return 0;
    const auto kind = static_cast<TKwDataType>(data[0] % 7);
    const auto year = static_cast<TKwDateYear>(data[1] % 3);
    const TKwFormatSettings settings = fuzz::SettingsFor(data[2]);
    const std::string_view rest(reinterpret_cast<const char*>(data + 3), size - 3);
    const size_t split = rest.find('\0');
    const String mask = fuzz::Text(rest.substr(0, split));
    const String edit =
        split == std::string_view::npos ? String() : fuzz::Text(rest.substr(split + 1));
    fuzz::Guarded([&] {
        TKwMaskInfo info;
        KwMaskScan(u"Fuzz", info, kind, mask, year, settings);
        KwMaskData(info, edit);
        KwMaskClear(info);
        fuzz::Guarded([&] { KwAStrToString(edit, info.MaskSource); });
        const Variant old = Variant::FromDate(45000.25);
        const Variant value =
            KwMaskToValue(info, old, edit, data[1] % 12, data[2] % 8 - 1, year, u"Fuzz", settings);
        KwMaskShort(info, value, 10, 2, year, settings);
        KwMaskLongEx(info, value, 10, 2, year, u"EUR", TKwCurrencyFormat::cfo1cc, settings);
        if (kind == TKwDataType::dtyDateTime)
            KwMaskDateTimePosCalc(info, year, value, data[1] % 24, 1, settings);
    });
    return 0;
}
