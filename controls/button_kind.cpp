#include "controls/button_kind.h"

#include <array>

#include "packages/strings_package.h"

namespace kw {

namespace {

constexpr StringView kSystem = u"System";

struct TKindInfo {
    StringView name;
    StringView fallback;
    TModalResult result;
};

constexpr std::array<TKindInfo, kKwButtonKinds> kKinds{{
    {u"bkiNone", u"None", mrNone},
    {u"bkiOK", u"Ok", mrOk},
    {u"bkiCancel", u"Cancel", mrCancel},
    {u"bkiHelp", u"Help", mrNone},
    {u"bkiYes", u"Yes", mrYes},
    {u"bkiNo", u"No", mrNo},
    {u"bkiClose", u"Close", mrClose},
    {u"bkiAbort", u"Abort", mrAbort},
    {u"bkiRetry", u"Retry", mrRetry},
    {u"bkiIgnore", u"Ignore", mrIgnore},
    {u"bkiAll", u"All", mrNone},
    {u"bkiCommit", u"Commit", mrNone},
    {u"bkiRollBack", u"RollBack", mrNone},
    {u"bkiDetail", u"Detail", mrNone},
}};

const TKindInfo& Info(TKwButtonKind kind) {
    return kKinds[kind < kKwButtonKinds ? kind : bkiNone];
}

}  // namespace

const std::vector<String>& KwButtonKindNames() {
    static const std::vector<String> names = [] {
        std::vector<String> list;
        for (const TKindInfo& info : kKinds)
            list.emplace_back(info.name);
        return list;
    }();
    return names;
}

StringView KwButtonKindFallback(TKwButtonKind kind) {
    return Info(kind).fallback;
}

String KwButtonKindCaption(TKwButtonKind kind) {
    String caption = KwReadPkgLabelText(kSystem, KwButtonKindLabelId(kind));
    if (caption.empty())
        caption = String(KwButtonKindFallback(kind));
    return caption;
}

String KwButtonKindHint(TKwButtonKind kind) {
    return KwReadPkgLabelHint(kSystem, KwButtonKindLabelId(kind));
}

TModalResult KwButtonKindModalResult(TKwButtonKind kind) {
    return Info(kind).result;
}

}  // namespace kw
