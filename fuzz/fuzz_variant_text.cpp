// Text variants cast to every kind; comparisons with other kinds either answer or raise a
// variant error.

#include "fuzz/fuzz_util_common.h"
#include "platform/core/variant.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kw;
    const Variant text(fuzz::Text({reinterpret_cast<const char*>(data), size}));
    fuzz::Guarded([&] { text.AsInteger(); });
    fuzz::Guarded([&] { text.AsInt64(); });
    fuzz::Guarded([&] { text.AsUInt64(); });
    fuzz::Guarded([&] { text.AsDouble(); });
    fuzz::Guarded([&] { text.AsBoolean(); });
    fuzz::Guarded([&] { text.AsCurrency(); });
    fuzz::Guarded([&] {
        const TDateTime date = text.AsDate();
        Variant::FromDate(date).AsString();
    });
    for (TVarType type :
         {varSmallint, varInteger, varSingle, varDouble, varCurrency, varDate, varBoolean,
          varShortInt, varByte, varWord, varLongWord, varInt64, varUInt64, varUString})
        fuzz::Guarded([&] { VarAsType(text, type); });
    for (const Variant& other : {Variant(1), Variant(2.5), Variant(true), Variant::Null(),
                                 Variant::FromDate(45000.5), Variant(u"abc")})
        fuzz::Guarded([&] { VarCompareValue(text, other); });
    return 0;
}
