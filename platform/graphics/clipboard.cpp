#include "platform/graphics/clipboard.h"

#include <algorithm>
#include <cstring>

#include "platform/core/exception.h"
#include "platform/core/no_destructor.h"
#include "platform/graphics/graphic.h"
#include "platform/graphics/graphic_registry.h"
#include "platform/text/strings.h"

namespace kw {

KW_IMPLEMENT_CLASS(TClipboard, TPersistent)

namespace {

constexpr Word kFirstRegisteredFormat = 0xC000;

std::vector<String>& FormatNames() {
    static TNoDestructor<std::vector<String>>
        names;  // index i names format kFirstRegisteredFormat + i
    return *names;
}

}  // namespace

Word RegisterClipboardFormat(StringView name) {
    if (name.empty())
        throw EInvalidArgument(u"A clipboard format needs a name");
    auto& names = FormatNames();
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (SameText(names[i], name))
            return static_cast<Word>(kFirstRegisteredFormat + i);
    }
    if (names.size() > 0xFFFFu - kFirstRegisteredFormat)
        throw EInvalidArgument(u"No clipboard format numbers are left");
    names.emplace_back(name);
    return static_cast<Word>(kFirstRegisteredFormat + names.size() - 1);
}

String GetClipboardFormatName(Word format) {
    const auto& names = FormatNames();
    if (format < kFirstRegisteredFormat ||
        static_cast<std::size_t>(format - kFirstRegisteredFormat) >= names.size())
        return {};
    return names[format - kFirstRegisteredFormat];
}

void TClipboard::Open() {
    if (openCount_++ == 0)
        emptied_ = false;
}

void TClipboard::Close() {
    if (openCount_ > 0)
        --openCount_;
}

void TClipboard::Clear() {
    Open();
    items_.clear();
    emptied_ = true;
    Close();
}

void TClipboard::Reset() {
    items_.clear();
    openCount_ = 0;
    emptied_ = false;
}

bool TClipboard::HasFormat(Word format) const {
    return std::any_of(items_.begin(), items_.end(),
                       [format](const auto& item) { return item.first == format; });
}

Word TClipboard::Formats(int index) const {
    if (index < 0 || index >= FormatCount())
        throw EListError(Format(u"List index out of bounds (%d)", {index}));
    return items_[index].first;
}

std::vector<Byte> TClipboard::AsBytes(Word format) const {
    for (const auto& [f, data] : items_) {
        if (f == format)
            return data;
    }
    return {};
}

void TClipboard::Place(Word format, std::span<const Byte> data) {
    Open();
    if (!emptied_) {
        items_.clear();
        emptied_ = true;
    }
    std::vector<Byte> copy(data.begin(), data.end());
    auto it = std::find_if(items_.begin(), items_.end(),
                           [format](const auto& item) { return item.first == format; });
    if (it != items_.end())
        it->second = std::move(copy);
    else
        items_.emplace_back(format, std::move(copy));
    Close();
}

void TClipboard::SetAsBytes(Word format, std::span<const Byte> data) {
    Place(format, data);
}

String TClipboard::AsText() const {
    const std::vector<Byte> bytes = AsBytes(CF_UNICODETEXT);
    String text(bytes.size() / 2, u'\0');
    for (std::size_t i = 0; i < text.size(); ++i)
        text[i] = static_cast<Char>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
    return text;
}

void TClipboard::SetAsText(StringView text) {
    std::vector<Byte> bytes;
    bytes.reserve(text.size() * 2);
    for (Char c : text) {
        bytes.push_back(static_cast<Byte>(c));
        bytes.push_back(static_cast<Byte>(c >> 8));
    }
    Place(CF_UNICODETEXT, bytes);
}

void TClipboard::Assign(const TPersistent* source) {
    Word format = 0;
    std::vector<Byte> data;
    if (const auto* picture = dynamic_cast<const TPicture*>(source)) {
        picture->SaveToClipboardFormat(format, data);
    } else if (const auto* graphic = dynamic_cast<const TGraphic*>(source)) {
        graphic->SaveToClipboardFormat(format, data);
    } else {
        TPersistent::Assign(source);
        return;
    }
    if (format != 0)
        Place(format, data);
}

void TClipboard::AssignTo(TPersistent& dest) const {
    if (auto* picture = dynamic_cast<TPicture*>(&dest)) {
        for (const auto& [format, data] : items_) {
            if (TPicture::SupportsClipboardFormat(format)) {
                picture->LoadFromClipboardFormat(format, data);
                return;
            }
        }
        throw EInvalidGraphic(u"The clipboard holds no picture");
    }
    if (auto* graphic = dynamic_cast<TGraphic*>(&dest)) {
        const Word format = graphic->ClipboardFormat();
        if (format == 0 || !HasFormat(format))
            throw EInvalidGraphic(
                Format(u"The clipboard holds no data for a %s", {graphic->ClassName()}));
        graphic->LoadFromClipboardFormat(format, AsBytes(format));
        return;
    }
    TPersistent::AssignTo(dest);
}

TClipboard& Clipboard() {
    static TNoDestructor<TClipboard> clipboard;
    return *clipboard;
}

}  // namespace kw
