#pragma once

#include "platform/core/types.h"
#include "util/format_settings.h"
#include "util/kw_types.h"
#include "util/mask_info.h"

namespace kw {

// What the key filters see of an edit control: its text, the caret (the selection start) and
// the selection length, and whether typing inserts or overwrites.
struct TKwMaskEditState {
    String text;
    int selStart = 0;
    int selLength = 0;
    bool insertMode = true;
};

// Virtual key codes the key-down filter handles.
inline constexpr Word kKwKeyBack = 8;
inline constexpr Word kKwKeyDelete = 46;

// Key down: Backspace and Delete over a position pattern move the caret, select and blank
// input positions and swallow the key (it becomes 0); Delete in a number with a range check is
// swallowed when it would make the whole part too long. Other keys are left to the control.
void KwMaskKeyDown(const TKwMaskInfo& info, TKwMaskEditState& edit, TKwDataType dataType, int size,
                   int decimals, Word& key,
                   const TKwFormatSettings& settings = KwApplicationSettings());

// Whether a typed character may enter the field; a refused one empties `keyText`. A "." typed
// into a number becomes the decimal separator of the settings.
bool KwMaskValidChar(const TKwMaskInfo& info, TKwDataType dataType, int decimals, String& keyText,
                     const TKwMaskEditState& edit,
                     const TKwFormatSettings& settings = KwApplicationSettings());

// A typed character: checks it and applies it to the state (writing it into the next input
// position of a pattern, or replacing the selection). Returns whether the text changed;
// `keyText` is empty afterwards when the key was refused. Control characters other than
// backspace are left untouched for the control.
bool KwMaskKeyPress(const TKwMaskInfo& info, TKwMaskEditState& edit, TKwDataType dataType, int size,
                    int decimals, String& keyText,
                    const TKwFormatSettings& settings = KwApplicationSettings());

// Deletes the selected input positions, moving the later input characters left.
void KwMaskClearChar(const TKwMaskInfo& info, TKwMaskEditState& edit);
// Blanks the selected input positions.
void KwMaskClearCharSpc(const TKwMaskInfo& info, TKwMaskEditState& edit);
// Pastes text as if typed; date and time separators are skipped for date templates.
void KwMaskAddChar(const TKwMaskInfo& info, TKwMaskEditState& edit, TKwDataType dataType, int size,
                   int decimals, StringView text,
                   const TKwFormatSettings& settings = KwApplicationSettings());

}  // namespace kw
