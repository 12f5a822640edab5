#include "packages/privileges_items.h"

#include <algorithm>

#include "display/memory_image.h"
#include "framework/errors.h"
#include "packages/memory_refs.h"
#include "packages/privileges_package.h"

namespace kw {

TKwPkgPrivilegesItem::TKwPkgPrivilegesItem(TKwPkgPrivileges& owner)
    : owner_(owner),
      descriptionId_(std::make_unique<TKwMemoryLabel>()),
      image_(std::make_unique<TKwMemoryImage>()) {}

TKwPkgPrivilegesItem::~TKwPkgPrivilegesItem() = default;

void TKwPkgPrivilegesItem::Modified() {
    owner_.PrivilegesChanged(this, TKwOperation::opeModify);
}

void TKwPkgPrivilegesItem::SetId(int id) {
    if (id == id_)
        return;
    if (!owner_.LoadingProps())
        owner_.CheckId(id);
    owner_.SetIndexEntry(id_, nullptr);
    if (id >= 0)
        owner_.SetIndexEntry(id, this);
    id_ = id;
    Modified();
}

void TKwPkgPrivilegesItem::SetDescription(const String& description) {
    if (description == description_)
        return;
    description_ = description;
    Modified();
}

void TKwPkgPrivilegesItem::SetDescriptionId(const TKwMemoryLabel& label) {
    descriptionId_->Assign(&label);
    Modified();
}

void TKwPkgPrivilegesItem::SetImage(const TKwMemoryImage& image) {
    image_->Assign(&image);
    Modified();
}

void TKwPkgPrivilegesItem::SetAccess(TKwAccess access) {
    if (access == access_)
        return;
    access_ = access;
    Modified();
}

TKwAccess TKwPkgPrivilegesItem::EffectiveAccess() const {
    TKwAccess access = access_;
    for (const TKwPkgPrivilegesItem* item = parent_; item != nullptr; item = item->parent_)
        access = std::min(access, item->access_);
    return access;
}

void TKwPkgPrivilegesItem::SetVisible(bool visible) {
    if (visible != visible_) {
        visible_ = visible;
        if (parent_ != nullptr)
            CheckParentVisible(*parent_);
        Modified();
    }
    // Also when the item itself already had the value: a visible parent may hold hidden
    // children, and showing it shows its whole subtree.
    CheckChildsVisible(*this, visible);
}

void TKwPkgPrivilegesItem::CheckChildsVisible(TKwPkgPrivilegesItem& item, bool visible) {
    for (int i = 0; i < item.GetChildCount(); ++i) {
        TKwPkgPrivilegesItem& child = *item.GetChild(i);
        if (child.visible_ != visible) {
            child.visible_ = visible;
            child.Modified();
        }
        CheckChildsVisible(child, visible);
    }
}

void TKwPkgPrivilegesItem::CheckParentVisible(TKwPkgPrivilegesItem& item) {
    for (TKwPkgPrivilegesItem* parent = &item; parent != nullptr; parent = parent->parent_) {
        bool anyVisible = false;
        for (int i = 0; i < parent->GetChildCount() && !anyVisible; ++i)
            anyVisible = parent->GetChild(i)->visible_;
        if (anyVisible == parent->visible_)
            return;
        parent->visible_ = anyVisible;
        parent->Modified();
    }
}

// --- Tree ----------------------------------------------------------------------------------

bool TKwPkgPrivilegesItem::IsAncestorOf(const TKwPkgPrivilegesItem& item) const {
    for (const TKwPkgPrivilegesItem* p = &item; p != nullptr; p = p->parent_) {
        if (p == this)
            return true;
    }
    return false;
}

void TKwPkgPrivilegesItem::SetParent(TKwPkgPrivilegesItem* parent) {
    if (parent == parent_)
        return;
    if (parent != nullptr && (&parent->owner_ != &owner_ || IsAncestorOf(*parent))) {
        KwExceptArgs(owner_.SourceName(), u"Privilege %d cannot be placed under privilege %d",
                     {id_, parent->id_});
    }
    if (TKwPkgPrivilegesItem* old = parent_) {
        old->RemoveChild(*this);
        parent_ = nullptr;
        CheckParentVisible(*old);
    }
    parent_ = parent;
    if (parent != nullptr) {
        parent->InsertChild(*this);
        CheckParentVisible(*parent);
    }
    Modified();
}

void TKwPkgPrivilegesItem::InsertChild(TKwPkgPrivilegesItem& child) {
    if (!children_)
        children_ = std::make_unique<std::vector<TKwPkgPrivilegesItem*>>();
    children_->push_back(&child);
}

void TKwPkgPrivilegesItem::RemoveChild(TKwPkgPrivilegesItem& child) {
    if (!children_)
        return;
    // Children usually leave from the end (a subtree being freed), so search from there.
    const auto found = std::find(children_->rbegin(), children_->rend(), &child);
    if (found != children_->rend())
        children_->erase(std::next(found).base());
    if (children_->empty())
        children_.reset();
}

void TKwPkgPrivilegesItem::RemoveChilds() {
    while (GetChildCount() > 0)
        GetChild(GetChildCount() - 1)->SetParent(nullptr);
}

TKwPkgPrivilegesItem* TKwPkgPrivilegesItem::GetChild(int index) const {
    if (index < 0 || index >= GetChildCount())
        return nullptr;
    return (*children_)[index];
}

void TKwPkgPrivilegesItem::SetChild(int index, TKwPkgPrivilegesItem& child) {
    TKwPkgPrivilegesItem* old = GetChild(index);
    if (old == nullptr || old == &child)
        return;
    child.SetParent(this);
    // SetParent appended the child; move it into the old child's place.
    RemoveChild(child);
    const auto at = std::find(children_->begin(), children_->end(), old);
    *at = &child;
    old->parent_ = nullptr;
    CheckParentVisible(*this);
    old->Modified();
}

}  // namespace kw
