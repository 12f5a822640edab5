#pragma once

#include <memory>

#include "display/set_references.h"

namespace kw {

// The library defaults end every chain of set references with a built-in value. A skin
// overrides one by defining a set of the default's name ("Dft_" plus the suffix below).
class TKwDefaultSetColor : public TKwSetColor {
    KW_CLASS(TKwDefaultSetColor)
public:
    TKwDefaultSetColor(const String& name, TColor defaultColor);
    TColor DefaultColor() const { return defaultColor_; }
    TColor Color() override;

private:
    TColor defaultColor_;
};

class TKwDefaultSetBackGround : public TKwSetBackGround {
    KW_CLASS(TKwDefaultSetBackGround)
public:
    TKwDefaultSetBackGround(const String& name, TColor defaultColor);
    TColor DefaultColor() const { return defaultColor_; }
    TColor Color() override;

private:
    TColor defaultColor_;
};

class TKwDefaultSetFont : public TKwSetFont {
    KW_CLASS(TKwDefaultSetFont)
public:
    TKwDefaultSetFont(const String& name, const TFont& defaultFont);
    ~TKwDefaultSetFont() override;
    TFont& DefaultFont() const { return *defaultFont_; }
    TFont& Font() override;

private:
    std::unique_ptr<TFont> defaultFont_;
};

// Every library default in creation order: X(kind, suffix, value). The values name colours:
// W white, K black, G light grey 0xE2E2E2, R red; system colours F button face, S button
// shadow, H button highlight, L selection, LT selection text, T window text, I info background,
// Wn window; mixes ML = 2/3 from W to F, MD = 1/2 from F to S, MS = 5/8 and LS = 7/8 from L to
// ML; DF the platform's default font.
#define KW_DEFAULT_SETS(X)            \
    X(Color, ColLight, W)             \
    X(Color, ColMLight, ML)           \
    X(Color, ColNormal, F)            \
    X(Color, ColMDark, MD)            \
    X(Color, ColDark, S)              \
    X(Color, ColBlack, K)             \
    X(Color, ColSelect, L)            \
    X(Color, ColMSelect, MS)          \
    X(Color, ColLSelect, LS)          \
    X(BackGround, BGLight, W)         \
    X(BackGround, BGMLight, ML)       \
    X(BackGround, BGNormal, F)        \
    X(BackGround, BGMDark, MD)        \
    X(BackGround, BGDark, S)          \
    X(BackGround, BGBlack, K)         \
    X(BackGround, BGSelect, L)        \
    X(BackGround, BGMSelect, MS)      \
    X(BackGround, BGLSelect, LS)      \
    X(BackGround, BackGround, F)      \
    X(Font, Font, DF)                 \
    X(Color, ColText, T)              \
    X(Color, StandOut, R)             \
    X(Color, TextDisLight, H)         \
    X(Color, TextDisShadow, S)        \
    X(Color, ColShadow, S)            \
    X(Color, ColBox, K)               \
    X(Color, 3DMLight, G)             \
    X(Color, 3DLight, H)              \
    X(Color, 3DShadow, S)             \
    X(BackGround, CkGrayedBG, G)      \
    X(BackGround, CkCheckedBG, S)     \
    X(BackGround, CkUnCheckedBG, H)   \
    X(BackGround, HelpBG, I)          \
    X(BackGround, HintBG, I)          \
    X(Color, EdColLight, I)           \
    X(Color, EdAccelChar, T)          \
    X(BackGround, EdBackGround, Wn)   \
    X(BackGround, EdDisabledBG, G)    \
    X(Color, EdSelectedText, LT)      \
    X(BackGround, EdSelectedBG, L)    \
    X(BackGround, EdReadOnlyBG, Wn)   \
    X(BackGround, SBGeneralBG, G)     \
    X(Color, SBGeneralColBox, H)      \
    X(BackGround, SBPagesBG, K)       \
    X(BackGround, SBButtonsBGUp, F)   \
    X(BackGround, SBButtonsBGOver, S) \
    X(BackGround, SBButtonsBGDown, K) \
    X(Color, SBButtonsColBox, S)      \
    X(Color, SBButtonsColSelBox, S)   \
    X(BackGround, SBThumbsBGUp, F)    \
    X(BackGround, SBThumbsBGOver, S)  \
    X(BackGround, SBThumbsBGDown, K)  \
    X(Color, SBThumbsColBox, S)       \
    X(Color, SBThumbsColSelBox, S)    \
    X(Color, BBColFocus, L)           \
    X(Color, BBColDefault, K)         \
    X(BackGround, BBBackGround, F)    \
    X(Color, BBColBox, K)             \
    X(BackGround, SBBackGround, F)    \
    X(Color, SBColBox, K)             \
    X(Color, SBColSelBox, L)

// The defaults are reached through functions named "KwSet" plus the suffix (KwSetColLight() for
// "Dft_ColLight") rather than through global objects: they are created on first use, after every
// process-wide list they register in, so no order of static initialisation can break them, and
// KwResetDisplayState frees them so that the next use recreates them with their built-in values.
#define KW_DECLARE_DEFAULT_SET(kind, suffix, value) TKwDefaultSet##kind& KwSet##suffix();
KW_DEFAULT_SETS(KW_DECLARE_DEFAULT_SET)
#undef KW_DECLARE_DEFAULT_SET

inline constexpr int kKwDefaultSetCount = 61;
// The default at `index` in the order above; its name is its "Dft_" name.
TKwSetReference& KwDefaultSetAt(int index);
// The library default of that name (exact "Dft_" name, without regard to case), or none.
TKwSetReference* KwFindDefaultSet(StringView name);
// The end of every chain that names no default of its own: "Dft_ColBox", "Dft_BackGround",
// "Dft_Font".
TKwSetReference& KwRootDefault(TKwSetKind kind);
// The library default font: the default font of "Dft_Font".
TFont& KwDefaultFont();

}  // namespace kw
