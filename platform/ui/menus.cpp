#include "platform/ui/menus.h"

#include <algorithm>

#include "platform/core/exception.h"
#include "platform/ui/backend.h"

namespace kw {

KW_IMPLEMENT_CLASS(TMenuItem, TComponent)
KW_IMPLEMENT_CLASS(TPopupMenu, TComponent)

namespace {

// The caption as the user reads it: "&&" is a plain '&', a single '&' only marks the next
// character as the accelerator.
String WithoutAccelMarks(StringView caption) {
    String plain;
    plain.reserve(caption.size());
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == u'&' && i + 1 < caption.size())
            ++i;
        plain.push_back(caption[i]);
    }
    return plain;
}

}  // namespace

// --- TMenuItem -----------------------------------------------------------------------------

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner) {}

TMenuItem::~TMenuItem() {
    // Children point back at their parent; they go first.
    Clear();
}

TMenuItem& TMenuItem::Items(int index) const {
    if (index < 0 || index >= Count())
        throw EListError(u"Menu index out of bounds");
    return *items_[static_cast<std::size_t>(index)];
}

int TMenuItem::IndexOf(const TMenuItem& item) const {
    for (std::size_t i = 0; i < items_.size(); ++i) {
        if (items_[i].get() == &item)
            return static_cast<int>(i);
    }
    return -1;
}

TMenuItem& TMenuItem::Add(std::unique_ptr<TMenuItem> item) {
    return Insert(Count(), std::move(item));
}

TMenuItem& TMenuItem::Insert(int index, std::unique_ptr<TMenuItem> item) {
    if (!item)
        throw EInvalidArgument(u"No menu item to insert");
    if (index < 0 || index > Count())
        throw EListError(u"Menu index out of bounds");
    // An item is in one menu only; an item of this very tree would make a cycle.
    for (const TMenuItem* p = this; p != nullptr; p = p->parent_) {
        if (p == item.get())
            throw EInvalidOperation(u"A menu item cannot contain itself");
    }
    if (item->parent_ != nullptr)
        throw EInvalidOperation(u"The menu item is already in a menu");
    item->parent_ = this;
    auto& placed = *items_.insert(items_.begin() + index, std::move(item));
    return *placed;
}

TMenuItem& TMenuItem::Add(const String& caption, std::function<void(TObject*)> onClick) {
    auto item = std::make_unique<TMenuItem>();
    item->SetCaption(caption);
    item->OnClick = std::move(onClick);
    return Add(std::move(item));
}

std::unique_ptr<TMenuItem> TMenuItem::Remove(TMenuItem& item) {
    const int index = IndexOf(item);
    if (index < 0)
        throw EListError(u"The menu item is not in this menu");
    auto taken = std::move(items_[static_cast<std::size_t>(index)]);
    items_.erase(items_.begin() + index);
    taken->parent_ = nullptr;
    return taken;
}

void TMenuItem::Clear() {
    while (!items_.empty()) {
        auto last = std::move(items_.back());
        items_.pop_back();
        last->parent_ = nullptr;
    }
}

TMenuItem* TMenuItem::Find(StringView caption) const {
    for (const auto& item : items_) {
        if (WithoutAccelMarks(item->Caption()) == caption)
            return item.get();
        if (TMenuItem* inner = item->Find(caption))
            return inner;
    }
    return nullptr;
}

void TMenuItem::Click() {
    if (enabled_ && OnClick)
        OnClick(this);
}

// --- TPopupMenu ----------------------------------------------------------------------------

TPopupMenu::TPopupMenu(TComponent* owner)
    : TComponent(owner), items_(std::make_unique<TMenuItem>()) {}

TPopupMenu::~TPopupMenu() = default;

void TPopupMenu::SetPopupComponent(TComponent* component) {
    // The old link stays: the control may hold this menu through the same link, and a stale
    // one only costs a notification that changes nothing.
    popupComponent_ = component;
    if (component != nullptr)
        component->FreeNotification(*this);
}

void TPopupMenu::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == TOperation::opRemove && component == popupComponent_)
        popupComponent_ = nullptr;
}

void TPopupMenu::Popup(int x, int y) {
    popupPoint_ = {x, y};
    if (OnPopup)
        OnPopup(this);
    TMenuItem* chosen = WindowBackend().TrackPopupMenu(*this, popupPoint_);
    // Only a visible, enabled command of this menu can be chosen; a sub-menu just opens.
    if (chosen == nullptr || chosen->Count() > 0)
        return;
    const TMenuItem* root = chosen;
    for (const TMenuItem* p = chosen; p != nullptr; p = p->Parent()) {
        if (!p->Visible() || !p->Enabled())
            return;
        root = p;
    }
    if (root == items_.get())
        chosen->Click();
}

}  // namespace kw
