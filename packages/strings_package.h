#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "framework/pkg_info.h"
#include "packages/strings_items.h"

namespace kw {

class TStringList;
class TTextArena;

// Where the package's editor window was last placed; kNotPlaced until it was.
struct TKwDesignWindow {
    static constexpr std::int32_t kNotPlaced = 2147483647;
    std::int32_t left = kNotPlaced;
    std::int32_t top = kNotPlaced;
    std::int32_t width = kNotPlaced;
    std::int32_t height = kNotPlaced;
    std::uint8_t state = 0;
};

// Numbered labels, messages and texts that controls show through memory references. Packages
// are found by name; of several with one name, the first in the process-wide list is active.
// "System" and "User" always mean the strings of the active application's language package.
class TKwPkgStrings : public TKwPkgInfo {
    KW_CLASS(TKwPkgStrings)
public:
    explicit TKwPkgStrings(TComponent* owner = nullptr);
    ~TKwPkgStrings() override;

    TKwPkgStringsLabels& Labels() const { return *labels_; }
    TKwPkgStringsMessages& Messages() const { return *messages_; }
    TKwPkgStringsTexts& Texts() const { return *texts_; }
    TKwPkgStringsCollection& Collection(TKwStringsKind kind) const;

    TKwDesignWindow& DesignWindow() { return designWindow_; }
    const TKwDesignWindow& DesignWindow() const { return designWindow_; }

    // Raises "System" 67 for a reserved name: "User" anywhere, "System" on a form.
    void SetPkgName(const String& name) override;
    void SetDefaultExtension(const String& ext) { SetDefaultExt(ext); }
    bool Active() const;
    void SetActive(bool active);
    void Clear() override;
    // Resolves every reference still waiting for a string.
    void Update();

    // The layout version SaveToStream writes: the newest unless an older one is asked for.
    int SaveVersion() const { return saveVersion_; }
    void SetSaveVersion(int version);
    // The layout version of the stream last loaded; 0 before any load.
    int LoadedVersion() const { return loadedVersion_; }

protected:
    void NotifyInit(TKwLinkEvt& sender) override;
    void xLoadFromStream(TReader& reader) override;
    void xSaveToStream(TWriter& writer) override;

private:
    // A language file holds two strings payloads.
    friend class TKwPkgLanguage;
    // Loaded items keep their texts in the package's arena.
    friend class TKwPkgStringsItem;

    TTextArena& TextArena() const { return *textArena_; }

    void ReadItems(TReader& reader, int version);
    // The file name the header errors name: this package's, or that of the package holding it.
    String HeaderArgument() const;
    bool OwnedByLanguage() const;
    void MoveInList(bool toFront);

    // Declared first: it outlives the items whose texts it holds.
    std::unique_ptr<TTextArena> textArena_;
    std::unique_ptr<TKwPkgStringsLabels> labels_;
    std::unique_ptr<TKwPkgStringsMessages> messages_;
    std::unique_ptr<TKwPkgStringsTexts> texts_;
    TKwDesignWindow designWindow_;
    int saveVersion_;
    int loadedVersion_ = 0;
};

// The package of that name: "System" and "User" (any case) are the active application's
// language strings, none without an application object; other names the active package of
// that name. A package found moves to the front of the list.
TKwPkgStrings* KwFindPkgStrings(StringView name);
// Finds packages for one update pass: each distinct name (compared exactly) is looked up once,
// until a strings package is created, destroyed, renamed or reordered or another application
// object becomes active.
class TKwPkgStringsFinder {
public:
    TKwPkgStrings* Find(StringView name);
    // The same for a caller that already holds the active application object.
    TKwPkgStrings* Find(StringView name, const void* activeApplication);

private:
    struct Found {
        String name;
        TKwPkgStrings* package;
    };
    std::vector<Found> found_;
    std::uint64_t generation_ = 0;
    const void* application_ = nullptr;
};

// One entry per distinct name (trimmed, not empty), with its active package as object.
void KwPkgStringsActives(TStringList& list);
// Every package owned by a form, duplicates included.
void KwPkgStringsAll(TStringList& list);
// An item's text or hint; empty when the package or the id is missing.
String KwReadPkgLabelText(StringView pkgName, int id);
String KwReadPkgLabelHint(StringView pkgName, int id);
String KwReadPkgMessage(StringView pkgName, int id);
String KwReadPkgText(StringView pkgName, int id);
// Makes the library's numbered errors read their texts from the strings packages.
void KwInstallStringsMessageLookup();

}  // namespace kw
