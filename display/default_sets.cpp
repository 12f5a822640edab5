#include "display/default_sets.h"

#include "display/state.h"
#include "drawing/colors.h"
#include "platform/text/strings.h"

namespace kw {

KW_IMPLEMENT_CLASS(TKwDefaultSetColor, TKwSetColor)
KW_IMPLEMENT_CLASS(TKwDefaultSetBackGround, TKwSetBackGround)
KW_IMPLEMENT_CLASS(TKwDefaultSetFont, TKwSetFont)

TKwDefaultSetColor::TKwDefaultSetColor(const String& name, TColor defaultColor)
    : TKwSetColor(TKwLibraryDefaultTag{}), defaultColor_(defaultColor) {
    SetName(name);
}

TColor TKwDefaultSetColor::Color() {
    const TKwPkgDisplaySetColor* set = Info();
    return set != nullptr ? set->Color() : defaultColor_;
}

TKwDefaultSetBackGround::TKwDefaultSetBackGround(const String& name, TColor defaultColor)
    : TKwSetBackGround(TKwLibraryDefaultTag{}), defaultColor_(defaultColor) {
    SetName(name);
}

TColor TKwDefaultSetBackGround::Color() {
    const TKwPkgDisplaySetBackGround* set = Info();
    return set != nullptr ? set->SolidColor() : defaultColor_;
}

TKwDefaultSetFont::TKwDefaultSetFont(const String& name, const TFont& defaultFont)
    : TKwSetFont(TKwLibraryDefaultTag{}), defaultFont_(std::make_unique<TFont>(defaultFont)) {
    SetName(name);
}

TKwDefaultSetFont::~TKwDefaultSetFont() = default;

TFont& TKwDefaultSetFont::Font() {
    TKwPkgDisplaySetFont* set = Info();
    return set != nullptr ? set->Font() : *defaultFont_;
}

namespace {

// The built-in values, computed once each time the defaults are created.
struct TDefaultValues {
    TColor W = clWhite;
    TColor K = clBlack;
    TColor G = 0xE2E2E2;
    TColor R = clRed;
    TColor F = clBtnFace;
    TColor S = clBtnShadow;
    TColor H = clBtnHighlight;
    TColor L = kSystemColorFlag | 0x0D;
    TColor LT = kSystemColorFlag | 0x0E;
    TColor T = clWindowText;
    TColor I = kSystemColorFlag | 0x18;
    TColor Wn = clWindow;
    TColor ML = KwIntermediateColor(W, F, 2, 3);
    TColor MD = KwIntermediateColor(F, S, 1, 2);
    TColor MS = KwIntermediateColor(L, ML, 5, 8);
    TColor LS = KwIntermediateColor(L, ML, 7, 8);
    TFont DF;
};

std::unique_ptr<TKwSetReference> MakeDefault(const String& name, TColor value, TKwSetKind kind) {
    if (kind == TKwSetKind::skColor)
        return std::make_unique<TKwDefaultSetColor>(name, value);
    return std::make_unique<TKwDefaultSetBackGround>(name, value);
}

std::unique_ptr<TKwSetReference> MakeDefault(const String& name, const TFont& value, TKwSetKind) {
    return std::make_unique<TKwDefaultSetFont>(name, value);
}

std::vector<std::unique_ptr<TKwSetReference>>& DefaultSets() {
    std::vector<std::unique_ptr<TKwSetReference>>& sets = KwDisplayState().defaultSets;
    if (!sets.empty())
        return sets;
    const TDefaultValues v;
    sets.reserve(kKwDefaultSetCount);
#define KW_CREATE_DEFAULT_SET(kind, suffix, value) \
    sets.push_back(MakeDefault(u"Dft_" #suffix, v.value, TKwSetKind::sk##kind));
    KW_DEFAULT_SETS(KW_CREATE_DEFAULT_SET)
#undef KW_CREATE_DEFAULT_SET
    return sets;
}

enum TDefaultIndex : int {
#define KW_DEFAULT_SET_INDEX(kind, suffix, value) kDefault##suffix,
    KW_DEFAULT_SETS(KW_DEFAULT_SET_INDEX)
#undef KW_DEFAULT_SET_INDEX
        kDefaultCount
};
static_assert(kDefaultCount == kKwDefaultSetCount);

}  // namespace

#define KW_DEFINE_DEFAULT_SET(kind, suffix, value)                                  \
    TKwDefaultSet##kind& KwSet##suffix() {                                          \
        return static_cast<TKwDefaultSet##kind&>(*DefaultSets()[kDefault##suffix]); \
    }
KW_DEFAULT_SETS(KW_DEFINE_DEFAULT_SET)
#undef KW_DEFINE_DEFAULT_SET

TKwSetReference& KwDefaultSetAt(int index) {
    return *DefaultSets().at(static_cast<size_t>(index));
}

TKwSetReference* KwFindDefaultSet(StringView name) {
    for (auto& set : DefaultSets()) {
        if (AnsiSameText(set->Name(), name))
            return set.get();
    }
    return nullptr;
}

TKwSetReference& KwRootDefault(TKwSetKind kind) {
    switch (kind) {
        case TKwSetKind::skFont:
            return KwSetFont();
        case TKwSetKind::skBackGround:
            return KwSetBackGround();
        case TKwSetKind::skColor:
            break;
    }
    return KwSetColBox();
}

TFont& KwDefaultFont() {
    return KwSetFont().DefaultFont();
}

}  // namespace kw
