// A mask text and a stream of keys (split at the first NUL): key down, key press, paste and
// delete must keep the caret and selection inside the text and never fail.

#include <string_view>

#include "fuzz/fuzz_util_common.h"
#include "util/mask_edit.h"
#include "util/mask_value.h"

namespace {

void CheckState(const kw::TKwMaskEditState& edit) {
    if (edit.selStart < 0 || edit.selLength < 0 ||
        edit.selStart + edit.selLength > static_cast<int>(edit.text.size()))
        __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kw;
    if (size < 3)
        return 0;
    const auto kind = static_cast<TKwDataType>(data[0] % 7);
    const TKwFormatSettings settings = fuzz::SettingsFor(data[1]);
    const std::string_view rest(reinterpret_cast<const char*>(data + 2), size - 2);
    const size_t split = rest.find('\0');
    if (split == std::string_view::npos)
        return 0;
    TKwMaskInfo info;
    try {
        KwMaskScan({}, info, kind, fuzz::Text(rest.substr(0, split)), TKwDateYear::dyeYear4,
                   settings);
    } catch (const Exception&) {
        return 0;
    }
    TKwMaskEditState edit;
    edit.text = KwMaskClear(info);
    const int fieldSize = data[0] / 7 % 12;
    const int decimals = data[1] % 4;
    const std::string_view keys = rest.substr(split + 1);
    for (size_t i = 0; i + 1 < keys.size(); i += 2) {
        const auto op = static_cast<std::uint8_t>(keys[i]);
        const Char c = static_cast<Char>(static_cast<std::uint8_t>(keys[i + 1]));
        switch (op % 6) {
            case 0: {
                Word key = (op & 8) ? kKwKeyBack : kKwKeyDelete;
                KwMaskKeyDown(info, edit, kind, fieldSize, decimals, key, settings);
                break;
            }
            case 1:
                edit.selStart = c % 24;
                edit.selLength = op / 6 % 4;
                break;
            case 2:
                KwMaskClearChar(info, edit);
                break;
            case 3:
                KwMaskAddChar(info, edit, kind, fieldSize, decimals, String(2, c), settings);
                break;
            case 4:
                edit.insertMode = !edit.insertMode;
                break;
            default: {
                String key(1, c);
                KwMaskKeyPress(info, edit, kind, fieldSize, decimals, key, settings);
                break;
            }
        }
        if (op % 6 != 1 && op % 6 != 4)
            CheckState(edit);
    }
    fuzz::Guarded([&] {
        KwMaskToValue(info, Variant::Null(), edit.text, fieldSize, decimals, TKwDateYear::dyeYear4,
                      {}, settings);
    });
    return 0;
}
