#include <unicode/ucol.h>
#include <unicode/ustring.h>

#include <algorithm>
#include <memory>
#include <mutex>
#include <optional>

#include "platform/core/exception.h"
#include "platform/core/no_destructor.h"
#include "platform/text/strings.h"

namespace kw {

namespace {

constexpr const char* kDefaultCollationLocale = "en_US";

// ICU refuses null buffers even for empty text.
const Char* DataOf(StringView text) {
    return text.empty() ? u"" : text.data();
}

int32_t LengthOf(StringView text) {
    return static_cast<int32_t>(text.size());
}

String IcuFailure(const char* what, UErrorCode error) {
    return AsciiToString(what) + u": " + AsciiToString(u_errorName(error));
}

using CaseMapper = int32_t (*)(UChar*, int32_t, const UChar*, int32_t, const char*, UErrorCode*);

String MapCase(StringView text, CaseMapper mapper) {
    String out(text.size(), u'\0');
    UErrorCode error = U_ZERO_ERROR;
    int32_t length = mapper(out.data(), LengthOf(out), DataOf(text), LengthOf(text), "", &error);
    if (error == U_BUFFER_OVERFLOW_ERROR) {
        out.resize(static_cast<size_t>(length));
        error = U_ZERO_ERROR;
        length = mapper(out.data(), LengthOf(out), DataOf(text), LengthOf(text), "", &error);
    }
    if (U_FAILURE(error))
        throw EConvertError(IcuFailure("Case mapping failed", error));
    out.resize(static_cast<size_t>(length));
    return out;
}

struct CollatorCloser {
    void operator()(UCollator* collator) const { ucol_close(collator); }
};
using CollatorPtr = std::unique_ptr<UCollator, CollatorCloser>;

CollatorPtr OpenCollator(const std::string& locale, UCollationStrength strength) {
    UErrorCode error = U_ZERO_ERROR;
    CollatorPtr collator(ucol_open(locale.c_str(), &error));
    if (U_FAILURE(error) || !collator) {
        throw EInvalidArgument(IcuFailure("Cannot open the collation", error) + u" (" +
                               AsciiToString(locale) + u")");
    }
    ucol_setStrength(collator.get(), strength);
    return collator;
}

// Collators are not safe for concurrent use, so every use holds the mutex.
struct CollationState {
    std::mutex mutex;
    std::string locale = kDefaultCollationLocale;
    CollatorPtr caseless;
    CollatorPtr caseSensitive;
};

CollationState& Collation() {
    static TNoDestructor<CollationState> state;
    return *state;
}

// The caller holds the state's mutex.
UCollator* CollatorOf(CollationState& state, bool ignoreCase) {
    CollatorPtr& collator = ignoreCase ? state.caseless : state.caseSensitive;
    if (!collator)
        collator = OpenCollator(state.locale, ignoreCase ? UCOL_SECONDARY : UCOL_TERTIARY);
    return collator.get();
}

int Collate(StringView a, StringView b, bool ignoreCase) {
    CollationState& state = Collation();
    std::lock_guard lock(state.mutex);
    UCollator* collator = CollatorOf(state, ignoreCase);
    switch (ucol_strcoll(collator, DataOf(a), LengthOf(a), DataOf(b), LengthOf(b))) {
        case UCOL_LESS:
            return -1;
        case UCOL_GREATER:
            return 1;
        default:
            return 0;
    }
}

}  // namespace

String AnsiUpperCase(StringView text) {
    return MapCase(text, &u_strToUpper);
}

String AnsiLowerCase(StringView text) {
    return MapCase(text, &u_strToLower);
}

namespace {

// Texts of ASCII only fold the same whether ICU or a table folds them, and package and set names
// compared on every lookup almost always are ASCII. Nothing is known when either text is not.
std::optional<bool> SameAsciiText(StringView a, StringView b) {
    const auto fold = [](Char c) { return c >= u'A' && c <= u'Z' ? Char(c + (u'a' - u'A')) : c; };
    bool same = a.size() == b.size();
    for (size_t i = 0; i < std::max(a.size(), b.size()); ++i) {
        const Char ca = i < a.size() ? a[i] : u'\0';
        const Char cb = i < b.size() ? b[i] : u'\0';
        if (ca >= 0x80 || cb >= 0x80)
            return std::nullopt;
        same = same && fold(ca) == fold(cb);
    }
    return same;
}

}  // namespace

bool AnsiSameText(StringView a, StringView b) {
    if (const std::optional<bool> ascii = SameAsciiText(a, b))
        return *ascii;
    UErrorCode error = U_ZERO_ERROR;
    const int32_t order = u_strCaseCompare(DataOf(a), LengthOf(a), DataOf(b), LengthOf(b),
                                           U_FOLD_CASE_DEFAULT, &error);
    if (U_FAILURE(error))
        throw EConvertError(IcuFailure("Case folding failed", error));
    return order == 0;
}

int AnsiCompareText(StringView a, StringView b) {
    return Collate(a, b, true);
}

int AnsiCompareStr(StringView a, StringView b) {
    return Collate(a, b, false);
}

std::string AnsiSortKey(StringView text) {
    CollationState& state = Collation();
    std::lock_guard lock(state.mutex);
    UCollator* collator = CollatorOf(state, true);
    std::string key(64, '\0');
    auto fill = [&] {
        return ucol_getSortKey(collator, DataOf(text), LengthOf(text),
                               reinterpret_cast<uint8_t*>(key.data()),
                               static_cast<int32_t>(key.size()));
    };
    int32_t length = fill();
    if (length > static_cast<int32_t>(key.size())) {
        key.resize(static_cast<size_t>(length));
        length = fill();
    }
    // The key ends in its only zero byte; without it, shorter keys still order first.
    key.resize(length > 0 ? static_cast<size_t>(length) - 1 : 0);
    return key;
}

void SetCollationLocale(const std::string& localeId) {
    CollatorPtr opened = OpenCollator(localeId, UCOL_TERTIARY);
    CollationState& state = Collation();
    std::lock_guard lock(state.mutex);
    state.locale = localeId;
    state.caseSensitive = std::move(opened);
    state.caseless.reset();
}

std::string CollationLocale() {
    CollationState& state = Collation();
    std::lock_guard lock(state.mutex);
    return state.locale;
}

void ResetCollationLocale() {
    CollationState& state = Collation();
    std::lock_guard lock(state.mutex);
    state.locale = kDefaultCollationLocale;
    state.caseSensitive.reset();
    state.caseless.reset();
}

}  // namespace kw
