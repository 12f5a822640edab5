#include "framework/errors.h"

#include "platform/core/no_destructor.h"

#include "framework/state.h"

namespace kw {

namespace {

TKwMessageLookup& MessageLookup() {
    static TNoDestructor<TKwMessageLookup> lookup;
    return *lookup;
}

constexpr StringView kUnknownMessage = u"Message Unknown (%s) (%d)";

bool EndsWithoutPeriod(StringView text) {
    if (text.empty())
        return true;
    constexpr StringView kClosing = u"\n\r !%&.:;>?\\";
    return kClosing.find(text.back()) == StringView::npos;
}

[[noreturn]] void Raise(StringView source, StringView text, StringView group, int id) {
    throw EKwError(KwExceptText(source, text), String(source), String(group), id);
}

}  // namespace

void KwSetMessageLookup(TKwMessageLookup lookup) {
    MessageLookup() = std::move(lookup);
}

std::optional<String> KwFindMessage(StringView group, int id) {
    const TKwMessageLookup& lookup = MessageLookup();
    if (!lookup)
        return std::nullopt;
    return lookup(group, id);
}

String KwMessageText(StringView group, int id) {
    if (std::optional<String> text = KwFindMessage(group, id))
        return *text;
    return Format(kUnknownMessage, {group, id});
}

String KwAddPeriod(StringView text) {
    String result(text);
    if (EndsWithoutPeriod(text))
        result += u'.';
    return result;
}

String KwExceptText(StringView source, StringView text) {
    String result;
    if (source.empty()) {
        result = String(text);
    } else {
        result.reserve(source.size() + text.size() + 4);
        result.append(u"(").append(source).append(u") ").append(KwAddPeriod(text));
    }
    if (KwDesignMode() && !result.empty() && result.back() == u'.')
        result.pop_back();
    return result;
}

void KwExcept(StringView source, StringView text) {
    Raise(source, text, {}, -1);
}

void KwExceptArgs(StringView source, StringView format, std::initializer_list<FormatArg> args) {
    Raise(source, Format(format, args), {}, -1);
}

void KwExceptPkg(StringView source, StringView group, int id) {
    Raise(source, KwMessageText(group, id), group, id);
}

void KwExceptPkgArgs(StringView source, StringView group, int id,
                     std::initializer_list<FormatArg> args) {
    std::optional<String> text = KwFindMessage(group, id);
    const String message = text ? Format(*text, args) : Format(kUnknownMessage, {group, id});
    Raise(source, message, group, id);
}

bool KwDesignMode() {
    return KwState().designMode;
}
void KwSetDesignMode(bool designing) {
    KwState().designMode = designing;
}

}  // namespace kw
