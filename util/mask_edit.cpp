#include "util/mask_edit.h"

#include <unicode/uchar.h>

#include <algorithm>
#include <vector>

#include "platform/text/strings.h"

namespace kw {

namespace {

constexpr Char kBackspace = 8;

bool IsDigit(Char c) {
    return c >= u'0' && c <= u'9';
}

bool IsDateType(TKwDataType dataType) {
    return dataType == TKwDataType::dtyDateTime;
}

// Whether the pattern is a template of input positions the filters write into.
bool UsesPattern(const TKwMaskInfo& info, TKwDataType dataType) {
    return info.HasPattern() && (KwIsTextType(dataType) || IsDateType(dataType));
}

bool IsInputPosition(const TKwMaskInfo& info, int index) {
    return index >= 0 && index < static_cast<int>(info.Mask.size()) &&
           info.Mask[index] == kKwMaskPosition;
}

// The text padded to the pattern's length with its empty form.
void PadToPattern(const TKwMaskInfo& info, String& text) {
    for (size_t i = text.size(); i < info.Mask.size(); ++i)
        text.push_back(info.Mask[i] == kKwMaskPosition ? info.MaskSpc : info.Mask[i]);
}

int NextInputPosition(const TKwMaskInfo& info, int from) {
    for (int i = std::max(from, 0); i < static_cast<int>(info.Mask.size()); ++i)
        if (info.Mask[i] == kKwMaskPosition)
            return i;
    return -1;
}

int PreviousInputPosition(const TKwMaskInfo& info, int before) {
    for (int i = std::min<int>(before, info.Mask.size()) - 1; i >= 0; --i)
        if (info.Mask[i] == kKwMaskPosition)
            return i;
    return -1;
}

void ClampSelection(TKwMaskEditState& edit) {
    const int length = static_cast<int>(edit.text.size());
    edit.selStart = std::clamp(edit.selStart, 0, length);
    edit.selLength = std::clamp(edit.selLength, 0, length - edit.selStart);
}

String WithoutSelection(const TKwMaskEditState& edit) {
    String text = edit.text;
    text.erase(edit.selStart, edit.selLength);
    return text;
}

// Characters allowed in front of the decimal separator when the range is checked.
int WholePartLimit(const TKwMaskInfo& info, int size, int decimals) {
    return size - 1 - decimals - (info.nTypSig != 0 ? 1 : 0);
}

int WholePartLength(StringView text, Char decimalSeparator) {
    return static_cast<int>(std::min(text.find(decimalSeparator), text.size()));
}

bool IsLetter(StringView keyText) {
    if (keyText.size() > 1)
        return true;
    return u_isalpha(keyText[0]) != 0;
}

bool TextCharAllowed(const TKwMaskInfo& info, StringView keyText) {
    const Char c = keyText[0];
    if (keyText.size() == 1 && c < u' ')
        return true;
    if (c == u' ')
        return info.cWhite != 0;
    if (keyText.size() == 1 && IsDigit(c))
        return info.cDigitt != 0;
    if (IsLetter(keyText))
        return info.cAlfa != 0;
    return info.cSymbol != 0;
}

// Start of the AM/PM zone at the end of a 12-hour template; -1 without one.
int DayHalfZoneStart(const TKwMaskInfo& info) {
    if (info.f12H == 0 || !info.HasTime() || !info.HasPattern() || info.Mask.back() == u' ')
        return -1;
    const size_t blank = info.Mask.rfind(u' ');
    return blank == String::npos ? -1 : static_cast<int>(blank) + 1;
}

bool DateCharAllowed(const TKwMaskInfo& info, Char c, int caret,
                     const TKwFormatSettings& settings) {
    if (c == kBackspace || IsDigit(c))
        return true;
    const int zone = DayHalfZoneStart(info);
    if (zone < 0 || caret < zone)
        return false;
    const StringView one(&c, 1);
    for (const String* marker : {&settings.timeAMString, &settings.timePMString})
        for (size_t i = 0; i < marker->size(); ++i)
            if (AnsiSameText(one, StringView(*marker).substr(i, 1)))
                return true;
    return false;
}

bool NumberCharAllowed(const TKwMaskInfo& info, int decimals, Char& c,
                       const TKwFormatSettings& settings) {
    if (info.nCientific != 0)
        return true;
    if (c == u'-')
        return info.nTypSig != 0;
    if (c == u'.')
        c = settings.decimalSeparator;
    if (c == settings.decimalSeparator)
        return decimals != 0;
    return c == kBackspace || IsDigit(c);
}

// The typing rules of a number field, counted with the selection left out.
bool NumberKeyAccepted(const TKwMaskInfo& info, const TKwMaskEditState& edit, int size,
                       int decimals, Char c, const TKwFormatSettings& settings) {
    if (c == kBackspace)
        return true;
    const Char sep = settings.decimalSeparator;
    const String rest = WithoutSelection(edit);
    const int caret = edit.selStart;
    const size_t sepAt = rest.find(sep);
    if (c == sep)
        return sepAt == String::npos && static_cast<int>(rest.size()) - caret <= decimals;
    if (c == u'-')
        return rest.find(u'-') == String::npos && caret == 0;
    const int whole = WholePartLength(rest, sep);
    if (caret <= whole)
        return info.nCheckRange == 0 || whole < WholePartLimit(info, size, decimals);
    const int fraction = static_cast<int>(rest.size()) - whole - 1;
    return decimals < 1 || fraction < decimals;
}

// Typing a separator over a date template jumps past the next separator or blank.
void JumpPastSeparator(const TKwMaskInfo& info, TKwMaskEditState& edit,
                       const TKwFormatSettings& settings) {
    for (int i = edit.selStart; i < static_cast<int>(info.Mask.size()); ++i) {
        const Char m = info.Mask[i];
        if (m == settings.dateSeparator || m == settings.timeSeparator || m == u' ') {
            edit.selStart = std::min<int>(i + 1, edit.text.size());
            edit.selLength = 0;
            return;
        }
    }
}

bool IsDateSeparatorKey(Char c, const TKwFormatSettings& settings) {
    return c == settings.dateSeparator || c == settings.timeSeparator || c == u'.' || c == u'/';
}

bool WriteIntoPattern(const TKwMaskInfo& info, TKwMaskEditState& edit, String& keyText) {
    if (keyText[0] == kBackspace) {
        if (edit.selLength == 0) {
            const int previous = PreviousInputPosition(info, edit.selStart);
            if (previous < 0)
                return false;
            edit.selStart = previous;
            edit.selLength = 1;
        }
        KwMaskClearCharSpc(info, edit);
        edit.selLength = 0;
        return true;
    }
    if (edit.selLength > 0)
        KwMaskClearCharSpc(info, edit);
    const int position = NextInputPosition(info, edit.selStart);
    if (position < 0 || keyText.size() != 1) {
        keyText.clear();
        return edit.selLength > 0;
    }
    PadToPattern(info, edit.text);
    edit.text[position] = keyText[0];
    const int next = NextInputPosition(info, position + 1);
    edit.selStart = next < 0 ? position + 1 : next;
    edit.selLength = 0;
    return true;
}

bool WriteFreeText(TKwMaskEditState& edit, int size, String& keyText) {
    if (keyText[0] == kBackspace) {
        if (edit.selLength == 0 && edit.selStart > 0) {
            edit.selStart -= 1;
            edit.selLength = 1;
        }
        const bool changed = edit.selLength > 0;
        edit.text.erase(edit.selStart, edit.selLength);
        edit.selLength = 0;
        return changed;
    }
    if (!edit.insertMode && edit.selLength == 0 &&
        edit.selStart < static_cast<int>(edit.text.size()))
        edit.selLength = 1;
    if (edit.insertMode && edit.selLength == 0 && size > 0 &&
        static_cast<int>(edit.text.size()) >= size) {
        keyText.clear();
        return false;
    }
    edit.text.replace(edit.selStart, edit.selLength, keyText);
    edit.selStart += static_cast<int>(keyText.size());
    edit.selLength = 0;
    return true;
}

}  // namespace

void KwMaskKeyDown(const TKwMaskInfo& info, TKwMaskEditState& edit, TKwDataType dataType, int size,
                   int decimals, Word& key, const TKwFormatSettings& settings) {
    ClampSelection(edit);
    if (UsesPattern(info, dataType)) {
        if (key == kKwKeyBack) {
            const int previous = PreviousInputPosition(info, edit.selStart);
            if (edit.selLength == 0 && previous >= 0) {
                edit.selStart = previous;
                edit.selLength = 1;
            }
            key = 0;
        } else if (key == kKwKeyDelete) {
            if (edit.selLength == 0)
                edit.selLength = std::min<int>(1, edit.text.size() - edit.selStart);
            KwMaskClearCharSpc(info, edit);
            edit.selLength = 0;
            key = 0;
        }
        return;
    }
    if (key != kKwKeyDelete || !KwIsNumberType(dataType) || info.nCheckRange == 0)
        return;
    TKwMaskEditState after = edit;
    if (after.selLength == 0)
        after.selLength = std::min<int>(1, after.text.size() - after.selStart);
    const String rest = WithoutSelection(after);
    if (WholePartLength(rest, settings.decimalSeparator) > WholePartLimit(info, size, decimals))
        key = 0;
}

bool KwMaskValidChar(const TKwMaskInfo& info, TKwDataType dataType, int decimals, String& keyText,
                     const TKwMaskEditState& edit, const TKwFormatSettings& settings) {
    if (keyText.empty())
        return false;
    bool allowed = true;
    if (KwIsNumberType(dataType)) {
        Char c = keyText[0];
        allowed = NumberCharAllowed(info, decimals, c, settings);
        keyText[0] = c;
    } else if (IsDateType(dataType)) {
        allowed = DateCharAllowed(info, keyText[0], edit.selStart, settings);
    } else if (KwIsTextType(dataType)) {
        allowed = TextCharAllowed(info, keyText);
    }
    if (!allowed)
        keyText.clear();
    return allowed;
}

bool KwMaskKeyPress(const TKwMaskInfo& info, TKwMaskEditState& edit, TKwDataType dataType, int size,
                    int decimals, String& keyText, const TKwFormatSettings& settings) {
    if (keyText.empty())
        return false;
    ClampSelection(edit);
    const bool pattern = UsesPattern(info, dataType);
    if (pattern && IsDateType(dataType) && IsDateSeparatorKey(keyText[0], settings))
        JumpPastSeparator(info, edit, settings);
    if (!KwMaskValidChar(info, dataType, decimals, keyText, edit, settings))
        return false;
    if (KwIsNumberType(dataType) && info.nCientific == 0 &&
        !NumberKeyAccepted(info, edit, size, decimals, keyText[0], settings)) {
        keyText.clear();
        return false;
    }
    if (keyText.size() == 1 && keyText[0] < u' ' && keyText[0] != kBackspace)
        return false;
    if (KwIsTextType(dataType) && info.cTypCase == u'u')
        keyText = AnsiUpperCase(keyText);
    else if (KwIsTextType(dataType) && info.cTypCase == u'l')
        keyText = AnsiLowerCase(keyText);
    if (pattern)
        return WriteIntoPattern(info, edit, keyText);
    return WriteFreeText(edit, size, keyText);
}

void KwMaskClearChar(const TKwMaskInfo& info, TKwMaskEditState& edit) {
    ClampSelection(edit);
    if (!info.HasPattern()) {
        edit.text.erase(edit.selStart, edit.selLength);
        edit.selLength = 0;
        return;
    }
    PadToPattern(info, edit.text);
    std::vector<int> positions;
    String kept;
    const int end = edit.selStart + edit.selLength;
    for (int i = 0; i < static_cast<int>(info.Mask.size()); ++i) {
        if (!IsInputPosition(info, i))
            continue;
        positions.push_back(i);
        if (i < edit.selStart || i >= end)
            kept.push_back(edit.text[i]);
    }
    kept.resize(positions.size(), info.MaskSpc);
    for (size_t k = 0; k < positions.size(); ++k)
        edit.text[positions[k]] = kept[k];
    edit.selLength = 0;
}

void KwMaskClearCharSpc(const TKwMaskInfo& info, TKwMaskEditState& edit) {
    ClampSelection(edit);
    PadToPattern(info, edit.text);
    for (int i = edit.selStart; i < edit.selStart + edit.selLength; ++i)
        if (IsInputPosition(info, i))
            edit.text[i] = info.MaskSpc;
}

void KwMaskAddChar(const TKwMaskInfo& info, TKwMaskEditState& edit, TKwDataType dataType, int size,
                   int decimals, StringView text, const TKwFormatSettings& settings) {
    ClampSelection(edit);
    const bool skipSeparators = UsesPattern(info, dataType) && IsDateType(dataType);
    for (size_t i = 0; i < text.size(); ++i) {
        const bool pair = text[i] >= 0xD800 && text[i] <= 0xDBFF && i + 1 < text.size();
        String keyText(text.substr(i, pair ? 2 : 1));
        i += pair ? 1 : 0;
        if (skipSeparators && IsDateSeparatorKey(keyText[0], settings))
            continue;
        KwMaskKeyPress(info, edit, dataType, size, decimals, keyText, settings);
    }
}

}  // namespace kw
