#pragma once

#include <memory>
#include <vector>

#include "platform/ui/form.h"

namespace kw {

class TMenuItem;
class TPopupMenu;

// The window a pop-up menu shows in: a borderless top-level window that never becomes active,
// listing the visible children of one menu item in the menu colours and font. A sub-menu opens
// in a window of its own beside its item, owned by the window it opened from. While a menu is
// tracked the first window holds the mouse capture and sees every key, as the platform's menus
// do; what the user picks ends the tracking.
class TPopupMenuWindow : public TCustomForm {
    KW_CLASS(TPopupMenuWindow)
public:
    // Lists the children of `items`; `parentMenu` is the window a sub-menu opens from.
    explicit TPopupMenuWindow(const TMenuItem& items, TPopupMenuWindow* parentMenu = nullptr);
    ~TPopupMenuWindow() override;

    const TMenuItem& Items() const { return items_; }
    TPopupMenuWindow* ParentMenu() const { return parentMenu_; }
    // The sub-menu window open beside the highlighted item, or none.
    TPopupMenuWindow* Submenu() const { return submenu_.get(); }
    // The innermost open window of this one's chain of sub-menus (this one when none is open).
    TPopupMenuWindow& Deepest();

    // The highlighted child's index, or -1.
    int Highlighted() const { return highlighted_; }
    // Where the child at `index` lies, in client coordinates; empty for a hidden child.
    TRect ItemRect(int index) const;

    // Shows the window with its top-left corner at the screen point, flipped to the left of or
    // above it where the screen ends there.
    void PopupAt(TPoint screen);
    // Whether the tracking ended, and the command picked (none when dismissed).
    bool Finished() const { return finished_; }
    TMenuItem* Picked() const { return picked_; }
    // Ends the tracking with nothing picked, as a press outside the menu does.
    void Dismiss();

    bool Activates() const override { return false; }

    // Handles a key going down while the menu is tracked; returns whether the menu used it.
    bool KeyDown(Word vk);
    // Handles the mouse at a screen point: a move, or a button going down or up.
    enum class TMouseAction { maMove, maDown, maUp };
    void MouseAt(TPoint screen, TMouseAction action);

protected:
    void WndProc(TMessage& message) override;
    void PaintWindow(const TPaintContext& context) override;

private:
    struct TRow {
        int Index = -1;  // child index
        TRect Rect;      // client coordinates
    };
    TPopupMenuWindow& Root();
    void Layout();
    bool Selectable(int index) const;
    void SetHighlighted(int index);
    void MoveHighlight(int step);
    int RowAt(TPoint client) const;
    // Opens the highlighted item's sub-menu (closing another one), or closes the open one.
    void OpenSubmenu(bool highlightFirst);
    void CloseSubmenu();
    // Runs the child: picks a command, opens a sub-menu.
    void Choose(int index);
    void Finish(TMenuItem* picked);
    void PaintRow(TCanvas& canvas, const TRow& row) const;

    const TMenuItem& items_;
    TPopupMenuWindow* parentMenu_;
    std::unique_ptr<TPopupMenuWindow> submenu_;
    std::vector<TRow> rows_;
    int highlighted_ = -1;
    int checkWidth_ = 0;
    bool finished_ = false;
    TMenuItem* picked_ = nullptr;
};

// The font menus show their items in (the platform's default until changed).
TFont& MenuFont();
// Back to the platform's default menu font (tests).
void ResetMenuFont();

// Shows `menu` in the layer's menu window at the screen point and runs the back-end's loop
// (Pump, ModalIdle with the menu window) until the user picks a command (returned) or dismisses
// the menu (none). The default pop-up tracking of every back-end.
TMenuItem* TrackPopupMenuWindow(TPopupMenu& menu, TPoint screen);
// The first window of the menu being tracked, or none.
TPopupMenuWindow* TrackedPopupMenu();

}  // namespace kw
