#pragma once

#include <memory>
#include <vector>

#include "dialogs/message_types.h"
#include "platform/ui/form.h"

namespace kw {

class TKwBitBtn;
class TKwCfgMessages;
class TKwMemoryImage;
class TKwSetBackGround;
class TKwSetColor;
class TKwSetFont;

// The library's message box: an icon, the text (wrapped at half the monitor's width) and a row
// of up to eight standard buttons. Styled by the application object's message settings.
class TFrMessage : public TForm {
    KW_CLASS(TFrMessage)
public:
    explicit TFrMessage(TComponent* owner = nullptr);
    ~TFrMessage() override;

    // Builds the box and shows it modally. `custom` takes `caption` and the image `imageId` of
    // the images package `imagePkg` instead of the caption and icon of `type`.
    TKwButtonKind Execute(bool custom, TKwCenterOptions center, TKwMessageType type,
                          const String& caption, const String& imagePkg, int imageId,
                          const String& text, const String& helpPkg, int helpId,
                          const TKwButtonKinds& buttons, TKwButtonKind def);

    // What Execute built, for whoever answers the box.
    const std::vector<TKwBitBtn*>& Buttons() const { return buttons_; }
    TKwBitBtn* ButtonOf(TKwButtonKind kind) const;
    const std::vector<String>& Lines() const { return lines_; }
    TRect TextRect() const { return textRect_; }
    TRect IconRect() const { return iconRect_; }
    TKwMemoryImage& Icon() const { return *icon_; }
    int ButtonWidth() const;
    // The look of the styled box and its buttons.
    TKwCfgMessages& Config() const { return *config_; }

protected:
    void WndProc(TMessage& message) override;
    void PaintWindow(const TPaintContext& context) override;
    // The plain boxes of the designer do without the application's styling.
    virtual bool Styled() const { return true; }
    TKwSetBackGround& BackGroundSet() const;
    TKwSetFont& FontSet() const;
    TKwSetColor& TextColorSet() const;

private:
    void Build(const TKwButtonKinds& kinds, TKwButtonKind def, const String& helpPkg, int helpId);
    void Measure(const String& text, int buttonCount);
    void Place(TKwCenterOptions center);
    void ShowHelp() const;
    void StyleButton(TKwBitBtn& button) const;

    std::vector<std::unique_ptr<TKwBitBtn>> owned_;
    std::vector<TKwBitBtn*> buttons_;
    std::vector<TKwButtonKind> kinds_;
    std::unique_ptr<TKwMemoryImage> icon_;
    std::unique_ptr<TKwCfgMessages> config_;
    std::vector<String> lines_;
    TRect textRect_;
    TRect iconRect_;
    String helpPkg_;
    int helpId_ = -1;
    TModalResult closeResult_ = mrNone;
};

// The plain box shown while a form designer hosts the library.
class TFrMsg : public TFrMessage {
    KW_CLASS(TFrMsg)
public:
    using TFrMessage::TFrMessage;

protected:
    bool Styled() const override { return false; }
};

// A help text window: the text under a caption, with one close button.
class TFrMessageHlp : public TFrMessage {
    KW_CLASS(TFrMessageHlp)
public:
    using TFrMessage::TFrMessage;
    void Execute(const String& caption, const String& text);
};

class TFrMsgHlp : public TFrMessageHlp {
    KW_CLASS(TFrMsgHlp)
public:
    using TFrMessageHlp::TFrMessageHlp;

protected:
    bool Styled() const override { return false; }
};

}  // namespace kw
