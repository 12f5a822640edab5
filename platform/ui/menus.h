#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/core/component.h"
#include "platform/graphics/graphics_types.h"

namespace kw {

class TControl;

// One entry of a menu: a command when it has no children, a sub-menu when it has. Children are
// owned by their parent item; an item created without a parent is held by whoever made it.
class TMenuItem : public TComponent {
    KW_CLASS(TMenuItem)
public:
    explicit TMenuItem(TComponent* owner = nullptr);
    ~TMenuItem() override;

    const String& Caption() const { return caption_; }
    void SetCaption(const String& caption) { caption_ = caption; }
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool on) { enabled_ = on; }
    bool Checked() const { return checked_; }
    void SetChecked(bool on) { checked_ = on; }
    bool Visible() const { return visible_; }
    void SetVisible(bool on) { visible_ = on; }

    int Count() const { return static_cast<int>(items_.size()); }
    // Raises EListError for an index out of range.
    TMenuItem& Items(int index) const;
    TMenuItem* Parent() const { return parent_; }
    int IndexOf(const TMenuItem& item) const;
    // Takes `item` as the last child (or at `index`); returns it.
    TMenuItem& Add(std::unique_ptr<TMenuItem> item);
    TMenuItem& Insert(int index, std::unique_ptr<TMenuItem> item);
    // A new child with the given caption and click handler.
    TMenuItem& Add(const String& caption, std::function<void(TObject*)> onClick = {});
    // Hands a child back to the caller, who then owns it.
    std::unique_ptr<TMenuItem> Remove(TMenuItem& item);
    void Clear();
    // The first child, searching depth first, whose caption without accelerator marks is
    // `caption`; none when there is no such item.
    TMenuItem* Find(StringView caption) const;

    // Runs the item's command (OnClick); a disabled item does nothing.
    virtual void Click();

    std::function<void(TObject* sender)> OnClick;

private:
    String caption_;
    bool enabled_ = true;
    bool checked_ = false;
    bool visible_ = true;
    TMenuItem* parent_ = nullptr;
    std::vector<std::unique_ptr<TMenuItem>> items_;
};

// A menu that appears at a point when asked (a control's context menu, a drop-down button).
// Which item the user picks comes from the window back-end: the layer's menu window by default,
// a script on the headless back-end, so tests decide.
class TPopupMenu : public TComponent {
    KW_CLASS(TPopupMenu)
public:
    explicit TPopupMenu(TComponent* owner = nullptr);
    ~TPopupMenu() override;

    TMenuItem& Items() const { return *items_; }
    // Whether a right click or the context-menu key on a control shows the menu by itself.
    bool AutoPopup() const { return autoPopup_; }
    void SetAutoPopup(bool on) { autoPopup_ = on; }
    // The control the menu was last shown for (set by the control before showing it).
    TComponent* PopupComponent() const { return popupComponent_; }
    void SetPopupComponent(TComponent* component);
    // Screen point of the last Popup.
    TPoint PopupPoint() const { return popupPoint_; }

    // Shows the menu with its top-left corner at the screen point (x, y) and runs the item the
    // user picks, if any. OnPopup runs first, so that it can adjust the items.
    virtual void Popup(int x, int y);

    std::function<void(TObject* sender)> OnPopup;

    void Notification(TComponent* component, TOperation operation) override;

private:
    std::unique_ptr<TMenuItem> items_;
    bool autoPopup_ = true;
    TComponent* popupComponent_ = nullptr;
    TPoint popupPoint_{};
};

}  // namespace kw
