#pragma once

#include <exception>
#include <string>

#include "platform/core/types.h"

namespace kw {

// Base of every error the platform and the library raise. The message is UTF-16 like all text;
// what() gives its UTF-8 form for code that only knows std::exception.
class Exception : public std::exception {
public:
    explicit Exception(String message);

    const String& Message() const { return message_; }
    void SetMessage(String message);
    const char* what() const noexcept override { return utf8_.c_str(); }
    virtual String ClassName() const { return u"Exception"; }

private:
    String message_;
    std::string utf8_;
};

#define KW_DECLARE_EXCEPTION(Name, Base)                        \
    class Name : public Base {                                  \
    public:                                                     \
        using Base::Base;                                       \
        String ClassName() const override { return u## #Name; } \
    }

KW_DECLARE_EXCEPTION(EConvertError, Exception);
KW_DECLARE_EXCEPTION(EListError, Exception);
KW_DECLARE_EXCEPTION(EInvalidOperation, Exception);
KW_DECLARE_EXCEPTION(EInvalidArgument, Exception);
KW_DECLARE_EXCEPTION(EStreamError, Exception);
KW_DECLARE_EXCEPTION(EFilerError, EStreamError);
KW_DECLARE_EXCEPTION(EReadError, EFilerError);
KW_DECLARE_EXCEPTION(EWriteError, EFilerError);
KW_DECLARE_EXCEPTION(EClassNotFound, EFilerError);
KW_DECLARE_EXCEPTION(EFileStreamError, EStreamError);
KW_DECLARE_EXCEPTION(EFOpenError, EFileStreamError);
KW_DECLARE_EXCEPTION(EFCreateError, EFileStreamError);
KW_DECLARE_EXCEPTION(EComponentError, Exception);

// Messages shared by the stream and filer code.
inline constexpr const Char* kSReadError = u"Stream read error";
inline constexpr const Char* kSWriteError = u"Stream write error";
inline constexpr const Char* kSInvalidProperty = u"Invalid property value";

}  // namespace kw
