#pragma once

#include <memory>
#include <vector>

#include "packages/privilege.h"
#include "platform/core/types.h"

namespace kw {

class TKwMemoryImage;
class TKwMemoryLabel;
class TKwPkgPrivileges;

// One numbered privilege of a package: a node of the template tree with the rights of one user
// or role. Items are created and freed by their package (Add, Delete, Clear).
//
// Visibility follows the tree: a parent is visible exactly when one of its children is, and
// showing or hiding a parent shows or hides its whole subtree.
class TKwPkgPrivilegesItem {
public:
    explicit TKwPkgPrivilegesItem(TKwPkgPrivileges& owner);
    ~TKwPkgPrivilegesItem();
    TKwPkgPrivilegesItem(const TKwPkgPrivilegesItem&) = delete;
    TKwPkgPrivilegesItem& operator=(const TKwPkgPrivilegesItem&) = delete;

    TKwPkgPrivileges& Owner() const { return owner_; }
    // 0 to 9999, unique in the package; -1 until set.
    int Id() const { return id_; }
    void SetId(int id);
    const String& Description() const { return description_; }
    void SetDescription(const String& description);
    // When it resolves at start-up, its text becomes the description.
    TKwMemoryLabel& DescriptionId() const { return *descriptionId_; }
    void SetDescriptionId(const TKwMemoryLabel& label);
    TKwMemoryImage& Image() const { return *image_; }
    void SetImage(const TKwMemoryImage& image);
    TKwAccess Access() const { return access_; }
    void SetAccess(TKwAccess access);
    // The weakest access on the way from this item to the root.
    TKwAccess EffectiveAccess() const;
    bool Visible() const { return visible_; }
    void SetVisible(bool visible);

    TKwPkgPrivilegesItem* Parent() const { return parent_; }
    // Refuses a parent from another package and one that would make the tree a loop.
    void SetParent(TKwPkgPrivilegesItem* parent);
    // The plain list operations under SetParent: they neither set Parent nor apply the rules.
    void InsertChild(TKwPkgPrivilegesItem& child);
    void RemoveChild(TKwPkgPrivilegesItem& child);
    // Moves every child to the top level.
    void RemoveChilds();
    TKwPkgPrivilegesItem* GetChild(int index) const;
    // Puts `child` at `index` in place of the child there, which moves to the top level.
    void SetChild(int index, TKwPkgPrivilegesItem& child);
    int GetChildCount() const { return children_ ? static_cast<int>(children_->size()) : 0; }

    // Sets `visible` on every descendant of `item` that differs, reporting each.
    static void CheckChildsVisible(TKwPkgPrivilegesItem& item, bool visible);
    // `item` becomes visible when one of its children is; a change continues upwards.
    static void CheckParentVisible(TKwPkgPrivilegesItem& item);

private:
    friend class TKwPkgPrivileges;

    void Modified();
    bool IsAncestorOf(const TKwPkgPrivilegesItem& item) const;
    // Stores a value without the rules: copies and templates carry consistent trees.
    void StoreVisible(bool visible) { visible_ = visible; }
    void StoreAccess(TKwAccess access) { access_ = access; }

    TKwPkgPrivileges& owner_;
    int id_ = -1;
    String description_;
    std::unique_ptr<TKwMemoryLabel> descriptionId_;
    std::unique_ptr<TKwMemoryImage> image_;
    TKwAccess access_ = accReadWrite;
    bool visible_ = true;
    TKwPkgPrivilegesItem* parent_ = nullptr;
    // Created with the first child and freed when the last one leaves.
    std::unique_ptr<std::vector<TKwPkgPrivilegesItem*>> children_;
};

}  // namespace kw
