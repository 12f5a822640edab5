#include "platform/ui/popup_menu_window.h"

#include <algorithm>
#include <array>

#include "platform/core/no_destructor.h"
#include "platform/graphics/bitmap.h"
#include "platform/graphics/device.h"
#include "platform/ui/application.h"
#include "platform/ui/backend.h"
#include "platform/ui/input.h"
#include "platform/ui/menus.h"
#include "platform/ui/message_hooks.h"
#include "platform/ui/paint_context.h"
#include "platform/ui/screen.h"

namespace kw {

KW_IMPLEMENT_CLASS(TPopupMenuWindow, TCustomForm)

namespace {

// The system colours of menus.
constexpr TColor clMenu = kSystemColorFlag | 4;
constexpr TColor clMenuText = kSystemColorFlag | 7;
constexpr TColor clHighlight = kSystemColorFlag | 13;
constexpr TColor clHighlightText = kSystemColorFlag | 14;
constexpr TColor clGrayText = kSystemColorFlag | 17;

// Frame line plus the space inside it.
constexpr int kBorder = 3;
// Space above and below a caption.
constexpr int kRowPadding = 2;
constexpr int kSeparatorHeight = 7;
// Space between the caption and the sub-menu arrow column, and that column.
constexpr int kTextGap = 8;
constexpr int kArrowWidth = 12;
// How far a sub-menu overlaps the window it opens from.
constexpr int kSubmenuOverlap = 3;

TPopupMenuWindow*& Tracked() {
    static TPopupMenuWindow* tracked = nullptr;
    return tracked;
}

bool IsSeparator(const TMenuItem& item) {
    return item.Caption() == u"-";
}

// Where a window of `size` starts along one axis: after `forward` when it fits before `high`,
// else ending at `backwardEnd` when that fits after `low`, else as far inside as it goes.
int FitAxis(int forward, int backwardEnd, int size, int low, int high) {
    if (forward + size <= high)
        return forward;
    if (backwardEnd - size >= low)
        return backwardEnd - size;
    return std::max(low, high - size);
}

// The font and text colour selected into a device for DrawText, which underlines accelerators;
// the device gets its own objects back afterwards.
class TCaptionDevice {
public:
    TCaptionDevice(HDC dc, const TFont& font, TColor color)
        : dc_(dc), font_(CreateFontIndirect(ToLogFont(font))) {
        oldFont_ = SelectObject(dc_, font_);
        oldColor_ = SetTextColor(dc_, ColorToRGB(color));
        oldMode_ = SetBkMode(dc_, TRANSPARENT);
    }
    ~TCaptionDevice() {
        SetBkMode(dc_, oldMode_);
        SetTextColor(dc_, oldColor_);
        SelectObject(dc_, oldFont_);
        DeleteObject(font_);
    }
    TCaptionDevice(const TCaptionDevice&) = delete;
    TCaptionDevice& operator=(const TCaptionDevice&) = delete;

    TSize Measure(StringView caption) const {
        TRect r;
        DrawText(dc_, caption, &r, DT_SINGLELINE | DT_CALCRECT);
        return {r.Width(), r.Height()};
    }
    void Draw(StringView caption, TRect rect) const {
        DrawText(dc_, caption, &rect, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
    }

private:
    HDC dc_;
    HFONT font_;
    HFONT oldFont_;
    TColor oldColor_;
    int oldMode_;
};

}  // namespace

TPopupMenuWindow::TPopupMenuWindow(const TMenuItem& items, TPopupMenuWindow* parentMenu)
    : TCustomForm(nullptr), items_(items), parentMenu_(parentMenu) {
    SetBorderStyle(TFormBorderStyle::bsNone);
    SetColor(clMenu);
    Font().Assign(MenuFont());
    Font().SetColor(clMenuText);
    Layout();
}

TPopupMenuWindow::~TPopupMenuWindow() {
    // The sub-menus' windows go first: they reach back to this one.
    CloseSubmenu();
}

TPopupMenuWindow& TPopupMenuWindow::Root() {
    TPopupMenuWindow* w = this;
    while (w->parentMenu_ != nullptr)
        w = w->parentMenu_;
    return *w;
}

TPopupMenuWindow& TPopupMenuWindow::Deepest() {
    TPopupMenuWindow* w = this;
    while (w->submenu_)
        w = w->submenu_.get();
    return *w;
}

void TPopupMenuWindow::Layout() {
    TBitmap scratch(1, 1, TPixelFormat::pf32bit);
    TCanvas canvas(scratch);
    const TCaptionDevice device(canvas.Handle(), Font(), Font().Color());
    const int rowHeight = device.Measure(u"Wg").cy + 2 * kRowPadding;
    checkWidth_ = rowHeight;
    int textWidth = 0;
    int y = kBorder;
    rows_.clear();
    for (int i = 0; i < items_.Count(); ++i) {
        const TMenuItem& item = items_.Items(i);
        if (!item.Visible())
            continue;
        const int height = IsSeparator(item) ? kSeparatorHeight : rowHeight;
        if (!IsSeparator(item))
            textWidth = std::max(textWidth, device.Measure(item.Caption()).cx);
        rows_.push_back({i, TRect(kBorder, y, 0, y + height)});
        y += height;
    }
    const int width = 2 * kBorder + checkWidth_ + textWidth + kTextGap + kArrowWidth;
    for (TRow& row : rows_)
        row.Rect.Right = width - kBorder;
    SetBounds(Left(), Top(), width, y + kBorder);
}

TRect TPopupMenuWindow::ItemRect(int index) const {
    for (const TRow& row : rows_) {
        if (row.Index == index)
            return row.Rect;
    }
    return {};
}

int TPopupMenuWindow::RowAt(TPoint client) const {
    for (const TRow& row : rows_) {
        if (row.Rect.Contains(client.X, client.Y))
            return row.Index;
    }
    return -1;
}

bool TPopupMenuWindow::Selectable(int index) const {
    if (index < 0 || index >= items_.Count())
        return false;
    const TMenuItem& item = items_.Items(index);
    return item.Visible() && item.Enabled() && !IsSeparator(item);
}

void TPopupMenuWindow::PopupAt(TPoint screen) {
    const TRect area = Screen().MonitorFromPoint(screen).WorkareaRect;
    SetBounds(FitAxis(screen.X, screen.X, Width(), area.Left, area.Right),
              FitAxis(screen.Y, screen.Y, Height(), area.Top, area.Bottom), Width(), Height());
    Show();
}

void TPopupMenuWindow::SetHighlighted(int index) {
    if (index == highlighted_)
        return;
    if (submenu_)
        CloseSubmenu();
    for (const int i : {highlighted_, index}) {
        if (const TRect r = ItemRect(i); !r.IsEmpty())
            InvalidateRect(r);
    }
    highlighted_ = index;
}

void TPopupMenuWindow::MoveHighlight(int step) {
    const int count = items_.Count();
    if (count == 0)
        return;
    // From nothing highlighted, down starts at the first item and up at the last.
    int i = highlighted_ >= 0 ? highlighted_ : (step > 0 ? count - 1 : 0);
    for (int tried = 0; tried < count; ++tried) {
        i = (i + step + count) % count;
        if (Selectable(i)) {
            SetHighlighted(i);
            return;
        }
    }
}

void TPopupMenuWindow::OpenSubmenu(bool highlightFirst) {
    if (!Selectable(highlighted_) || items_.Items(highlighted_).Count() == 0)
        return;
    const TMenuItem& item = items_.Items(highlighted_);
    if (!submenu_ || &submenu_->Items() != &item) {
        CloseSubmenu();
        submenu_ = std::make_unique<TPopupMenuWindow>(item, this);
        const TRect row = ItemRect(highlighted_).Offset(Left(), Top());
        const TRect area = Screen().MonitorFromPoint({row.Left, row.Top}).WorkareaRect;
        TPopupMenuWindow& sub = *submenu_;
        sub.SetBounds(
            FitAxis(Left() + Width() - kSubmenuOverlap, Left() + kSubmenuOverlap, sub.Width(),
                    area.Left, area.Right),
            FitAxis(row.Top - kBorder, row.Bottom + kBorder, sub.Height(), area.Top, area.Bottom),
            sub.Width(), sub.Height());
        sub.Show();
    }
    if (highlightFirst && submenu_->highlighted_ < 0)
        submenu_->MoveHighlight(1);
}

void TPopupMenuWindow::CloseSubmenu() {
    submenu_.reset();
}

void TPopupMenuWindow::Choose(int index) {
    if (!Selectable(index))
        return;
    SetHighlighted(index);
    TMenuItem& item = items_.Items(index);
    if (item.Count() > 0) {
        OpenSubmenu(true);
    } else {
        Root().Finish(&item);
    }
}

void TPopupMenuWindow::Dismiss() {
    Root().Finish(nullptr);
}

void TPopupMenuWindow::Finish(TMenuItem* picked) {
    finished_ = true;
    picked_ = picked;
    SetModalResult(picked != nullptr ? mrOk : mrCancel);
}

bool TPopupMenuWindow::KeyDown(Word vk) {
    switch (vk) {
        case VK_UP:
        case VK_DOWN:
            MoveHighlight(vk == VK_DOWN ? 1 : -1);
            return true;
        case VK_RIGHT:
            OpenSubmenu(true);
            return true;
        case VK_LEFT:
        case VK_ESCAPE:
            // Both close this sub-menu only; Escape on the first window dismisses the menu.
            if (parentMenu_ != nullptr) {
                parentMenu_->CloseSubmenu();
            } else if (vk == VK_ESCAPE) {
                Finish(nullptr);
            }
            return true;
        case VK_RETURN:
            Choose(highlighted_);
            return true;
        default:
            break;
    }
    if (!((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9')))
        return false;
    // One item with the accelerator runs; several take turns at the highlight.
    std::vector<int> matches;
    for (int i = 0; i < items_.Count(); ++i) {
        if (Selectable(i) && IsAccel(static_cast<Char>(vk), items_.Items(i).Caption()))
            matches.push_back(i);
    }
    if (matches.size() == 1) {
        Choose(matches.front());
    } else if (!matches.empty()) {
        const auto next = std::upper_bound(matches.begin(), matches.end(), highlighted_);
        SetHighlighted(next == matches.end() ? matches.front() : *next);
    }
    return !matches.empty();
}

void TPopupMenuWindow::MouseAt(TPoint screen, TMouseAction action) {
    TPopupMenuWindow* target = &Deepest();
    while (target != nullptr && !target->BoundsRect().Contains(screen.X, screen.Y))
        target = target->parentMenu_;
    if (target == nullptr) {
        // A press anywhere else dismisses the menu, as the platform's menus do; leaving the
        // windows takes the highlight off the innermost one.
        if (action == TMouseAction::maDown) {
            Dismiss();
        } else if (action == TMouseAction::maMove) {
            Deepest().SetHighlighted(-1);
        }
        return;
    }
    const int index = target->RowAt(target->ScreenToClient(screen));
    if (!target->Selectable(index)) {
        // Over a separator or a disabled item: nothing is highlighted, unless an open
        // sub-menu belongs to the highlighted item.
        if (!target->submenu_)
            target->SetHighlighted(-1);
        return;
    }
    target->SetHighlighted(index);
    if (target->items_.Items(index).Count() > 0) {
        target->OpenSubmenu(false);
    } else if (action == TMouseAction::maUp) {
        Root().Finish(&target->items_.Items(index));
    }
}

void TPopupMenuWindow::WndProc(TMessage& message) {
    auto mouse = [&](TMouseAction action) {
        Root().MouseAt(ClientToScreen({LParamX(message.LParam), LParamY(message.LParam)}), action);
    };
    switch (message.Msg) {
        case WM_MOUSEMOVE:
            mouse(TMouseAction::maMove);
            return;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONDBLCLK:
            mouse(TMouseAction::maDown);
            return;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
            mouse(TMouseAction::maUp);
            return;
        case WM_CAPTURECHANGED:
            // Someone else took the mouse: the menu gives way.
            if (Tracked() == this && !finished_)
                Finish(nullptr);
            return;
        default:
            break;
    }
    TCustomForm::WndProc(message);
}

void TPopupMenuWindow::PaintRow(TCanvas& canvas, const TRow& row) const {
    const TMenuItem& item = items_.Items(row.Index);
    const TRect r = row.Rect;
    if (IsSeparator(item)) {
        const int y = r.Top + kSeparatorHeight / 2;
        canvas.Brush().Color = clBtnShadow;
        canvas.FillRect(TRect(r.Left + 1, y - 1, r.Right - 1, y));
        canvas.Brush().Color = clBtnHighlight;
        canvas.FillRect(TRect(r.Left + 1, y, r.Right - 1, y + 1));
        return;
    }
    const bool hot = row.Index == highlighted_;
    if (hot) {
        canvas.Brush().Color = clHighlight;
        canvas.FillRect(r);
    }
    const TColor color = !item.Enabled() ? clGrayText : hot ? clHighlightText : clMenuText;
    canvas.Pen().Color = color;
    canvas.Pen().Width = 1;
    canvas.Brush().Color = color;
    const int cy = (r.Top + r.Bottom) / 2;
    if (item.Checked()) {
        // A tick, two pixels thick, in the middle of the check column.
        const int cx = r.Left + checkWidth_ / 2;
        for (int dy = 0; dy < 2; ++dy) {
            const std::array<TPoint, 3> tick = {TPoint{cx - 3, cy - 1 + dy},
                                                TPoint{cx - 1, cy + 1 + dy},
                                                TPoint{cx + 4, cy - 4 + dy}};
            canvas.Polyline(tick);
        }
    }
    if (item.Count() > 0) {
        const int ax = r.Right - kArrowWidth + 3;
        const std::array<TPoint, 3> arrow = {TPoint{ax, cy - 4}, TPoint{ax + 4, cy},
                                             TPoint{ax, cy + 4}};
        canvas.Polygon(arrow);
    }
    const TCaptionDevice device(canvas.Handle(), Font(), color);
    device.Draw(item.Caption(),
                TRect(r.Left + checkWidth_, r.Top, r.Right - kArrowWidth - kTextGap, r.Bottom));
}

void TPopupMenuWindow::PaintWindow(const TPaintContext& context) {
    const TRect bounds = ClientRect();
    context.FillRect(bounds, Color());
    TCanvas& canvas = *context.Canvas;
    canvas.Brush().Style = TBrushStyle::bsSolid;
    canvas.Brush().Color = clBtnShadow;
    canvas.FrameRect(bounds);
    for (const TRow& row : rows_)
        PaintRow(canvas, row);
}

namespace {

std::unique_ptr<TFont>& MenuFontCell() {
    static TNoDestructor<std::unique_ptr<TFont>> font;
    return *font;
}

}  // namespace

TFont& MenuFont() {
    // Made on first use: a font takes its density from the screen.
    auto& font = MenuFontCell();
    if (!font)
        font = std::make_unique<TFont>();
    return *font;
}

void ResetMenuFont() {
    MenuFontCell().reset();
}

TPopupMenuWindow* TrackedPopupMenu() {
    return Tracked();
}

namespace {

// While a menu is tracked it sees every key and nothing else does; wheel turns are dropped.
void MenuKeyHook(TControl*, TMessage& message) {
    TPopupMenuWindow* root = Tracked();
    if (root == nullptr)
        return;
    switch (message.Msg) {
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            root->Deepest().KeyDown(static_cast<Word>(message.WParam));
            message.Msg = WM_NULL;
            break;
        case WM_KEYUP:
        case WM_SYSKEYUP:
        case WM_CHAR:
        case WM_MOUSEWHEEL:
            message.Msg = WM_NULL;
            break;
        default:
            break;
    }
}

// Undoes what tracking set up, however the loop ends.
class TTrackingScope {
public:
    explicit TTrackingScope(TPopupMenuWindow& root)
        : root_(root),
          previous_(std::exchange(Tracked(), &root)),
          hook_(SetMessageHook(TMessageHookKind::mhkQueued, MenuKeyHook)) {
        SetCaptureControl(&root);
    }
    ~TTrackingScope() {
        RemoveMessageHook(hook_);
        Tracked() = previous_;
        if (CaptureControl() == &root_)
            SetCaptureControl(nullptr);
    }
    TTrackingScope(const TTrackingScope&) = delete;
    TTrackingScope& operator=(const TTrackingScope&) = delete;

private:
    TPopupMenuWindow& root_;
    TPopupMenuWindow* previous_;
    THookId hook_;
};

}  // namespace

TMenuItem* TrackPopupMenuWindow(TPopupMenu& menu, TPoint screen) {
    const TMenuItem& items = menu.Items();
    const bool anyVisible = [&] {
        for (int i = 0; i < items.Count(); ++i) {
            if (items.Items(i).Visible())
                return true;
        }
        return false;
    }();
    // A menu with nothing to show, or one asked for while another is open, does not appear.
    if (!anyVisible || Tracked() != nullptr)
        return nullptr;
    auto root = std::make_unique<TPopupMenuWindow>(items);
    root->PopupAt(screen);
    {
        const TTrackingScope scope(*root);
        while (!root->Finished() && !Application().Terminated()) {
            if (!Application().HandleMessage())
                WindowBackend().ModalIdle(*root);
        }
    }
    return root->Picked();
}

// Every back-end shows the layer's own menu window unless it has a menu of its own.
TMenuItem* TWindowBackend::TrackPopupMenu(TPopupMenu& menu, TPoint screen) {
    return TrackPopupMenuWindow(menu, screen);
}

}  // namespace kw
