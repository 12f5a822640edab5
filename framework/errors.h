#pragma once

#include <functional>
#include <initializer_list>
#include <optional>

#include "platform/core/exception.h"
#include "platform/text/strings.h"

namespace kw {

// An error raised by the library. Numbered errors keep the strings group and message number
// they were raised with, so callers can tell errors apart without reading the text.
class EKwError : public Exception {
public:
    EKwError(String message, String source, String group = {}, int messageId = -1)
        : Exception(std::move(message)),
          source_(std::move(source)),
          group_(std::move(group)),
          messageId_(messageId) {}
    String ClassName() const override { return u"EKwError"; }

    // The name of the component that failed; may be empty.
    const String& Source() const { return source_; }
    // For numbered errors: the strings group ("System", "User") and the message number.
    const String& Group() const { return group_; }
    int MessageId() const { return messageId_; }
    bool Numbered() const { return messageId_ >= 0; }

private:
    String source_;
    String group_;
    int messageId_;
};

// The text of message `id` of the strings group `group`, or nothing when that group or
// message does not exist. The strings packages install the lookup when they are linked in.
using TKwMessageLookup = std::function<std::optional<String>(StringView group, int id)>;
void KwSetMessageLookup(TKwMessageLookup lookup);
std::optional<String> KwFindMessage(StringView group, int id);
// The message text, or "Message Unknown (group) (id)".
String KwMessageText(StringView group, int id);

// Appends "." unless the text already ends in a line break, blank or one of "!%&.:;>?\".
String KwAddPeriod(StringView text);
// The text an exception of `source` shows: "(source) text." outside the designer.
String KwExceptText(StringView source, StringView text);

[[noreturn]] void KwExcept(StringView source, StringView text);
[[noreturn]] void KwExceptArgs(StringView source, StringView format,
                               std::initializer_list<FormatArg> args);
[[noreturn]] void KwExceptPkg(StringView source, StringView group, int id);
[[noreturn]] void KwExceptPkgArgs(StringView source, StringView group, int id,
                                  std::initializer_list<FormatArg> args);

// True while the library runs inside a form designer.
bool KwDesignMode();
void KwSetDesignMode(bool designing);

}  // namespace kw
