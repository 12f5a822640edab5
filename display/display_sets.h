#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/graphics/font.h"
#include "platform/graphics/graphics_types.h"
#include "util/id_hash.h"

namespace kw {

class TKwMemoryImage;
class TKwMemoryLabel;
class TKwPkgDisplay;
class TKwPkgDisplaySets;

// How a background is painted.
enum TKwBackGroundStyle : std::uint8_t {
    bgsSolid,
    bgsUp,
    bgsDown,
    bgsLeft,
    bgsRight,
    bgsHorzIn,
    bgsHorzOut,
    bgsVertIn,
    bgsVertOut,
    bgsStretchImage,
    bgsTileImage,
    bgsLeftTop,
    bgsLeftCenter,
    bgsLeftBottom,
    bgsCenterTop,
    bgsCenter,
    bgsCenterBottom,
    bgsRightTop,
    bgsRightCenter,
    bgsRightBottom,
    bgsGrid,
};
inline constexpr int kKwBackGroundStyles = bgsGrid + 1;

// The three kinds of named sets, in the order of their duplicate-name messages (15, 16, 17).
enum class TKwSetKind : std::uint8_t { skFont, skBackGround, skColor };
inline constexpr int kKwSetKinds = 3;

// What the three set items share: a name unique in its collection (without regard to case), a
// description that can follow a label of the language, and the hash-chain link.
class TKwPkgDisplaySet {
public:
    virtual ~TKwPkgDisplaySet();
    TKwPkgDisplaySet(const TKwPkgDisplaySet&) = delete;
    TKwPkgDisplaySet& operator=(const TKwPkgDisplaySet&) = delete;

    TKwPkgDisplaySets& Owner() const { return owner_; }
    TKwPkgDisplaySet* Next() const { return next_; }
    const String& Name() const { return name_; }
    // Raises 15, 16 or 17 when another set of the collection has the name (outside loading).
    void SetName(const String& name);
    const String& Description() const { return description_; }
    void SetDescription(const String& description);
    TKwMemoryLabel& DescriptionId() const { return *descriptionId_; }
    void SetDescriptionId(const TKwMemoryLabel& label);
    // Takes the label's text as the description, telling nobody; nothing when it has none.
    void TakeDescriptionText();

protected:
    explicit TKwPkgDisplaySet(TKwPkgDisplaySets& owner);
    bool Loading() const;
    // Stores a differing value of a painted property and restyles what shows this set.
    template <class T>
    void StoreProperty(T& field, T value);
    void PropertyChanged();

private:
    friend class TKwPkgDisplaySets;
    void DescriptionIdChanged();

    TKwPkgDisplaySets& owner_;
    TKwPkgDisplaySet* next_ = nullptr;
    String name_;
    String description_;
    std::unique_ptr<TKwMemoryLabel> descriptionId_;
};

class TKwPkgDisplaySetColor : public TKwPkgDisplaySet {
public:
    explicit TKwPkgDisplaySetColor(TKwPkgDisplaySets& owner) : TKwPkgDisplaySet(owner) {}
    static constexpr TKwSetKind kKind = TKwSetKind::skColor;

    TColor Color() const { return color_; }
    void SetColor(TColor color);

private:
    TColor color_ = clNone;
};

class TKwPkgDisplaySetFont : public TKwPkgDisplaySet {
public:
    explicit TKwPkgDisplaySetFont(TKwPkgDisplaySets& owner);
    ~TKwPkgDisplaySetFont() override;
    static constexpr TKwSetKind kKind = TKwSetKind::skFont;

    // Owned; changing it restyles what shows this set.
    TFont& Font() const { return *font_; }
    void SetFont(const TFont& font);

private:
    std::unique_ptr<TFont> font_;
};

class TKwPkgDisplaySetBackGround : public TKwPkgDisplaySet {
public:
    explicit TKwPkgDisplaySetBackGround(TKwPkgDisplaySets& owner);
    ~TKwPkgDisplaySetBackGround() override;
    static constexpr TKwSetKind kKind = TKwSetKind::skBackGround;

    TColor StartGraColor() const { return startGraColor_; }
    void SetStartGraColor(TColor color);
    TColor EndGraColor() const { return endGraColor_; }
    void SetEndGraColor(TColor color);
    TColor SolidColor() const { return solidColor_; }
    void SetSolidColor(TColor color);
    // Owned; a change of the reference or of the image it shows restyles what shows this set.
    TKwMemoryImage& Image() const { return *image_; }
    void SetImage(const TKwMemoryImage& image);
    TKwBackGroundStyle Style() const { return style_; }
    void SetStyle(TKwBackGroundStyle style);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool transparent);

private:
    std::unique_ptr<TKwMemoryImage> image_;
    TColor startGraColor_ = clWhite;
    TColor endGraColor_ = clBtnFace;
    TColor solidColor_ = clBtnFace;
    TKwBackGroundStyle style_ = bgsSolid;
    bool transparent_ = false;
};

// The sets of one kind in file order, found by name through a 53-bucket hash table that is
// rebuilt lazily after a change. Every change runs under the sets lock; outside loading it
// invalidates the references that may now resolve differently and restyles them.
class TKwPkgDisplaySets {
public:
    TKwPkgDisplaySets(TKwPkgDisplay& owner, TKwSetKind kind);
    virtual ~TKwPkgDisplaySets();
    TKwPkgDisplaySets(const TKwPkgDisplaySets&) = delete;
    TKwPkgDisplaySets& operator=(const TKwPkgDisplaySets&) = delete;

    TKwPkgDisplay& Owner() const { return owner_; }
    TKwSetKind Kind() const { return kind_; }
    int Count() const { return static_cast<int>(items_.size()); }
    TKwPkgDisplaySet& SetAt(int index) const;
    // The set named so without regard to case; the later of two such sets. None for a blank name.
    TKwPkgDisplaySet* FindSet(StringView name);
    // Raises 15, 16 or 17 for a name in use (outside loading).
    TKwPkgDisplaySet& AddSet(const String& name);
    void Delete(int index);
    void Clear();
    bool HashValid() const { return hashValid_; }
    void InitHash();
    bool Loading() const;

protected:
    virtual std::unique_ptr<TKwPkgDisplaySet> NewSet() = 0;

private:
    friend class TKwPkgDisplaySet;
    // Raises the kind's duplicate message when a set other than `self` has the name.
    void CheckUnique(const String& name, const TKwPkgDisplaySet* self) const;
    void InvalidateHash() { hashValid_ = false; }
    void Changed(const TKwPkgDisplaySet* changed);

    TKwPkgDisplay& owner_;
    TKwSetKind kind_;
    std::vector<std::unique_ptr<TKwPkgDisplaySet>> items_;
    bool hashValid_ = false;
    std::unique_ptr<std::array<TKwPkgDisplaySet*, kKwIdHashBuckets>> hash_;
};

// The typed face of a collection.
template <class Set>
class TKwPkgDisplaySetsOf : public TKwPkgDisplaySets {
public:
    explicit TKwPkgDisplaySetsOf(TKwPkgDisplay& owner) : TKwPkgDisplaySets(owner, Set::kKind) {}
    Set& Add(const String& name) { return static_cast<Set&>(AddSet(name)); }
    Set* Find(StringView name) { return static_cast<Set*>(FindSet(name)); }
    Set& Items(int index) const { return static_cast<Set&>(SetAt(index)); }

protected:
    std::unique_ptr<TKwPkgDisplaySet> NewSet() override { return std::make_unique<Set>(*this); }
};

class TKwPkgDisplaySetsColor : public TKwPkgDisplaySetsOf<TKwPkgDisplaySetColor> {
public:
    using TKwPkgDisplaySetsOf::TKwPkgDisplaySetsOf;
    TKwPkgDisplaySetColor& GetSetColor(int index) const { return Items(index); }
};

class TKwPkgDisplaySetsFont : public TKwPkgDisplaySetsOf<TKwPkgDisplaySetFont> {
public:
    using TKwPkgDisplaySetsOf::TKwPkgDisplaySetsOf;
    TKwPkgDisplaySetFont& GetSetFont(int index) const { return Items(index); }
};

class TKwPkgDisplaySetsBackGround : public TKwPkgDisplaySetsOf<TKwPkgDisplaySetBackGround> {
public:
    using TKwPkgDisplaySetsOf::TKwPkgDisplaySetsOf;
    TKwPkgDisplaySetBackGround& GetSetBackGround(int index) const { return Items(index); }
};

}  // namespace kw
