#include "dialogs/message_form.h"

#include <algorithm>

#include "controls/bit_btn.h"
#include "dialogs/message_box.h"
#include "display/default_sets.h"
#include "display/memory_image.h"
#include "display/set_references.h"
#include "drawing/backgrounds.h"
#include "drawing/images.h"
#include "drawing/styles/cfg_styles.h"
#include "framework/application.h"
#include "packages/strings_package.h"
#include "platform/graphics/bitmap.h"
#include "platform/ui/application.h"
#include "platform/ui/input.h"
#include "platform/ui/paint_context.h"
#include "platform/ui/screen.h"

namespace kw {

KW_IMPLEMENT_CLASS(TFrMessage, TForm)
KW_IMPLEMENT_CLASS(TFrMsg, TFrMessage)
KW_IMPLEMENT_CLASS(TFrMessageHlp, TFrMessage)
KW_IMPLEMENT_CLASS(TFrMsgHlp, TFrMessageHlp)

namespace {

constexpr int kMaxButtons = 8;
constexpr int kButtonHeight = 25;
constexpr int kGap = 4;
constexpr int kMargin = 8;
constexpr int kMinContentHeight = 48;
constexpr int kDefaultButtonWidth = 75;
constexpr StringView kTypeFallbacks[] = {u"Warning", u"Error", u"Information", u"Confirmation"};

// Splits `text` into lines no wider than `width` at blanks; explicit line breaks always break.
std::vector<String> WrapText(TCanvas& canvas, const String& text, int width) {
    std::vector<String> lines;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find(u'\n', start);
        if (end == String::npos)
            end = text.size();
        String paragraph = text.substr(start, end - start);
        if (!paragraph.empty() && paragraph.back() == u'\r')
            paragraph.pop_back();
        String line;
        size_t pos = 0;
        while (pos <= paragraph.size()) {
            size_t blank = paragraph.find(u' ', pos);
            if (blank == String::npos)
                blank = paragraph.size();
            const String word = paragraph.substr(pos, blank - pos);
            const String candidate = line.empty() ? word : line + u' ' + word;
            if (!line.empty() && canvas.TextWidth(candidate) > width) {
                lines.push_back(line);
                line = word;
            } else {
                line = candidate;
            }
            pos = blank + 1;
        }
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

const TMonitor& MonitorOfMainForm() {
    if (const TCustomForm* main = Application().MainForm()) {
        const TRect r = main->BoundsRect();
        return Screen().MonitorFromPoint({r.Left + r.Width() / 2, r.Top + r.Height() / 2});
    }
    return Screen().PrimaryMonitor();
}

}  // namespace

TFrMessage::TFrMessage(TComponent* owner)
    : TForm(owner),
      icon_(std::make_unique<TKwMemoryImage>()),
      config_(std::make_unique<TKwCfgMessages>()) {
    SetBorderStyle(TFormBorderStyle::bsDialog);
    SetKeyPreview(false);
    // A box takes the look the active application object configures for messages.
    if (TKwCApplication* app = KwCApp())
        config_->Assign(&app->CfgMessages());
}

TFrMessage::~TFrMessage() {
    for (TKwBitBtn* button : buttons_)
        button->SetParent(nullptr);
}

int TFrMessage::ButtonWidth() const {
    return Styled() && KwCApp() != nullptr ? config_->ButtonsWidth() : kDefaultButtonWidth;
}

TKwSetBackGround& TFrMessage::BackGroundSet() const {
    return Styled() ? config_->SetBackGround() : KwSetBackGround();
}

TKwSetFont& TFrMessage::FontSet() const {
    return Styled() ? config_->SetFont() : KwSetFont();
}

TKwSetColor& TFrMessage::TextColorSet() const {
    return Styled() ? config_->SetColText() : KwSetColText();
}

void TFrMessage::StyleButton(TKwBitBtn& b) const {
    if (!Styled())
        return;
    const TKwCfgAccelButtons& look = config_->Buttons();
    b.SetBackGround().Assign(&look.SetBackGround());
    b.SetBorderStyle(look.BorderStyle());
    b.SetFlat(look.Flat());
    b.Shape().SetShape(look.Shape().Shape());
    b.Shape().SetReflection(look.Shape().Reflection());
    b.Shape().SetOrientation(look.Shape().Orientation());
    b.Text().SetSetFont(look.SetFont());
    b.Text().SetSetColText(look.SetColText());
    b.Text().SetSetColAccelChar(look.SetColAccelChar());
}

TKwBitBtn* TFrMessage::ButtonOf(TKwButtonKind kind) const {
    for (size_t i = 0; i < kinds_.size(); ++i) {
        if (kinds_[i] == kind)
            return buttons_[i];
    }
    return nullptr;
}

void TFrMessage::ShowHelp() const {
    if (!helpPkg_.empty() && helpPkg_[0] == u'&') {
        if (TCustomForm* active = Screen().ActiveForm())
            active->Perform(WM_SYSCOMMAND, 0xF180, helpId_);
        return;
    }
    KwHlpPkg(helpPkg_, helpId_);
}

void TFrMessage::Build(const TKwButtonKinds& kinds, TKwButtonKind def, const String& helpPkg,
                       int helpId) {
    helpPkg_ = helpPkg;
    helpId_ = helpId;
    const size_t count = std::min<size_t>(kinds.size(), kMaxButtons);
    kinds_.assign(kinds.begin(), kinds.begin() + static_cast<std::ptrdiff_t>(count));
    closeResult_ = static_cast<TModalResult>(count + 1);  // maps to bkiCancel
    for (size_t i = 0; i < count; ++i) {
        auto button = std::make_unique<TKwBitBtn>(nullptr);
        TKwBitBtn& b = *button;
        b.SetKind(kinds_[i]);
        b.SetCheckValuesPending(false);
        const auto result = static_cast<TModalResult>(i + 1);
        if (kinds_[i] == bkiHelp) {
            b.SetModalResult(mrNone);
            b.OnClick = [this](TObject*) { ShowHelp(); };
        } else {
            b.SetModalResult(result);
        }
        if (kinds_[i] == bkiCancel) {
            b.SetCancel(true);
            closeResult_ = result;
        }
        b.SetDefault(kinds_[i] == def);
        StyleButton(b);
        b.SetParent(this);
        buttons_.push_back(&b);
        owned_.push_back(std::move(button));
    }
}

void TFrMessage::Measure(const String& text, int buttonCount) {
    const int w = ButtonWidth();
    const TMonitor& monitor = MonitorOfMainForm();
    const int row = buttonCount * (w + kGap) + kGap;
    const int limit = std::max(monitor.BoundsRect.Width() / 2, row);
    const int iconWidth = icon_->Info() != nullptr ? icon_->FrameWidth() : 0;
    const int iconHeight = icon_->Info() != nullptr ? icon_->Height() : 0;
    const int textArea = std::max(1, limit - kMargin - iconWidth - kGap);
    TBitmap scratch(1, 1);
    TCanvas& canvas = scratch.Canvas();
    canvas.Font().Assign(FontSet().Font());
    lines_ = canvas.TextWidth(text) > textArea ? WrapText(canvas, text, textArea)
                                               : WrapText(canvas, text, INT32_MAX / 2);
    int textWidth = 0;
    for (const String& line : lines_)
        textWidth = std::max(textWidth, canvas.TextWidth(line));
    const int lineHeight = canvas.TextHeight(u"Ag");
    const int textHeight = lineHeight * static_cast<int>(lines_.size());
    const int clientWidth = std::max(iconWidth + kGap + textWidth, row - 2 * kGap) + kMargin;
    const int content = std::max({textHeight, iconHeight, kMinContentHeight});
    const int clientHeight = kGap + content + kGap + kButtonHeight + kGap;
    iconRect_ = TRect::Bounds(kGap, kGap + (content - iconHeight) / 2, iconWidth, iconHeight);
    const int textLeft = iconWidth > 0 ? iconRect_.Right + kGap : kGap;
    textRect_ = TRect::Bounds(textLeft, kGap + (content - textHeight) / 2, textWidth, textHeight);
    const int frame = BorderThickness();
    SetBounds(Left(), Top(), clientWidth + 2 * frame, clientHeight + CaptionHeight() + 2 * frame);
    const int rowWidth = buttonCount * (w + kGap) - kGap;
    int x = (clientWidth - rowWidth) / 2;
    for (TKwBitBtn* b : buttons_) {
        b->SetBounds(x, clientHeight - kGap - kButtonHeight, w, kButtonHeight);
        x += w + kGap;
    }
}

void TFrMessage::Place(TKwCenterOptions center) {
    TRect area;
    switch (center) {
        case ceoNone:
            return;
        case ceoPriorWindow:
            if (const TCustomForm* prior = Screen().ActiveForm())
                area = prior->BoundsRect();
            break;
        case ceoMainWindow:
            if (const TCustomForm* main = Application().MainForm())
                area = main->BoundsRect();
            break;
        case ceoScreen:
            break;
    }
    if (area.IsEmpty())
        area = Screen().PrimaryMonitor().WorkareaRect;
    SetBounds(area.Left + (area.Width() - Width()) / 2, area.Top + (area.Height() - Height()) / 2,
              Width(), Height());
}

TKwButtonKind TFrMessage::Execute(bool custom, TKwCenterOptions center, TKwMessageType type,
                                  const String& caption, const String& imagePkg, int imageId,
                                  const String& text, const String& helpPkg, int helpId,
                                  const TKwButtonKinds& buttons, TKwButtonKind def) {
    String title = caption;
    if (!custom) {
        title = KwReadPkgLabelText(u"System", KwMessageTypeLabelId(type));
        if (title.empty())
            title = String(kTypeFallbacks[type]);
    }
    SetCaption(title);
    if (custom) {
        icon_->PkgId(imagePkg, imageId);
    } else {
        icon_->PkgId(u"System", KwMessageTypeImageId(type));
    }
    Build(buttons, def, helpPkg, helpId);
    Measure(text, static_cast<int>(buttons_.size()));
    Place(center);
    if (TKwBitBtn* focused = ButtonOf(def))
        SetActiveControl(focused);
    SetModalResult(mrNone);
    const TModalResult result = ShowModal();
    if (result >= 1 && result <= static_cast<TModalResult>(kinds_.size()))
        return kinds_[static_cast<size_t>(result - 1)];
    return bkiCancel;
}

void TFrMessage::WndProc(TMessage& message) {
    const bool closeBox = message.Msg == WM_CLOSE ||
                          (message.Msg == WM_SYSCOMMAND && (message.WParam & 0xFFF0) == SC_CLOSE);
    if (closeBox && Modal()) {
        SetModalResult(closeResult_);
        return;
    }
    TForm::WndProc(message);
    if (message.Msg == CM_DIALOGKEY && message.Result == 0 && message.WParam == VK_ESCAPE &&
        Modal()) {
        SetModalResult(closeResult_);
        message.Result = 1;
    }
}

void TFrMessage::PaintWindow(const TPaintContext& context) {
    TCanvas& canvas = *context.Canvas;
    KwPaintBackGround(canvas, context.ToDevice(ClientRect()), &BackGroundSet());
    if (!iconRect_.IsEmpty())
        KwPaintImage(canvas, context.ToDevice(iconRect_), icon_.get(), false, TKwImageDraw{});
    canvas.Font().Assign(FontSet().Font());
    canvas.Font().SetColor(TextColorSet().Color());
    canvas.Brush().Style = TBrushStyle::bsClear;
    const int lineHeight = canvas.TextHeight(u"Ag");
    const TRect text = context.ToDevice(textRect_);
    int y = text.Top;
    for (const String& line : lines_) {
        canvas.TextOut(text.Left, y, line);
        y += lineHeight;
    }
}

void TFrMessageHlp::Execute(const String& caption, const String& text) {
    TFrMessage::Execute(true, ceoPriorWindow, mtyInformation, caption, String(), -1, text, String(),
                        -1, {bkiClose}, bkiClose);
}

}  // namespace kw
