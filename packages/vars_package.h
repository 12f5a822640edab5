#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "framework/pkg_info.h"
#include "packages/strings_package.h"

namespace kw {

class TKwCApplication;
class TKwPkgVars;
class TKwPkgVarsItem;
class TStringList;

enum TKwPkgVarsItemType : std::uint8_t {
    vitBoolean = 0,
    vitInteger = 1,
    vitFloat = 2,
    vitString = 3,
    vitDirectory = 4
};

// The items of one directory, or of the top level, linked through Next in ascending order of
// their idents by the caseless collation. A level read from a file written under another
// collation, or sorted before the collation locale changed, may be out of that order; searches
// of such a level go on to its end.
class TKwPkgVarsLevel {
public:
    TKwPkgVarsLevel() = default;
    ~TKwPkgVarsLevel();
    TKwPkgVarsLevel(const TKwPkgVarsLevel&) = delete;
    TKwPkgVarsLevel& operator=(const TKwPkgVarsLevel&) = delete;

    TKwPkgVarsItem* First() const { return first_.get(); }

private:
    friend class TKwPkgVars;
    friend class TKwPkgVarsItem;

    // Frees a sibling chain and everything below it without recursion, whatever its depth.
    static void FreeChain(std::unique_ptr<TKwPkgVarsItem> first);

    std::unique_ptr<TKwPkgVarsItem> first_;
    // The package's collation epoch the items' sort keys were computed in; 0 for none.
    mutable std::uint32_t keyEpoch_ = 0;
    mutable bool ordered_ = true;
};

// One named, typed variable, or a directory of further items.
class TKwPkgVarsItem {
public:
    // Not linked into any level: the package links it.
    TKwPkgVarsItem(TKwPkgVars& owner, String ident, TKwPkgVarsItemType type,
                   TKwPkgVarsItem* parent);
    ~TKwPkgVarsItem();
    TKwPkgVarsItem(const TKwPkgVarsItem&) = delete;
    TKwPkgVarsItem& operator=(const TKwPkgVarsItem&) = delete;

    TKwPkgVars& Owner() const { return owner_; }
    const String& Ident() const { return ident_; }
    // Renaming re-sorts the item among its siblings; a change of letter case only is stored.
    void SetIdent(const String& ident);
    TKwPkgVarsItem* Parent() const { return parent_; }
    TKwPkgVarsItem* Next() const { return next_.get(); }
    TKwPkgVarsItem* FirstChild() const { return children_.First(); }
    // The idents from the top level down to this item, joined by "/".
    String Path() const;

    TKwPkgVarsItemType ItemType() const { return type_; }
    // Another type drops the value; a directory given another type loses its whole subtree.
    void SetItemType(TKwPkgVarsItemType type);

    // The value converted to the type asked for.
    bool VBoolean() const;
    std::int32_t VInteger() const;
    double VFloat() const;
    String VString() const;
    // Each makes the item of the matching type.
    void SetVBoolean(bool value);
    void SetVInteger(std::int32_t value);
    void SetVFloat(double value);
    void SetVString(const String& value);
    // Resets the value of the current type.
    void Clear();

    // Raise "System" 27 for an ident holding a separator, 28 for one a sibling already has.
    void CheckIdent(StringView ident) const;
    void CheckDuplicateIdent(StringView ident) const;

private:
    friend class TKwPkgVars;
    friend class TKwPkgVarsLevel;

    TKwPkgVarsLevel& Siblings() const;
    void ResetValue();

    TKwPkgVars& owner_;
    String ident_;
    TKwPkgVarsItem* parent_;
    std::unique_ptr<TKwPkgVarsItem> next_;
    TKwPkgVarsLevel children_;
    TKwPkgVarsItemType type_;
    union {
        bool boolean;
        std::int32_t integer;
        double real;
    } value_{};
    String text_;
    // The ident's caseless collation key, valid in the level's key epoch.
    mutable std::string key_;
};

// A tree of typed variables addressed by paths such as "Window/Main/Left" (either separator,
// parts compared without regard to case). The application object owns the one called "User";
// others stand on forms under names of their own.
class TKwPkgVars : public TKwPkgInfo {
    KW_CLASS(TKwPkgVars)
public:
    explicit TKwPkgVars(TComponent* owner = nullptr);
    ~TKwPkgVars() override;

    TKwPkgVarsItem* FirstItem() const { return top_.First(); }
    // Items in the whole tree.
    int Count() const { return count_; }
    // Stored and restored for the package's editor, never interpreted.
    TKwDesignWindow& DesignWindow() { return designWindow_; }
    const TKwDesignWindow& DesignWindow() const { return designWindow_; }

    // Both raise "System" 29 for a blank path; Add raises 30 for a blank part.
    TKwPkgVarsItem* Find(StringView path) const;
    // The item at `path` with the type given, created with its directories when missing.
    TKwPkgVarsItem& Add(StringView path, TKwPkgVarsItemType type);
    void Delete(StringView path);
    void Clear() override;

    bool ReadBool(StringView path, bool fallback) const;
    std::int32_t ReadInteger(StringView path, std::int32_t fallback) const;
    double ReadFloat(StringView path, double fallback) const;
    String ReadString(StringView path, const String& fallback) const;
    void WriteBool(StringView path, bool value);
    void WriteInteger(StringView path, std::int32_t value);
    void WriteFloat(StringView path, double value);
    void WriteString(StringView path, const String& value);

    // Links a new item after `previous` (first in its level when none) without sorting, the way
    // files are read; a level left out of order is searched to its end.
    TKwPkgVarsItem& InsertLoaded(TKwPkgVarsItem* parent, TKwPkgVarsItem* previous, String ident,
                                 TKwPkgVarsItemType type);

    // The part of `path` from `cursor` to the next separator; `cursor` moves past it.
    static String Part(StringView path, size_t& cursor);

    // Raises "System" 67 for a reserved name: "User" anywhere, "System" on a form.
    void SetPkgName(const String& name) override;
    void SetDefaultExtension(const String& ext) { SetDefaultExt(ext); }
    bool Active() const;
    void SetActive(bool active);
    // Against the application object's PathPkgVars.
    String GetPathFileName() const override;

    int SaveVersion() const { return saveVersion_; }
    void SetSaveVersion(int version);
    // The layout version of the stream last loaded; 0 before any load.
    int LoadedVersion() const { return loadedVersion_; }

protected:
    void NotifyInit(TKwLinkEvt& sender) override;
    void xLoadFromStream(TReader& reader) override;
    void xSaveToStream(TWriter& writer) override;

private:
    friend class TKwPkgVarsItem;

    // The first item equal to a key, and the item after which that key belongs (none: first).
    struct Place {
        TKwPkgVarsItem* match = nullptr;
        TKwPkgVarsItem* after = nullptr;
    };
    // Starts a new key epoch when the collation locale changed since the keys were made.
    void RefreshCollation() const;
    void PrepareLevel(const TKwPkgVarsLevel& level) const;
    Place Locate(const TKwPkgVarsLevel& level, const std::string& key) const;
    TKwPkgVarsItem& Insert(TKwPkgVarsLevel& level, TKwPkgVarsItem* after,
                           std::unique_ptr<TKwPkgVarsItem> item, std::string key);
    std::unique_ptr<TKwPkgVarsItem> Unlink(TKwPkgVarsItem& item);
    void ReadItems(TReader& reader);
    void WriteItems(TWriter& writer) const;

    TKwPkgVarsLevel top_;
    int count_ = 0;
    TKwDesignWindow designWindow_;
    int saveVersion_;
    int loadedVersion_ = 0;
    mutable std::string keyLocale_;
    mutable std::uint32_t keyEpoch_ = 1;
};

// The variables package of an application object, and that of the active one (or none).
TKwPkgVars* KwVarsOf(TKwCApplication& app);
TKwPkgVars* KwAppVars();
// "User": the active application's package; "System" and blank names: none; other names the
// active package of that name, which moves to the front of the process-wide list.
TKwPkgVars* KwFindPkgVars(StringView name);

// Values of any variables package by name; the fallback when the package or variable is
// missing. Writes to a missing package do nothing.
bool KwReadPkgBoolean(StringView pkgName, StringView path, bool fallback);
std::int32_t KwReadPkgInteger(StringView pkgName, StringView path, std::int32_t fallback);
double KwReadPkgFloat(StringView pkgName, StringView path, double fallback);
String KwReadPkgString(StringView pkgName, StringView path, const String& fallback);
void KwWritePkgBoolean(StringView pkgName, StringView path, bool value);
void KwWritePkgInteger(StringView pkgName, StringView path, std::int32_t value);
void KwWritePkgFloat(StringView pkgName, StringView path, double value);
void KwWritePkgString(StringView pkgName, StringView path, const String& value);
void KwDeletePkgVar(StringView pkgName, StringView path);
// One entry per distinct name with its active package; and every package standing on a form.
void KwPkgVarsActives(TStringList& list);
void KwPkgVarsAll(TStringList& list);

}  // namespace kw
