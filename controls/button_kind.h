#pragma once

#include <cstdint>
#include <vector>

#include "platform/core/types.h"
#include "platform/ui/form.h"

namespace kw {

// The standard buttons: what a bit button shows and what a message box returns.
enum TKwButtonKind : std::uint8_t {
    bkiNone,
    bkiOK,
    bkiCancel,
    bkiHelp,
    bkiYes,
    bkiNo,
    bkiClose,
    bkiAbort,
    bkiRetry,
    bkiIgnore,
    bkiAll,
    bkiCommit,
    bkiRollBack,
    bkiDetail,
};
inline constexpr int kKwButtonKinds = bkiDetail + 1;

// The kinds' identifiers, as the form stream stores them.
const std::vector<String>& KwButtonKindNames();

// The "System" label that names a kind (and gives its hint), and the "System" image it shows.
constexpr int KwButtonKindLabelId(TKwButtonKind kind) {
    return kind + 2;
}
constexpr int KwButtonKindImageId(TKwButtonKind kind) {
    return kind + 8;
}
// The caption used when the kind's label is missing or empty.
StringView KwButtonKindFallback(TKwButtonKind kind);
// The kind's caption from the "System" strings, else the fallback; its hint, else empty.
String KwButtonKindCaption(TKwButtonKind kind);
String KwButtonKindHint(TKwButtonKind kind);
// The modal result a button of the kind gives its form (mrNone for kinds without one).
TModalResult KwButtonKindModalResult(TKwButtonKind kind);

}  // namespace kw
