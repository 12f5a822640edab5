#pragma once

#include <initializer_list>

#include "dialogs/message_types.h"
#include "platform/text/strings.h"

namespace kw {

// The library's message boxes. Each shows a modal box whose caption, button texts, hints and
// icon come from the "System" strings and images, appends the closing period to the text and
// returns the kind of the button chosen (bkiCancel when the box was closed otherwise). `def` is
// the kind of the button that starts focused and takes Enter.

TKwButtonKind KwMessage(TKwMessageType type, const String& text, const TKwButtonKinds& buttons,
                        TKwButtonKind def);
// An explicit caption, and the icon `imageId` of the images package `imagePkg`.
TKwButtonKind KwMessageEx(TKwCenterOptions center, const String& caption, const String& imagePkg,
                          int imageId, const String& text, const TKwButtonKinds& buttons,
                          TKwButtonKind def);
// The text formatted from `format` and `args`; `helpPkg`/`helpId` is what the help button shows
// (a package name starting with "&" asks the platform's help for `helpId`).
TKwButtonKind KwMessageArgs(TKwMessageType type, const String& format,
                            std::initializer_list<FormatArg> args, const String& helpPkg,
                            int helpId, const TKwButtonKinds& buttons, TKwButtonKind def);
TKwButtonKind KwMessageArgsEx(TKwCenterOptions center, const String& caption,
                              const String& imagePkg, int imageId, const String& format,
                              std::initializer_list<FormatArg> args, const String& helpPkg,
                              int helpId, const TKwButtonKinds& buttons, TKwButtonKind def);
// The text of message `id` of the strings package `group` ("Message Unknown (group) (id)" when
// there is none), formatted with `args` in the Args forms.
TKwButtonKind KwMessagePkg(TKwMessageType type, const String& group, int id,
                           const TKwButtonKinds& buttons, TKwButtonKind def);
TKwButtonKind KwMessagePkgEx(TKwCenterOptions center, const String& caption, const String& imagePkg,
                             int imageId, const String& group, int id,
                             const TKwButtonKinds& buttons, TKwButtonKind def);
TKwButtonKind KwMessagePkgArgs(TKwMessageType type, const String& group, int id,
                               std::initializer_list<FormatArg> args, const TKwButtonKinds& buttons,
                               TKwButtonKind def);
TKwButtonKind KwMessagePkgArgsEx(TKwCenterOptions center, const String& caption,
                                 const String& imagePkg, int imageId, const String& group, int id,
                                 std::initializer_list<FormatArg> args,
                                 const TKwButtonKinds& buttons, TKwButtonKind def);

// The same as KwMessage, KwMessageArgs, KwMessagePkg and KwMessagePkgArgs, but inside a form
// designer they show the plain box, which the designer's own skin does not affect.
TKwButtonKind KwMsg(TKwMessageType type, const String& text, const TKwButtonKinds& buttons,
                    TKwButtonKind def);
TKwButtonKind KwMsgArgs(TKwMessageType type, const String& format,
                        std::initializer_list<FormatArg> args, const TKwButtonKinds& buttons,
                        TKwButtonKind def);
TKwButtonKind KwMsgPkg(TKwMessageType type, const String& group, int id,
                       const TKwButtonKinds& buttons, TKwButtonKind def);
TKwButtonKind KwMsgPkgArgs(TKwMessageType type, const String& group, int id,
                           std::initializer_list<FormatArg> args, const TKwButtonKinds& buttons,
                           TKwButtonKind def);

// Help text windows: a caption and a help text, shown modally with a close button.
void KwHelp(const String& text, int id, const String& helpText);
// Caption from message `id` of `group`, help text from text `helpId` of `helpGroup`.
void KwHelpPkg(const String& group, int id, const String& helpGroup, int helpId);
// The help text `id` of `group` under the "Help" caption.
void KwHlpPkg(const String& group, int id);

}  // namespace kw
