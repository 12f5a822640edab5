#include "platform/core/exception.h"

#include "platform/text/unicode.h"

namespace kw {

Exception::Exception(String message)
    : message_(std::move(message)), utf8_(StringToUtf8(message_)) {}

void Exception::SetMessage(String message) {
    message_ = std::move(message);
    utf8_ = StringToUtf8(message_);
}

}  // namespace kw
