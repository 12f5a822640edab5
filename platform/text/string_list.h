#pragma once

#include <functional>
#include <vector>

#include "platform/core/persistent.h"

namespace kw {

class TStream;

// What a sorted list does when a string it already holds is added again.
enum class TDuplicates { dupIgnore, dupAccept, dupError };

// A list of strings, each with an optional object reference. The objects are not owned unless
// OwnsObjects is set; then the list frees an object when its entry is deleted, cleared or given
// another object, and when the list is destroyed.
//
// Strings compare ignoring ASCII letter case unless CaseSensitive is set. A Sorted list keeps
// that order: Add places the string by binary search (honouring Duplicates) and the operations
// that would break the order (Insert, SetString, Exchange, Move, CustomSort) raise EListError.
//
// OnChanging fires before and OnChange after every change. Between BeginUpdate and the
// outermost EndUpdate, OnChanging fires only before the first change and OnChange once, at the
// end, if anything changed.
class TStringList : public TPersistent {
    KW_CLASS(TStringList)
public:
    using TNotifyEvent = std::function<void(TStringList&)>;
    // <0, 0 or >0 ordering the entries at two indexes.
    using TCompareProc = std::function<int(const TStringList&, int, int)>;

    TStringList() = default;
    ~TStringList() override;

    int Count() const { return static_cast<int>(items_.size()); }
    // Index errors raise EListError "List index out of bounds (<index>)".
    const String& Strings(int index) const;
    void SetString(int index, const String& text);
    TObject* Objects(int index) const;
    void SetObject(int index, TObject* object);

    // The index where the string went; in a sorted list with dupIgnore, that of the string
    // already there.
    int Add(const String& text);
    int AddObject(const String& text, TObject* object);
    void AddStrings(const TStringList& source);
    void Insert(int index, const String& text);
    void InsertObject(int index, const String& text, TObject* object);
    void Delete(int index);
    void Clear();
    void Exchange(int index1, int index2);
    void Move(int curIndex, int newIndex);

    // -1 when absent.
    int IndexOf(StringView text) const;
    int IndexOfObject(const TObject* object) const;
    // Entries of the form "name=value": the first whose name matches.
    int IndexOfName(StringView name) const;
    // The part before the first "=", or "" for an entry without one.
    String Names(int index) const;
    // The part after the first "=", or "" for an entry without one.
    String ValueFromIndex(int index) const;
    String Values(StringView name) const;
    // Replaces the entry's value, adds "name=value", or removes the entry when value is empty.
    void SetValue(StringView name, StringView value);

    // Binary search, meaningful when the list is in its own order (Sorted, or after Sort). True
    // when found, with `index` at the first match; otherwise `index` is where it would go.
    bool Find(StringView text, int& index) const;
    void Sort();
    void CustomSort(const TCompareProc& compare);
    bool Sorted() const { return sorted_; }
    void SetSorted(bool sorted);
    TDuplicates Duplicates() const { return duplicates_; }
    void SetDuplicates(TDuplicates duplicates) { duplicates_ = duplicates; }
    bool CaseSensitive() const { return caseSensitive_; }
    void SetCaseSensitive(bool caseSensitive);
    bool OwnsObjects() const { return ownsObjects_; }
    void SetOwnsObjects(bool ownsObjects) { ownsObjects_ = ownsObjects; }

    // Every entry followed by CR LF.
    String Text() const;
    // Replaces the entries by the lines of `text`, split at CR LF, LF or CR.
    void SetText(StringView text);

    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return updateCount_; }

    const TNotifyEvent& OnChange() const { return onChange_; }
    void SetOnChange(TNotifyEvent handler) { onChange_ = std::move(handler); }
    const TNotifyEvent& OnChanging() const { return onChanging_; }
    void SetOnChanging(TNotifyEvent handler) { onChanging_ = std::move(handler); }

    // UTF-8 without a byte-order mark is written. Reading skips a UTF-8 mark and decodes
    // UTF-16 after a UTF-16 (LE or BE) mark; text without a mark is UTF-8.
    void LoadFromStream(TStream& stream);
    void SaveToStream(TStream& stream) const;
    void LoadFromFile(const String& fileName);
    void SaveToFile(const String& fileName) const;

    // From another string list: its strings and object references (shared, not duplicated).
    void Assign(const TPersistent* source) override;

protected:
    virtual void Changing();
    virtual void Changed();
    virtual int CompareStrings(StringView a, StringView b) const;

private:
    struct Item {
        String text;
        TObject* object = nullptr;
    };

    void CheckIndex(int index, int limit) const;
    void CheckUnsorted() const;
    void InsertItem(int index, const String& text, TObject* object);
    void ReleaseObject(TObject* object) const;
    void SortItems(const TCompareProc& compare);
    // Runs `change` inside BeginUpdate/EndUpdate, ending the update even when it throws.
    void Batch(const std::function<void()>& change);
    void ResortIfSorted();

    std::vector<Item> items_;
    bool sorted_ = false;
    bool caseSensitive_ = false;
    bool ownsObjects_ = false;
    TDuplicates duplicates_ = TDuplicates::dupIgnore;
    int updateCount_ = 0;
    bool changedDuringUpdate_ = false;
    TNotifyEvent onChange_;
    TNotifyEvent onChanging_;
};

}  // namespace kw
