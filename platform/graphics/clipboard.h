#pragma once

#include <span>
#include <utility>
#include <vector>

#include "platform/core/persistent.h"

namespace kw {

// Predefined clipboard formats of the platform.
enum : Word {
    CF_TEXT = 1,
    CF_BITMAP = 2,
    CF_METAFILEPICT = 3,
    CF_DIB = 8,
    CF_UNICODETEXT = 13,
    CF_ENHMETAFILE = 14,
};

// Registered formats get numbers from 0xC000 up, one per distinct name (compared without regard
// to case); a name keeps its number for the life of the process. Raises EInvalidArgument for an
// empty name or when the range is exhausted.
Word RegisterClipboardFormat(StringView name);
// The registered name of a format, or empty text for predefined and unknown numbers.
String GetClipboardFormatName(Word format);

// The process's clipboard: blocks of bytes by format, in the order they were placed. The first
// placement after Open empties the clipboard, so one Open ... Close session replaces its contents.
// Placing data without an open session opens one for that call.
class TClipboard : public TPersistent {
    KW_CLASS(TClipboard)
public:
    void Open();
    void Close();
    void Clear();

    bool HasFormat(Word format) const;
    int FormatCount() const { return static_cast<int>(items_.size()); }
    Word Formats(int index) const;
    // The data of a format; empty when it is absent.
    std::vector<Byte> AsBytes(Word format) const;
    void SetAsBytes(Word format, std::span<const Byte> data);
    String AsText() const;
    void SetAsText(StringView text);

    // Places a graphic's or picture's data under its clipboard format.
    void Assign(const TPersistent* source) override;
    // Resets the clipboard (tests only): no data, no open session.
    void Reset();

protected:
    // Gives a picture or graphic the first clipboard format it can read.
    void AssignTo(TPersistent& dest) const override;

private:
    void Place(Word format, std::span<const Byte> data);

    std::vector<std::pair<Word, std::vector<Byte>>> items_;
    int openCount_ = 0;
    bool emptied_ = false;
};

TClipboard& Clipboard();

}  // namespace kw
