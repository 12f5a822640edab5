#include "platform/text/string_list.h"

#include <algorithm>
#include <memory>
#include <numeric>
#include <string_view>

#include "platform/core/exception.h"
#include "platform/core/safe_save.h"
#include "platform/core/stream.h"
#include "platform/text/strings.h"
#include "platform/text/unicode.h"

namespace kw {

KW_IMPLEMENT_CLASS(TStringList, TPersistent)

namespace {

constexpr const Char* kSSortedListError = u"Operation not allowed on sorted list";
constexpr const Char* kSDuplicateString = u"String list does not allow duplicates";

String DecodeUtf16(std::string_view bytes, bool bigEndian) {
    String out;
    out.reserve(bytes.size() / 2 + 1);
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto first = static_cast<unsigned char>(bytes[i]);
        const auto second = static_cast<unsigned char>(bytes[i + 1]);
        out.push_back(static_cast<Char>(bigEndian ? (first << 8 | second) : (second << 8 | first)));
    }
    if (bytes.size() % 2 != 0)
        out.push_back(u'\uFFFD');
    return out;
}

String DecodeText(std::string_view bytes) {
    if (bytes.starts_with("\xEF\xBB\xBF"))
        return Utf8ToString(bytes.substr(3));
    if (bytes.starts_with("\xFF\xFE"))
        return DecodeUtf16(bytes.substr(2), false);
    if (bytes.starts_with("\xFE\xFF"))
        return DecodeUtf16(bytes.substr(2), true);
    return Utf8ToString(bytes);
}

size_t NameEnd(const String& entry) {
    return entry.find(u'=');
}

}  // namespace

TStringList::~TStringList() {
    for (const Item& item : items_)
        ReleaseObject(item.object);
}

// --- Access ----------------------------------------------------------------------------------

void TStringList::CheckIndex(int index, int limit) const {
    if (index < 0 || index >= limit)
        throw EListError(u"List index out of bounds (" + IntToStr(index) + u")");
}

void TStringList::CheckUnsorted() const {
    if (sorted_)
        throw EListError(kSSortedListError);
}

void TStringList::ReleaseObject(TObject* object) const {
    if (!ownsObjects_)
        return;
    const std::unique_ptr<TObject> owned(object);  // frees it here
}

const String& TStringList::Strings(int index) const {
    CheckIndex(index, Count());
    return items_[static_cast<size_t>(index)].text;
}

void TStringList::SetString(int index, const String& text) {
    CheckUnsorted();
    CheckIndex(index, Count());
    Changing();
    items_[static_cast<size_t>(index)].text = text;
    Changed();
}

TObject* TStringList::Objects(int index) const {
    CheckIndex(index, Count());
    return items_[static_cast<size_t>(index)].object;
}

void TStringList::SetObject(int index, TObject* object) {
    CheckIndex(index, Count());
    Changing();
    TObject*& slot = items_[static_cast<size_t>(index)].object;
    if (slot != object)
        ReleaseObject(slot);
    slot = object;
    Changed();
}

// --- Adding and removing ---------------------------------------------------------------------

void TStringList::InsertItem(int index, const String& text, TObject* object) {
    Changing();
    items_.insert(items_.begin() + index, Item{text, object});
    Changed();
}

int TStringList::Add(const String& text) {
    return AddObject(text, nullptr);
}

int TStringList::AddObject(const String& text, TObject* object) {
    int index = Count();
    if (sorted_ && Find(text, index)) {
        if (duplicates_ == TDuplicates::dupIgnore)
            return index;
        if (duplicates_ == TDuplicates::dupError)
            throw EListError(kSDuplicateString);
    }
    InsertItem(index, text, object);
    return index;
}

void TStringList::AddStrings(const TStringList& source) {
    const std::vector<Item> added = source.items_;  // the source may be this list
    Batch([&] {
        for (const Item& item : added)
            AddObject(item.text, item.object);
    });
}

void TStringList::Insert(int index, const String& text) {
    InsertObject(index, text, nullptr);
}

void TStringList::InsertObject(int index, const String& text, TObject* object) {
    CheckUnsorted();
    CheckIndex(index, Count() + 1);
    InsertItem(index, text, object);
}

void TStringList::Delete(int index) {
    CheckIndex(index, Count());
    Changing();
    TObject* object = items_[static_cast<size_t>(index)].object;
    items_.erase(items_.begin() + index);
    ReleaseObject(object);
    Changed();
}

void TStringList::Clear() {
    if (items_.empty())
        return;
    Changing();
    std::vector<Item> old;
    old.swap(items_);
    for (const Item& item : old)
        ReleaseObject(item.object);
    Changed();
}

void TStringList::Exchange(int index1, int index2) {
    CheckUnsorted();
    CheckIndex(index1, Count());
    CheckIndex(index2, Count());
    Changing();
    std::swap(items_[static_cast<size_t>(index1)], items_[static_cast<size_t>(index2)]);
    Changed();
}

void TStringList::Move(int curIndex, int newIndex) {
    if (curIndex == newIndex)
        return;
    CheckUnsorted();
    CheckIndex(curIndex, Count());
    CheckIndex(newIndex, Count());
    Changing();
    Item item = std::move(items_[static_cast<size_t>(curIndex)]);
    items_.erase(items_.begin() + curIndex);
    items_.insert(items_.begin() + newIndex, std::move(item));
    Changed();
}

// --- Searching -------------------------------------------------------------------------------

int TStringList::CompareStrings(StringView a, StringView b) const {
    return caseSensitive_ ? CompareStr(a, b) : CompareText(a, b);
}

bool TStringList::Find(StringView text, int& index) const {
    int low = 0;
    int high = Count() - 1;
    bool found = false;
    while (low <= high) {
        const int middle = low + (high - low) / 2;
        const int order = CompareStrings(items_[static_cast<size_t>(middle)].text, text);
        if (order < 0) {
            low = middle + 1;
        } else {
            high = middle - 1;
            found = found || order == 0;
        }
    }
    index = low;
    return found;
}

int TStringList::IndexOf(StringView text) const {
    if (sorted_) {
        int index = 0;
        return Find(text, index) ? index : -1;
    }
    for (int i = 0; i < Count(); ++i) {
        if (CompareStrings(items_[static_cast<size_t>(i)].text, text) == 0)
            return i;
    }
    return -1;
}

int TStringList::IndexOfObject(const TObject* object) const {
    const auto found = std::find_if(items_.begin(), items_.end(),
                                    [object](const Item& item) { return item.object == object; });
    return found == items_.end() ? -1 : static_cast<int>(found - items_.begin());
}

int TStringList::IndexOfName(StringView name) const {
    for (int i = 0; i < Count(); ++i) {
        const String& entry = items_[static_cast<size_t>(i)].text;
        const size_t end = NameEnd(entry);
        if (end != String::npos && CompareStrings(StringView(entry).substr(0, end), name) == 0)
            return i;
    }
    return -1;
}

String TStringList::Names(int index) const {
    const String& entry = Strings(index);
    const size_t end = NameEnd(entry);
    return end == String::npos ? String() : entry.substr(0, end);
}

String TStringList::ValueFromIndex(int index) const {
    const String& entry = Strings(index);
    const size_t end = NameEnd(entry);
    return end == String::npos ? String() : entry.substr(end + 1);
}

String TStringList::Values(StringView name) const {
    const int index = IndexOfName(name);
    return index < 0 ? String() : ValueFromIndex(index);
}

void TStringList::SetValue(StringView name, StringView value) {
    const int index = IndexOfName(name);
    const String entry = String(name) + u"=" + String(value);
    if (index >= 0 && !value.empty() && !sorted_) {
        SetString(index, entry);
        return;
    }
    Batch([&] {
        if (index >= 0)
            Delete(index);
        if (!value.empty())
            Add(entry);
    });
}

// --- Order -----------------------------------------------------------------------------------

void TStringList::SortItems(const TCompareProc& compare) {
    if (Count() < 2)
        return;
    std::vector<int> order(items_.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return compare(*this, a, b) < 0; });
    Changing();
    std::vector<Item> sorted;
    sorted.reserve(items_.size());
    for (int i : order)
        sorted.push_back(std::move(items_[static_cast<size_t>(i)]));
    items_.swap(sorted);
    Changed();
}

void TStringList::Sort() {
    SortItems([](const TStringList& list, int a, int b) {
        return list.CompareStrings(list.Strings(a), list.Strings(b));
    });
}

void TStringList::CustomSort(const TCompareProc& compare) {
    CheckUnsorted();
    SortItems(compare);
}

void TStringList::ResortIfSorted() {
    if (sorted_)
        Sort();
}

void TStringList::SetSorted(bool sorted) {
    if (sorted_ == sorted)
        return;
    sorted_ = sorted;
    ResortIfSorted();
}

void TStringList::SetCaseSensitive(bool caseSensitive) {
    if (caseSensitive_ == caseSensitive)
        return;
    caseSensitive_ = caseSensitive;
    ResortIfSorted();
}

// --- Text ------------------------------------------------------------------------------------

String TStringList::Text() const {
    String text;
    for (const Item& item : items_)
        text.append(item.text).append(u"\r\n");
    return text;
}

void TStringList::SetText(StringView text) {
    Batch([&] {
        Clear();
        size_t start = 0;
        while (start < text.size()) {
            const size_t end = std::min(text.find_first_of(u"\r\n", start), text.size());
            Add(String(text.substr(start, end - start)));
            start = end + 1;
            if (end + 1 < text.size() && text[end] == u'\r' && text[end + 1] == u'\n')
                ++start;
        }
    });
}

// --- Notification ----------------------------------------------------------------------------

void TStringList::Changing() {
    if (updateCount_ > 0) {
        if (changedDuringUpdate_)
            return;
        changedDuringUpdate_ = true;
    }
    if (onChanging_)
        onChanging_(*this);
}

void TStringList::Changed() {
    if (updateCount_ == 0 && onChange_)
        onChange_(*this);
}

void TStringList::Batch(const std::function<void()>& change) {
    BeginUpdate();
    try {
        change();
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TStringList::BeginUpdate() {
    ++updateCount_;
}

void TStringList::EndUpdate() {
    if (updateCount_ == 0 || --updateCount_ > 0 || !changedDuringUpdate_)
        return;
    changedDuringUpdate_ = false;
    Changed();
}

// --- Streams ---------------------------------------------------------------------------------

void TStringList::LoadFromStream(TStream& stream) {
    const std::int64_t size = stream.Size() - stream.Position();
    std::string bytes(static_cast<size_t>(std::max<std::int64_t>(size, 0)), '\0');
    stream.ReadBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
    SetText(DecodeText(bytes));
}

void TStringList::SaveToStream(TStream& stream) const {
    const String text = Text();
    // A text that starts with U+FEFF gets a mark of its own, or reading would take its first
    // character for the mark and drop it.
    const std::string mark = !text.empty() && text.front() == u'\uFEFF' ? "\xEF\xBB\xBF" : "";
    const std::string bytes = mark + StringToUtf8(text);
    stream.WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
}

void TStringList::LoadFromFile(const String& fileName) {
    TFileStream stream(fileName, TFileMode::fmOpenRead);
    LoadFromStream(stream);
}

void TStringList::SaveToFile(const String& fileName) const {
    SaveFileSafely(fileName, [&](TStream& file) { SaveToStream(file); });
}

void TStringList::Assign(const TPersistent* source) {
    const auto* list = dynamic_cast<const TStringList*>(source);
    if (list == nullptr) {
        TPersistent::Assign(source);
        return;
    }
    if (list == this)
        return;
    Batch([&] {
        Clear();
        AddStrings(*list);
    });
}

}  // namespace kw
