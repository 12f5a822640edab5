#include "dialogs/message_box.h"

#include <memory>

#include "dialogs/message_form.h"
#include "framework/errors.h"
#include "packages/strings_package.h"

namespace kw {

namespace {

// The styled box, or the plain one when `plain` (a form designer hosts the library).
TKwButtonKind ShowBox(bool plain, bool custom, TKwCenterOptions center, TKwMessageType type,
                      const String& caption, const String& imagePkg, int imageId,
                      const String& text, const String& helpPkg, int helpId,
                      const TKwButtonKinds& buttons, TKwButtonKind def) {
    std::unique_ptr<TFrMessage> box =
        plain ? std::make_unique<TFrMsg>(nullptr) : std::make_unique<TFrMessage>(nullptr);
    return box->Execute(custom, center, type, caption, imagePkg, imageId, KwAddPeriod(text),
                        helpPkg, helpId, buttons, def);
}

TKwButtonKind Typed(bool plain, TKwMessageType type, const String& text, const String& helpPkg,
                    int helpId, const TKwButtonKinds& buttons, TKwButtonKind def) {
    return ShowBox(plain, false, ceoPriorWindow, type, String(), String(), -1, text, helpPkg,
                   helpId, buttons, def);
}

TKwButtonKind Custom(TKwCenterOptions center, const String& caption, const String& imagePkg,
                     int imageId, const String& text, const String& helpPkg, int helpId,
                     const TKwButtonKinds& buttons, TKwButtonKind def) {
    return ShowBox(false, true, center, mtyInformation, caption, imagePkg, imageId, text, helpPkg,
                   helpId, buttons, def);
}

// The message's text used as a format; the unknown-message text when it does not exist.
String PkgText(const String& group, int id, std::initializer_list<FormatArg> args) {
    if (std::optional<String> message = KwFindMessage(group, id))
        return args.size() == 0 ? *message : Format(*message, args);
    return KwMessageText(group, id);
}

void ShowHelpWindow(const String& caption, const String& text) {
    std::unique_ptr<TFrMessageHlp> window = KwDesignMode()
                                                ? std::make_unique<TFrMsgHlp>(nullptr)
                                                : std::make_unique<TFrMessageHlp>(nullptr);
    window->Execute(caption, text);
}

}  // namespace

TKwButtonKind KwMessage(TKwMessageType type, const String& text, const TKwButtonKinds& buttons,
                        TKwButtonKind def) {
    return Typed(false, type, text, String(), -1, buttons, def);
}

TKwButtonKind KwMessageEx(TKwCenterOptions center, const String& caption, const String& imagePkg,
                          int imageId, const String& text, const TKwButtonKinds& buttons,
                          TKwButtonKind def) {
    return Custom(center, caption, imagePkg, imageId, text, String(), -1, buttons, def);
}

TKwButtonKind KwMessageArgs(TKwMessageType type, const String& format,
                            std::initializer_list<FormatArg> args, const String& helpPkg,
                            int helpId, const TKwButtonKinds& buttons, TKwButtonKind def) {
    return Typed(false, type, Format(format, args), helpPkg, helpId, buttons, def);
}

TKwButtonKind KwMessageArgsEx(TKwCenterOptions center, const String& caption,
                              const String& imagePkg, int imageId, const String& format,
                              std::initializer_list<FormatArg> args, const String& helpPkg,
                              int helpId, const TKwButtonKinds& buttons, TKwButtonKind def) {
    return Custom(center, caption, imagePkg, imageId, Format(format, args), helpPkg, helpId,
                  buttons, def);
}

TKwButtonKind KwMessagePkg(TKwMessageType type, const String& group, int id,
                           const TKwButtonKinds& buttons, TKwButtonKind def) {
    return Typed(false, type, PkgText(group, id, {}), String(), -1, buttons, def);
}

TKwButtonKind KwMessagePkgEx(TKwCenterOptions center, const String& caption, const String& imagePkg,
                             int imageId, const String& group, int id,
                             const TKwButtonKinds& buttons, TKwButtonKind def) {
    return Custom(center, caption, imagePkg, imageId, PkgText(group, id, {}), String(), -1, buttons,
                  def);
}

TKwButtonKind KwMessagePkgArgs(TKwMessageType type, const String& group, int id,
                               std::initializer_list<FormatArg> args, const TKwButtonKinds& buttons,
                               TKwButtonKind def) {
    return Typed(false, type, PkgText(group, id, args), String(), -1, buttons, def);
}

TKwButtonKind KwMessagePkgArgsEx(TKwCenterOptions center, const String& caption,
                                 const String& imagePkg, int imageId, const String& group, int id,
                                 std::initializer_list<FormatArg> args,
                                 const TKwButtonKinds& buttons, TKwButtonKind def) {
    return Custom(center, caption, imagePkg, imageId, PkgText(group, id, args), String(), -1,
                  buttons, def);
}

TKwButtonKind KwMsg(TKwMessageType type, const String& text, const TKwButtonKinds& buttons,
                    TKwButtonKind def) {
    return Typed(KwDesignMode(), type, text, String(), -1, buttons, def);
}

TKwButtonKind KwMsgArgs(TKwMessageType type, const String& format,
                        std::initializer_list<FormatArg> args, const TKwButtonKinds& buttons,
                        TKwButtonKind def) {
    return Typed(KwDesignMode(), type, Format(format, args), String(), -1, buttons, def);
}

TKwButtonKind KwMsgPkg(TKwMessageType type, const String& group, int id,
                       const TKwButtonKinds& buttons, TKwButtonKind def) {
    return Typed(KwDesignMode(), type, PkgText(group, id, {}), String(), -1, buttons, def);
}

TKwButtonKind KwMsgPkgArgs(TKwMessageType type, const String& group, int id,
                           std::initializer_list<FormatArg> args, const TKwButtonKinds& buttons,
                           TKwButtonKind def) {
    return Typed(KwDesignMode(), type, PkgText(group, id, args), String(), -1, buttons, def);
}

void KwHelp(const String& text, int id, const String& helpText) {
    ShowHelpWindow(text, helpText);
}

void KwHelpPkg(const String& group, int id, const String& helpGroup, int helpId) {
    ShowHelpWindow(PkgText(group, id, {}), KwReadPkgText(helpGroup, helpId));
}

void KwHlpPkg(const String& group, int id) {
    String caption = KwReadPkgLabelText(u"System", KwButtonKindLabelId(bkiHelp));
    if (caption.empty())
        caption = String(KwButtonKindFallback(bkiHelp));
    ShowHelpWindow(caption, KwReadPkgText(group, id));
}

}  // namespace kw
